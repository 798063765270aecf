// A document loaded from any bytes under any buffer options (line splitting, tab expansion,
// trailing blanks), every line highlighted with each shipped scheme, then a short run of
// editing commands: undoing all of it gives back the loaded text and caret exactly, and redoing
// all of it gives back the edited ones.
// Input: two option bytes, the tab width, the command count, NUL, the file, NUL, the commands
// (one byte each, with its argument bytes after it).
#include <cstdlib>
#include <functional>
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

void Require(bool condition) {
    if (!condition)
        std::abort();
}

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
    return s;
}

const std::vector<TSyntaxParser*>& Highlighters() {
    static const std::vector<TSyntaxParser*> parsers = [] {
        std::vector<TSyntaxParser*> made;
        for (void (*make)(TSyntaxScheme&) : {&MakeEdifScheme, &MakeVerilogScheme, &MakeVhdlScheme}) {
            TSyntaxScheme scheme;
            make(scheme);
            made.push_back(new TSyntaxParser);  // kept for the life of the process
            made.back()->SetSyntaxScheme(scheme);
        }
        return made;
    }();
    return parsers;
}

void HighlightEveryLine(TMemoSource& source) {
    for (TSyntaxParser* parser : Highlighters()) {
        source.SetSyntaxParser(parser);
        for (int32_t line = 0; line < source.LineCount(); ++line)
            Require(source.LineColors(line).size() >= source.StoredLine(line).size());
    }
}

// One editing command, chosen and given its arguments by the input.
void RunCommand(TMemoSource& source, TMemoryClipboard& clipboard, TFuzzInput& input) {
    using TCommand = std::function<void()>;
    const auto small = [&input] { return int32_t(input.Byte() % 48) - 8; };
    const TCommand commands[] = {
        [&] { source.TypeChar(char(input.Byte())); },
        [&] { source.InsertString(input.Until('\x01')); },
        [&] { source.NewLine(); },
        [&] { source.SplitLine(); },
        [&] { source.JoinLines(); },
        [&] { source.BackSpace(); },
        [&] { source.DeleteChar(); },
        [&] { source.DeleteChars(small()); },
        [&] { source.TabKey(); },
        [&] { source.BackTab(); },
        [&] { source.DeleteLine(); },
        [&] { source.DeleteWordRight(); },
        [&] { source.DeleteWordLeft(); },
        [&] { source.DeleteToLineStart(); },
        [&] { source.DeleteToLineEnd(); },
        [&] { source.SetCaret(small() * 4, small()); },
        [&] { source.MoveCaret(small(), small()); },
        [&] { source.CaretLeft(); },
        [&] { source.CaretRight(); },
        [&] { source.CaretUp(); },
        [&] { source.CaretDown(); },
        [&] { source.WordLeft(); },
        [&] { source.WordRight(); },
        [&] { source.LineEnd(); },
        [&] { source.TextEnd(); },
        [&] {
            const int32_t dl = small(), dc = small();
            source.ExtendSelection(stStream, [&] { source.MoveCaret(dl, dc); });
        },
        [&] {
            const int32_t dl = small(), dc = small();
            source.ExtendSelection(stColumn, [&] { source.MoveCaret(dl, dc); });
        },
        [&] { source.SelectAll(); },
        [&] { source.SelectLine(); },
        [&] { source.SelectWord(); },
        [&] { source.MarkBlockBegin(); },
        [&] { source.MarkBlockEnd(); },
        [&] { source.DeleteSelection(); },
        [&] { source.IndentBlock(); },
        [&] { source.UnindentBlock(); },
        [&] { source.UpperCaseBlock(); },
        [&] { source.LowerCaseBlock(); },
        [&] { source.ToggleCaseBlock(); },
        [&] { source.UpperCaseWord(); },
        [&] { source.LowerCaseWord(); },
        [&] { source.CopyBlock(); },
        [&] { source.MoveBlock(); },
        [&] { source.CopyToClipboard(clipboard); },
        [&] { source.CutToClipboard(clipboard); },
        [&] { source.PasteFromClipboard(clipboard); },
        [&] { source.ToggleInsertMode(); },
        [&] { source.ToggleBookmark(small()); },
        [&] { source.GotoBookmark(small()); },
        [&] { source.SetLineReadOnly(small(), input.Byte() & 1); },
    };
    commands[input.Below(std::size(commands))]();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFuzzInput input(data, size);
    const uint32_t options = input.Byte() | uint32_t(input.Byte()) << 8 | uint32_t(input.Byte() & 7) << 16;
    const int32_t tabWidth = int32_t(input.Below(12));
    const int commandCount = int(input.Below(kMaxCommands + 1));
    const std::string file(input.Until('\0'));

    TMemoSource source;
    source.SetOptions(TStringsOptions(options));
    source.SetSpacesInTab(tabWidth);
    source.SetInsertMode();
    TMemoryStream stream(file);
    source.LoadFromStream(stream);
    HighlightEveryLine(source);

    TMemoryClipboard clipboard;
    const TSnapshot loaded = Take(source);
    for (int i = 0; i < commandCount && !input.Empty(); ++i)
        RunCommand(source, clipboard, input);
    source.SetInsertMode();  // a process-wide flag, not part of the text
    HighlightEveryLine(source);
    const TSnapshot edited = Take(source);

    for (int guard = 0; source.CanUndo() && guard < 100000; ++guard)
        source.Undo();
    Require(Take(source) == loaded);
    for (int guard = 0; source.CanRedo() && guard < 100000; ++guard)
        source.Redo();
    Require(Take(source).lines == edited.lines && Take(source).caret == edited.caret);

    TMemoryStream saved;
    source.SaveToStream(saved);
    return 0;
}
