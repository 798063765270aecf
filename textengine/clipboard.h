// Clipboard access of the engine; the view hands in the toolkit's clipboard, tests an
// in-memory one. Text is in stored form, lines joined by CR LF.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

class TClipboard {
public:
    virtual bool HasText() const = 0;
    virtual std::string Text() const = 0;
    // True when the text was copied from a column selection of this process.
    virtual bool IsColumnBlock() const = 0;
    virtual void SetText(std::string_view text, bool columnBlock) = 0;
    virtual void Clear() = 0;

protected:
    ~TClipboard() = default;
};

class TMemoryClipboard final : public TClipboard {
public:
    bool HasText() const override { return hasText_; }
    std::string Text() const override { return text_; }
    bool IsColumnBlock() const override { return column_; }
    void SetText(std::string_view text, bool columnBlock) override {
        text_ = text;
        column_ = columnBlock;
        hasText_ = true;
    }
    void Clear() override {
        text_.clear();
        column_ = false;
        hasText_ = false;
    }

private:
    std::string text_;
    bool column_ = false;
    bool hasText_ = false;
};

}  // namespace tarnwick
