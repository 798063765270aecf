#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/textengine/edif/edif_test_support.h"
#include "textengine/edif/edif_check.h"
#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_index_impl.h"

namespace tarnwick {
namespace {

// A netlist without problems; `extra` goes into the contents, on line 7.
std::string Netlist(const std::string& extra) {
    return "(edif t (edifVersion 2 0 0)\n"                                    // 0
           " (library L\n"                                                    // 1
           "  (cell C\n"                                                      // 2
           "   (view V\n"                                                     // 3
           "    (interface (port A) (port B))\n"                              // 4
           "    (contents (instance i (viewRef V (cellRef C)))\n"             // 5
           "     (net n (joined (portRef A) (portRef B (instanceRef i))))\n"  // 6
           "     " +
           extra +
           "))))\n"                                      // 7
           " (design d (cellRef C (libraryRef L))))\n";  // 8
}

std::vector<std::string> ProblemsOf(const std::string& text) {
    TEdifTextLines lines(text);
    TEdifIndex index(lines);
    index.BuildAll();
    std::vector<std::string> out;
    for (const TEdifProblem& p : index.Problems())
        out.push_back(std::to_string(p.line) + ":" + std::to_string(p.column) + " " +
                      (p.severity == TEdifSeverity::Error ? "error " : "warning ") + p.message);
    EXPECT_EQ(index.ProblemCount(), int64_t(out.size()));
    return out;
}

struct CheckCase {
    const char* name;
    std::string text;
    std::vector<std::string> expected;
};

// A net of more ports than a short list holds, naming one of them again at its end.
CheckCase LargeNetJoinsAPortTwice() {
    std::string instances, refs;
    for (int k = 0; k < 20; ++k) {
        instances += "(instance j" + std::to_string(k) + " (viewRef V (cellRef C))) ";
        refs += " (portRef B (instanceRef j" + std::to_string(k) + "))";
    }
    const std::string again = "(portRef B (instanceRef j3))";
    const std::string extra = instances + "(net m (joined" + refs + " " + again + "))";
    const size_t column = 5 + extra.rfind(again) + 9;
    return {"LargeNetJoinsAPortTwice",
            Netlist(extra),
            {"7:" + std::to_string(column) + " error port `B` of instance `j3` is joined twice in net `m`"}};
}

class EdifCheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(EdifCheckTest, ReportsWhatAndWhere) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(ProblemsOf(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, EdifCheckTest,
    testing::Values(
        CheckCase{"CleanNetlist", Netlist(""), {}},
        CheckCase{"UnclosedFormNamedByIndentation",
                  Netlist("(net m (joined (portRef A))\n     (net k (joined (portRef B)))"),
                  {"7:5 error '(' of net `m` is never closed"}},
        CheckCase{"UnclosedFormWithoutIndentationIsTheOutermost",
                  "(edif t\n(library L\n(cell C\n(view V (contents (net n)))\n)\n",
                  {"0:0 error '(' of edif `t` is never closed"}},
        CheckCase{"StrayClose",
                  Netlist("(net m))"),
                  {"7:16 error ')' too many: edif `t` ends here but the text goes on"}},
        CheckCase{"StringNeverCloses",
                  Netlist("(net (rename m \"open))))"),
                  {"0:0 error '(' of edif `t` is never closed", "7:20 error string never closes"}},
        CheckCase{"StringOverALineBreakIsFine", Netlist("(net (rename m \"two\nlines\"))"), {}},
        CheckCase{"BadEscape", Netlist("(net (rename m \"a%12x%\"))"), {"7:22 error bad % escape in string"}},
        CheckCase{"EscapeCodeOutOfRange",
                  Netlist("(net (rename m \"a%300%\"))"),
                  {"7:22 error bad % escape in string"}},
        CheckCase{"GoodEscapes", Netlist("(net (rename m \"a%34%b% 40 41 %\"))"), {}},
        CheckCase{"LonePercent",
                  Netlist("(net (rename m \"50%off\"))"),
                  {"7:23 warning '%' that starts no escape is taken as a percent sign"}},
        CheckCase{"UnknownLibrary",
                  Netlist("(instance j (viewRef V (cellRef C (libraryRef M))))"),
                  {"7:51 error libraryRef `M` names no library"}},
        CheckCase{"UnknownCell",
                  Netlist("(instance j (viewRef V (cellRef D)))"),
                  {"7:37 error cellRef `D` names no cell in library `L`"}},
        CheckCase{"UnknownView",
                  Netlist("(instance j (viewRef W (cellRef C)))"),
                  {"7:26 error viewRef `W` names no view of cell `C`"}},
        CheckCase{"UnknownInstance",
                  Netlist("(net m (joined (portRef A (instanceRef x))))"),
                  {"7:44 error instanceRef `x` names no instance in cell `C`"}},
        CheckCase{"UnknownPortOfInstance",
                  Netlist("(net m (joined (portRef Q (instanceRef i))))"),
                  {"7:29 error portRef `Q` names no port of cell `C`"}},
        CheckCase{"UnknownOwnPort",
                  Netlist("(net m (joined (portRef Q)))"),
                  {"7:29 error portRef `Q` names no port of cell `C`"}},
        CheckCase{"TwoNetsOfOneName",
                  Netlist("(net n)"),
                  {"7:10 error net `n` is defined twice in the contents of cell `C` (first on line 7)"}},
        CheckCase{"NetAndInstanceMayShareAName", Netlist("(net i)"), {}},
        CheckCase{"PortJoinedTwice",
                  Netlist("(net m (joined (portRef B (instanceRef i)) (portRef B (instanceRef i))))"),
                  {"7:57 error port `B` of instance `i` is joined twice in net `m`"}},
        CheckCase{"SamePortOfAnotherInstanceIsFine",
                  Netlist("(instance j (viewRef V (cellRef C))) (net m (joined (portRef B (instanceRef i)) "
                          "(portRef B (instanceRef j))))"),
                  {}},
        LargeNetJoinsAPortTwice(),
        CheckCase{"OtherEdifVersion",
                  "(edif t (edifVersion 3 0 0))\n",
                  {"0:8 warning edifVersion 3 0 0 is not 2 0 0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EdifCheckTest, EveryKindAtOnce) {
    const std::string text =
        "(edif t (edifVersion 4 0 0)\n"                                                 // 0
        " (library L\n"                                                                 // 1
        "  (cell C (view V (interface (port A) (port A))\n"                             // 2
        "   (contents (instance i (viewRef W (cellRef D)))\n"                           // 3
        "    (net n (joined (portRef A) (portRef A) (portRef B (instanceRef x))))\n"    // 4
        "    (net (rename q \"%1x%\")) (net q (joined (portRef A (instanceRef i))))\n"  // 5
        "    (instance k (viewRef V (cellRef C (libraryRef M))))\n"                     // 6
        "    (net m (joined (portRef A)\n"                                              // 7
        "    (net \"never\n";                                                           // 8
    const std::vector<std::string> problems = ProblemsOf(text);
    const std::vector<std::string> want = {
        "0:8 warning edifVersion 4 0 0 is not 2 0 0",
        "2:44 error port `A` is defined twice in the interface of cell `C` (first on line 3)",
        // The viewRef of an unknown cell is not reported again.
        "3:45 error cellRef `D` names no cell in library `L`",
        "4:40 error port `A` is joined twice in net `n`",
        "4:67 error instanceRef `x` names no instance in cell `C`",
        "5:20 error bad % escape in string",
        "5:33 error net `q` is defined twice in the contents of cell `C` (first on line 6)",
        "6:50 error libraryRef `M` names no library",
        "7:4 error '(' of net `m` is never closed",
        "8:9 error string never closes",
    };
    EXPECT_EQ(problems, want);
}

// Counts a test can make without the index: forms by keyword, outside strings.
int CountForms(const std::string& text, const std::string& keyword) {
    int count = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            inString = !inString;
        else if (!inString && text[i] == '(' && text.compare(i + 1, keyword.size() + 1, keyword + " ") == 0)
            ++count;
    }
    return count;
}

int CountKind(const TEdifIndex& index, TEdifKind kind) {
    int count = 0;
    for (int32_t i = 0; i < index.DefinitionCount(); ++i)
        count += index.Definition(i).kind == kind;
    return count;
}

class EdifSampleTest : public testing::TestWithParam<const char*> {};

TEST_P(EdifSampleTest, HasNoErrorsAndCountsAsASimpleScan) {
    const std::string text = edif_test::ReadSample(GetParam());
    ASSERT_FALSE(text.empty());
    TEdifTextLines lines(text);
    TEdifIndex index(lines);
    index.BuildAll();
    EXPECT_EQ(index.ErrorCount(), 0) << edif_test::DumpProblems(index);
    EXPECT_EQ(CountKind(index, TEdifKind::Cell), CountForms(text, "cell"));
    EXPECT_EQ(CountKind(index, TEdifKind::Instance), CountForms(text, "instance"));
    EXPECT_EQ(CountKind(index, TEdifKind::Net), CountForms(text, "net"));
    EXPECT_GT(CountForms(text, "net"), 10);
}

TEST_P(EdifSampleTest, EveryCellRefLandsOnACellOfThatName) {
    const std::string text = edif_test::ReadSample(GetParam());
    TEdifTextLines lines(text);
    TEdifIndex index(lines);
    index.BuildAll();
    int checked = 0;
    std::string scratch;
    for (int32_t l = 0; l < lines.LineCount(); ++l) {
        const std::string_view line = lines.Line(l, scratch);
        for (size_t at = line.find("(cellRef "); at != std::string_view::npos;
             at = line.find("(cellRef ", at + 1)) {
            const size_t nameAt = at + 9;
            const std::string name(line.substr(nameAt, line.find_first_of(" )", nameAt) - nameAt));
            const TEdifDefinition d = index.Definition(index.DefinitionAt({l, int32_t(nameAt)}));
            EXPECT_EQ(d.kind, TEdifKind::Cell) << "line " << l + 1;
            EXPECT_EQ(d.name, name) << "line " << l + 1;
            ++checked;
        }
    }
    EXPECT_EQ(checked, CountForms(text, "cellRef"));
}

INSTANTIATE_TEST_SUITE_P(Shipped, EdifSampleTest, testing::Values("yosys-alu.edf", "yosys-counter.edf"),
                         [](const auto& info) {
                             std::string n = info.param;
                             return n.substr(6, n.find('.') - 6);
                         });

// ---- The check after indexing, against the check that reads the text again --------------

// The problems, their counts and the counts per view, as text to compare.
std::string DumpChecked(const TEdifIndex::Impl& index) {
    std::string out =
        std::to_string(index.problemCount) + " problems, " + std::to_string(index.errorCount) + " errors\n";
    for (const TEdifProblem& p : index.problems)
        out += std::to_string(p.line) + ":" + std::to_string(p.column) + "+" + std::to_string(p.length) +
               " " + p.message + "\n";
    for (const TEdifViewCounts& v : index.viewCounts)
        out += "view " + std::to_string(v.view) + ": " + std::to_string(v.counts.errors) + "/" +
               std::to_string(v.counts.warnings) + "\n";
    return out;
}

// The check that follows indexing works from what the indexing reading noted; a check started
// later reads the text again. Both must find the same; what they found is returned.
std::string ExpectNotedCheckAsReadingAgain(const std::string& text) {
    TEdifTextLines lines(text);
    TEdifIndex::Impl index(lines);
    while (!index.Step({std::chrono::hours(1), INT64_MAX})) {
    }
    EXPECT_TRUE(index.problemsCurrent);
    const std::string noted = DumpChecked(index);
    TEdifChecker again(index);
    again.StartFull();
    while (!again.Run(std::chrono::steady_clock::now() + std::chrono::hours(1), INT64_MAX)) {
    }
    EXPECT_EQ(noted, DumpChecked(index));
    return noted;
}

// A few bytes deleted, inserted or changed at random, as a hand edit gone wrong.
std::string Damaged(std::string text, unsigned seed) {
    std::mt19937 rng(seed);
    const std::string bytes = "()\"% aZ0_";
    for (int k = 0; k < 40 && !text.empty(); ++k) {
        const size_t at = rng() % text.size();
        switch (rng() % 3) {
            case 0:
                text.erase(at, 1);
                break;
            case 1:
                text.insert(at, 1, bytes[rng() % bytes.size()]);
                break;
            default:
                text[at] = "abcXYZ019_"[rng() % 10];
        }
    }
    return text;
}

TEST(EdifCheckTest, AfterIndexingFindsWhatReadingAgainFinds) {
    const std::vector<std::string> texts = {
        // Spelled in capitals, which the messages keep; used before defined; a portRef through an
        // instance defined after the net; an inner reference followed by another form holding one.
        "(EDIF t (EDIFVERSION 2 0 0)\n"
        " (LIBRARY L\n"
        "  (CELL top (VIEW V (INTERFACE (PORT A))\n"
        "   (CONTENTS\n"
        "    (NET n (JOINED (PORTREF A (INSTANCEREF late)) (PORTREF X (INSTANCEREF late))\n"
        "                   (PORTREF A (INSTANCEREF nowhere))))\n"
        "    (INSTANCE late (VIEWREF V (CELLREF leaf)))\n"
        "    (INSTANCE odd (VIEWREF V (CELLREF leaf (LIBRARYREF L) (property p (cellRef gone)))))\n"
        "    (INSTANCE bad (VIEWREF W (CELLREF leaf (LIBRARYREF M)))))))\n"
        "  (cell leaf (view V (interface (port A))))))\n",
        edif_test::ReadSample("yosys-alu.edf"),
        edif_test::ReadSample("yosys-counter.edf"),
    };
    const std::string first = ExpectNotedCheckAsReadingAgain(texts[0]);
    for (const char* found :
         {"PORTREF `X` names no port of cell `leaf`", "INSTANCEREF `nowhere` names no instance",
          "cellRef `gone` names no cell in library `L`", "LIBRARYREF `M` names no library"})
        EXPECT_NE(first.find(found), std::string::npos) << found << "\n" << first;
    EXPECT_EQ(first.find("CELLREF `leaf`"), std::string::npos) << first;
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE("text " + std::to_string(i));
        if (i > 0)
            ExpectNotedCheckAsReadingAgain(texts[i]);
        for (unsigned seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE("damaged with seed " + std::to_string(seed));
            ExpectNotedCheckAsReadingAgain(Damaged(texts[i], seed));
        }
    }
}

// ---- Text that is not a good netlist -------------------------------------------------------

TEST(EdifBadInputTest, NotEdifGivesNothing) {
    const std::string binary = [] {
        std::string b;
        for (int i = 0; i < 4096; ++i)
            b += char((i * 37) & 0xFF);
        return b;
    }();
    for (const std::string& text : {std::string("hello world\nfoo bar baz\n"), std::string(), binary}) {
        TEdifTextLines lines(text);
        TEdifIndex index(lines);
        index.BuildAll();
        EXPECT_TRUE(index.IsIndexCurrent());
        EXPECT_EQ(index.DefinitionCount(), 0);
        EXPECT_EQ(index.DefinitionAt({0, 3}), -1);
        EXPECT_TRUE(index.FoldRanges(0, 10).empty() || !binary.empty());
    }
}

TEST(EdifBadInputTest, DeepNestingLongLinesAndLongNames) {
    // 100,000 nested cells, then more forms than the scanner keeps frames for.
    std::string nested;
    for (int i = 0; i < 100000; ++i)
        nested += "(cell c" + std::to_string(i) + " ";
    nested += std::string(100000, ')') + "\n";
    const std::string tooDeep = std::string(300000, '(') + std::string(300000, ')') + "\n(library x)\n";
    const std::string longName = "(edif t (library L (cell " + std::string(10000, 'a') + ")))\n";
    std::string longLine = "(edif t (library L (cell c (view v (contents";
    for (int i = 0; longLine.size() < (10 << 20); ++i)
        longLine += " (net n" + std::to_string(i) + ")";
    longLine += ")))))";

    {
        TEdifTextLines lines(nested);
        TEdifIndex index(lines);
        index.BuildAll();
        EXPECT_EQ(index.DefinitionCount(), 100000);
        EXPECT_EQ(index.Definition(99999).parent, 99998);
        EXPECT_EQ(index.ProblemCount(), 0);
        EXPECT_EQ(index.FormPathAt({0, int32_t(nested.find(')'))}).size(), 100000u);
    }
    {
        TEdifTextLines lines(tooDeep);
        TEdifIndex index(lines);
        index.BuildAll();
        EXPECT_EQ(index.ProblemCount(), 0);
        EXPECT_EQ(index.DefinitionCount(), 1);  // the library after the deep forms
    }
    for (const int gap : {1000, 70000}) {  // a name lines below its keyword
        TEdifTextLines lines("(edif t (library L (cell" + std::string(size_t(gap), '\n') + " far)))\n");
        TEdifIndex index(lines);
        index.BuildAll();
        ASSERT_EQ(index.DefinitionCount(), 3);
        const TEdifDefinition cell = index.Definition(2);
        EXPECT_EQ(cell.name, "far");
        // Too far below for the record, the name is placed at the form's head.
        const TEdifPoint expected = gap < 65536 ? TEdifPoint{gap, 1} : cell.head;
        EXPECT_TRUE(cell.nameAt == expected) << gap << ": " << cell.nameAt.line << ":" << cell.nameAt.column;
    }
    {
        TEdifTextLines lines(longName);
        TEdifIndex index(lines);
        index.BuildAll();
        ASSERT_EQ(index.DefinitionCount(), 3);
        EXPECT_EQ(index.Definition(2).nameLength, 10000);
        EXPECT_EQ(index.DefinitionAt({0, 5000}), 2);
    }
    {
        TEdifTextLines lines(longLine);
        TEdifIndex index(lines);
        // Slices end inside the line.
        int steps = 0;
        while (!index.Step({std::chrono::hours(1), 1 << 18}))
            ++steps;
        EXPECT_GT(steps, 5);
        const int nets = CountForms(longLine, "net");
        EXPECT_EQ(CountKind(index, TEdifKind::Net), nets);
        EXPECT_EQ(index.ProblemCount(), 0);
        const TEdifDefinition last = index.Definition(index.DefinitionCount() - 1);
        EXPECT_EQ(index.DefinitionAt(last.nameAt), index.DefinitionCount() - 1);
    }
}

TEST(EdifBadInputTest, OpeningParenthesesOnlyAndMillionsOfProblems) {
    {
        TEdifTextLines lines(std::string(1 << 20, '('));
        TEdifIndex index(lines);
        index.BuildAll();
        EXPECT_EQ(edif_test::DumpProblems(index), "1 problems, 1 errors\n0:0+1 error '(' is never closed\n");
    }
    {
        const int strays = int(TEdifIndex::kMaxKeptProblems) + 50000;
        TEdifTextLines lines("(edif t)\n" + std::string(size_t(strays), ')'));
        TEdifIndex index(lines);
        index.BuildAll();
        EXPECT_EQ(index.ProblemCount(), strays);
        EXPECT_EQ(index.ErrorCount(), strays);
        ASSERT_EQ(index.Problems().size(), TEdifIndex::kMaxKeptProblems);
        EXPECT_EQ(index.Problems().front().column, 0);
        EXPECT_EQ(index.Problems().back().column, int32_t(TEdifIndex::kMaxKeptProblems) - 1);
    }
}

}  // namespace
}  // namespace tarnwick
