#pragma once
// A host that records what the plug-in asks of it, for tests that drive libtarnwick.so
// through its interfaces only.

#include <string>
#include <vector>

#include "host/abi/client_interfaces.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/server_interfaces.h"
#include "tests/support/null_server_document.h"

struct RecordedProcess {
    std::string process;
    std::string params;
    int32_t capacity = 0;
    IServerView* context = nullptr;
};

// A view that answers its name and nothing else.
class StubView final : public IServerDocumentView {
public:
    int32_t QueryInterface(const TGUID&, void** out) override;
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void SetHolder(IExternalFormHolder*) override {}
    void AttachToHolder() override {}
    void Detach() override {}
    void GetBounds(int32_t*, int32_t*, int32_t*, int32_t*) override {}
    const char* GetCaption() override { return ""; }
    intptr_t GetWindowHandle() override { return 0; }
    void Hide() override {}
    void SetBounds(int32_t, int32_t, int32_t, int32_t) override {}
    void SetFocus() override {}
    void Show() override {}
    int32_t IsPanel() override { return 0; }
    const char* GetViewName() override { return "Stub"; }
    const char* GetDocumentKind() override { return ""; }
    void ReceiveViewNotification(INotification*) override {}
    IServerDocument* GetOwnerDocument() override { return nullptr; }
};

// A document whose view 0 is a StubView.
class StubDocument final : public NullServerDocument {
public:
    StubView view;
    int32_t GetViewCount() override { return 1; }
    IServerDocumentView* GetView(int32_t index) override { return index == 0 ? &view : nullptr; }
};

class RecordingHost final : public IClient, public IProcessLauncher {
public:
    std::vector<std::string> opened;  // "kind|path"
    std::vector<IServerDocument*> shown;
    std::vector<RecordedProcess> processes;
    StubDocument document;
    StubView currentView;
    bool openSucceeds = true;

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void BroadcastNotification(INotification*) override {}
    intptr_t GetHelpOwnerWindow() override { return 0; }
    IServerView* GetCurrentView() override { return &currentView; }
    intptr_t GetOwnerWindow() override { return 0; }
    IClientUserInterface* GetUserInterface() override { return nullptr; }
    IServerDocument* OpenDocument(const char* kind, const char* path) override;
    void ShowDocument(IServerDocument* d) override { shown.push_back(d); }
    const char* GetServerFileName(const char*) override { return ""; }
    int32_t RunProcess(const char* process, char* params, int32_t capacity,
                       IServerView* context) override;
};

// Loads the built plug-in once per test program, with XDG_CONFIG_HOME pointed at a new
// temporary folder, and hands out its factory.
TServerFactoryFunction* PluginFactory();
