#include "textengine/edif/edif_index.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "tests/textengine/edif/edif_test_support.h"
#include "tests/textengine/test_support.h"
#include "textengine/edif/edif_buffer_index.h"
#include "textengine/memo_source.h"

namespace tarnwick {
namespace {

using edif_test::Dump;
using edif_test::DumpProblems;
using edif_test::EditableLines;
using edif_test::Find;

// Two libraries with a cell of one name each, renamed names, an array port, names that are
// keywords (a net called net, a port and a net called comment), a schematic page.
const char* const kNetlist =
    "(edif top\n"                                                                                // 0
    " (edifVersion 2 0 0)\n"                                                                     // 1
    " (library prims\n"                                                                          // 2
    "  (cell AND2 (cellType GENERIC)\n"                                                          // 3
    "   (view net (viewType NETLIST)\n"                                                          // 4
    "    (interface (port A) (port (array (rename bus \"b[1:0]\") 2)) (port Y)))))\n"            // 5
    " (library work\n"                                                                           // 6
    "  (cell AND2 (cellType GENERIC)\n"                                                          // 7
    "   (view net (viewType NETLIST) (interface (port Z))))\n"                                   // 8
    "  (cell (rename top_c \"Top Cell\")\n"                                                      // 9
    "   (view net (viewType NETLIST)\n"                                                          // 10
    "    (interface (port comment (direction INPUT)))\n"                                         // 11
    "    (contents\n"                                                                            // 12
    "     (instance (rename u1 \"U 1\") (viewRef net (cellRef AND2 (libraryRef prims))))\n"      // 13
    "     (instance u2 (viewRef net (cellRef AND2)))\n"                                          // 14
    "     (net net (joined (portRef A (instanceRef u1)) (portRef comment)))\n"                   // 15
    "     (net comment (joined (portRef Z (instanceRef u2)) (portRef bus (instanceRef u1))))\n"  // 16
    "     (page p1 (instance u3 (viewRef net (cellRef AND2 (libraryRef prims))))\n"              // 17
    "      (net n3 (joined (portRef Y (instanceRef u3)) (portRef Y (instanceRef u1)))))))))\n"   // 18
    " (design d (cellRef top_c (libraryRef work))))\n";                                          // 19

std::string Describe(const TEdifIndex& index, int32_t def) {
    if (def < 0)
        return "none";
    const TEdifDefinition d = index.Definition(def);
    return std::string(EdifKindName(d.kind)) + " " + std::string(d.name) + " " + std::to_string(d.head.line);
}

TEST(EdifIndexTest, RecordsFormsWithNamesExtentsAndParents) {
    TEdifTextLines lines(kNetlist);
    TEdifIndex index(lines);
    index.BuildAll();
    ASSERT_TRUE(index.IsIndexCurrent());
    const std::string dump = Dump(index);
    EXPECT_NE(dump.find("port bus 5:24 5:45 5:61 p4 e7 R A\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("cell top_c 9:2 9:16 18:84 p8 e25 R\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("net net 15:5 15:10 15:69 p17 e21\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("net comment 16:5 16:10"), std::string::npos) << dump;
    EXPECT_EQ(Describe(index, index.InnermostAt(Find(lines, "portRef comment"))), "net net 15");
    EXPECT_EQ(DumpProblems(index), "0 problems, 0 errors\n");
}

struct DefinitionCase {
    const char* name;
    const char* at;  // text at the place asked about
    int nth;         // which occurrence of it
    int offset;      // bytes into it
    const char* expected;
};

class DefinitionAtTest : public testing::TestWithParam<DefinitionCase> {};

TEST_P(DefinitionAtTest, FindsWhatTheNameMeans) {
    const DefinitionCase& c = GetParam();
    TEdifTextLines lines(kNetlist);
    TEdifIndex index(lines);
    index.BuildAll();
    const TEdifPoint at = Find(lines, c.at, c.nth, c.offset);
    ASSERT_GE(at.line, 0) << c.at;
    EXPECT_EQ(Describe(index, index.DefinitionAt(at)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scopes, DefinitionAtTest,
    testing::Values(DefinitionCase{"CellRefInNamedLibrary", "cellRef AND2 (libraryRef", 0, 9, "cell AND2 3"},
                    DefinitionCase{"CellRefInOwnLibrary", "cellRef AND2)))", 0, 8, "cell AND2 7"},
                    DefinitionCase{"CellRefLastByte", "cellRef AND2)))", 0, 11, "cell AND2 7"},
                    DefinitionCase{"LibraryRef", "libraryRef prims", 0, 11, "library prims 2"},
                    DefinitionCase{"LibraryRefInDesign", "libraryRef work", 0, 11, "library work 6"},
                    DefinitionCase{"ViewRefOfCellRef", "viewRef net (cellRef AND2 (lib", 0, 8, "view net 4"},
                    DefinitionCase{"RenamedInstanceRef", "instanceRef u1", 0, 12, "instance u1 13"},
                    DefinitionCase{"InstanceRefIntoPage", "instanceRef u3", 0, 12, "instance u3 17"},
                    DefinitionCase{"PortRefThroughInstance", "portRef A (", 0, 8, "port A 5"},
                    DefinitionCase{"PortRefThroughOtherLibrary", "portRef Z", 0, 8, "port Z 8"},
                    DefinitionCase{"ArrayPortThroughRenamedInstance", "portRef bus", 0, 8, "port bus 5"},
                    DefinitionCase{"PortRefWithoutInstanceIsOwnCell", "portRef comment", 0, 8,
                                   "port comment 11"},
                    DefinitionCase{"NetNamedNet", "net net", 0, 4, "net net 15"},
                    DefinitionCase{"NetNamedComment", "net comment", 0, 4, "net comment 16"},
                    DefinitionCase{"RenamedCellOwnName", "top_c", 0, 0, "cell top_c 9"},
                    DefinitionCase{"DesignCellRef", "cellRef top_c", 0, 8, "cell top_c 9"},
                    DefinitionCase{"KeywordIsNoName", "net net", 0, 1, "none"},
                    DefinitionCase{"BlankIsNoName", "(joined", 0, -1, "none"},
                    DefinitionCase{"StringIsNoName", "\"Top Cell\"", 0, 2, "none"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EdifIndexTest, ReferencesOfDefinitions) {
    TEdifTextLines lines(kNetlist);
    TEdifIndex index(lines);
    index.BuildAll();
    auto refs = [&](const char* at, int offset) {
        std::string out;
        for (const TEdifReference& r : index.References(index.DefinitionAt(Find(lines, at, 0, offset))))
            out += std::string(EdifRefKindName(r.kind)) + "@" + std::to_string(r.nameAt.line) + ":" +
                   std::to_string(r.nameAt.column) + " ";
        return out;
    };
    EXPECT_EQ(refs("cellRef AND2)))", 8), "cellRef@14:40 ");  // work's AND2, not prims'
    EXPECT_EQ(refs("cellRef AND2 (libraryRef", 8), "cellRef@13:55 cellRef@17:49 ");
    EXPECT_EQ(refs("instanceRef u1", 12), "instanceRef@15:46 instanceRef@16:81 instanceRef@18:75 ");
    // Port Y of prims' AND2, through instance u3 and through u1.
    EXPECT_EQ(refs("portRef Y (instanceRef u3", 8), "portRef@18:31 portRef@18:60 ");
    EXPECT_EQ(refs("net net", 4), "portRef@15:31 portRef@15:60 ");  // a net's connections
}

TEST(EdifIndexTest, FoldRangesAndFormsOnLines) {
    TEdifTextLines lines(kNetlist);
    TEdifIndex index(lines);
    index.BuildAll();
    std::string folds;
    for (const TEdifFoldRange& f : index.FoldRanges(13, 17))
        folds += std::to_string(f.firstLine) + "-" + std::to_string(f.lastLine) + " ";
    EXPECT_EQ(folds, "0-19 6-18 9-18 10-18 12-18 17-18 ");
    std::string forms;
    for (const TEdifForm& f : index.FormsOnLines(16, 16))
        forms += f.keyword + ":" + f.name + "<" + std::to_string(f.parent) + " ";
    EXPECT_EQ(forms, "net:comment<-1 joined:<0 portRef:Z<1 instanceRef:u2<2 portRef:bus<1 instanceRef:u1<4 ");
    const std::vector<TEdifForm> path = index.FormPathAt(Find(lines, "u2))", 0, 0));
    std::string p;
    for (const TEdifForm& f : path)
        p += f.keyword + ":" + f.name + "@" + std::to_string(f.end.line) + ":" +
             std::to_string(f.end.column) + " ";
    EXPECT_EQ(p,
              "edif:top@19:45 library:work@18:85 cell:top_c@18:84 view:net@18:83 contents:@18:82 "
              "net:comment@16:86 joined:@16:85 portRef:Z@16:53 instanceRef:@16:52 ");
    ASSERT_EQ(path.size(), 9u);
    EXPECT_EQ(path[2].originalName, "");  // records give their identifier; the string is in FormsOnLines
    const std::vector<TEdifForm> renamed = index.FormsOnLines(9, 9);
    ASSERT_FALSE(renamed.empty());
    EXPECT_EQ(renamed[0].name, "top_c");
    EXPECT_EQ(renamed[0].originalName, "Top Cell");
}

// ---- Edits: the index after Update equals a fresh index of the edited text ---------------

void ExpectSameAsFresh(EditableLines& lines, TEdifIndex& index, const std::string& what) {
    index.BuildAll();
    TEdifIndex fresh(lines);
    fresh.BuildAll();
    EXPECT_EQ(Dump(index), Dump(fresh)) << what;
    EXPECT_EQ(DumpProblems(index), DumpProblems(fresh)) << what;
}

struct EditCase {
    const char* name;
    std::function<void(std::vector<std::string>&)> edit;
    int32_t firstLine, lastLine, lineDelta;
};

TEST(EdifIndexTest, EditsMatchAFullRescan) {
    const EditCase cases[] = {
        {"RenameACell", [](auto& l) { l[7].replace(l[7].find("AND2"), 4, "AND3"); }, 7, 7, 0},
        {"TypeInANetName", [](auto& l) { l[15].insert(l[15].find("net net") + 7, "x"); }, 15, 15, 0},
        {"TypeInAnInstanceName", [](auto& l) { l[14].insert(l[14].find("u2") + 2, "2"); }, 14, 14, 0},
        {"DeleteALibrary", [](auto& l) { l.erase(l.begin() + 2, l.begin() + 6); }, 2, 2, -4},
        {"AddANet",
         [](auto& l) { l.insert(l.begin() + 16, "     (net extra (joined (portRef Y (instanceRef u9))))"); },
         16, 16, 1},
        {"DropAParenthesis", [](auto& l) { l[14].pop_back(); }, 14, 14, 0},
        {"PutItBack", [](auto& l) { l[14].push_back(')'); }, 14, 14, 0},
        {"OpenAString", [](auto& l) { l[11].insert(l[11].find("comment"), "\""); }, 11, 11, 0},
        {"CloseItAgain", [](auto& l) { l[11].erase(l[11].find("\"comment"), 1); }, 11, 11, 0},
        {"SplitAnInstance",
         [](auto& l) {
             l.insert(l.begin() + 15, l[14].substr(17));
             l[14].resize(17);
         },
         14, 15, 1},
        {"DuplicateANet", [](auto& l) { l.insert(l.begin() + 17, l[16]); }, 17, 17, 1},
    };
    EditableLines lines(kNetlist);
    TEdifIndex index(lines);
    index.BuildAll();
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.edit(lines.lines);
        index.Update(c.firstLine, c.lastLine, c.lineDelta);
        ExpectSameAsFresh(lines, index, c.name);
    }
}

// A seeded run of small edits over a shipped sample; after each, the index and its problems
// equal those of a fresh index of the same text.
TEST(EdifIndexTest, RandomEditsOverASampleMatchAFreshIndex) {
    EditableLines lines(edif_test::ReadSample("yosys-counter.edf"));
    TEdifIndex index(lines);
    index.BuildAll();
    std::mt19937 rng(7);
    const std::string pieces[] = {
        "(", ")", "x", " ", "\"", "%", "%12%", "(net q)", "(portRef A (instanceRef id00020))"};
    for (int step = 0; step < 150; ++step) {
        auto& l = lines.lines;
        const int32_t line = int32_t(rng() % l.size());
        std::string& text = l[size_t(line)];
        const size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
        int32_t delta = 0, last = line;
        switch (rng() % 5) {
            case 0:
            case 1:
                text.insert(at, pieces[rng() % std::size(pieces)]);
                break;
            case 2:
                if (!text.empty())
                    text.erase(std::min(at, text.size() - 1), 1);
                break;
            case 3:
                l.insert(l.begin() + line + 1, text.substr(at));
                l[size_t(line)].resize(at);
                delta = 1, last = line + 1;
                break;
            case 4:
                if (size_t(line) + 1 < l.size()) {
                    l[size_t(line)] += l[size_t(line) + 1];
                    l.erase(l.begin() + line + 1);
                    delta = -1;
                }
                break;
        }
        index.Update(line, last, delta);
        // Half the time let the idle work run in small slices between edits.
        if (rng() % 2)
            index.Step({std::chrono::microseconds(0), 4096});
        if (step % 10 == 9 || step == 149)
            ExpectSameAsFresh(lines, index, "step " + std::to_string(step));
        if (HasFailure())
            return;
    }
}

TEST(EdifIndexTest, FollowsABufferThroughItsChangeNotifications) {
    TMemoSource source;
    std::vector<std::string> text;
    EditableLines seed(kNetlist);
    testing_support::LoadLines(source, seed.lines);
    TEdifBufferIndex watched(source);
    watched.Index().BuildAll();
    source.SetCaret(int32_t(seed.lines[7].find("AND2")) + 3, 7);
    source.TypeChar('9');
    EXPECT_TRUE(watched.Index().IsIndexCurrent());  // the cell's rescan was done at once
    watched.Index().BuildAll();
    TEdifBufferLines now(source);
    TEdifIndex fresh(now);
    fresh.BuildAll();
    EXPECT_EQ(Dump(watched.Index()), Dump(fresh));
    EXPECT_EQ(DumpProblems(watched.Index()), DumpProblems(fresh));
    EXPECT_NE(DumpProblems(fresh).find("cellRef `AND2` names no cell in library `work`"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

// More problems than are kept: an edit past the kept ones still leaves the counts exact, and
// one before them keeps the kept list equal to a fresh check's.
TEST(EdifIndexTest, EditsPastTheKeptProblemsKeepExactCounts) {
    std::string text = "(edif t\n (library L\n  (cell A (view V (interface (port P))\n   (contents\n";
    const int many = int(TEdifIndex::kMaxKeptProblems) + 1000;
    for (int i = 0; i < many; i += 4)
        text +=
            "    (net n" + std::to_string(i) + " (joined (portRef Q) (portRef Q) (portRef Q) (portRef Q)))\n";
    text +=
        "  )))\n  (cell B (view V (interface (port P))\n   (contents\n    (net m (joined (portRef Q)))\n  "
        ")))\n";
    text += "  (cell C (view V (interface (port P)) (contents\n    (net k (joined (portRef P)))\n  )))))\n";
    EditableLines lines(text);
    TEdifIndex index(lines);
    index.BuildAll();
    ASSERT_GT(index.ProblemCount(), int64_t(TEdifIndex::kMaxKeptProblems));
    const int32_t inB = Find(lines, "(net m").line;
    const int32_t inC = Find(lines, "(net k").line;
    const int32_t inA = Find(lines, "n40 ").line;
    const struct {
        int32_t line;
        const char* from;
        const char* to;
        bool atOnce;  // A holds more problems than a view counts: that edit checks all again
    } edits[] = {{inB, "Q", "P", true},
                 {inC, "P", "Q", true},
                 {inB, "P", "Q", true},
                 {inA, "(portRef Q) (portRef Q)", "(portRef P)", false},
                 {inC, "Q", "P", true}};
    for (const auto& e : edits) {
        SCOPED_TRACE(std::string(e.from) + " to " + e.to + " on line " + std::to_string(e.line));
        std::string& l = lines.lines[size_t(e.line)];
        l.replace(l.find(e.from), std::string(e.from).size(), e.to);
        index.Update(e.line, e.line, 0);
        EXPECT_EQ(index.AreProblemsCurrent(), e.atOnce);
        index.BuildAll();
        TEdifIndex fresh(lines);
        fresh.BuildAll();
        EXPECT_EQ(index.ProblemCount(), fresh.ProblemCount());
        EXPECT_EQ(index.ErrorCount(), fresh.ErrorCount());
        EXPECT_EQ(DumpProblems(index), DumpProblems(fresh));
    }
}

}  // namespace
}  // namespace tarnwick
