#pragma once
// A view that belongs to a document. It owns its window and refers to its document without
// counting: the document's view list holds the counted references the other way.

#include <string>

#include "host/abstract_server_view.h"

namespace tarnwick {

class TServerDocumentView : public TAbstractServerView {
public:
    TServerDocumentView(int32_t panelFlag, QWidget* form, IServerDocument* document, std::string viewName);

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    const char* GetDocumentKind() override;
    IServerDocument* GetOwnerDocument() override;

protected:
    IServerDocument* Document;
};

}  // namespace tarnwick
