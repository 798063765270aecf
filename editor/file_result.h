#pragma once
// The outcome of reading or writing one of the editor's own files: empty on success, otherwise
// a message that says what failed, where and why, ready to be shown to the user.

#include <string>
#include <utility>

namespace tarnwick {

class TFileResult {
public:
    static TFileResult Ok() { return {}; }
    static TFileResult Failed(std::string message) { return TFileResult(std::move(message)); }

    TFileResult() = default;
    [[nodiscard]] bool IsOk() const noexcept { return message_.empty(); }
    [[nodiscard]] const std::string& Message() const noexcept { return message_; }

private:
    explicit TFileResult(std::string message)
        : message_(message.empty() ? std::string("Unknown file error") : std::move(message)) {}
    std::string message_;
};

}  // namespace tarnwick
