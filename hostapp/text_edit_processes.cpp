#include "hostapp/text_edit_processes.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/parameter_list.h"
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

// A control request for the document whose view is the context, answered in the caller's
// buffer. The editor may write a reply of up to the parameter-string limit, so a smaller
// buffer gets it through one of that size, cut after the last whole pair that fits.
int32_t ForwardExternalRequest(char* params, int32_t capacity, IServerView* context) {
    const auto commands = CommandsOfContext(context);
    if (!commands || !params || capacity <= 0)
        return 0;
    std::vector<char> request(kParameterStringLimit, '\0');
    const std::size_t inLength = ::strnlen(params, std::size_t(capacity));
    std::copy_n(params, std::min(inLength, kParameterStringLimit - 1), request.begin());
    commands->ExternalRequest(request.data());
    std::string_view reply(request.data(), ::strnlen(request.data(), kParameterStringLimit - 1));
    if (reply.size() > std::size_t(capacity) - 1) {
        const std::size_t bar = reply.rfind('|', std::size_t(capacity) - 1);
        reply = reply.substr(0, bar == std::string_view::npos ? 0 : bar);
    }
    std::copy(reply.begin(), reply.end(), params);
    params[reply.size()] = '\0';
    return 1;
}

}  // namespace

void RegisterTextEditProcesses(THostClient& client) {
    client.AddHostProcess("TextEdit:ExternalRequest", ForwardExternalRequest);
    client.AddHostProcess("TextEdit:UpdateFoundInstanceList",
                          ForwardTo(&ITextEditorCommands::UpdateFoundInstanceList));
    client.AddHostProcess("TextEdit:JumpToLineFromPanel",
                          ForwardTo(&ITextEditorCommands::JumpToLineFromPanel));
    // Location marks belong to the schematic side; the editor needs nothing done.
    client.AddHostProcess("TextEdit:UpdateLocationMarks", [](char*, int32_t, IServerView*) { return 1; });
}

}  // namespace harbinet
