// The "Debugger" server module: the process "ShowWindow" opens the debugger's window, and
// "Callback" is the process the linked editor calls back with breakpoint changes and its
// shutdown.

#include <QPointer>

#include "debugger/debugger_window.h"
#include "host/external_form.h"
#include "host/server_module.h"

namespace tarnwick::debugger {

namespace {

constexpr const char* kServerName = "Debugger";
constexpr const char* kCallbackProcess = "Callback";

class TDebuggerModule final : public TServerModule {
public:
    explicit TDebuggerModule(IClient* client) : TServerModule(client, kServerName) {
        CommandLauncher->RegisterCommand("ShowWindow", [this](IServerView*, char*, int32_t) {
            Window().show();
            Window().raise();
            return 1;
        });
        CommandLauncher->RegisterCommand(kCallbackProcess,
                                         [this](IServerView* context, char* params, int32_t) {
                                             Window().ReceiveCallback(params, context);
                                             return 1;
                                         });
    }
    ~TDebuggerModule() override { delete window_.data(); }

private:
    TDebuggerWindow& Window() {
        if (!window_) {
            QWidget* owner = Client ? WidgetFromHandle(Client->GetOwnerWindow()) : nullptr;
            window_ = new TDebuggerWindow(Client, kServerName, kCallbackProcess, owner);
        }
        return *window_;
    }

    TComPtr<IServerDocument> NewDocument(const std::string&, const std::string&) override { return {}; }

    QPointer<TDebuggerWindow> window_;  // the owner window may delete it first
};

}  // namespace

}  // namespace tarnwick::debugger

extern "C" __attribute__((visibility("default"))) void ServerFactory(IServerModule** module,
                                                                     IClient* client) {
    if (module)
        *module = TComPtr<IServerModule>::Share(new tarnwick::debugger::TDebuggerModule(client)).Detach();
}
