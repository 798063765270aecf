#pragma once
// A place in Harbinet's window that a plug-in view embeds into: a document tab or a panel.
// It keeps the embedded window filling it.

#include <QWidget>

#include "host/abi/client_interfaces.h"
#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"

namespace harbinet {

class THolderWidget final : public QWidget, public IExternalFormHolder {
    Q_OBJECT
public:
    explicit THolderWidget(QWidget* parent = nullptr);
    ~THolderWidget() override;

    // Embeds view: gives it this holder and lets it attach its window.
    void Embed(IServerView* view);
    // Takes the view out again (SetHolder(none) detaches its window).
    void ReleaseView();
    [[nodiscard]] IServerView* View() const noexcept { return view_.Get(); }

    // The widget lives as long as Harbinet shows it; counting changes nothing.
    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    intptr_t GetHolderWindow() override { return reinterpret_cast<intptr_t>(static_cast<QWidget*>(this)); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitView();
    TComPtr<IServerView> view_;
};

}  // namespace harbinet
