// The code template editor driven through its controls: templates added in natural order of
// their names, renamed in place, removed, and their code typed straight into the editor.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <string>
#include <vector>

#include "languages/dialogs/code_template_editor_form.h"
#include "tests/languages/dialogs/dialog_steps.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick {
namespace {

ModalScript::Step Template(const std::string& name, const std::string& description = "desc") {
    return [name, description](QDialog& d) {
        Find<QLineEdit>(d, "LeftDelimiterEdit")->setText(QString::fromStdString(name));
        Find<QLineEdit>(d, "RightDelimiterEdit")->setText(QString::fromStdString(description));
        Click(d, "OkButton");
    };
}

std::vector<std::string> Names(const TMemoCodeTemplates& templates) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < templates.Count(); ++i)
        names.push_back(templates[i].Name);
    return names;
}

TMemoCodeTemplates Make(std::vector<std::string> names) {
    TMemoCodeTemplates templates;
    for (const std::string& name : names) {
        TMemoCodeTemplate& t = templates.Add();
        t.Name = name;
        t.Description = name + " block";
        t.Code = {name + " |", "end"};
    }
    return templates;
}

class CodeTemplateEditorTest : public testing::Test {
protected:
    void Open(const TMemoCodeTemplates& templates) {
        form = std::make_unique<TCodeTemplateEditorForm>(templates, clWindowText, clWindow, "Net", "");
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        grid = Find<QTableWidget>(*form, "CodeStringGrid");
        view = Find<TDCMemo>(*form, "TemplateView");
    }
    std::string ViewText() const { return view->MemoSource().Text(); }

    std::unique_ptr<TCodeTemplateEditorForm> form;
    QTableWidget* grid = nullptr;
    TDCMemo* view = nullptr;
};

TEST(CodeTemplateNamesTest, DigitRunsCompareAsNumbersAndBlanksDoNotCount) {
    EXPECT_LT(CompareTemplateNames("item2", "item10"), 0);
    EXPECT_GT(CompareTemplateNames("item10", "item9"), 0);
    EXPECT_LT(CompareTemplateNames("a b", "ac"), 0);     // "ab" before "ac"
    EXPECT_LT(CompareTemplateNames("Item", "item"), 0);  // letter case counts
    EXPECT_LT(CompareTemplateNames("x 1", "x1"), 0);     // equal runs: the plain text decides
    EXPECT_EQ(CompareTemplateNames("x1", "x1"), 0);
    EXPECT_LT(CompareTemplateNames("n123456789", "n23456790"), 0);  // a long run keeps its last 8 digits
}

TEST_F(CodeTemplateEditorTest, OpensWithTheFirstTemplatesCodeAndTheLanguageInTheCaption) {
    Open(Make({"begin", "if"}));
    EXPECT_EQ(form->windowTitle(), "Net Code Templates Editor");
    EXPECT_EQ(grid->item(1, 0)->text(), "if");
    EXPECT_EQ(grid->item(1, 1)->text(), "if block");
    EXPECT_EQ(ViewText(), "begin |\r\nend");
    grid->setCurrentCell(1, 0);
    EXPECT_EQ(ViewText(), "if |\r\nend");
}

TEST_F(CodeTemplateEditorTest, AnEmptyCollectionLeavesOnlyAddEnabled) {
    Open({});
    EXPECT_FALSE(grid->isEnabled());
    EXPECT_FALSE(view->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(*form, "EditButton")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(*form, "RemoveButton")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(*form, "AddButton")->isEnabled());
}

TEST_F(CodeTemplateEditorTest, Item2IsListedBeforeItem10) {
    Open({});
    ModalScript script({Template("item10"), Template("item2"), Template("Item3")});
    for (int i = 0; i < 3; ++i)
        Click(*form, "AddButton");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Names(form->Templates()), (std::vector<std::string>{"Item3", "item2", "item10"}));
    EXPECT_EQ(grid->currentRow(), 0);
}

// Leaving the editor for the OK button writes the code back.
TEST_F(CodeTemplateEditorTest, CodeTypedAndOkPressedDirectlyIsKept) {
    TMemoCodeTemplates templates;
    ModalScript script({[&](QDialog& d) {
                            auto& editor = static_cast<TCodeTemplateEditorForm&>(d);
                            Click(editor, "AddButton");  // answered by the next step
                            auto* memo = Find<TDCMemo>(editor, "TemplateView");
                            EXPECT_EQ(editor.focusWidget(), memo);
                            QTest::keyClicks(memo, "for x");
                            Click(editor, "OkButton");
                        },
                        Template("forx", "for loop")});
    ASSERT_TRUE(TCodeTemplateEditorForm::Execute(nullptr, clWindowText, clWindow, templates, "Net", ""));
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(templates.Count(), 1u);
    EXPECT_EQ(templates[0].Name, "forx");
    EXPECT_EQ(templates[0].Description, "for loop");
    EXPECT_EQ(templates[0].Code, std::vector<std::string>{"for x"});
}

TEST_F(CodeTemplateEditorTest, ATemplateLeftWithoutCodeHasNoCodeLines) {
    TMemoCodeTemplates templates;
    ModalScript script({[](QDialog& d) {
                            Click(d, "AddButton");
                            Click(d, "OkButton");
                        },
                        Template("empty")});
    ASSERT_TRUE(TCodeTemplateEditorForm::Execute(nullptr, clWindowText, clWindow, templates, "Net", ""));
    ASSERT_EQ(templates.Count(), 1u);
    EXPECT_TRUE(templates[0].Code.empty());
    EXPECT_EQ(templates.WriteToText().find("Code.Strings"), std::string::npos);
}

TEST_F(CodeTemplateEditorTest, ANameInOtherLetterCaseAsksToOverwrite) {
    Open(Make({"begin", "if"}));
    QString question;
    ModalScript script({Template("IF", "new if"), Read(question, "Yes"), Template("BEGIN"), Press("No")});
    Click(*form, "AddButton");
    EXPECT_EQ(question, "Code template IF already exists, do you wish to overwrite it?");
    EXPECT_EQ(Names(form->Templates()), (std::vector<std::string>{"IF", "begin"}));  // capitals first
    EXPECT_TRUE(form->Templates()[0].Code.empty());
    Click(*form, "AddButton");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Names(form->Templates()), (std::vector<std::string>{"IF", "begin"}));
}

TEST_F(CodeTemplateEditorTest, RenamingKeepsThePlaceAndTheCode) {
    Open(Make({"alpha", "beta"}));
    ModalScript script({Template("zeta", "last letter")});
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Names(form->Templates()), (std::vector<std::string>{"zeta", "beta"}));
    EXPECT_EQ(form->Templates()[0].Code, (std::vector<std::string>{"alpha |", "end"}));
    EXPECT_EQ(grid->currentRow(), 0);
}

TEST_F(CodeTemplateEditorTest, RemoveSelectsThePreviousWhenTheLastGoes) {
    Open(Make({"a", "b"}));
    grid->setCurrentCell(1, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(Names(form->Templates()), std::vector<std::string>{"a"});
    EXPECT_EQ(ViewText(), "a |\r\nend");
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(form->Templates().Count(), 0u);
    EXPECT_EQ(ViewText(), "");
    EXPECT_FALSE(view->isEnabled());
}

}  // namespace
}  // namespace tarnwick
