#include "textengine/edif/edif_scanner.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace tarnwick {

namespace {

// Every byte of the text passes one of these, so they look the byte up instead of comparing.
enum : uint8_t { kBlank = 1, kDelimiter = 2 };
constexpr std::array<uint8_t, 256> kCharClass = [] {
    std::array<uint8_t, 256> classes{};
    for (const char c : {' ', '\t', '\r', '\n', '\f', '\v'})
        classes[uint8_t(c)] = kBlank | kDelimiter;
    for (const char c : {'(', ')', '"'})
        classes[uint8_t(c)] = kDelimiter;
    return classes;
}();
bool IsBlank(char c) { return kCharClass[uint8_t(c)] & kBlank; }
bool IsDelimiter(char c) { return kCharClass[uint8_t(c)] & kDelimiter; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

struct KeywordName {
    std::string_view lower;
    TEdifKeyword keyword;
};
// By length, so that a word is compared only with the keywords of its own length.
constexpr KeywordName kKeywords[] = {
    {"net", TEdifKeyword::Net},
    {"edif", TEdifKeyword::Edif},
    {"cell", TEdifKeyword::Cell},
    {"view", TEdifKeyword::View},
    {"page", TEdifKeyword::Page},
    {"port", TEdifKeyword::Port},
    {"array", TEdifKeyword::Array},
    {"design", TEdifKeyword::Design},
    {"rename", TEdifKeyword::Rename},
    {"member", TEdifKeyword::Member},
    {"joined", TEdifKeyword::Joined},
    {"library", TEdifKeyword::Library},
    {"cellref", TEdifKeyword::CellRef},
    {"viewref", TEdifKeyword::ViewRef},
    {"portref", TEdifKeyword::PortRef},
    {"external", TEdifKeyword::External},
    {"contents", TEdifKeyword::Contents},
    {"instance", TEdifKeyword::Instance},
    {"interface", TEdifKeyword::Interface},
    {"libraryref", TEdifKeyword::LibraryRef},
    {"instanceref", TEdifKeyword::InstanceRef},
    {"edifversion", TEdifKeyword::EdifVersion},
};
constexpr size_t kLongestKeyword = 11;
static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords),
                             [](const KeywordName& a, const KeywordName& b) {
                                 return a.lower.size() < b.lower.size();
                             }));
// kKeywords[kFirstOfLength[n], kFirstOfLength[n + 1]) are the keywords of n letters.
constexpr std::array<uint8_t, kLongestKeyword + 2> kFirstOfLength = [] {
    std::array<uint8_t, kLongestKeyword + 2> first{};
    size_t k = 0;
    for (size_t n = 0; n < first.size(); ++n) {
        while (k < std::size(kKeywords) && kKeywords[k].lower.size() < n)
            ++k;
        first[n] = uint8_t(k);
    }
    return first;
}();

}  // namespace

TEdifKeyword EdifKeywordOf(std::string_view word) {
    const size_t n = word.size();
    if (n > kLongestKeyword)
        return TEdifKeyword::Other;
    for (size_t k = kFirstOfLength[n]; k < kFirstOfLength[n + 1]; ++k) {
        const std::string_view lower = kKeywords[k].lower;
        size_t i = 0;
        while (i < n && LowerAscii(word[i]) == lower[i])
            ++i;
        if (i == n)
            return kKeywords[k].keyword;
    }
    return TEdifKeyword::Other;
}

bool EdifKindOf(TEdifKeyword keyword, TEdifKind& kind) {
    switch (keyword) {
        case TEdifKeyword::Edif:
            kind = TEdifKind::Edif;
            return true;
        case TEdifKeyword::Library:
            kind = TEdifKind::Library;
            return true;
        case TEdifKeyword::External:
            kind = TEdifKind::External;
            return true;
        case TEdifKeyword::Cell:
            kind = TEdifKind::Cell;
            return true;
        case TEdifKeyword::View:
            kind = TEdifKind::View;
            return true;
        case TEdifKeyword::Interface:
            kind = TEdifKind::Interface;
            return true;
        case TEdifKeyword::Contents:
            kind = TEdifKind::Contents;
            return true;
        case TEdifKeyword::Page:
            kind = TEdifKind::Page;
            return true;
        case TEdifKeyword::Port:
            kind = TEdifKind::Port;
            return true;
        case TEdifKeyword::Instance:
            kind = TEdifKind::Instance;
            return true;
        case TEdifKeyword::Net:
            kind = TEdifKind::Net;
            return true;
        case TEdifKeyword::Design:
            kind = TEdifKind::Design;
            return true;
        default:
            return false;
    }
}

bool IsEdifReference(TEdifKeyword keyword, TEdifRefKind& kind) {
    switch (keyword) {
        case TEdifKeyword::LibraryRef:
            kind = TEdifRefKind::LibraryRef;
            return true;
        case TEdifKeyword::CellRef:
            kind = TEdifRefKind::CellRef;
            return true;
        case TEdifKeyword::ViewRef:
            kind = TEdifRefKind::ViewRef;
            return true;
        case TEdifKeyword::InstanceRef:
            kind = TEdifRefKind::InstanceRef;
            return true;
        case TEdifKeyword::PortRef:
            kind = TEdifRefKind::PortRef;
            return true;
        default:
            return false;
    }
}

TEdifScanner::TEdifScanner(const TEdifLines& lines, TEdifScanHandler& handler)
    : lines_(lines), handler_(handler) {}

void TEdifScanner::Restart(TEdifPoint at) {
    line_ = at.line;
    column_ = at.column;
    haveLine_ = false;
    atEnd_ = false;
    stopped_ = false;
    bytesScanned_ = 0;
    inString_ = false;
    captureString_ = false;
    depth_ = 0;
    overflow_ = 0;
}

TEdifPoint TEdifScanner::EndOfText() const {
    const int32_t count = lines_.LineCount();
    if (count == 0)
        return {0, 0};
    std::string scratch;
    return {count - 1, int32_t(lines_.Line(count - 1, scratch).size())};
}

bool TEdifScanner::FetchLine() {
    if (line_ >= lines_.LineCount())
        return false;
    text_ = lines_.Line(line_, scratch_);
    if (size_t(column_) > text_.size())
        column_ = int32_t(text_.size());
    haveLine_ = true;
    lineHasToken_ = column_ > 0;
    return true;
}

bool TEdifScanner::Run(int64_t maxBytes) {
    if (atEnd_ || stopped_)
        return false;
    const int64_t start = bytesScanned_;
    while (bytesScanned_ - start < maxBytes) {
        if (!haveLine_ && !FetchLine()) {
            atEnd_ = true;
            if (inString_)
                handler_.StringProblem(TEdifStringProblem::NeverCloses, stringStart_, 1);
            return false;
        }
        if (inString_) {
            ScanString();
            continue;
        }
        const size_t n = text_.size();
        size_t i = size_t(column_);
        while (i < n && IsBlank(text_[i]))
            ++i;
        if (i >= n) {
            bytesScanned_ += int64_t(n - size_t(column_)) + 1;
            ++line_;
            column_ = 0;
            haveLine_ = false;
            continue;
        }
        const size_t before = size_t(column_);
        const TEdifPoint at{line_, int32_t(i)};
        if (!(at < stopAt_)) {
            column_ = int32_t(i);
            return false;
        }
        const char c = text_[i];
        if (c == '(') {
            column_ = int32_t(i + 1);
            OpenForm(at);
        } else if (c == ')') {
            column_ = int32_t(i + 1);
            const bool hadForm = depth_ > 0 || overflow_ > 0;
            CloseForm(at);
            lineHasToken_ = true;
            if (stopWhenEmpty_ && hadForm && depth_ == 0 && overflow_ == 0) {
                bytesScanned_ += int64_t(size_t(column_) - before);
                stopped_ = true;
                return false;
            }
        } else if (c == '"') {
            column_ = int32_t(i + 1);
            inString_ = true;
            stringStart_ = at;
            stringText_.clear();
            captureString_ = false;
            if (overflow_ == 0 && depth_ > 0) {
                TEdifFrame& f = frames_[depth_ - 1];
                if (f.items == 0)
                    handler_.Opened(f, int32_t(depth_));
                captureString_ = f.keyword == TEdifKeyword::Rename && f.items == 2;
                if (f.items == 1 && !f.nameIsFinal)
                    f.nameIsFinal = true;
                ++f.items;
            }
            bytesScanned_ += int64_t(size_t(column_) - before);
            lineHasToken_ = true;
            ScanString();
            continue;
        } else {
            size_t j = i;
            while (j < n && !IsDelimiter(text_[j]))
                ++j;
            column_ = int32_t(j);
            bytesScanned_ += int64_t(j - before);
            lineHasToken_ = true;
            TakeAtom(text_.substr(i, j - i), at);  // may move on past a skipped form
            continue;
        }
        bytesScanned_ += int64_t(size_t(column_) - before);
        lineHasToken_ = true;
    }
    return true;
}

void TEdifScanner::OpenForm(TEdifPoint at) {
    if (overflow_ > 0 || depth_ == kMaxFrames) {
        ++overflow_;
        return;
    }
    if (depth_ > 0) {
        TEdifFrame& parent = frames_[depth_ - 1];
        if (parent.items == 0) {
            handler_.Opened(parent, int32_t(depth_));
            parent.items = 1;  // a form in the keyword place: the parent has no keyword
        }
        ++parent.items;
    }
    if (depth_ == frames_.size())
        frames_.emplace_back();
    TEdifFrame& f = frames_[depth_++];
    f.head = at;
    f.keyword = TEdifKeyword::None;
    f.items = 0;
    f.hasName = f.renamed = f.isArray = f.nameIsFinal = false;
    f.keywordText.clear();
    f.name.clear();
    f.nameAt = at;
    f.nameLength = 0;
    f.original.clear();
    f.record = f.target = f.extra = -1;
    f.childName.clear();
    f.indent = lineHasToken_ ? -1 : at.column;
}

void TEdifScanner::CloseForm(TEdifPoint at) {
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (depth_ == 0) {
        handler_.StrayClose(at);
        return;
    }
    TEdifFrame& f = frames_[depth_ - 1];
    if (f.items == 0)
        handler_.Opened(f, int32_t(depth_));
    handler_.Closed(f, int32_t(depth_), at);
    --depth_;
    if (depth_ > 0)
        NameFromChild(f);
}

void TEdifScanner::PushOpenFrame(TEdifPoint head, TEdifKeyword keyword, int32_t record) {
    if (depth_ == frames_.size())
        frames_.emplace_back();
    TEdifFrame& f = frames_[depth_++];
    f = TEdifFrame{};
    f.head = head;
    f.keyword = keyword;
    f.items = 2;
    f.nameIsFinal = true;
    f.record = record;
}

void TEdifScanner::SkipCurrentForm(TEdifPoint closeAt) {
    skipPending_ = true;
    skipTo_ = closeAt;
}

void TEdifScanner::FinishSkip() {
    skipPending_ = false;
    if (depth_ == 0 || !(Position() <= skipTo_))
        return;
    --depth_;
    if (depth_ > 0)
        NameFromChild(frames_[depth_]);
    line_ = skipTo_.line;
    column_ = skipTo_.column + 1;
    haveLine_ = false;
}

// A rename or array form in its parent's name place gives the parent its name.
void TEdifScanner::NameFromChild(TEdifFrame& child) {
    TEdifFrame& parent = frames_[depth_ - 1];
    if (parent.nameIsFinal || parent.items != 2)
        return;
    parent.nameIsFinal = true;
    const bool givesName = child.keyword == TEdifKeyword::Rename || child.keyword == TEdifKeyword::Array ||
                           child.keyword == TEdifKeyword::Member;
    if (!child.hasName || !givesName)
        return;
    parent.hasName = true;
    parent.name = child.name;
    parent.nameAt = child.nameAt;
    parent.nameLength = child.nameLength;
    parent.renamed = child.renamed || child.keyword == TEdifKeyword::Rename;
    parent.isArray = child.isArray || child.keyword == TEdifKeyword::Array;
    parent.original = child.original;
    handler_.Named(parent, int32_t(depth_));
}

void TEdifScanner::TakeAtom(std::string_view text, TEdifPoint at) {
    if (overflow_ > 0 || depth_ == 0)
        return;
    TEdifFrame& f = frames_[depth_ - 1];
    if (f.items == 0) {
        f.keywordText.assign(text);
        f.keyword = EdifKeywordOf(text);
        f.items = 1;
        handler_.Opened(f, int32_t(depth_));
        if (skipPending_)
            FinishSkip();
        return;
    }
    if (f.items == 1 && !f.nameIsFinal) {
        f.items = 2;
        f.nameIsFinal = true;
        f.hasName = true;
        f.name.assign(text);
        f.nameAt = at;
        f.nameLength = int32_t(text.size());
        handler_.Named(f, int32_t(depth_));
        return;
    }
    ++f.items;
    handler_.Atom(f, text, at);
}

// Scans the current string from column_ to its closing quote or the line's end.
void TEdifScanner::ScanString() {
    const size_t n = text_.size();
    size_t i = size_t(column_);
    const size_t before = i;
    while (i < n) {
        const char c = text_[i];
        if (c == '"') {
            if (captureString_)
                stringText_.append(text_.substr(before, i - before));
            inString_ = false;
            column_ = int32_t(i + 1);
            bytesScanned_ += int64_t(i + 1 - before);
            if (captureString_ && depth_ > 0)
                frames_[depth_ - 1].original = stringText_;
            return;
        }
        if (c == '%')
            ScanEscape(text_, i);
        else
            ++i;
    }
    if (captureString_) {
        stringText_.append(text_.substr(before));
        stringText_ += '\n';
    }
    bytesScanned_ += int64_t(n - before) + 1;
    ++line_;
    column_ = 0;
    haveLine_ = false;
}

// At a '%': an escape is '%' then decimal codes separated by blanks then '%'. A '%' not
// followed by a digit is taken as itself and only warned about.
void TEdifScanner::ScanEscape(std::string_view text, size_t& i) {
    const size_t start = i;
    size_t j = i + 1;
    while (j < text.size() && (text[j] == ' ' || text[j] == '\t'))
        ++j;
    if (j >= text.size() || !IsDigit(text[j])) {
        handler_.StringProblem(TEdifStringProblem::LonePercent, {line_, int32_t(start)}, 1);
        i = start + 1;
        return;
    }
    int code = 0;
    bool bad = false;
    for (; j < text.size(); ++j) {
        const char c = text[j];
        if (c == '%') {
            if (bad)
                handler_.StringProblem(TEdifStringProblem::BadEscape, {line_, int32_t(start)},
                                       int32_t(j + 1 - start));
            i = j + 1;
            return;
        }
        if (IsDigit(c)) {
            code = code * 10 + (c - '0');
            if (code > 255) {
                bad = true;
                code = 0;
            }
        } else if (c == ' ' || c == '\t') {
            code = 0;
        } else {
            break;
        }
    }
    // Not an escape: take the text up to the next '%' with it, so one mistake is one report.
    while (j < text.size() && text[j] != '%' && text[j] != '"')
        ++j;
    if (j < text.size() && text[j] == '%')
        ++j;
    handler_.StringProblem(TEdifStringProblem::BadEscape, {line_, int32_t(start)}, int32_t(j - start));
    i = j;
}

}  // namespace tarnwick
