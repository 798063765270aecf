// The code template choice list, the delayed hint, the caret shape and the owner notifications.
#include "languages/code_templates.h"
#include "tests/textengine/view/view_test_support.h"
#include "textengine/view/template_choice_list.h"

namespace tarnwick::testing_view {
namespace {

class ViewHintsTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        TMemoCodeTemplate& forx = templates.Add();
        forx.Name = "forx";
        forx.Description = "loop";
        forx.Code = {"for | do"};
        TMemoCodeTemplate& fo = templates.Add();
        fo.Name = "fo";
        fo.Description = "short";
        fo.Code = {"FO"};
        view->SetCodeTemplates(&templates);
        Buffer().SetTemplatesType("Custom");
    }
    TMemoCodeTemplates templates;
};

TEST_F(ViewHintsTest, ChoiceListOffersMatchingTemplatesAndInsertsTheChosenOne) {
    QTest::keyClicks(view.get(), "x fo");
    Keys(Qt::Key_J, Qt::ControlModifier);
    TTemplateChoiceList* list = view->ChoiceList();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 2);  // forx comes first, so "fo" is not taken at once
    EXPECT_EQ(list->item(0)->text().toStdString(), "loop|~forx~");
    const TChoiceTextParts parts = SplitChoiceText(list->item(1)->text());
    EXPECT_EQ(parts.plain, "short");
    EXPECT_EQ(parts.emphasis, "fo");
    list->setCurrentRow(0);
    list->ChooseCurrent();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Buffer().LineText(0), "x for  do");
    EXPECT_EQ(Buffer().Caret(), (TPosition{0, 6}));
}

TEST_F(ViewHintsTest, ExactNameExpandsWithoutTheListAndEscClosesIt) {
    QTest::keyClicks(view.get(), "forx");
    Keys(Qt::Key_J, Qt::ControlModifier);
    EXPECT_FALSE(view->ChoiceList()->isVisible());
    EXPECT_EQ(Buffer().LineText(0), "for  do");

    SetLines({""});
    Keys(Qt::Key_J, Qt::ControlModifier);  // no word: every template
    ASSERT_TRUE(view->ChoiceList()->isVisible());
    EXPECT_EQ(view->ChoiceList()->count(), 2);
    QTest::keyClick(view->ChoiceList(), Qt::Key_Escape);
    EXPECT_FALSE(view->ChoiceList()->isVisible());
    EXPECT_EQ(Buffer().LineText(0), "");
}

TEST_F(ViewHintsTest, DelayedHintAppearsAfterItsDelayAndCloseHintsCancelsIt) {
    view->ShowDelayedHint("hint", QPoint(10, 10));
    EXPECT_FALSE(view->IsDelayedHintVisible());
    EXPECT_TRUE(view->IsDelayedHintPending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->IsDelayedHintVisible(); }, 5000));
    EXPECT_FALSE(view->IsDelayedHintPending());
    Keys(Qt::Key_Escape);  // CloseHints
    EXPECT_FALSE(view->IsDelayedHintVisible());
    view->ShowDelayedHint("again", QPoint(10, 10));
    view->CloseHints();
    EXPECT_FALSE(view->IsDelayedHintPending());  // nothing left to show it later
    EXPECT_FALSE(view->IsDelayedHintVisible());
}

TEST_F(ViewHintsTest, OverwriteCaretCoversTheCharacterAndFollowsTheSharedMode) {
    SetLines({"abc"});
    TDCMemo other;  // another editor window
    view->SetOptions(view->Options().With(moOverwriteCaret));
    EXPECT_EQ(view->CaretRect().width(), 2);
    std::vector<TMemoStates> states;
    view->OnStateChange = [&](TCustomDCMemo&, TMemoStates s) { states.push_back(s); };
    other.MemoSource().SetOverwriteMode();
    EXPECT_EQ(view->CaretRect().width(), view->CharWidth());
    Keys(Qt::Key_Insert);  // back to insert mode from this view
    EXPECT_EQ(view->CaretRect().width(), 2);
    ASSERT_FALSE(states.empty());
    EXPECT_TRUE(states.back() & msInsertMode);
}

TEST_F(ViewHintsTest, ChangeAndSelectionEventsFollowTheEdits) {
    int changes = 0, selections = 0;
    view->OnChange = [&](TCustomDCMemo&) { ++changes; };
    view->OnSelectionChange = [&](TCustomDCMemo&) { ++selections; };
    QTest::keyClicks(view.get(), "ab");
    EXPECT_EQ(changes, 2);
    Keys(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(changes, 2);
    EXPECT_GE(selections, 1);
}

}  // namespace
}  // namespace tarnwick::testing_view
