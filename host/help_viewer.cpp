#include "host/help_viewer.h"

#include <vector>

#include "host/abi/client_interfaces.h"
#include "host/abi/com_ptr.h"
#include "host/abi/parameter_list.h"
#include "host/client.h"

namespace tarnwick {

namespace {

void RunHelpProcess(const char* process, const TParameterList& params) {
    IClient* client = GlobalClient();
    if (!client)
        return;
    const auto launcher = TComPtr<IClient>::Share(client).As<IProcessLauncher>();
    if (!launcher)
        return;
    std::vector<char> buffer(kParameterStringLimit, '\0');
    params.FormatParameters(buffer.data(), buffer.size());
    launcher->RunProcess(process, buffer.data(), static_cast<int32_t>(buffer.size()), nullptr);
}

}  // namespace

void ShowHelpTopic(const std::string& helpFile, int context) {
    TParameterList params;
    params.AddParameter("HelpFile", helpFile);
    params.AddParameter("Context", std::to_string(context));
    IClient* client = GlobalClient();
    params.AddParameter("Owner", std::to_string(client ? client->GetHelpOwnerWindow() : 0));
    RunHelpProcess("Client:HelpShowTopic", params);
}

void SetHelpPopupPosition(QPoint globalPosition) {
    TParameterList params;
    params.AddParameter("X", std::to_string(globalPosition.x()));
    params.AddParameter("Y", std::to_string(globalPosition.y()));
    RunHelpProcess("Client:HelpSetPopupPosition", params);
}

void ShowHelpPopup(const std::string& helpFile, int context) {
    TParameterList params;
    params.AddParameter("HelpFile", helpFile);
    params.AddParameter("Context", std::to_string(context));
    RunHelpProcess("Client:HelpShowPopup", params);
}

}  // namespace tarnwick
