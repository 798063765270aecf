#pragma once
// The fuzzer's bytes taken apart front to back: small choices from single bytes, texts up to a
// separator. Running out of bytes gives zeros and empty texts, so every input is a valid run.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// libFuzzer calls this once per input; the replay program of the test build calls it per file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

// A property of the code under test that the input broke: named, then the run stops as a crash.
#define FUZZ_REQUIRE(condition) \
    ((condition) ? void(0) : ::tarnwick::fuzz::FailedRequirement(#condition, __FILE__, __LINE__))

namespace tarnwick::fuzz {

// Printed only when TARNWICK_FUZZ_TRACE is set: what a replayed input does, step by step.
template <class... Args>
void Trace(const char* format, Args... args) {
    static const bool tracing = std::getenv("TARNWICK_FUZZ_TRACE") != nullptr;
    if (tracing)
        std::fprintf(stderr, format, args...);
}

[[noreturn]] inline void FailedRequirement(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: requirement failed: %s\n", file, line, condition);
    std::abort();
}

class TFuzzInput {
public:
    TFuzzInput(const uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    [[nodiscard]] bool Empty() const noexcept { return rest_.empty(); }
    [[nodiscard]] uint8_t Byte() {
        if (rest_.empty())
            return 0;
        const auto b = static_cast<uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // A number below bound (which must not be 0).
    [[nodiscard]] uint32_t Below(uint32_t bound) { return Byte() % bound; }
    // The bytes up to the next separator, which is dropped; everything left when there is none.
    [[nodiscard]] std::string_view Until(char separator) {
        const std::size_t at = rest_.find(separator);
        const std::string_view piece = rest_.substr(0, at);
        rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
        return piece;
    }
    [[nodiscard]] std::string_view Rest() {
        const std::string_view all = rest_;
        rest_ = {};
        return all;
    }

private:
    std::string_view rest_;
};

}  // namespace tarnwick::fuzz
