// The text an EDIF index reads, one stored line at a time. The index never keeps a view into
// it across calls, so the lines may live anywhere: a buffer, a string, a file image.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TCustomMemoSource;

class TEdifLines {
public:
    virtual ~TEdifLines() = default;
    virtual int32_t LineCount() const = 0;
    // The stored line without its line end. A line that is not held in one piece is copied
    // into scratch and the view points there; the view is valid until the next call.
    virtual std::string_view Line(int32_t line, std::string& scratch) const = 0;
};

// Whether the first thing in a text, after blanks, is an edif form: "(edif" in any case. The
// beginning of the text is enough, with its lines joined by line ends.
bool StartsWithEdifForm(std::string_view text);

// Lines split from one text at LF, CR LF or CR (the command-line tool, tests).
class TEdifTextLines : public TEdifLines {
public:
    explicit TEdifTextLines(std::string text);
    int32_t LineCount() const override { return int32_t(starts_.size()); }
    std::string_view Line(int32_t line, std::string& scratch) const override;
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::vector<size_t> starts_;  // start of each line; a line ends at its line end or text end
};

// The lines of a text buffer, read through its public operations.
class TEdifBufferLines : public TEdifLines {
public:
    explicit TEdifBufferLines(const TCustomMemoSource& source) : source_(source) {}
    int32_t LineCount() const override;
    std::string_view Line(int32_t line, std::string& scratch) const override;

private:
    const TCustomMemoSource& source_;
};

}  // namespace tarnwick
