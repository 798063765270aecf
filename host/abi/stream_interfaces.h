#pragma once
// A COM-style byte stream, as other servers hand them to a text document.
// Status codes: 0 success, anything else failure.

#include "host/abi/unknown.h"

class IStream : public IUnknownBase {
public:
    virtual int32_t Read(void* buffer, uint32_t count, uint32_t* read) = 0;            // slot 3
    virtual int32_t Write(const void* buffer, uint32_t count, uint32_t* written) = 0;  // slot 4
    // origin: 0 set, 1 current, 2 end.
    virtual int32_t Seek(int64_t move, uint32_t origin, uint64_t* newPosition) = 0;  // slot 5
    virtual int32_t SetSize(uint64_t size) = 0;                                      // slot 6
    virtual int32_t CopyTo(IStream* target, uint64_t count, uint64_t* read,
                           uint64_t* written) = 0;                                     // slot 7
    virtual int32_t Commit(uint32_t flags) = 0;                                        // slot 8
    virtual int32_t Revert() = 0;                                                      // slot 9
    virtual int32_t LockRegion(uint64_t offset, uint64_t count, uint32_t type) = 0;    // slot 10
    virtual int32_t UnlockRegion(uint64_t offset, uint64_t count, uint32_t type) = 0;  // slot 11
    virtual int32_t Stat(void* statistics, uint32_t flags) = 0;                        // slot 12
    virtual int32_t Clone(IStream** copy) = 0;                                         // slot 13
};

TARNWICK_INTERFACE_ID(IStream, 0x0000000C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
