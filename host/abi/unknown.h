#pragma once
// The base of every interface that crosses between harbinet and its plug-ins.
// An interface returned by an operation carries one reference the caller releases;
// an interface passed as an argument is only lent for the duration of the call.

#include <cstdint>
#include <cstring>

// 16-byte COM layout, so GUIDs compare and copy as plain bytes.
struct TGUID {
    uint32_t D1;
    uint16_t D2;
    uint16_t D3;
    uint8_t D4[8];

    friend bool operator==(const TGUID& a, const TGUID& b) noexcept {
        return std::memcmp(&a, &b, sizeof(TGUID)) == 0;
    }
};
static_assert(sizeof(TGUID) == 16, "TGUID must keep the COM layout");

constexpr int32_t S_OK_ = 0;
constexpr int32_t E_NOINTERFACE_ = static_cast<int32_t>(0x80004002u);
constexpr int32_t E_UNEXPECTED_ = static_cast<int32_t>(0x8000FFFFu);

// Booleans cross the interfaces as -1 (true) and 0 (false).
constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
constexpr int32_t ToBool32(bool value) noexcept { return value ? kTrue : kFalse; }

// Slots that the host numbers but this system never calls keep their place in the vtable.
#define TARNWICK_RESERVED_SLOT(n) \
    virtual intptr_t Reserved##n() { return 0; }

class IUnknownBase {
public:
    virtual int32_t QueryInterface(const TGUID& iid, void** out) = 0;  // slot 0
    virtual int32_t AddRef() = 0;                                      // slot 1
    virtual int32_t Release() = 0;                                     // slot 2
};

// Each interface names its GUID so that QueryInterface and ComPtr can ask for it by type.
template <class I>
struct InterfaceId;

#define TARNWICK_INTERFACE_ID(I, d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)        \
    template <>                                                                     \
    struct InterfaceId<I> {                                                         \
        static constexpr TGUID value{d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}}; \
    }

constexpr TGUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
