// Long random runs of editing commands on random texts, then undo of every step back to the
// start and redo of every step to the end: text, caret and modified flag must match exactly.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "tests/textengine/test_support.h"
#include "textengine/clipboard.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

using testing_support::LoadLines;
using testing_support::StoredLines;

struct Snapshot {
    std::vector<std::string> lines;
    TPosition caret;
    bool modified;
};

Snapshot Take(const TMemoSource& s) { return {StoredLines(s), s.Caret(), s.Modified()}; }

std::string Describe(const Snapshot& s) {
    std::ostringstream out;
    out << "caret " << s.caret.LinePos << "," << s.caret.CharPos << " modified " << s.modified << "\n";
    for (const std::string& line : s.lines)
        out << "|" << line << "|\n";
    return out.str();
}

// The texts a run edits: a few short lines, or lines of several megabytes.
struct TextShape {
    size_t chunkBytes = 0;     // the long-line chunk size, 0 for the store's own
    size_t longLineBytes = 0;  // 0: short lines
};

class RandomEditRun {
public:
    RandomEditRun(uint32_t seed, uint32_t options, TextShape shape) : rng_(seed), shape_(shape) {
        source_.SetOptions(TStringsOptions(options));
        source_.SetTabStops(rng_() % 2 ? "9,17" : "4");
        if (shape.chunkBytes > 0)
            source_.SetLongLineChunkBytes(shape.chunkBytes);
    }

    std::vector<std::string> RandomText() {
        static const char* const kWords[] = {"net",       "(portRef", "A1)", "cell", "x",
                                             "\xE9t\xE9", "{a}",      "  ",  "\t",   "b.c"};
        std::vector<std::string> lines(1 + rng_() % (shape_.longLineBytes > 0 ? 3 : 12));
        for (std::string& line : lines) {
            const size_t words =
                shape_.longLineBytes > 0 && rng_() % 2 ? shape_.longLineBytes / 5 : rng_() % 6;
            for (size_t w = 0; w < words; ++w)
                line += std::string(rng_() % 3 == 0 ? "  " : " ") + kWords[rng_() % 10];
        }
        return lines;
    }

    // Runs one random command; returns its name for the failure trace.
    std::string Step() {
        using Command = std::pair<const char*, std::function<void()>>;
        const uint32_t columns = uint32_t(std::max<size_t>(30, shape_.longLineBytes));
        auto column = [this, columns] { return int32_t(rng_() % columns); };
        auto line = [this] { return int32_t(rng_() % uint32_t(source_.LineCount() + 1)); };
        const Command commands[] = {
            {"TypeChar", [&] { source_.TypeChar("ab (.)\xE9Z"[rng_() % 8]); }},
            {"NewLine", [&] { source_.NewLine(); }},
            {"BackSpace", [&] { source_.BackSpace(); }},
            {"DeleteChar", [&] { source_.DeleteChar(); }},
            {"TabKey", [&] { source_.TabKey(); }},
            {"BackTab", [&] { source_.BackTab(); }},
            {"DeleteLine", [&] { source_.DeleteLine(); }},
            {"DeleteWordRight", [&] { source_.DeleteWordRight(); }},
            {"DeleteWordLeft", [&] { source_.DeleteWordLeft(); }},
            {"DeleteToLineStart", [&] { source_.DeleteToLineStart(); }},
            {"DeleteToLineEnd", [&] { source_.DeleteToLineEnd(); }},
            {"SetCaret", [&] { source_.SetCaret(column(), line()); }},
            {"CaretDown", [&] { source_.CaretDown(); }},
            {"CaretRight", [&] { source_.CaretRight(); }},
            {"WordLeft", [&] { source_.WordLeft(); }},
            {"StreamSelection",
             [&] {
                 const int32_t dl = int32_t(rng_() % 3), dc = int32_t(rng_() % 9) - 3;
                 source_.ExtendSelection(stStream, [&] { source_.MoveCaret(dl, dc); });
             }},
            {"ColumnSelection",
             [&] {
                 const int32_t dl = int32_t(rng_() % 3), dc = int32_t(rng_() % 6);
                 source_.ExtendSelection(stColumn, [&] { source_.MoveCaret(dl, dc); });
             }},
            {"IndentBlock", [&] { source_.IndentBlock(); }},
            {"UnindentBlock", [&] { source_.UnindentBlock(); }},
            {"UpperCaseBlock", [&] { source_.UpperCaseBlock(); }},
            {"ToggleCaseBlock", [&] { source_.ToggleCaseBlock(); }},
            {"LowerCaseWord", [&] { source_.LowerCaseWord(); }},
            {"Copy", [&] { source_.CopyToClipboard(clipboard_); }},
            {"Cut", [&] { source_.CutToClipboard(clipboard_); }},
            {"Paste", [&] { source_.PasteFromClipboard(clipboard_); }},
            {"CopyBlock", [&] { source_.CopyBlock(); }},
            {"MoveBlock", [&] { source_.MoveBlock(); }},
            {"SelectWord", [&] { source_.SelectWord(); }},
            {"ToggleInsertMode", [&] { source_.ToggleInsertMode(); }},
        };
        const Command& c = commands[rng_() % std::size(commands)];
        c.second();
        return c.first;
    }

    TMemoSource& Source() { return source_; }
    std::mt19937& Rng() { return rng_; }

private:
    std::mt19937 rng_;
    TextShape shape_;
    TMemoSource source_;
    TMemoryClipboard clipboard_;
};

struct OptionSet {
    const char* name;
    uint32_t options;
    TextShape shape = {};
    int runs = 300;
};

class RandomEditTest : public testing::TestWithParam<OptionSet> {};

TEST_P(RandomEditTest, UndoAllRestoresStartAndRedoAllRestoresEnd) {
    constexpr int kSteps = 60;
    for (uint32_t seed = 1; seed <= uint32_t(GetParam().runs); ++seed) {
        RandomEditRun run(seed * 7919u + GetParam().options, GetParam().options, GetParam().shape);
        TMemoSource& s = run.Source();
        LoadLines(s, run.RandomText());
        const Snapshot start = Take(s);
        std::string trace;
        for (int i = 0; i < kSteps; ++i)
            trace += run.Step() + " ";
        s.SetInsertMode();  // the flag is shared by the whole process
        const Snapshot end = Take(s);
        SCOPED_TRACE("seed " + std::to_string(seed * 7919u + GetParam().options) + ": " + trace);

        int undoSteps = 0;
        while (s.CanUndo() && undoSteps < 100000) {
            s.Undo();
            ++undoSteps;
        }
        const Snapshot undone = Take(s);
        ASSERT_EQ(undone.lines, start.lines) << Describe(undone) << "expected\n" << Describe(start);
        ASSERT_EQ(undone.caret, start.caret) << Describe(undone);
        ASSERT_EQ(undone.modified, start.modified);

        while (s.CanRedo())
            s.Redo();
        const Snapshot redone = Take(s);
        ASSERT_EQ(redone.lines, end.lines) << Describe(redone) << "expected\n" << Describe(end);
        ASSERT_EQ(redone.caret, end.caret) << Describe(redone);
    }
}

constexpr uint32_t kDefaults = kDefaultStringsOptions.Mask();

INSTANTIATE_TEST_SUITE_P(
    Options, RandomEditTest,
    testing::Values(OptionSet{"Defaults", kDefaults},
                    OptionSet{"NoGroupUndo", kDefaults & ~(1u << soGroupUndo)},
                    OptionSet{"TabCharacters", (kDefaults & ~(1u << soSmartTab)) | (1u << soUseTabCharacter) |
                                                   (1u << soOptimalFill) | (1u << soCursorOnTabs)},
                    OptionSet{"TabsAlwaysOnStops",
                              (kDefaults & ~(1u << soSmartTab)) | (1u << soUseTabCharacter) |
                                  (1u << soCursorAlwaysOnTabs) | (1u << soUsePrevIndent)},
                    OptionSet{"PersistentBlocks", kDefaults | (1u << soPersistentBlocks)},
                    OptionSet{"LimitEol", kDefaults | (1u << soLimitEOL)},
                    // Lines of more than a dozen bytes stored in chunks of three: every edit
                    // meets chunk edges.
                    OptionSet{"ChunkEdges", kDefaults, {3, 0}},
                    OptionSet{"ChunkEdgesNoGroupUndo", kDefaults & ~(1u << soGroupUndo), {3, 0}},
                    OptionSet{"MegabyteLines", kDefaults, {0, 3 << 20}, 4},
                    OptionSet{"MegabyteLinesSmallChunks", kDefaults, {64, 2 << 20}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// The nearest earlier line longer than a column, or with text before one, as a walk back over
// the expanded lines finds it.
int32_t WalkBack(const TMemoSource& s, int32_t before, const TLineQuery& query) {
    for (int32_t line = std::min(before, s.LineCount()) - 1; line >= 0; --line) {
        const std::string text = s.LineText(line);
        if (int32_t(text.size()) <= query.longerThan)
            continue;
        const size_t textAt = text.find_first_not_of(' ');
        if (query.textBefore && (textAt == std::string::npos || int64_t(textAt) >= *query.textBefore))
            continue;
        return line;
    }
    return -1;
}

// The keys that align with an earlier line search the store's index of line runs; after loads
// and random edits that split, empty and widen the runs, it answers as the walk back does.
TEST(AlignedLineSearchTest, AnswersAsAWalkBackAfterRandomEdits) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        std::mt19937 rng(seed);
        TMemoSource s;
        s.SetOptions(TStringsOptions(kDefaultStringsOptions).Without(soSmartTab).With(soUseTabCharacter));
        s.SetAllowUndo(false);  // only the text matters here
        auto randomLine = [&] {
            switch (rng() % 5) {
                case 0:
                    return std::string();
                case 1:
                    return std::string(rng() % 6, ' ');
                case 2:
                    return std::string(rng() % 4, ' ') + "ab";
                case 3:
                    return "\tx" + std::string(rng() % 30, 'y');
                default:
                    return std::string(rng() % 14, ' ') + "word more";
            }
        };
        // Stretches of one kind of line, up to a few runs long.
        std::string text;
        for (int lines = 0; lines < 6000;) {
            const std::string line = randomLine();
            const int stretch = 1 + int(rng() % 1800);
            for (int i = 0; i < stretch; ++i, ++lines)
                text += line + (seed % 2 ? "\r\n" : "\n");
        }
        s.Lines().SetText(text);
        for (int round = 0; round < 100; ++round) {
            const int32_t at = int32_t(rng() % uint32_t(s.LineCount() + 1));
            switch (rng() % 6) {
                case 0:
                    s.Lines().Insert(at, randomLine());
                    break;
                case 1:
                    s.Lines().Delete(at);
                    break;
                case 2:
                    s.Lines().Put(at, randomLine());
                    break;
                case 3: {  // a stretch of lines goes at once
                    s.SetSelection(0, at, 0, at + int32_t(rng() % 3000));
                    s.SetSelectionKind(stStream);
                    s.DeleteSelection();
                    break;
                }
                case 4: {  // a stretch of lines comes in at once
                    s.SetCaret(0, at);
                    s.InsertBlock(std::vector<std::string>(rng() % 2500, randomLine()), false);
                    break;
                }
                default: {
                    s.SetCaret(int32_t(rng() % 20), at);
                    s.InsertString("z ");
                    break;
                }
            }
            for (int q = 0; q < 4; ++q) {
                const int32_t before = int32_t(rng() % uint32_t(s.LineCount() + 2));
                const TLineQuery query = rng() % 3 == 0   ? TLineQuery::LongerThan(int32_t(rng() % 40))
                                         : rng() % 2 == 0 ? TLineQuery::TextBefore(int32_t(rng() % 16))
                                                          : TLineQuery::AnyText();
                ASSERT_EQ(s.Store().FindLineBefore(before, query, s.TabRack()), WalkBack(s, before, query))
                    << "seed " << seed << " round " << round << " before " << before << " longer than "
                    << query.longerThan << " text before " << query.textBefore.value_or(-1);
            }
        }
    }
}

}  // namespace
}  // namespace tarnwick
