#include "hostapp/text_edit_processes.h"

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/text_interfaces.h"
#include "hostapp/host_client.h"

namespace harbinet {

namespace {

// The command interface of the document whose view is the context, or empty.
TComPtr<ITextEditorCommands> CommandsOfContext(IServerView* context) {
    if (!context)
        return {};
    const auto view = TComPtr<IServerView>::Share(context).As<IServerDocumentView>();
    if (!view)
        return {};
    const auto document = TComPtr<IServerDocument>::Adopt(view->GetOwnerDocument());
    return document ? document.As<ITextEditorCommands>() : TComPtr<ITextEditorCommands>();
}

THostClient::THostProcess ForwardTo(void (ITextEditorCommands::*operation)()) {
    return [operation](char*, int32_t, IServerView* context) {
        const auto commands = CommandsOfContext(context);
        if (!commands)
            return 0;
        ((*commands).*operation)();
        return 1;
    };
}

}  // namespace

void RegisterTextEditProcesses(THostClient& client) {
    client.AddHostProcess("TextEdit:UpdateFoundInstanceList",
                          ForwardTo(&ITextEditorCommands::UpdateFoundInstanceList));
    client.AddHostProcess("TextEdit:JumpToLineFromPanel",
                          ForwardTo(&ITextEditorCommands::JumpToLineFromPanel));
    // Location marks belong to the schematic side; the editor needs nothing done.
    client.AddHostProcess("TextEdit:UpdateLocationMarks", [](char*, int32_t, IServerView*) { return 1; });
}

}  // namespace harbinet
