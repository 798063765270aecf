// A document loaded from any bytes under any buffer options (line splitting, tab expansion,
// trailing blanks) with long lines stored in small chunks, every line highlighted with each
// shipped scheme, then a short run of editing commands: undoing all of it gives back the
// loaded text and caret exactly, and redoing all of it gives back the edited text.
// Input: two option bytes, the tab width, the command count, NUL, the file, NUL, the commands
// (one byte each, with its argument bytes after it).
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "languages/shipped/shipped_languages.h"
#include "languages/syntax_parser.h"
#include "textengine/clipboard.h"
#include "textengine/memo_source.h"
#include "textengine/memory_stream.h"

namespace {

using namespace tarnwick;
using fuzz::TFuzzInput;

constexpr int kMaxCommands = 48;

struct TSnapshot {
    std::vector<std::string> lines;
    TPosition caret;
    bool modified;
    friend bool operator==(const TSnapshot&, const TSnapshot&) = default;
};

TSnapshot Take(const TMemoSource& source) {
    TSnapshot s{{}, source.Caret(), source.Modified()};
    for (int32_t i = 0; i < source.LineCount(); ++i)
        s.lines.emplace_back(source.StoredLine(i));
    // An empty file loads as no lines; typing into it and undoing leaves one empty line, which
    // is the same text and saves to the same bytes.
    if (s.lines.size() == 1 && s.lines[0].empty())
        s.lines.clear();
    return s;
}

std::string Describe(const TSnapshot& s) {
    std::string text = "caret " + std::to_string(s.caret.LinePos) + "," + std::to_string(s.caret.CharPos) +
                       (s.modified ? " modified\n" : "\n");
    for (const std::string& line : s.lines)
        text += "|" + line + "|\n";
    return text;
}

// One highlighter per shipped scheme, made once.
const std::vector<std::unique_ptr<TSyntaxParser>>& Highlighters() {
    static const std::vector<std::unique_ptr<TSyntaxParser>> parsers = [] {
        std::vector<std::unique_ptr<TSyntaxParser>> made;
        for (void (*make)(TSyntaxScheme&) : {&MakeEdifScheme, &MakeVerilogScheme, &MakeVhdlScheme}) {
            TSyntaxScheme scheme;
            make(scheme);
            made.push_back(std::make_unique<TSyntaxParser>());
            made.back()->SetSyntaxScheme(scheme);
        }
        return made;
    }();
    return parsers;
}

void HighlightEveryLine(TMemoSource& source, TSyntaxParser& parser) {
    source.SetSyntaxParser(&parser);
    for (int32_t line = 0; line < source.LineCount(); ++line)
        FUZZ_REQUIRE(source.LineColors(line).size() >= source.StoredLine(line).size());
}

// One editing command, chosen and given its arguments by the input.
void RunCommand(TMemoSource& source, TMemoryClipboard& clipboard, TFuzzInput& input) {
    using TCommand = std::pair<const char*, std::function<void()>>;
    // Arguments are taken into locals first: the order in which one call's arguments are read
    // is the compiler's choice, and a reproducer must mean the same in every build.
    const auto small = [&input] { return int32_t(input.Byte() % 48) - 8; };
    const TCommand commands[] = {
        {"TypeChar", [&] { source.TypeChar(char(input.Byte())); }},
        {"InsertString", [&] { source.InsertString(input.Until('\x01')); }},
        {"NewLine", [&] { source.NewLine(); }},
        {"SplitLine", [&] { source.SplitLine(); }},
        {"JoinLines", [&] { source.JoinLines(); }},
        {"BackSpace", [&] { source.BackSpace(); }},
        {"DeleteChar", [&] { source.DeleteChar(); }},
        {"DeleteChars", [&] { source.DeleteChars(small()); }},
        {"TabKey", [&] { source.TabKey(); }},
        {"BackTab", [&] { source.BackTab(); }},
        {"DeleteLine", [&] { source.DeleteLine(); }},
        {"DeleteWordRight", [&] { source.DeleteWordRight(); }},
        {"DeleteWordLeft", [&] { source.DeleteWordLeft(); }},
        {"DeleteToLineStart", [&] { source.DeleteToLineStart(); }},
        {"DeleteToLineEnd", [&] { source.DeleteToLineEnd(); }},
        {"SetCaret",
         [&] {
             const int32_t column = small() * 4, line = small();
             source.SetCaret(column, line);
         }},
        {"MoveCaret",
         [&] {
             const int32_t dl = small(), dc = small();
             source.MoveCaret(dl, dc);
         }},
        {"CaretLeft", [&] { source.CaretLeft(); }},
        {"CaretRight", [&] { source.CaretRight(); }},
        {"CaretUp", [&] { source.CaretUp(); }},
        {"CaretDown", [&] { source.CaretDown(); }},
        {"WordLeft", [&] { source.WordLeft(); }},
        {"WordRight", [&] { source.WordRight(); }},
        {"LineEnd", [&] { source.LineEnd(); }},
        {"TextEnd", [&] { source.TextEnd(); }},
        {"StreamSelection",
         [&] {
             const int32_t dl = small(), dc = small();
             source.ExtendSelection(stStream, [&] { source.MoveCaret(dl, dc); });
         }},
        {"ColumnSelection",
         [&] {
             const int32_t dl = small(), dc = small();
             source.ExtendSelection(stColumn, [&] { source.MoveCaret(dl, dc); });
         }},
        {"SelectAll", [&] { source.SelectAll(); }},
        {"SelectLine", [&] { source.SelectLine(); }},
        {"SelectWord", [&] { source.SelectWord(); }},
        {"MarkBlockBegin", [&] { source.MarkBlockBegin(); }},
        {"MarkBlockEnd", [&] { source.MarkBlockEnd(); }},
        {"DeleteSelection", [&] { source.DeleteSelection(); }},
        {"IndentBlock", [&] { source.IndentBlock(); }},
        {"UnindentBlock", [&] { source.UnindentBlock(); }},
        {"UpperCaseBlock", [&] { source.UpperCaseBlock(); }},
        {"LowerCaseBlock", [&] { source.LowerCaseBlock(); }},
        {"ToggleCaseBlock", [&] { source.ToggleCaseBlock(); }},
        {"UpperCaseWord", [&] { source.UpperCaseWord(); }},
        {"LowerCaseWord", [&] { source.LowerCaseWord(); }},
        {"CopyBlock", [&] { source.CopyBlock(); }},
        {"MoveBlock", [&] { source.MoveBlock(); }},
        {"CopyToClipboard", [&] { source.CopyToClipboard(clipboard); }},
        {"CutToClipboard", [&] { source.CutToClipboard(clipboard); }},
        {"PasteFromClipboard", [&] { source.PasteFromClipboard(clipboard); }},
        {"ToggleInsertMode", [&] { source.ToggleInsertMode(); }},
        {"ToggleBookmark", [&] { source.ToggleBookmark(small()); }},
        {"GotoBookmark", [&] { source.GotoBookmark(small()); }},
    };
    const TCommand& command = commands[input.Below(std::size(commands))];
    fuzz::Trace("%s\n", command.first);
    command.second();
    fuzz::Trace("  caret %d,%d undo %d redo %d\n", source.Caret().LinePos, source.Caret().CharPos,
                int(source.UndoList().Count()), int(source.RedoList().Count()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFuzzInput input(data, size);
    // One byte at a time: the order of the operands of one expression is the compiler's choice.
    uint32_t options = input.Byte();
    options |= uint32_t(input.Byte()) << 8;
    options |= uint32_t(input.Byte() & 7) << 16;
    const int32_t tabWidth = int32_t(input.Below(12));
    const int commandCount = int(input.Below(kMaxCommands + 1));
    const std::string file(input.Until('\0'));

    TMemoSource source;
    // Chunks of a few bytes, so that lines of a few dozen are already stored in chunks and
    // the edits cross their edges; the size comes from the input without taking a byte of it.
    source.SetLongLineChunkBytes(4 + file.size() % 29);
    source.SetOptions(TStringsOptions(options));
    source.SetSpacesInTab(tabWidth);
    source.SetInsertMode();
    TMemoryStream stream(file);
    source.LoadFromStream(stream);
    for (const auto& parser : Highlighters())
        HighlightEveryLine(source, *parser);

    TMemoryClipboard clipboard;
    const TSnapshot loaded = Take(source);
    for (int i = 0; i < commandCount && !input.Empty(); ++i)
        RunCommand(source, clipboard, input);
    source.SetInsertMode();  // a process-wide flag, not part of the text
    // The edits re-parse from the lines they changed, with the last scheme attached.
    HighlightEveryLine(source, *Highlighters().back());
    const TSnapshot edited = Take(source);

    for (int guard = 0; source.CanUndo() && guard < 100000; ++guard) {
        source.Undo();
        fuzz::Trace("undo: caret %d,%d undo %d redo %d lines %d\n", source.Caret().LinePos,
                    source.Caret().CharPos, int(source.UndoList().Count()), int(source.RedoList().Count()),
                    int(source.LineCount()));
    }
    if (!(Take(source) == loaded))
        fuzz::Trace("after undo:\n%s\nloaded:\n%s\n", Describe(Take(source)).c_str(),
                    Describe(loaded).c_str());
    FUZZ_REQUIRE(Take(source) == loaded);
    for (int guard = 0; source.CanRedo() && guard < 100000; ++guard)
        source.Redo();
    // The text only: a caret left past the end of the file comes back inside it.
    const TSnapshot redone = Take(source);
    if (redone.lines != edited.lines)
        fuzz::Trace("after redo:\n%s\nedited:\n%s\n", Describe(redone).c_str(), Describe(edited).c_str());
    FUZZ_REQUIRE(redone.lines == edited.lines);

    TMemoryStream saved;
    source.SaveToStream(saved);
    return 0;
}
