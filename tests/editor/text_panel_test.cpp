// The search panel of a real document, offscreen, driven through its controls with QTest
// events. A host double routes the panel's requests to the document that owns the context view,
// as Harbinet does, so a search or a jump goes the whole way: panel, host, document, window.

#include "editor/text_panel.h"
#include "editor/uniform_list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "editor/found_line_model.h"
#include "editor/latin1_edit.h"
#include "editor/panel_gradient.h"
#include "editor/text_document.h"
#include "languages/text_source.h"
#include "tests/host/recording_client.h"
#include "tests/support/null_server_view.h"
#include "tests/support/widget_of_view.h"

namespace tarnwick {
namespace {

// The panel's two processes run on the document that owns the context view, as Harbinet
// routes them.
void RouteAsTheHostDoes(const RecordingClient::Process& process) {
    const auto view = TComPtr<IServerView>::Share(process.context).As<IServerDocumentView>();
    const auto document =
        view ? TComPtr<IServerDocument>::Adopt(view->GetOwnerDocument()) : TComPtr<IServerDocument>();
    const auto commands = document ? document.As<ITextEditorCommands>() : TComPtr<ITextEditorCommands>();
    if (!commands)
        return;
    if (process.name == "TextEdit:UpdateFoundInstanceList")
        commands->UpdateFoundInstanceList();
    else if (process.name == "TextEdit:JumpToLineFromPanel")
        commands->JumpToLineFromPanel();
}

std::vector<std::string> Names(const std::vector<RecordingClient::Process>& processes) {
    std::vector<std::string> names;
    for (const RecordingClient::Process& p : processes)
        names.push_back(p.name);
    return names;
}

// Closes every error box that opens and keeps its message.
class ErrorBoxes {
public:
    ErrorBoxes() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            auto* message = box->findChild<QLabel*>("Message");
            shown.push_back(box->windowTitle() + ": " + (message ? message->text() : QString()));
            box->reject();
        });
        poll_.start(5);
    }
    std::vector<QString> shown;

private:
    QTimer poll_;
};

class TextPanelTest : public testing::Test {
protected:
    void SetUp() override {
        host.run = RouteAsTheHostDoes;
        document = TServerDocument::Create<TEDIFDocument>(nullptr, std::string("a.txt"), std::string("EDIF"));
        panel = WidgetOfView<TTextPanel>(*document, 0);
        window = WidgetOfView<TTextWindow>(*document, 1);
        ASSERT_TRUE(panel && window);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
        host.processes.clear();
    }

    void SetText(const std::string& text) { window->TextSource().Lines().SetText(text); }
    TTextSource& Source() { return window->TextSource(); }

    // Types into the search box (after emptying it) and clicks Search.
    void Search(const QString& text) {
        panel->ebSearchText->clear();
        QTest::keyClicks(panel->ebSearchText, text);
        QTest::mouseClick(panel->butSearch, Qt::LeftButton);
    }

    std::vector<std::string> FoundEntries() const {
        std::vector<std::string> entries;
        const TFoundLineModel& found = panel->FoundLines();
        for (int row = 0; row < found.rowCount(); ++row)
            entries.push_back(found.data(found.index(row), Qt::DisplayRole).toString().toStdString());
        return entries;
    }
    std::vector<std::string> History() const {
        std::vector<std::string> entries;
        for (int row = 0; row < panel->lbSearchHistoryList->count(); ++row)
            entries.push_back(panel->lbSearchHistoryList->item(row)->text().toStdString());
        return entries;
    }
    QString SelectedHistory() const {
        const auto selected = panel->lbSearchHistoryList->selectedItems();
        return selected.isEmpty() ? QStringLiteral("(none)") : selected.front()->text();
    }
    void ClickFoundRow(int row) {
        TUniformListView* list = panel->lbFoundInstanceList;
        const QModelIndex index = panel->FoundLines().index(row);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    RecordingClient host;
    TComPtr<TEDIFDocument> document;
    TTextPanel* panel = nullptr;
    TTextWindow* window = nullptr;
};

// ---- Which lines are listed -------------------------------------------------------------------

struct ListedCase {
    const char* name;
    std::string text;
    std::string search;  // set as the search box's bytes, as a paste would
    bool caseSensitive, wholeWord, regularExpr;
    std::vector<std::string> entries;
};

class TextPanelListsTest : public TextPanelTest, public testing::WithParamInterface<ListedCase> {};

TEST_P(TextPanelListsTest, ListsEachLineWithAMatchOnce) {
    const ListedCase& c = GetParam();
    SetText(c.text);
    panel->chkCaseSensitive->setChecked(c.caseSensitive);
    panel->chkWholeWord->setChecked(c.wholeWord);
    panel->chkRegularExpression->setChecked(c.regularExpr);
    panel->ebSearchText->SetBytes(c.search);
    QTest::mouseClick(panel->butSearch, Qt::LeftButton);
    EXPECT_EQ(FoundEntries(), c.entries);
    EXPECT_TRUE(panel->lbFoundInstanceList->isEnabled());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Searches, TextPanelListsTest, testing::Values(
    ListedCase{"ThreeMatchesOnALineGiveOneEntry", "net net net\nx\nnet", "net", false, false, false,
               {"0001:Doc1", "0003:Doc1"}},
    ListedCase{"MatchLeftOfThePreviousMatchsColumnIsListed", "      net\nnet\n  net", "net", false, false, false,
               {"0001:Doc1", "0002:Doc1", "0003:Doc1"}},
    ListedCase{"CaseIgnoredUnlessAsked", "Net\nNET\nnet", "net", false, false, false,
               {"0001:Doc1", "0002:Doc1", "0003:Doc1"}},
    ListedCase{"CaseSensitive", "Net\nNET\nnet", "net", true, false, false, {"0003:Doc1"}},
    ListedCase{"WholeWord", "network\nnet(a)\nsubnet", "net", false, true, false, {"0002:Doc1"}},
    ListedCase{"RegularExpression", "net1\nnet\nnet22", "net[0-9]+", false, false, true,
               {"0001:Doc1", "0003:Doc1"}},
    ListedCase{"PatternIsPlainTextWithoutTheBox", "net1\nnet[0-9]+", "net[0-9]+", false, false, false,
               {"0002:Doc1"}},
    ListedCase{"TrailingBlankIsSearchedWith", "a net\nnet x", "net ", false, false, false, {"0002:Doc1"}},
    ListedCase{"EmptyTextListsNothing", "net\n\n", "", true, false, false, {}},
    ListedCase{"ControlBytesNulAndHighBytes", std::string("caf\xE9\x01n\0t\nplain", 14),
               std::string("\xE9\x01n\0t", 5), true, false, false, {"0001:Doc1"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// ---- The history -------------------------------------------------------------------------------

TEST_F(TextPanelTest, HistoryKeepsOneEntryPerTextIgnoringCaseAndDropsOuterBlanks) {
    SetText("Net\nnet");
    Search("Net");
    Search("Net");
    Search("net");
    EXPECT_EQ(History(), (std::vector<std::string>{"Net"}));
    EXPECT_EQ(SelectedHistory(), "Net");
    EXPECT_EQ(panel->ebSearchText->text(), "net") << "the box keeps what was typed";

    Search(" cable\t");
    Search("NET ");
    EXPECT_EQ(History(), (std::vector<std::string>{"cable", "Net"}));
    EXPECT_EQ(SelectedHistory(), "Net");
    EXPECT_EQ(Names(host.processes), std::vector<std::string>(5, "TextEdit:UpdateFoundInstanceList"));
    for (const RecordingClient::Process& p : host.processes)
        EXPECT_EQ(p.context, panel->BoundView()) << "the editor view is the context";
}

TEST_F(TextPanelTest, EmptySearchAddsOneEmptyEntryAndListsNothing) {
    SetText("net");
    Search("net");
    Search("");
    Search("");
    EXPECT_EQ(History(), (std::vector<std::string>{"", "net"}));
    EXPECT_EQ(SelectedHistory(), "");
    EXPECT_TRUE(FoundEntries().empty());
}

TEST_F(TextPanelTest, HistoryClickSearchesAgainAndAKeyOnlyCopiesTheEntry) {
    SetText("alpha\nbeta\nalpha beta");
    Search("alpha");
    Search("beta");
    host.processes.clear();

    QListWidget* history = panel->lbSearchHistoryList;
    QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                      history->visualItemRect(history->item(1)).center());
    EXPECT_EQ(panel->ebSearchText->text(), "alpha");
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0001:Doc1", "0003:Doc1"}));
    EXPECT_EQ(Names(host.processes), (std::vector<std::string>{"TextEdit:UpdateFoundInstanceList"}));

    host.processes.clear();
    QTest::keyClick(history, Qt::Key_Up);
    EXPECT_EQ(panel->ebSearchText->text(), "beta");
    EXPECT_TRUE(host.processes.empty()) << "a key in the history does not search";
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0001:Doc1", "0003:Doc1"}));
}

TEST_F(TextPanelTest, EnterReleasedInTheSearchBoxSearches) {
    SetText("x\nwire");
    QTest::keyClicks(panel->ebSearchText, "wire");
    QTest::keyClick(panel->ebSearchText, Qt::Key_Return);
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0002:Doc1"}));
    EXPECT_EQ(History(), (std::vector<std::string>{"wire"}));
}

TEST_F(TextPanelTest, SearchTextIsCutAt255Characters) {
    SetText(std::string(300, 'a'));
    QTest::keyClicks(panel->ebSearchText, QString(300, 'a'));
    EXPECT_EQ(panel->ebSearchText->text().size(), 255);
    QTest::mouseClick(panel->butSearch, Qt::LeftButton);
    EXPECT_EQ(History().front().size(), 255u);
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0001:Doc1"}));
}

// ---- Errors ------------------------------------------------------------------------------------

TEST_F(TextPanelTest, BadPatternShowsItsMessageAndKeepsTheBoxAndAnEnabledEmptyList) {
    SetText("net1\nnet2");
    Search("net");
    ASSERT_EQ(FoundEntries().size(), 2u);
    panel->chkRegularExpression->setChecked(true);
    ErrorBoxes boxes;
    Search("net[");
    EXPECT_EQ(boxes.shown, (std::vector<QString>{"Harbinet Error: net[ is invalid mask at (5)"}));
    EXPECT_EQ(panel->ebSearchText->text(), "net[");
    EXPECT_TRUE(FoundEntries().empty());
    EXPECT_TRUE(panel->lbFoundInstanceList->isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    EXPECT_EQ(Source().Text(), "net1\r\nnet2") << "the text is untouched";
}

// ---- Jumping -----------------------------------------------------------------------------------

TEST_F(TextPanelTest, ClickOnAnEntrySelectsItsLineAndKeepsTheFocusInTheList) {
    std::string text;
    for (int line = 1; line <= 10001; ++line)
        text += line == 7 || line == 10000 ? "(portRef a)\n" : "(net b)\n";
    SetText(text);
    Source().SetCaret(3, 2);
    Search("portRef");
    ASSERT_EQ(FoundEntries(), (std::vector<std::string>{"0007:Doc1", "10000:Doc1"}));

    ClickFoundRow(1);
    EXPECT_EQ(Source().Caret(), (TPosition{9999, 0}));
    EXPECT_EQ(Source().SelectionText(), "(portRef a)\r\n");
    EXPECT_TRUE(panel->lbFoundInstanceList->hasFocus());
    EXPECT_EQ(Names(host.processes).back(), "TextEdit:JumpToLineFromPanel");

    QTest::keyClick(panel->lbFoundInstanceList, Qt::Key_Up);
    EXPECT_EQ(Source().Caret(), (TPosition{6, 0})) << "a key moves the selection, the editor follows";

    QTest::mouseClick(panel->butGoto, Qt::LeftButton);
    EXPECT_EQ(Source().Caret(), (TPosition{6, 0}));
}

TEST_F(TextPanelTest, AMillionEntriesScrollToTheEndAndTheLastOneJumps) {
    constexpr int kLines = 1000000;
    std::string text;
    for (int line = 0; line < kLines; ++line)
        text += "x\n";
    SetText(text);
    Search("x");
    TUniformListView* list = panel->lbFoundInstanceList;
    ASSERT_EQ(panel->FoundLines().rowCount(), kLines);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    const QModelIndex last = panel->FoundLines().index(kLines - 1);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(last))) << "scrolled into sight";
    EXPECT_EQ(list->indexAt(list->visualRect(last).center()), last);
    EXPECT_EQ(last.data().toString(), "1000000:Doc1");
    EXPECT_EQ(Source().Caret(), (TPosition{kLines - 1, 0}));

    QTest::keyClick(list, Qt::Key_PageUp);
    const int rowsInSight = list->viewport()->height() / 16;
    EXPECT_EQ(list->currentIndex().row(), kLines - 1 - rowsInSight);
    EXPECT_EQ(Source().Caret().LinePos, kLines - 1 - rowsInSight);
    ClickFoundRow(3);
    EXPECT_EQ(Source().Caret(), (TPosition{3, 0}));
    EXPECT_EQ(list->TopRow(), 3) << "the list scrolled up to the clicked row";
}

TEST_F(TextPanelTest, RefillingKeepsTheSelectedEntryWhileItsLineStillMatches) {
    SetText("net\nx\nnet\nnet");
    Search("net");
    ClickFoundRow(1);
    Source().SetCaret(0, 0);
    Source().DeleteLine();  // the entry for the third line now reads 0002:Doc1
    Search("net");
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0002:Doc1", "0003:Doc1"}));
    EXPECT_EQ(panel->SelectedFoundLine(), 3) << "line 3 is still listed";

    ClickFoundRow(0);
    Search("x");
    EXPECT_EQ(panel->SelectedFoundLine(), std::nullopt) << "line 2 is no longer listed";
}

TEST_F(TextPanelTest, AnEntryPastTheEndOfAShortenedTextGoesToTheLastLine) {
    SetText("a\nnet\nb\nnet");
    Search("net");
    SetText("a\nb");  // the list is not refilled
    ClickFoundRow(1);
    EXPECT_EQ(Source().Caret(), (TPosition{1, 0}));
    EXPECT_EQ(Source().SelectionText(), "b\r\n");
}

TEST_F(TextPanelTest, RefreshEnablesTheHistoryAndListsAgain) {
    SetText("net\nx");
    Search("net");
    panel->lbSearchHistoryList->setEnabled(false);
    SetText("x\nnet\nnet");
    document->RefreshSearchPanel();
    EXPECT_TRUE(panel->lbSearchHistoryList->isEnabled());
    EXPECT_EQ(FoundEntries(), (std::vector<std::string>{"0002:Doc1", "0003:Doc1"}));
}

TEST_F(TextPanelTest, ClearThenGotoDoesNothing) {
    SetText("net\nnet");
    Search("net");
    ClickFoundRow(1);
    Source().SetCaret(2, 0);
    QTest::mouseClick(panel->butClear, Qt::LeftButton);
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(FoundEntries().empty());
    EXPECT_TRUE(panel->ebSearchText->text().isEmpty());
    QTest::mouseClick(panel->butGoto, Qt::LeftButton);
    EXPECT_EQ(Source().Caret(), (TPosition{0, 2}));
    EXPECT_FALSE(Source().HasSelection());
}

// ---- Binding, controls, resizing ---------------------------------------------------------------

TEST_F(TextPanelTest, BindingAnotherViewSearchesTheSelectedEntryForIt) {
    SetText("cable");
    Search("cable");
    panel->ebSearchText->clear();
    host.processes.clear();
    NullServerView other("EDIFEditor");  // no owner: the requests are only recorded

    panel->SetBoundView(&other);
    EXPECT_EQ(panel->ebSearchText->text(), "cable");
    EXPECT_EQ(Names(host.processes),
              (std::vector<std::string>{"TextEdit:UpdateFoundInstanceList", "TextEdit:UpdateLocationMarks"}));
    EXPECT_EQ(host.processes.back().context, &other);

    host.processes.clear();
    panel->SetBoundView(&other);
    panel->SetBoundView(nullptr);
    QTest::mouseClick(panel->butSearch, Qt::LeftButton);
    EXPECT_TRUE(host.processes.empty()) << "the same view again, none, and nothing sent without a view";
}

TEST_F(TextPanelTest, StartsEmptyWithTheFocusInTheSearchBoxAndListsOutOfTheTabChain) {
    EXPECT_EQ(QApplication::focusWidget(), panel->ebSearchText);
    for (QCheckBox* box : {panel->chkCaseSensitive, panel->chkWholeWord, panel->chkRegularExpression,
                           panel->chkDoAllTextDocument})
        EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(panel->chkCaseSensitive->text(), "&Case sensitive");
    EXPECT_EQ(panel->chkDoAllTextDocument->text(), "All Text Docs");
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), panel->lbSearchHistoryList);
        EXPECT_NE(QApplication::focusWidget(), panel->lbFoundInstanceList);
    }
}

TEST_F(TextPanelTest, ResizingWidensToEightPixelsBeforeTheEdgeAndHidesThePictureWhenNarrow) {
    panel->resize(400, 600);
    for (QWidget* control : std::initializer_list<QWidget*>{
             panel->SearchForBevel, panel->ebSearchText, panel->lbSearchHistoryList,
             panel->lbFoundInstanceList, panel->SearchOptionsBevel})
        EXPECT_EQ(control->geometry().right() + 1, 400 - 8) << control->objectName().toStdString();
    EXPECT_TRUE(panel->Image1->isVisible());
    panel->resize(201, 600);
    EXPECT_FALSE(panel->Image1->isVisible()) << "its right edge, 201, is not left of the width";
    panel->resize(202, 600);
    EXPECT_TRUE(panel->Image1->isVisible());
    panel->resize(10, 600);
    EXPECT_EQ(panel->ebSearchText->width(), 0);
}

// ---- The background ----------------------------------------------------------------------------

TEST(PanelGradientTest, GreyShadowsTurnWarmAndOthersStay) {
    struct Case {
        QColor shadow, end;
    };
    const Case cases[] = {
        {QColor(128, 128, 128), QColor(154, 150, 143)},  // raised to 150
        {QColor(160, 161, 163), QColor(165, 161, 154)},  // within 3 of each other: grey
        {QColor(252, 252, 252), QColor(255, 252, 245)},  // saturated, not wrapped
        {QColor(128, 132, 128), QColor(128, 132, 128)},  // green 4 away: not grey
        {QColor(10, 20, 200), QColor(10, 20, 200)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PanelGradientEnd(c.shadow), c.end) << c.shadow.name().toStdString();
}

TEST(PanelGradientTest, BandsTileTheHeightAndRunFromStartToEnd) {
    const QColor start(240, 240, 240), end(154, 150, 143);
    for (const int height : {0, 1, 100, 564, 1000}) {
        int expectedTop = 0;
        for (int band = 0; band < 256; ++band) {
            const TGradientBand b = PanelGradientBand(band, height, start, end);
            ASSERT_EQ(b.Top, expectedTop) << height << " band " << band;
            expectedTop = b.Bottom;
        }
        EXPECT_EQ(expectedTop, height);
    }
    EXPECT_EQ(PanelGradientBand(0, 564, start, end).Color, start);
    EXPECT_EQ(PanelGradientBand(255, 564, start, end).Color, end);
    EXPECT_EQ(PanelGradientBand(128, 564, start, end).Color, QColor(197, 195, 191));  // rounded to nearest
    EXPECT_EQ(MulDiv(-3, 1, 2), -2) << "halves away from zero";
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
}

}  // namespace
}  // namespace tarnwick
