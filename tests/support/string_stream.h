#pragma once
// A COM stream double for tests: reads from a string, appends what is written.

#include <algorithm>
#include <cstring>
#include <string>

#include "host/abi/interfaced_object.h"
#include "host/abi/stream_interfaces.h"

// An IStream over a string that fails what it is told to fail.
class StringStream final : public IStream {
public:
    std::string data;
    uint64_t position = 0;
    bool failSeek = false;
    int32_t QueryInterface(const TGUID& iid, void** out) override {
        return QueryResult(OfferInterface<IStream>(iid, out, this), out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    int32_t Read(void* b, uint32_t n, uint32_t* read) override {
        const uint64_t k = std::min<uint64_t>(n, data.size() - std::min<uint64_t>(position, data.size()));
        std::memcpy(b, data.data() + position, k);
        position += k;
        *read = static_cast<uint32_t>(k);
        return 0;
    }
    int32_t Write(const void* b, uint32_t n, uint32_t* written) override {
        data.append(static_cast<const char*>(b), n);
        *written = n;
        return 0;
    }
    int32_t Seek(int64_t move, uint32_t origin, uint64_t* newPosition) override {
        if (failSeek && move != 0)
            return -1;
        position = origin == 0 ? move : origin == 1 ? position + move : data.size() + move;
        *newPosition = position;
        return 0;
    }
    int32_t SetSize(uint64_t) override { return -1; }
    int32_t CopyTo(IStream*, uint64_t, uint64_t*, uint64_t*) override { return -1; }
    int32_t Commit(uint32_t) override { return 0; }
    int32_t Revert() override { return -1; }
    int32_t LockRegion(uint64_t, uint64_t, uint32_t) override { return -1; }
    int32_t UnlockRegion(uint64_t, uint64_t, uint32_t) override { return -1; }
    int32_t Stat(void*, uint32_t) override { return -1; }
    int32_t Clone(IStream**) override { return -1; }
};
