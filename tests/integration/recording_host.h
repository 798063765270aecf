#pragma once
// A host that records what the plug-in asks of it, for tests that drive libtarnwick.so
// through its interfaces only.

#include <map>
#include <string>
#include <vector>

#include "host/abi/client_interfaces.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/server_interfaces.h"
#include "tests/support/null_server_document.h"
#include "tests/support/null_server_view.h"

struct RecordedProcess {
    std::string process;
    std::string params;
    int32_t capacity = 0;
    IServerView* context = nullptr;
};

// A view that answers its name and nothing else.
using StubView = NullServerView;

// A document whose view 0 is a StubView.
class StubDocument final : public NullServerDocument {
public:
    StubView view;
    int32_t GetViewCount() override { return 1; }
    IServerDocumentView* GetView(int32_t index) override { return index == 0 ? &view : nullptr; }
};

// The status bar and the shortcut table: it takes no key stroke unless told which to take.
class RecordingUserInterface final : public IClientUserInterface {
public:
    std::map<int32_t, std::string> status;  // by panel
    int32_t shortcutKey = 0;                // a stroke of this key completes a host shortcut
    int launched = 0;                       // LaunchCurrentHotkey calls
    int strokes = 0;                        // AddKeyStroke calls

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void LaunchCurrentHotkey() override { ++launched; }
    int32_t AddKeyStroke(int32_t key, int32_t, int32_t, int32_t) override {
        ++strokes;
        return key == shortcutKey ? kTrue : kFalse;
    }
    void SetStatusText(int32_t panel, const char* text) override { status[panel] = text ? text : ""; }
};

class RecordingHost final : public IClient, public IProcessLauncher {
public:
    std::vector<std::string> opened;  // "kind|path"
    std::vector<IServerDocument*> shown;
    std::vector<RecordedProcess> processes;
    std::vector<int32_t> notifications;  // codes, in the order broadcast
    StubDocument document;
    StubView currentView;
    RecordingUserInterface ui;
    bool openSucceeds = true;
    IServerModule* notify = nullptr;  // gets every broadcast, as a loaded module would

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void BroadcastNotification(INotification* note) override;
    intptr_t GetHelpOwnerWindow() override { return 0; }
    IServerView* GetCurrentView() override { return &currentView; }
    intptr_t GetOwnerWindow() override { return 0; }
    IClientUserInterface* GetUserInterface() override { return &ui; }
    IServerDocument* OpenDocument(const char* kind, const char* path) override;
    void ShowDocument(IServerDocument* d) override { shown.push_back(d); }
    const char* GetServerFileName(const char*) override { return ""; }
    int32_t RunProcess(const char* process, char* params, int32_t capacity, IServerView* context) override;
};

// Loads the built plug-in once per test program, with XDG_CONFIG_HOME pointed at a new
// temporary folder, and hands out its factory.
TServerFactoryFunction* PluginFactory();
