#pragma once
// An IClient that records broadcasts and processes, installed as the process-wide client for
// the lifetime of a test.

#include <functional>
#include <string>
#include <vector>

#include "host/abi/client_interfaces.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"
#include "host/abi/parameter_list.h"
#include "host/client.h"

namespace tarnwick {

class RecordingClient final : public IClient, public IProcessLauncher {
public:
    struct Broadcast {
        int32_t code;
        std::string text;
    };
    struct Process {
        std::string name;
        std::string params;
        IServerView* context = nullptr;
    };
    std::vector<Broadcast> broadcasts;
    std::vector<Process> processes;
    std::string serverFileName;
    // Answers each process in place of a plain true; may rewrite params within capacity.
    std::function<int32_t(char* params, int32_t capacity)> answer;
    // Runs after a process is recorded, before it is answered: a host's own work for it.
    std::function<void(const Process& process)> run;

    RecordingClient() { SetGlobalClient(this); }
    ~RecordingClient() { SetGlobalClient(nullptr); }

    int32_t QueryInterface(const TGUID& iid, void** out) override {
        const bool found = OfferInterface<IClient>(iid, out, static_cast<IClient*>(this)) ||
                           OfferInterface<IProcessLauncher>(iid, out, static_cast<IProcessLauncher*>(this));
        return QueryResult(found, out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void BroadcastNotification(INotification* note) override {
        broadcasts.push_back({note->GetCode(), note->GetNotificationText()});
    }
    intptr_t GetHelpOwnerWindow() override { return 0; }
    IServerView* GetCurrentView() override { return nullptr; }
    intptr_t GetOwnerWindow() override { return 0; }
    IClientUserInterface* GetUserInterface() override { return nullptr; }
    IServerDocument* OpenDocument(const char*, const char*) override { return nullptr; }
    void ShowDocument(IServerDocument*) override {}
    const char* GetServerFileName(const char*) override { return serverFileName.c_str(); }
    int32_t RunProcess(const char* name, char* params, int32_t capacity, IServerView* context) override {
        processes.push_back({name, params ? params : "", context});
        if (run)
            run(Process(processes.back()));  // a copy: the run may launch further processes
        return answer ? answer(params, capacity) : kTrue;
    }
};

}  // namespace tarnwick
