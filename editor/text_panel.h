#pragma once
// The document's search side panel: a form bound to the document's editor view, the context
// of the requests it sends the host.

#include <QWidget>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"

namespace tarnwick {

class TTextPanel : public QWidget {
public:
    explicit TTextPanel(QWidget* owner = nullptr);

    [[nodiscard]] IServerDocumentView* BoundView() const noexcept { return boundView_.Get(); }
    void SetBoundView(IServerDocumentView* view);

private:
    // Counted, so the view lives as long as the panel may use it; nothing of it refers back.
    TComPtr<IServerDocumentView> boundView_;
};

}  // namespace tarnwick
