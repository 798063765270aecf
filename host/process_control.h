#pragma once
// How deeply the host has entered the module's processes. Nothing keeps it at or above 0.

#include "host/abi/interfaced_object.h"
#include "host/abi/server_interfaces.h"

namespace tarnwick {

class TProcessControl final : public TInterfacedObjectNoRef, public IProcessControl {
public:
    int32_t QueryInterface(const TGUID& iid, void** out) override {
        return QueryResult(OfferInterface<IProcessControl>(iid, out, this, TAnswersUnknown::Yes), out);
    }
    int32_t AddRef() override { return AddReference(); }
    int32_t Release() override { return ReleaseReference(); }

    int32_t GetProcessDepth() override { return ProcessDepth; }
    void LeaveProcess(IServerView*, int32_t) override { --ProcessDepth; }
    void EnterProcess(IServerView*, int32_t) override { ++ProcessDepth; }
    void SetProcessDepth(int32_t value) override { ProcessDepth = value; }

    int32_t ProcessDepth = 0;
};

}  // namespace tarnwick
