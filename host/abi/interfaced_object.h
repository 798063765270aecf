#pragma once
// Reference counting for the plug-in's objects. One AddRef/Release pair in the most derived
// class serves every interface it implements, since they all share the three first slots.

#include <cstdint>

#include "host/abi/unknown.h"

// Counted: the last Release destroys the object.
class TInterfacedObject {
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;
    virtual ~TInterfacedObject() = default;

protected:
    int32_t AddReference() noexcept { return ++refCount_; }
    int32_t ReleaseReference() noexcept {
        const int32_t count = --refCount_;
        if (count == 0) {
            // A destructor may lend the object out (a closing document tells a linked server
            // so): references taken and given back meanwhile must not destroy it again.
            refCount_ = kDestroying;
            delete this;
        }
        return count;
    }

private:
    static constexpr int32_t kDestroying = 1 << 30;
    int32_t refCount_ = 0;
};

// Not counted: hands out interfaces whose lifetime its owner controls. AddRef and Release
// answer 0 and never destroy; the owner frees the object explicitly.
class TInterfacedObjectNoRef {
public:
    TInterfacedObjectNoRef() = default;
    TInterfacedObjectNoRef(const TInterfacedObjectNoRef&) = delete;
    TInterfacedObjectNoRef& operator=(const TInterfacedObjectNoRef&) = delete;
    virtual ~TInterfacedObjectNoRef() = default;

protected:
    static int32_t AddReference() noexcept { return 0; }
    static int32_t ReleaseReference() noexcept { return 0; }
};

// QueryInterface support: stores itf in *out with a reference when iid names interface I
// (or IUnknown, for the object's primary interface).
enum class TAnswersUnknown { No, Yes };
template <class I>
bool OfferInterface(const TGUID& iid, void** out, I* itf,
                    TAnswersUnknown unknown = TAnswersUnknown::No) noexcept {
    const bool asUnknown = unknown == TAnswersUnknown::Yes && iid == IID_IUnknown;
    if (!out || !(iid == InterfaceId<I>::value || asUnknown))
        return false;
    itf->AddRef();
    *out = itf;
    return true;
}

// The usual ending of a QueryInterface: the status code for "found" or "no such interface".
inline int32_t QueryResult(bool found, void** out) noexcept {
    if (!found && out)
        *out = nullptr;
    return found ? S_OK_ : E_NOINTERFACE_;
}
