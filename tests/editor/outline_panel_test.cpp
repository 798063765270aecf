// The outline panel and the structural navigation of a real document, offscreen: the netlist
// is indexed in idle slices as the host would give them, the panel is driven with QTest events
// and the jumps through the document's ITextNavigation, as Harbinet's keys and menu reach it.

#include "editor/outline_panel.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "editor/found_line_model.h"
#include "editor/outline_model.h"
#include "editor/problem_model.h"
#include "editor/text_document.h"
#include "editor/text_panel.h"
#include "editor/uniform_list_view.h"
#include "languages/text_source.h"
#include "tests/host/recording_client.h"
#include "tests/support/widget_of_view.h"
#include "textengine/edif/edif_buffer_index.h"

namespace tarnwick {
namespace {

// Two cells of one library; line numbers (1-based) are on the right.
const char* const kNetlist =
    "(edif top\n"                                                               // 1
    "  (edifVersion 2 0 0)\n"                                                   // 2
    "  (library work\n"                                                         // 3
    "    (edifLevel 0)\n"                                                       // 4
    "    (cell inv\n"                                                           // 5
    "      (cellType GENERIC)\n"                                                // 6
    "      (view netlist\n"                                                     // 7
    "        (viewType NETLIST)\n"                                              // 8
    "        (interface\n"                                                      // 9
    "          (port A (direction INPUT))\n"                                    // 10
    "          (port Y (direction OUTPUT)))))\n"                                // 11
    "    (cell top\n"                                                           // 12
    "      (view netlist\n"                                                     // 13
    "        (interface (port in) (port out))\n"                                // 14
    "        (contents\n"                                                       // 15
    "          (instance u1 (viewRef netlist (cellRef inv)))\n"                 // 16
    "          (net clk\n"                                                      // 17
    "            (joined (portRef in) (portRef A (instanceRef u1))))\n"         // 18
    "          (net (rename n_out \"n[out]\")\n"                                // 19
    "            (joined (portRef Y (instanceRef u1)) (portRef out))))))))\n";  // 20

class OutlinePanelTest : public testing::Test {
protected:
    void SetUp() override { Open("a.edf"); }
    void Open(const std::string& fileName) {
        document = TServerDocument::Create<TEDIFDocument>(nullptr, fileName, std::string("EDIF"));
        search = WidgetOfView<TTextPanel>(*document, 0);
        window = WidgetOfView<TTextWindow>(*document, 1);
        panel = WidgetOfView<TOutlinePanel>(*document, 2);
        ASSERT_TRUE(search && window && panel);
        navigation = document.As<ITextNavigation>();
        ASSERT_TRUE(navigation);
        panel->resize(300, 600);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
    }

    // Loads the text and gives the document idle time until its index and outline are done.
    void Load(const std::string& text) {
        window->TextSource().Lines().SetText(text);
        Idle();
    }
    void Idle() {
        for (int slice = 0; slice < 10000; ++slice)
            if (!document->RunIdleSlice(std::chrono::steady_clock::now() + std::chrono::milliseconds(15)))
                return;
        ADD_FAILURE() << "the index never became current";
    }

    // "depth kind name line" for every row of the tree, depth first, fetching as a view would.
    std::vector<std::string> Rows(const QModelIndex& parent = {}, int depth = 0) const {
        TOutlineModel& model = panel->Outline();
        while (model.canFetchMore(parent))
            model.fetchMore(parent);
        std::vector<std::string> rows;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            const std::string tip = model.data(index, Qt::ToolTipRole).toString().toStdString();
            rows.push_back(std::to_string(depth) + " " + tip);
            for (std::string& child : Rows(index, depth + 1))
                rows.push_back(std::move(child));
        }
        return rows;
    }

    // The first row, depth first, that shows name.
    QModelIndex FindRow(const QString& name, const QModelIndex& parent = {}) const {
        const TOutlineModel& model = panel->Outline();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            if (model.data(index, Qt::DisplayRole).toString() == name)
                return index;
            if (const QModelIndex below = FindRow(name, index); below.isValid())
                return below;
        }
        return {};
    }
    // Clicks the row of the tree that shows name, expanding the tree first.
    void ClickOutlineRow(const QString& name) {
        panel->tvOutline->expandAll();
        const QModelIndex found = FindRow(name);
        ASSERT_TRUE(found.isValid()) << name.toStdString();
        panel->tvOutline->scrollTo(found);
        QTest::mouseClick(panel->tvOutline->viewport(), Qt::LeftButton, {},
                          panel->tvOutline->visualRect(found).center());
    }

    void PutCaret(int line1, const std::string& before) {
        const std::string text = window->TextSource().GetLineText(line1 - 1);
        const std::size_t at = text.find(before);
        ASSERT_NE(at, std::string::npos) << before;
        window->TextSource().SetCaret(int32_t(at), line1 - 1);
    }
    // The caret as "line:column", both 1-based.
    std::string Caret() const {
        const TPosition caret = window->TextSource().Caret();
        return std::to_string(caret.LinePos + 1) + ":" + std::to_string(caret.CharPos + 1);
    }
    std::vector<std::string> FoundEntries() const {
        std::vector<std::string> entries;
        const TFoundLineModel& found = search->FoundLines();
        for (int row = 0; row < found.rowCount(); ++row)
            entries.push_back(found.data(found.index(row), Qt::DisplayRole).toString().toStdString());
        return entries;
    }

    RecordingClient host;
    TComPtr<TEDIFDocument> document;
    TComPtr<ITextNavigation> navigation;
    TTextPanel* search = nullptr;
    TTextWindow* window = nullptr;
    TOutlinePanel* panel = nullptr;
};

// ---- The tree --------------------------------------------------------------------------------

TEST_F(OutlinePanelTest, TreeHoldsEachDefinitionUnderTheNearestDefinitionAroundIt) {
    Load(kNetlist);
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "0 library work, line 3",
                          "1 cell inv, line 5",
                          "2 view netlist, line 7",
                          "3 port A, line 10",
                          "3 port Y, line 11",
                          "1 cell top, line 12",
                          "2 view netlist, line 13",
                          "3 port in, line 14",
                          "3 port out, line 14",
                          "3 instance u1, line 16",
                          "3 net clk, line 17",
                          "3 net n_out, line 19",
                      }));
}

TEST_F(OutlinePanelTest, TextThatIsNotANetlistLeavesTheOutlineEmpty) {
    Load("just some text\n(with (parentheses))\n");
    EXPECT_TRUE(Rows().empty());
    Load("");
    EXPECT_TRUE(Rows().empty());
}

// Other text keeps its parentheses and percent signs to itself: no problems, folds or
// definitions, until it becomes a netlist, and none again once it is not.
TEST_F(OutlinePanelTest, OnlyANetlistIsIndexedWhateverItsParentheses) {
    Open("counter.v");
    const std::string verilog = "module m(\n  input a);\n  initial $display(\"%d\", a);\nendmodule )\n";
    Load(verilog);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(panel->Problems().rowCount(), 0);
    EXPECT_EQ(window->EdifIndex().Index().DefinitionCount(), 0);
    window->TextSource().SetCaret(0, 0);
    navigation->NextProblem();
    navigation->GotoDefinition();
    EXPECT_EQ(Caret(), "1:1");

    std::string broken = kNetlist;
    broken.replace(broken.find("(cellRef inv)"), 13, "(cellRef nand)");
    Load(broken);  // a netlist by its text, whatever the file's name
    EXPECT_FALSE(Rows().empty());
    EXPECT_GE(panel->Problems().rowCount(), 1);

    Load(verilog);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(panel->Problems().rowCount(), 0);
    EXPECT_EQ(window->EdifIndex().Index().DefinitionCount(), 0);
}

TEST_F(OutlinePanelTest, AViewOfManyNetsGivesItsRowsABatchAtATime) {
    std::string text = "(edif big (library lib (cell c (view v (contents\n";
    for (int n = 0; n < 2500; ++n)
        text += "(net n" + std::to_string(n) + ")\n";
    text += "))))))\n";
    Load(text);
    TOutlineModel& model = panel->Outline();
    const QModelIndex view = model.index(0, 0, model.index(0, 0, model.index(0, 0)));  // library, cell, view
    ASSERT_EQ(model.data(view, Qt::DisplayRole).toString(), "v");
    EXPECT_EQ(model.rowCount(view), TOutlineModel::kBatch);
    EXPECT_TRUE(model.canFetchMore(view));
    model.fetchMore(view);
    model.fetchMore(view);
    EXPECT_EQ(model.rowCount(view), 2500);
    EXPECT_FALSE(model.canFetchMore(view));
    EXPECT_EQ(model.data(model.index(2499, 0, view), Qt::DisplayRole).toString(), "n2499");
}

TEST_F(OutlinePanelTest, RenamingANetShowsTheNewNameAndAnEditThatAddsOneLaysTheTreeOutAgain) {
    Load(kNetlist);
    window->TextSource().PutLineText(16, "          (net clock");
    Idle();
    EXPECT_EQ(Rows()[10], "3 net clock, line 17");

    window->TextSource().PutLineText(16, "          (net clock) (net extra");
    Idle();
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[10], "3 net clock, line 17");
    EXPECT_EQ(rows[11], "3 net extra, line 17");
}

// ---- Choosing an entry -------------------------------------------------------------------------

TEST_F(OutlinePanelTest, ClickingAnEntryPutsTheCaretOnItsNameAndBackReturns) {
    Load(kNetlist);
    window->TextSource().SetCaret(2, 1);
    ClickOutlineRow("clk");
    EXPECT_EQ(Caret(), "17:16");
    ClickOutlineRow("n_out");
    EXPECT_EQ(Caret(), "19:24") << "a renamed net's identifier, not its rename form";

    EXPECT_EQ(navigation->CanNavigateBack(), kTrue);
    navigation->NavigateBack();
    EXPECT_EQ(Caret(), "17:16");
    navigation->NavigateBack();
    EXPECT_EQ(Caret(), "2:3");
    EXPECT_EQ(navigation->CanNavigateBack(), kFalse);
    navigation->NavigateBack();
    EXPECT_EQ(Caret(), "2:3") << "nothing further back";
    navigation->NavigateForward();
    navigation->NavigateForward();
    EXPECT_EQ(Caret(), "19:24");
    EXPECT_EQ(navigation->CanNavigateForward(), kFalse);
}

TEST_F(OutlinePanelTest, FilterListsTheMatchingDefinitionsFlatAndAClickJumps) {
    Load(kNetlist);
    QTest::keyClicks(panel->ebFilter, "OUT");
    std::vector<std::string> rows = Rows();
    EXPECT_EQ(rows, (std::vector<std::string>{"0 port out, line 14", "0 net n_out, line 19"}))
        << "case ignored, every kind, no parents";
    ClickOutlineRow("n_out");
    EXPECT_EQ(Caret(), "19:24");

    QTest::keyClicks(panel->ebFilter, "x");
    EXPECT_TRUE(Rows().empty());
    panel->ebFilter->clear();
    EXPECT_EQ(Rows().size(), 12u) << "the tree is back";
}

// ---- Definitions and references ----------------------------------------------------------------

TEST_F(OutlinePanelTest, GoToDefinitionFollowsAReferenceAndBackAndForwardRetraceIt) {
    Load(kNetlist);
    PutCaret(16, "inv)");
    navigation->GotoDefinition();
    EXPECT_EQ(Caret(), "5:11") << "the cell inv";

    PutCaret(18, "u1)");
    navigation->GotoDefinition();
    EXPECT_EQ(Caret(), "16:21") << "the instance u1";

    navigation->NavigateBack();
    EXPECT_EQ(Caret(), "18:58");
    navigation->NavigateBack();
    EXPECT_EQ(Caret(), "16:50");
    navigation->NavigateForward();
    EXPECT_EQ(Caret(), "18:58");
    navigation->NavigateForward();
    EXPECT_EQ(Caret(), "16:21");
}

TEST_F(OutlinePanelTest, GoToDefinitionOnNothingItKnowsStaysPut) {
    Load(kNetlist);
    PutCaret(6, "GENERIC");
    navigation->GotoDefinition();
    EXPECT_EQ(Caret(), "6:17");
    EXPECT_EQ(navigation->CanNavigateBack(), kFalse);
}

TEST_F(OutlinePanelTest, FindReferencesListsTheDefinitionAndEveryLineThatNamesIt) {
    Load(kNetlist);
    PutCaret(5, "inv");
    navigation->FindReferences();
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0005:Doc1", "0016:Doc1"}));

    PutCaret(10, "A (");
    navigation->FindReferences();
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0010:Doc1", "0018:Doc1"}))
        << "a port of inv, named through the instance u1";
}

// ---- Problems ----------------------------------------------------------------------------------

TEST_F(OutlinePanelTest, ProblemsAreListedCountedAndAClickOrF8JumpsToThem) {
    std::string broken = kNetlist;
    broken.replace(broken.find("(cellRef inv)"), 13, "(cellRef nand)");
    broken.replace(broken.find("(portRef Y (instanceRef u1))"), 28, "(portRef Y (instanceRef u9))");
    Load(broken);
    const TProblemModel& problems = panel->Problems();
    const int count = problems.rowCount();
    ASSERT_GE(count, 2);
    EXPECT_EQ(panel->lblProblems->text(), QString("Problems (%1)").arg(count));
    const QString first = problems.data(problems.index(0), Qt::DisplayRole).toString();
    EXPECT_TRUE(first.startsWith("error")) << first.toStdString();
    EXPECT_TRUE(first.contains(" 16:")) << first.toStdString();
    const auto place = [&](int i) { return problems.Source()->Problem(i).Place; };
    EXPECT_EQ(place(count - 1).LinePos, 19);

    window->TextSource().SetCaret(0, 0);
    TUniformListView* list = panel->lbProblems;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(problems.index(1)).center());
    EXPECT_EQ(window->TextSource().Caret(), place(1));
    navigation->NavigateBack();
    EXPECT_EQ(Caret(), "1:1");

    for (int i = 0; i < count; ++i) {
        navigation->NextProblem();
        EXPECT_EQ(window->TextSource().Caret(), place(i)) << i;
        EXPECT_EQ(list->currentIndex().row(), i);
    }
    navigation->NextProblem();
    EXPECT_EQ(window->TextSource().Caret(), place(0)) << "past the last, the first again";
    navigation->PreviousProblem();
    EXPECT_EQ(window->TextSource().Caret(), place(count - 1)) << "before the first, the last";
}

TEST_F(OutlinePanelTest, AGoodNetlistHasNoProblemsAndTheProblemKeysStayPut) {
    Load(kNetlist);
    EXPECT_EQ(panel->Problems().rowCount(), 0);
    EXPECT_EQ(panel->lblProblems->text(), "Problems (0)");
    window->TextSource().SetCaret(3, 4);
    navigation->NextProblem();
    navigation->PreviousProblem();
    EXPECT_EQ(Caret(), "5:4");
}

// ---- The shipped samples -----------------------------------------------------------------------

std::string ReadSample(const char* name) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/data/samples/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// How often "(keyword " opens a form in the text: a count that knows nothing of the index.
int CountForms(const std::string& text, const std::string& keyword) {
    int count = 0;
    for (std::size_t at = text.find("(" + keyword + " "); at != std::string::npos;
         at = text.find("(" + keyword + " ", at + 1))
        ++count;
    return count;
}

class OutlineSampleTest : public OutlinePanelTest, public testing::WithParamInterface<const char*> {};

TEST_P(OutlineSampleTest, CountsMatchASimpleScanAndEveryCellRefLeadsToACell) {
    const std::string text = ReadSample(GetParam());
    ASSERT_FALSE(text.empty());
    Load(text);
    std::map<std::string, int> kinds;
    for (const std::string& row : Rows())
        ++kinds[row.substr(row.find(' ') + 1, row.find(' ', 2) - row.find(' ') - 1)];
    EXPECT_EQ(kinds["cell"], CountForms(text, "cell"));
    EXPECT_EQ(kinds["instance"], CountForms(text, "instance"));
    EXPECT_EQ(kinds["net"], CountForms(text, "net"));
    for (int row = 0; row < panel->Problems().rowCount(); ++row) {
        const QString problem =
            panel->Problems().data(panel->Problems().index(row), Qt::DisplayRole).toString();
        EXPECT_FALSE(problem.startsWith("error")) << problem.toStdString();
    }

    TTextSource& source = window->TextSource();
    int followed = 0;
    for (int32_t line = 0; line < source.LineCount(); ++line) {
        const std::string shown = source.GetLineText(line);
        for (std::size_t at = shown.find("(cellRef "); at != std::string::npos;
             at = shown.find("(cellRef ", at + 1)) {
            SCOPED_TRACE("line " + std::to_string(line + 1));
            source.SetCaret(int32_t(at + 9), line);
            navigation->GotoDefinition();
            const TPosition landed = source.Caret();
            const std::string target =
                source.GetLineText(landed.LinePos).substr(0, std::size_t(landed.CharPos));
            EXPECT_NE(target.rfind("(cell "), std::string::npos) << target;
            ++followed;
        }
    }
    EXPECT_EQ(followed, CountForms(text, "cellRef"));
}

INSTANTIATE_TEST_SUITE_P(Samples, OutlineSampleTest, testing::Values("yosys-counter.edf", "yosys-alu.edf"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(uint8_t(c)); },
                                 '_');
                             return name;
                         });

}  // namespace
}  // namespace tarnwick
