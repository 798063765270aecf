#include "editor/tarnwick_module.h"

#include <QApplication>
#include <array>

#include "editor/implementation_properties_form.h"
#include "editor/text_document.h"
#include "host/abi/parameter_list.h"
#include "host/client.h"
#include "host/host_functions.h"
#include "host/host_processes.h"

namespace tarnwick {

namespace {
// The buffer a "DoCommand" process gets its remaining parameters in.
constexpr int32_t kDoCommandCapacity = 1024;
}  // namespace

TTarnwickModule::TTarnwickModule(IClient* client) : TAbstractTextModule(client, "Tarnwick") {
    CommandLauncher->RegisterCommand("ViewError",
                                     [this](IServerView* context, char* params, int32_t capacity) {
                                         return ViewError(context, params, capacity);
                                     });
}

int32_t TTarnwickModule::QueryInterface(const TGUID& iid, void** out) {
    if (TAbstractTextModule::QueryInterface(iid, out) == S_OK_)
        return S_OK_;
    return QueryResult(OfferInterface<IModelPropertiesEditor>(iid, out, this), out);
}

int32_t TTarnwickModule::EditModelProperties(intptr_t implementation, intptr_t, int32_t, int32_t* result) {
    try {
        // A dialog needs the host's application object; without one nothing can be shown.
        const bool shown = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
        const bool applied = shown && tarnwick::TImplementationPropertiesForm::Show(implementation);
        if (result)
            *result = ToBool32(applied);
        return S_OK_;
    } catch (...) {
        return E_UNEXPECTED_;
    }
}

TComPtr<IServerDocument> TTarnwickModule::NewDocument(const std::string& kind, const std::string& fileName) {
    return TServerDocument::Create<tarnwick::TEDIFDocument>(this, fileName, kind);
}

// Opens FullDocumentPath with EditorKind, then runs DoCommand in the opened document's first
// view with every other parameter.
int32_t TTarnwickModule::ViewError(IServerView*, char* params, int32_t) {
    TParameterList list;
    list.ParseParameters(params ? params : "");
    std::string path;
    if (!list.GetParameterValue("FullDocumentPath", path))
        return 0;
    list.RemoveParameter("FullDocumentPath");
    std::string kind;
    list.GetParameterValue("EditorKind", kind);
    if (!HostApi::FileExists(path))
        return 0;

    IClient* client = GlobalClient();
    TComPtr<IServerView> view;
    if (client) {
        const auto document =
            TComPtr<IServerDocument>::Adopt(client->OpenDocument(kind.c_str(), path.c_str()));
        if (document) {
            client->ShowDocument(document.Get());
            view = TComPtr<IServerView>::Adopt(document->GetView(0));
        }
        if (!view)
            view = TComPtr<IServerView>::Adopt(client->GetCurrentView());
    }

    std::string process;
    if (list.GetParameterValue("DoCommand", process)) {
        list.RemoveParameter("DoCommand");
        std::array<char, kDoCommandCapacity> buffer{};
        list.FormatParameters(buffer.data(), buffer.size());
        tarnwick::RunHostProcess(process.c_str(), buffer.data(), kDoCommandCapacity, view.Get());
    }
    return 1;
}

}  // namespace tarnwick
