#include "host/server_document_view.h"

#include "host/form_with_help.h"

namespace tarnwick {

TServerDocumentView::TServerDocumentView(int32_t panelFlag, QWidget* form, IServerDocument* document,
                                         std::string viewName)
    : TAbstractServerView(panelFlag, form, std::move(viewName)), Document(document) {
    if (!Form)
        return;
    // Embedded: no frame of its own, and activating it must not raise a top-level window.
    Form->setWindowFlags(Qt::Widget | Qt::FramelessWindowHint);
    if (auto* withHelp = dynamic_cast<TFormWithHelp*>(Form.data()))
        withHelp->HelpEnabled = panelFlag != kEditingViewFlag;  // editors keep F1 for themselves
}

int32_t TServerDocumentView::QueryInterface(const TGUID& iid, void** out) {
    const bool found = OfferInterface<IServerDocumentView>(iid, out, this) ||
                       OfferInterface<IServerView>(iid, out, this) ||
                       OfferInterface<IExternalForm>(iid, out, this, TAnswersUnknown::Yes);
    return QueryResult(found, out);
}

const char* TServerDocumentView::GetDocumentKind() { return Document ? Document->GetKind() : ""; }

IServerDocument* TServerDocumentView::GetOwnerDocument() {
    return TComPtr<IServerDocument>::Share(Document).Detach();
}

}  // namespace tarnwick
