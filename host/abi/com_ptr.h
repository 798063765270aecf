#pragma once
// Owns one reference. Adopt() takes the reference an operation handed us;
// Share() adds one for an interface we were only lent as an argument.

#include <type_traits>
#include <utility>

#include "host/abi/unknown.h"

template <class T>
class TComPtr {
public:
    static TComPtr Adopt(T* p) noexcept { return TComPtr(p); }
    static TComPtr Share(T* p) noexcept {
        if (p)
            p->AddRef();
        return TComPtr(p);
    }

    TComPtr() = default;
    TComPtr(std::nullptr_t) noexcept {}
    TComPtr(const TComPtr& o) noexcept : p_(o.p_) {
        if (p_)
            p_->AddRef();
    }
    TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    // From a pointer to a derived class or interface, taking over its reference.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*> && !std::is_same_v<U, T>>>
    TComPtr(TComPtr<U> o) noexcept : p_(o.Detach()) {}
    TComPtr& operator=(TComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~TComPtr() {
        if (p_)
            p_->Release();
    }

    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    T* Get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    friend bool operator==(const TComPtr& a, const TComPtr& b) noexcept { return a.p_ == b.p_; }

    // Hands our reference to the caller, for out parameters and return values across the boundary.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(p_, nullptr); }
    void Reset() noexcept { TComPtr().Swap(*this); }
    void Swap(TComPtr& o) noexcept { std::swap(p_, o.p_); }

    // The interface U of the same object, or empty when it does not offer it.
    template <class U>
    TComPtr<U> As() const noexcept {
        U* out = nullptr;
        if (p_ && p_->QueryInterface(InterfaceId<U>::value, reinterpret_cast<void**>(&out)) == S_OK_)
            return TComPtr<U>::Adopt(out);
        return {};
    }

private:
    explicit TComPtr(T* p) noexcept : p_(p) {}
    T* p_ = nullptr;
};
