#include "host/server_document.h"

#include "host/abi/parameter_list.h"
#include "host/document_notification.h"

namespace tarnwick {

namespace {

// Temporary files written while saving carry this extension; their renames are not news.
bool IsTemporaryPath(const std::string& path) {
    constexpr std::string_view kTemporary = ".$$$";
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    return std::string_view(path).substr(dot) == kTemporary;
}

}  // namespace

TServerDocument::TServerDocument(IServerModule* module, std::string fileName, std::string kind)
    : FileName(std::move(fileName)), Kind(std::move(kind)), Module(TComPtr<IServerModule>::Share(module)) {}

int32_t TServerDocument::QueryInterface(const TGUID& iid, void** out) {
    return QueryResult(OfferInterface<IServerDocument>(iid, out, this, TAnswersUnknown::Yes), out);
}

void TServerDocument::AttachView(IServerDocumentView* view) {
    if (view)
        Views.push_back(TComPtr<IServerDocumentView>::Share(view));
}

void TServerDocument::SetDocumentModified(int32_t modified) {
    const bool value = modified != 0;
    if (value != DocumentModified)
        DocumentModified = value;
}

int32_t TServerDocument::SetFileName(const char* path) {
    std::string oldPath = std::exchange(FileName, path ? path : "");
    if (!IsTemporaryPath(oldPath) && !IsTemporaryPath(FileName))
        BroadcastDocumentNotification(kNotifyFileNameChanged, this, std::move(oldPath));
    return 0;
}

IServerModule* TServerDocument::GetServerModule() { return TComPtr<IServerModule>(Module).Detach(); }

IServerDocumentView* TServerDocument::GetView(int32_t index) {
    if (index < 0 || index >= GetViewCount())
        return nullptr;
    return TComPtr<IServerDocumentView>(Views[index]).Detach();
}

IServerDocumentView* TServerDocument::FindView(const char* name) {
    const std::string_view wanted = name ? name : "";
    for (const auto& view : Views) {
        const char* viewName = view->GetViewName();
        if (SameParameterName(viewName ? viewName : "", wanted))
            return TComPtr<IServerDocumentView>(view).Detach();
    }
    return nullptr;
}

void TServerDocument::NotifyViews(INotification* note) {
    const auto views = Views;  // a view may change the list while it is told
    for (const auto& view : views)
        view->ReceiveViewNotification(note);
}

}  // namespace tarnwick
