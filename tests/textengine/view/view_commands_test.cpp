// Commands that ask the user through the buffer's dialogs, sent as keys and clicks: what fails is
// reported and the view goes on; going to a line, and jumping to a bookmark however asked for,
// centre the line.
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "tests/textengine/view/view_test_support.h"
#include "textengine/search_dialogs.h"
#include "textengine/search_options.h"

namespace tarnwick::testing_view {
namespace {

// The find dialog sets the options its script gives; the go-to box answers a fixed text.
class ScriptedDialogs final : public TSearchDialogFactory {
public:
    class FindDialog final : public TSearchOptionsDialog {
    public:
        explicit FindDialog(const std::function<void(TSearchOptions&)>& fill) : fill_(fill) {}
        TModalResult ShowModal() override {
            if (fill_)
                fill_(TSearchOptions::Shared());
            return TModalResult::Ok;
        }

    private:
        std::function<void(TSearchOptions&)> fill_;
    };

    std::unique_ptr<TSearchOptionsDialog> CreateFindDialog(TCustomMemoSource&) override {
        return std::make_unique<FindDialog>(fillFind);
    }
    std::unique_ptr<TSearchOptionsDialog> CreateReplaceDialog(TCustomMemoSource&) override { return nullptr; }
    bool InputBox(TInputBoxRequest& request) override {
        if (!gotoAnswer)
            return false;
        request.Value = *gotoAnswer;
        return true;
    }
    TReplaceAnswer AskReplace(const std::string&) override { return raCancel; }
    void ShowInformation(const std::string& message) override { information.push_back(message); }

    std::function<void(TSearchOptions&)> fillFind;
    std::optional<std::string> gotoAnswer;
    std::vector<std::string> information;
};

class ViewCommandsTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        TSearchOptions::Shared() = TSearchOptions{};
        Buffer().SetSearchDialogs(&dialogs);
    }
    void TearDown() override {
        Buffer().SetSearchDialogs(nullptr);
        TSearchOptions::Shared() = TSearchOptions{};
    }

    void GotoLineKeys() {
        Keys(Qt::Key_O, Qt::ControlModifier);
        Keys(Qt::Key_G, Qt::ControlModifier);
    }
    // The view shows the caret line in its middle row.
    void ExpectCaretLineCentred() {
        const int32_t caretRow = view->RowOfPosition(Buffer().Caret());
        EXPECT_EQ(view->TopRow(), caretRow - view->FullyVisibleRows() / 2);
    }

    ScriptedDialogs dialogs;
};

TEST_F(ViewCommandsTest, SearchAndGotoFailuresAreReportedAndTheViewGoesOn) {
    const struct {
        const char* name;
        std::function<void(TCustomMemoSource&, ScriptedDialogs&)> arrange;
        bool gotoLine;            // Ctrl+O Ctrl+G, else Ctrl+F
        std::string error;        // through the error path, empty for none
        std::string information;  // through the information box, empty for none
    } cases[] = {
        {"GotoTextIsNoNumber", [](TCustomMemoSource&, ScriptedDialogs& d) { d.gotoAnswer = "12x"; }, true,
         "'12x' is not a valid integer value", ""},
        {"SelectedTextWithoutSelection",
         [](TCustomMemoSource&, ScriptedDialogs& d) {
             d.fillFind = [](TSearchOptions& o) {
                 o.TextToFind = "b";
                 o.Scope = ssSelectedText;
             };
         },
         false, "Tried to search marked block but it is invalid", ""},
        {"CaretOutsideTheSelection",
         [](TCustomMemoSource& b, ScriptedDialogs& d) {
             b.SetOptions(b.Options().With(soPersistentBlocks));
             b.SetSelection(0, 0, 2, 0);
             b.SetSelectionKind(stStream);
             d.fillFind = [&b](TSearchOptions& o) {
                 o.TextToFind = "b";
                 o.Scope = ssSelectedText;
                 o.Origin = soFromCursor;
                 b.SetCaret(1, 1);  // the dialog moved the caret out of the block
             };
         },
         false, "Tried to search marked block from cursor but cursor is outside block", ""},
        {"PatternThatDoesNotCompile",
         [](TCustomMemoSource&, ScriptedDialogs& d) {
             d.fillFind = [](TSearchOptions& o) {
                 o.TextToFind = "a{b";
                 o.RegularExpr = true;
             };
         },
         false, "", "a{b is invalid mask at (4)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetLines({"abc", "abc"});
        Buffer().SetOptions(Buffer().Options().Without(soPersistentBlocks));
        dialogs = ScriptedDialogs{};
        TSearchOptions::Shared() = TSearchOptions{};
        std::vector<std::string> errors;
        view->OnError = [&](TCustomDCMemo& sender, const std::string& message) {
            EXPECT_EQ(&sender, view.get());
            errors.push_back(message);
        };
        c.arrange(Buffer(), dialogs);
        if (c.gotoLine)
            GotoLineKeys();
        else
            Keys(Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(errors, c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
        EXPECT_EQ(dialogs.information, c.information.empty() ? std::vector<std::string>{}
                                                             : std::vector<std::string>{c.information});
        // The view goes on: the next key types.
        Buffer().SetSelectionKind(stNone);
        Buffer().SetCaret(0, 0);
        QTest::keyClicks(view.get(), "z");
        EXPECT_EQ(Buffer().LineText(0), "zabc");
    }
}

TEST_F(ViewCommandsTest, WithoutAnOwnerHandlerTheViewShowsAnErrorBox) {
    dialogs.gotoAnswer = "ten";
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->grab().save(QString::fromStdString(testing::TempDir() + "view-error-box.png"));
            box->accept();
        }
    });
    GotoLineKeys();
    EXPECT_EQ(shown, "'ten' is not a valid integer value");
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 0}));
}

TEST_F(ViewCommandsTest, AFailingGutterClickHandlerIsReportedAndTheMouseIsFreed) {
    SetLines({"abc", "def"});
    view->SetOptions(view->Options().With(moDrawGutter));
    std::vector<std::string> errors;
    view->OnError = [&](TCustomDCMemo&, const std::string& message) { errors.push_back(message); };
    view->OnClickGutter = [](TCustomDCMemo&, int32_t, int32_t, uint8_t) {
        throw std::runtime_error("no breakpoint here");
    };
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(4, view->RowHeight() / 2));
    EXPECT_EQ(errors, std::vector<std::string>{"no breakpoint here"});
    // A click in the text afterwards is an ordinary click.
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, EdgeOf(1, 2));
    EXPECT_EQ(Buffer().Caret(), (TPosition{1, 2}));
    EXPECT_FALSE(Buffer().HasSelection());
}

TEST_F(ViewCommandsTest, GotoLineCentresTheLineAndCancelLeavesTheView) {
    std::vector<std::string> lines(2000, "text");
    SetLines(lines);
    const struct {
        const char* answer;
        int32_t line;
    } targets[] = {{"1000", 999}, {" +1500 ", 1499}, {"600", 599}};
    for (const auto& t : targets) {
        SCOPED_TRACE(t.answer);
        dialogs.gotoAnswer = t.answer;
        GotoLineKeys();
        EXPECT_EQ(Buffer().Caret(), (TPosition{t.line, 0}));
        ExpectCaretLineCentred();
    }
    dialogs.gotoAnswer.reset();  // cancelled
    view->SetTopRow(590);
    GotoLineKeys();
    EXPECT_EQ(view->TopRow(), 590);
}

TEST_F(ViewCommandsTest, BookmarkJumpsCentreUnderTheOptionHoweverTheyAreAsked) {
    std::vector<std::string> lines(2000, "text");
    SetLines(lines);
    Buffer().SetCaret(0, 1200);
    Buffer().ToggleBookmark(3);
    Buffer().SetCaret(0, 0);

    // Without the option the jump only brings the line into view.
    Buffer().GotoBookmark(3);
    EXPECT_EQ(view->TopRow(), 1200 - view->FullyVisibleRows() + 1);

    view->SetOptions(view->Options().With(moCenterOnBookmark));
    const struct {
        const char* name;
        std::function<void()> jump;
    } ways[] = {
        {"BufferCall", [&] { Buffer().GotoBookmark(3); }},
        {"KeyBinding", [&] { Keys(Qt::Key_3, Qt::ControlModifier); }},
        {"AtTheCaretAlready", [&] { Buffer().GotoBookmark(3); }},  // a jump that does not move
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.name);
        if (std::string(w.name) != "AtTheCaretAlready")
            Buffer().SetCaret(0, 0);
        view->SetTopRow(0);
        w.jump();
        EXPECT_EQ(Buffer().Caret(), (TPosition{1200, 0}));
        ExpectCaretLineCentred();
    }
}

}  // namespace
}  // namespace tarnwick::testing_view
