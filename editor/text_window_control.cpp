// The requests other servers send the window in parameter strings: the debugger link and its
// marks, cross-probing, and reading and writing text by line. Each answers in the buffer the
// request came in.
#include <unistd.h>

#include <array>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "editor/text_view.h"
#include "editor/text_window.h"
#include "host/abi/ascii_text.h"
#include "host/abi/parameter_list.h"
#include "host/host_processes.h"
#include "languages/text_source.h"
#include "textengine/memory_stream.h"
#include "textengine/search_options.h"

namespace tarnwick {

namespace {

// The callback buffer: a message of at most 255 characters and its terminator, with room to spare.
constexpr int32_t kCallbackCapacity = 257;

// A request's parameters and the reply written back over them. The caller's buffer holds at
// least kParameterStringLimit bytes; a reply that would not fit leaves out its last pairs
// rather than cutting one, so that what arrives is always whole pairs.
class TRequestReply {
public:
    explicit TRequestReply(char* buffer) : buffer_(buffer) {
        list_.ParseParameters(std::string_view(buffer, ::strnlen(buffer, kParameterStringLimit - 1)));
    }

    [[nodiscard]] std::optional<std::string> Value(std::string_view name) const {
        return list_.GetParameterValue(name);
    }
    [[nodiscard]] bool Has(std::string_view name) const { return list_.FindParameter(name) != nullptr; }

    // Sets the pair, replacing the first of that name; the value is trimmed.
    void Add(std::string_view name, std::string_view value) {
        value = TrimParameterText(value);
        if (TParameter* existing = list_.FindParameter(name))
            existing->Value = std::string(value);
        else
            list_.AddParameter(name, value);
        changed_ = true;
    }
    // The reply starts empty: what the request said is dropped.
    void Clear() {
        list_.ClearParameters();
        changed_ = true;
    }
    // The bytes the pairs take when written, without the terminator.
    [[nodiscard]] std::size_t Size() const {
        std::size_t size = 0;
        for (std::size_t i = 0; i < list_.Count(); ++i)
            size += PairSize(list_[i].Name, ValueText(list_[i])) + (i > 0 ? 1 : 0);
        return size;
    }
    static std::size_t PairSize(std::string_view name, std::string_view value) {
        return name.size() + 1 + value.size();
    }

    // Writes the pairs back, if anything was added or cleared, whole pairs within the limit.
    void Write() const {
        if (!changed_)
            return;
        std::string out;
        for (std::size_t i = 0; i < list_.Count(); ++i) {
            const std::string_view value = ValueText(list_[i]);
            const std::size_t more = PairSize(list_[i].Name, value) + (out.empty() ? 0 : 1);
            if (out.size() + more > kParameterStringLimit - 1)
                break;
            if (!out.empty())
                out += '|';
            out.append(list_[i].Name).append("=").append(value);
        }
        std::memcpy(buffer_, out.data(), out.size());
        buffer_[out.size()] = '\0';
    }

private:
    static std::string_view ValueText(const TParameter& p) {
        return p.Value ? *p.Value : std::string_view(" ");
    }

    char* buffer_;
    TParameterList list_;
    bool changed_ = false;
};

// A decimal 32-bit number and nothing else; nullopt for a missing, empty, partly numeric or
// out-of-range value.
std::optional<int32_t> NumberOf(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    std::string_view digits(*text);
    if (digits.front() == '+')
        digits.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

bool IsValue(const std::optional<std::string>& value, std::string_view name) {
    return value && SameParameterName(*value, name);
}

// The text between separators: piece 1 starts the text, the last runs to its end, and a
// piece beyond the last is the last.
std::string PieceOf(std::string_view text, char separator, int piece) {
    std::size_t begin = 0;
    for (int i = 1; i < piece; ++i) {
        const std::size_t next = text.find(separator, begin);
        if (next == std::string_view::npos)
            break;
        begin = next + 1;
    }
    const std::size_t end = text.find(separator, begin);
    return std::string(
        text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
}

std::string Shortened(std::string text) {
    if (text.size() > kShortStringLength)
        text.resize(kShortStringLength);
    return text;
}

// The line a mark request names: a missing, non-numeric or zero "LineNumber" is the caret's.
int32_t RequestedLine(const TTextWindow& window, const TRequestReply& request) {
    const std::optional<int32_t> line = NumberOf(request.Value("LineNumber"));
    return line && *line != 0 ? *line : window.TextSource().Caret().LinePos;
}

void ReplyCaretLine(TTextWindow& window, TRequestReply& reply) {
    reply.Clear();
    reply.Add("LineNumber", std::to_string(window.TextSource().Caret().LinePos));
}

// ---- The requests of ExternalRequest ---------------------------------------------------------

void LinkWithDebugger(TTextWindow& window, TRequestReply& request) {
    window.LinkServerName = Shortened(request.Value("ServerName").value_or(""));
    window.LinkCallbackProcess = Shortened(request.Value("CallBackProcess").value_or(""));
    const std::optional<std::string> action = request.Value("Action");
    if (IsValue(action, "Link")) {
        window.LinkTarget = window.EditingView;
    } else if (IsValue(action, "UnLink")) {
        window.View().RemoveAllBreakpoints();
        window.View().ClearExecutionMark();
        window.LinkTarget = nullptr;
    }
}

// "HiLight" moves the mark to the requested line, "UnHiLight" clears it.
template <void (TTextView::*Show)(int32_t), void (TTextView::*Clear)()>
void LineMarkRequest(TTextWindow& window, TRequestReply& request) {
    const std::optional<std::string> action = request.Value("Action");
    if (IsValue(action, "HiLight"))
        (window.View().*Show)(RequestedLine(window, request));
    else if (IsValue(action, "UnHiLight"))
        (window.View().*Clear)();
}

// Every pair "LineNumber<n>" that fits, leaving room for the total, which counts them all: a
// caller that finds fewer pairs than the total knows the list was cut.
void ListBreakpoints(TTextWindow& window, TRequestReply& reply) {
    const std::vector<int32_t> lines = window.View().BreakpointLines();
    const std::string total = std::to_string(lines.size());
    const std::size_t reserved = 1 + TRequestReply::PairSize("TotalBreakPoints", total);
    std::size_t size = reply.Size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string name = "LineNumber" + std::to_string(i + 1);
        const std::string value = std::to_string(lines[i]);
        const std::size_t more = TRequestReply::PairSize(name, value) + (size > 0 ? 1 : 0);
        if (size + more + reserved > kParameterStringLimit - 1)
            break;
        reply.Add(name, value);
        size += more;
    }
    reply.Add("TotalBreakPoints", total);
}

struct TBreakpointAction {
    const char* name;
    void (*run)(TTextView& view, int32_t line);
};

constexpr TBreakpointAction kBreakpointActions[] = {
    {"Toggle", [](TTextView& v, int32_t line) { v.ToggleBreakpoint(line); }},
    {"Add", [](TTextView& v, int32_t line) { v.AddBreakpoint(line); }},
    {"Remove", [](TTextView& v, int32_t line) { v.RemoveBreakpoint(line); }},
    {"RemoveAll", [](TTextView& v, int32_t) { v.RemoveAllBreakpoints(); }},
};

void BreakPoint(TTextWindow& window, TRequestReply& request) {
    const std::string command = request.Value("Command").value_or("");
    const std::string action = request.Value("Action").value_or("");
    const int32_t line = RequestedLine(window, request);
    for (const TBreakpointAction& a : kBreakpointActions) {
        if (SameParameterName(action, a.name)) {
            a.run(window.View(), line);
            window.RunLinkCallback("Command=" + command + " | Action=" + action +
                                   " | LineNumber=" + std::to_string(line));
            break;
        }
    }
    if (SameParameterName(action, "GetAllBreakPoints"))
        ListBreakpoints(window, request);
    if (action != "GetAllBreakPoints")
        ReplyCaretLine(window, request);
}

void GetCurrentCursorPosition(TTextWindow& window, TRequestReply& reply) {
    const TPosition caret = window.TextSource().Caret();
    reply.Clear();
    reply.Add("LineNumber", std::to_string(caret.LinePos));
    reply.Add("Column", std::to_string(caret.CharPos));
}

void GetDocumentLength(TTextWindow& window, TRequestReply& reply) {
    reply.Clear();
    reply.Add("Length", std::to_string(window.TextSource().LineCount()));
}

void ClearDirtyFlag(TTextWindow& window, TRequestReply&) { window.TextSource().SetModified(false); }

void QueryDirtyFlag(TTextWindow& window, TRequestReply& reply) {
    reply.Clear();
    reply.Add("DirtyFlag", window.TextSource().Modified() ? "True" : "False");
}

void GetWordAtCursor(TTextWindow& window, TRequestReply& reply) {
    reply.Clear();
    reply.Add("WordAtCursor", Shortened(window.TextSource().WordAtCaret()));
}

struct TRequest {
    const char* command;
    void (*run)(TTextWindow& window, TRequestReply& request);
};

constexpr TRequest kRequests[] = {
    {"LinkWithDebugger", LinkWithDebugger},
    {"HiLightLine", LineMarkRequest<&TTextView::HighlightExecutionLine, &TTextView::ClearExecutionMark>},
    {"ErrorLine", LineMarkRequest<&TTextView::MarkErrorLine, &TTextView::ClearErrorMark>},
    {"BreakPoint", BreakPoint},
    {"GetCurrentCursorPosition", GetCurrentCursorPosition},
    {"GetDocumentLength", GetDocumentLength},
    {"ClearDirtyFlag", ClearDirtyFlag},
    {"QueryDirtyFlag", QueryDirtyFlag},
    {"GetWordAtCursor", GetWordAtCursor},
};

// ---- GetText -----------------------------------------------------------------------------------

// The text written to a new file in the temporary folder; nullopt, with no file left behind,
// when it could not be written whole.
std::optional<std::string> WriteTemporaryText(TTextSource& source) {
    TMemoryStream bytes;
    source.SaveToStream(bytes);
    std::string path = (std::filesystem::temp_directory_path() / "ProXXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0)
        return std::nullopt;
    const std::string& text = bytes.Bytes();
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            break;
        written += std::size_t(n);
    }
    if (::close(fd) != 0 || written != text.size()) {
        ::unlink(path.c_str());
        return std::nullopt;
    }
    return path;
}

// Every line's stored length plus two for the line end after it. O(lines), once per request.
int64_t TextSizeWithLineEnds(const TTextSource& source) {
    const TInternalStrings& store = source.Store();
    int64_t size = 0;
    for (int32_t line = 0; line < store.Count(); ++line)
        size += int64_t(store.Text(line).size()) + 2;
    return size;
}

}  // namespace

// ---- The window's operations -------------------------------------------------------------------

void TTextWindow::ExternalRequest(char* params) {
    if (!params)
        return;
    TRequestReply request(params);
    const std::string command = request.Value("Command").value_or("");
    for (const TRequest& r : kRequests) {
        if (SameParameterName(command, r.command)) {
            r.run(*this, request);
            break;
        }
    }
    request.Write();
}

void TTextWindow::RunLinkCallback(const std::string& message) {
    if (!LinkTarget || LinkServerName.empty() || LinkCallbackProcess.empty())
        return;
    std::array<char, kCallbackCapacity> buffer{};
    const std::string text = Shortened(message);
    std::memcpy(buffer.data(), text.data(), text.size());
    const std::string process = LinkServerName + ":" + LinkCallbackProcess;
    RunHostProcess(process.c_str(), buffer.data(), kCallbackCapacity, LinkTarget);
}

void TTextWindow::EndLink() {
    RunLinkCallback("Command=ShutDown");
    LinkTarget = nullptr;
}

void TTextWindow::QueryCrossProbeTarget(char* params) {
    if (!params)
        return;
    TRequestReply reply(params);
    const std::optional<std::string> requested =
        reply.Has("TargetKind") ? reply.Value("TargetKind") : reply.Value("TargetKind1");
    const std::string kind = ascii::Upper(requested.value_or(""));
    const std::string selection = Shortened(TextSource().SelectionText());
    // A value can never hold a vertical bar: written back, it would split into pairs the
    // asking server would take for ours.
    if (selection.empty() || selection.find('|') != std::string::npos) {
        reply.Add("Result", "False");
        reply.Write();
        return;
    }
    std::string foundKind = kind;
    std::string id = selection;
    if (kind.empty() || kind == "PIN" || kind == "LOCATION") {
        if (selection.find('-') != std::string::npos) {
            foundKind = "PIN";
            id = PieceOf(selection, '-', 2) + ":" + PieceOf(selection, '-', 1);
        } else if (selection.find(',') != std::string::npos) {
            foundKind = "LOCATION";
            id = PieceOf(selection, ',', 1) + ":" + PieceOf(selection, ',', 2);
        } else {
            foundKind = "TEXT";
        }
    }
    reply.Add("Kind", foundKind);
    reply.Add("Id", id);
    reply.Write();
    update();
}

void TTextWindow::CrossProbeTo(char* params) {
    if (!params)
        return;
    const TRequestReply request(params);
    if (SameParameterName(request.Value("Kind").value_or(""), "Position")) {
        const int32_t line = NumberOf(request.Value("LineNumber")).value_or(0);
        const int32_t column = NumberOf(request.Value("ColumnNumber")).value_or(0);
        // A line past the text is refused, as GotoLine refuses it: the caret there would make
        // the next insertion append every line up to it, up to two thousand million of them.
        if (line >= 0 && column >= 0 && line < TextSource().LineCount()) {
            TextSource().SetCaret(column, line);
            TextSource().SelectLine();
        }
        return;
    }
    const std::string id = ascii::Upper(request.Value("Id").value_or(""));
    const std::string pieces[] = {PieceOf(id, ':', 1), PieceOf(id, ':', 2), PieceOf(id, ':', 3)};
    TSearchOptions& options = TSearchOptions::Shared();
    options.CaseSensitive = false;
    options.WholeWordsOnly = true;
    options.Origin = soEntireScope;
    options.ShowNotFound = false;
    if (!pieces[0].empty())
        options.TextToFind = pieces[0];
    else if (!pieces[2].empty())
        options.TextToFind = pieces[2];
    else if (!pieces[1].empty())
        options.TextToFind = pieces[1];
}

void TTextWindow::GetText(char* params) {
    if (!params)
        return;
    TRequestReply request(params);
    if (request.Has("GetSize")) {
        request.Add("Size", std::to_string(TextSizeWithLineEnds(TextSource())));
    } else if (request.Has("GetAll")) {
        if (const std::optional<std::string> path = WriteTemporaryText(TextSource())) {
            request.Clear();
            request.Add("FileName", *path);
        }
    } else if (request.Has("LineNumber")) {
        const std::optional<int32_t> line = NumberOf(request.Value("LineNumber"));
        if (!line)
            return;
        if (*line >= 0 && *line < TextSource().LineCount()) {
            // The raw line, cut to the buffer: the caller asked for text, not parameters.
            const std::string_view text = TextSource().Store().Text(*line);
            const std::size_t n = std::min(text.size(), kParameterStringLimit - 1);
            std::memcpy(params, text.data(), n);
            params[n] = '\0';
            return;
        }
        request.Add("EOF", "TRUE");
    }
    request.Write();
}

void TTextWindow::GotoLine(char* params) {
    std::optional<std::string> value;
    if (params)
        value = TRequestReply(params).Value("NewLineNumber");
    // The line the caret goes to is shown in the middle of the view, as the view's own go-to does.
    if (!value) {
        if (TextSource().AskGotoLine())
            View().CenterLine();
        return;
    }
    const std::optional<int32_t> line = NumberOf(value);
    if (line && *line >= 0 && *line < TextSource().LineCount()) {
        TextSource().SetCaret(TextSource().Caret().CharPos, *line);
        View().CenterLine();
    }
}

void TTextWindow::InsertText(const char* text) {
    if (!text || *text == '\0')
        return;
    const std::string_view all(text, ::strnlen(text, kParameterStringLimit - 1));
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == '\r' || all[i] == '\n') {
            if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += all[i];
        }
    }
    TextSource().InsertBlock(lines, false);
}

void TTextWindow::SetLineText(char* params) {
    if (!params)
        return;
    const TRequestReply request(params);
    const std::optional<int32_t> line = NumberOf(request.Value("LineNumber"));
    const std::optional<std::string> text = request.Value("Text");
    if (line && text && *line >= 0 && *line < TextSource().LineCount())
        TextSource().PutLineText(*line, *text);
}

}  // namespace tarnwick
