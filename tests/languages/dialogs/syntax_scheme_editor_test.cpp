// The scheme editor and its small dialogs driven through their controls: every change goes to
// the working copy, OK tidies it into the scheme, and the keyword files go through the host's
// file dialog.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "languages/attr_item.h"
#include "languages/dialogs/delimiter_entry_form.h"
#include "languages/dialogs/syntax_scheme_edit_form.h"
#include "languages/dialogs/syntax_style_form.h"
#include "languages/language_manager.h"
#include "tests/host/recording_client.h"
#include "tests/languages/dialogs/dialog_steps.h"

namespace tarnwick {
namespace {

constexpr TColorValue kFontColor = 0x112233;
constexpr TColorValue kBackColor = 0x445566;

std::unique_ptr<TSyntaxScheme> SchemeWith(void (*fill)(TSyntaxBlock&)) {
    auto scheme = TLanguageManager::NewScheme();
    scheme->Name = "Net";
    fill(scheme->SyntaxBlocks.front());
    return scheme;
}

void ShowPage(QDialog& editor, int page) {
    Find<QTabWidget>(editor, "SyntaxPageControl")->setCurrentIndex(page);
}

QStringList Rows(QWidget& page, const char* grid) {
    QStringList rows;
    auto* table = Find<QTableWidget>(page, grid);
    for (int r = 0; r < table->rowCount(); ++r)
        rows << table->item(r, 0)->text() + "|" + table->item(r, 1)->text();
    return rows;
}

QStringList Keywords(QWidget& editor) {
    QStringList items;
    auto* list = Find<QListWidget>(editor, "KeyWordListBox");
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

QRadioButton* Radio(QDialog& form, const char* group, const char* caption) {
    for (QRadioButton* button : Find<QGroupBox>(form, group)->findChildren<QRadioButton*>())
        if (button->text() == QLatin1String(caption))
            return button;
    ADD_FAILURE() << caption;
    return nullptr;
}

bool RunEditor(TSyntaxScheme& scheme, std::vector<ModalScript::Step> steps) {
    ModalScript script(std::move(steps));
    const bool ok = TSyntaxSchemeEditForm::Execute(nullptr, kFontColor, kBackColor, scheme);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.unexpected.empty());
    return ok;
}

TEST(SyntaxSchemeEditorTest, EditingAMultiLineCommentIntoASingleLineOneMovesItToTheEndOfThatList) {
    auto scheme = SchemeWith([](TSyntaxBlock& b) {
        b.UseComments = b.UseSingleLineComments = b.UseMultiLineComments = true;
        b.SingleLineCommentDelimiters.push_back({{}, "//"});
        b.MultiLineCommentDelimiters.push_back({{{}, "(*"}, "*)"});
    });
    const bool ok = RunEditor(
        *scheme,
        {[](QDialog& editor) {
             ShowPage(editor, 1);
             EXPECT_EQ(Rows(editor, "CommentStringGrid"),
                       QStringList({"//|Single line", "(* and *)|Multi line"}));
             Find<QTableWidget>(editor, "CommentStringGrid")->selectRow(1);
             Click(editor, "CommentEditButton");  // answered by the next step
             EXPECT_EQ(Rows(editor, "CommentStringGrid"), QStringList({"//|Single line", "(*|Single line"}));
             EXPECT_EQ(Find<QTableWidget>(editor, "CommentStringGrid")->currentRow(), 1);
             Click(editor, "OkButton");
         },
         [](QDialog& form) {
             EXPECT_EQ(form.windowTitle(), " Edit Comment");
             EXPECT_EQ(Find<QLineEdit>(form, "RightEdit")->text(), "*)");
             ClickButton(Radio(form, "CommentTypeRG", "Single line comment"));
             EXPECT_FALSE(Find<QLineEdit>(form, "RightEdit")->isEnabled());
             Click(form, "OkButton");
         }});
    ASSERT_TRUE(ok);
    const TSyntaxBlock& b = scheme->SyntaxBlocks.front();
    ASSERT_EQ(b.SingleLineCommentDelimiters.size(), 2u);
    EXPECT_EQ(b.SingleLineCommentDelimiters[1].LeftDelimiter, "(*");
    EXPECT_TRUE(b.MultiLineCommentDelimiters.empty());
    EXPECT_FALSE(b.UseMultiLineComments);  // the tidy switched the empty list off
    EXPECT_TRUE(b.UseSingleLineComments);
    EXPECT_NE(b.SingleLineCommentDelimiters[1].FontID, -1);
}

// The editor gives every class a style and switches every list on; OK takes back what stays
// unused, and the plain text style is always the default's.
TEST(SyntaxSchemeEditorTest, OkTidiesWhatOpeningSwitchedOn) {
    auto scheme = SchemeWith([](TSyntaxBlock& b) {
        b.UseComments = true;  // but no comment
        b.FIText = 0;
    });
    scheme->FontTable.Add();  // style 0, used by the text only
    ASSERT_TRUE(RunEditor(*scheme, {Press("OkButton")}));
    const TSyntaxBlock& b = scheme->SyntaxBlocks.front();
    EXPECT_FALSE(b.UseComments);
    EXPECT_EQ(b.FIText, -1);
    EXPECT_TRUE(scheme->FontTable.Empty());
    EXPECT_FALSE(b.UseSingleLineStrings);
}

TEST(SyntaxSchemeEditorTest, CancelLeavesTheSchemeAsItWas) {
    auto scheme = SchemeWith([](TSyntaxBlock& b) {
        b.UseKeywords = true;
        b.KeywordSets.push_back({{}, "Reserved", "begin,end"});
    });
    const std::string before = scheme->WriteToText();
    EXPECT_FALSE(RunEditor(*scheme, {[](QDialog& editor) {
                                         ShowPage(editor, 4);
                                         Click(editor, "KeyWordSetAddButton");  // a new set with a new style
                                         Click(editor, "CancelButton");
                                     },
                                     Answer("More")}));
    EXPECT_EQ(scheme->WriteToText(), before);
}

TEST(SyntaxSchemeEditorTest, KeywordsStaySortedAndBEGINIsRefusedBesideBegin) {
    auto scheme = SchemeWith([](TSyntaxBlock& b) {
        b.UseKeywords = true;
        b.KeywordSets.push_back({{}, "Reserved", "end,begin"});
    });
    ASSERT_TRUE(RunEditor(*scheme, {[](QDialog& editor) {
                                        ShowPage(editor, 4);
                                        EXPECT_EQ(Keywords(editor), QStringList({"begin", "end"}));
                                        auto* list = Find<QListWidget>(editor, "KeyWordListBox");
                                        QTest::keyClick(list, Qt::Key_Insert);  // BEGIN
                                        EXPECT_EQ(Keywords(editor), QStringList({"begin", "end"}));
                                        QTest::keyClick(list, Qt::Key_Insert);  // " Alpha "
                                        EXPECT_EQ(Keywords(editor), QStringList({"Alpha", "begin", "end"}));
                                        EXPECT_EQ(list->currentItem()->text(), "Alpha");
                                        list->setCurrentRow(2);
                                        QTest::keyClick(list, Qt::Key_Delete);
                                        EXPECT_EQ(list->currentItem()->text(), "begin");  // the last one
                                        Click(editor, "OkButton");
                                    },
                                    Answer("BEGIN"), Answer(" Alpha ")}));
    const TSyntaxBlock& b = scheme->SyntaxBlocks.front();
    EXPECT_EQ(b.KeywordSets.front().Keywords, "Alpha,begin");
    EXPECT_NE(b.KeywordSets.front().FontID, -1);
}

TEST(SyntaxSchemeEditorTest, KeywordButtonsFollowTheSwitchAndTheSets) {
    auto scheme = SchemeWith([](TSyntaxBlock&) {});
    RunEditor(*scheme, {[](QDialog& editor) {
                            ShowPage(editor, 4);
                            EXPECT_FALSE(Find<QListWidget>(editor, "KeywordSetListBox")->isEnabled());
                            ClickButton(Find<QCheckBox>(editor, "KeywordCheck"));
                            EXPECT_TRUE(Find<QPushButton>(editor, "KeyWordSetAddButton")->isEnabled());
                            EXPECT_FALSE(Find<QPushButton>(editor, "KeyWordSetRemoveButton")->isEnabled());
                            EXPECT_FALSE(Find<QListWidget>(editor, "KeyWordListBox")->isEnabled());
                            Click(editor, "KeyWordSetAddButton");  // answered by the next step
                            EXPECT_TRUE(Find<QListWidget>(editor, "KeyWordListBox")->isEnabled());
                            EXPECT_TRUE(Find<QPushButton>(editor, "KeywordLoadButton")->isEnabled());
                            EXPECT_FALSE(Find<QPushButton>(editor, "KeywordSaveButton")->isEnabled());
                            Click(editor, "CancelButton");
                        },
                        Answer("Words")});
}

struct KeywordFileCase {
    const char* name;
    const char* content;  // nullptr: the file does not exist
    const char* keywords;
};

class KeywordFileTest : public testing::TestWithParam<KeywordFileCase> {};

// The host's file dialog answers with the path; the file's items, on whatever line, become the
// set's keywords, sorted and each once.
TEST_P(KeywordFileTest, LoadGivesTheSetTheFilesKeywords) {
    // A file of each case's own: the cases run side by side under ctest.
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tarnwick-keywords-load-" + std::string(GetParam().name) + ".txt"))
                                 .string();
    std::filesystem::remove(path);
    if (GetParam().content)
        std::ofstream(path, std::ios::binary) << GetParam().content;
    RecordingClient client;
    client.answer = [&path](char* params, int32_t capacity) {
        const std::string reply = "Result=True|Path=" + path;
        EXPECT_LT(reply.size(), std::size_t(capacity));
        std::strcpy(params, reply.c_str());
        return kTrue;
    };
    auto scheme = SchemeWith([](TSyntaxBlock& b) {
        b.UseKeywords = true;
        b.KeywordSets.push_back({{}, "Reserved", "begin"});
    });
    ASSERT_TRUE(RunEditor(*scheme, {[](QDialog& editor) {
        ShowPage(editor, 4);
        Click(editor, "KeywordLoadButton");
        Click(editor, "OkButton");
    }}));
    ASSERT_EQ(client.processes.size(), 1u);
    EXPECT_EQ(client.processes[0].name, "CLient:RunCommonDialog");
    EXPECT_EQ(client.processes[0].params,
              "Dialog=FileOpenSave|Mode=0|Prompt=Load Keyword Text File|DocumentType=All|FileType1=Text File "
              "(*.txt)|FileType2=All Files (*.*)");
    EXPECT_EQ(scheme->SyntaxBlocks.front().KeywordSets.front().Keywords, GetParam().keywords);
    std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Files, KeywordFileTest,
                         testing::Values(KeywordFileCase{"CommasBlanksAndLines", "if, then\r\nelse\r\n",
                                                         "else,if,then"},
                                         KeywordFileCase{"DuplicatesInOtherCase", "Net NET\nnet\n", "Net"},
                                         KeywordFileCase{"MissingFileEmptiesTheSet", nullptr, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SyntaxSchemeEditorTest, SaveWritesOneKeywordPerLineAndCancelledDialogsWriteNothing) {
    const std::string path = (std::filesystem::temp_directory_path() / "tarnwick-keywords-save.txt").string();
    std::filesystem::remove(path);
    RecordingClient client;
    bool confirm = false;
    client.answer = [&](char* params, int32_t) {
        std::strcpy(params, confirm ? ("Result=True|Path=" + path).c_str() : "Result=False");
        return kTrue;
    };
    auto scheme = SchemeWith([](TSyntaxBlock& b) {
        b.UseKeywords = true;
        b.KeywordSets.push_back({{}, "Reserved", "then,if"});
    });
    RunEditor(*scheme, {[&confirm](QDialog& editor) {
        ShowPage(editor, 4);
        Click(editor, "KeywordSaveButton");
        confirm = true;
        Click(editor, "KeywordSaveButton");
        Click(editor, "CancelButton");
    }});
    ASSERT_EQ(client.processes.size(), 2u);
    EXPECT_NE(client.processes[1].params.find("Mode=1|Prompt=Save Keyword Text File"), std::string::npos);
    std::ostringstream written;
    written << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(written.str(), "if\nthen\n");
    std::filesystem::remove(path);
}

// ---- The small dialogs ------------------------------------------------------------------------

TEST(SyntaxStyleFormTest, ColoursComeFromTheHostAndTheDefaultBackgroundLocksTheButton) {
    RecordingClient client;
    client.answer = [](char* params, int32_t capacity) {
        EXPECT_EQ(capacity, 4048);
        std::strcpy(params, "Result=TRUE|Color=255");
        return kTrue;
    };
    TAttrItem attr;
    attr.Font.Color = 0x10;
    attr.BackColor = 0x20;
    attr.UseDefBack = true;
    TSyntaxStyleForm form(attr, kBackColor);
    form.show();
    EXPECT_FALSE(Find<QPushButton>(form, "BackgroundColorButton")->isEnabled());
    Click(form, "StyleBoldCheck");
    Click(form, "ForegroundColorButton");
    EXPECT_EQ(client.processes.at(0).params, "Dialog = Color | Color = 16");
    ClickButton(Find<QCheckBox>(form, "DefaultBackgroundCheck"));
    EXPECT_TRUE(Find<QPushButton>(form, "BackgroundColorButton")->isEnabled());
    form.Store(attr);
    EXPECT_EQ(attr.Font.Color, 255u);
    EXPECT_EQ(attr.Font.Style, fsBold);
    EXPECT_EQ(attr.BackColor, 0x20u);
    EXPECT_FALSE(attr.UseDefBack);
}

TEST(DelimiterEntryFormTest, OkNeedsTheStringsTheTypeUses) {
    TCommentForm comment({"(*", "", 1});
    comment.show();
    Click(comment, "OkButton");
    EXPECT_TRUE(comment.isVisible());
    EXPECT_EQ(comment.focusWidget(), Find<QLineEdit>(comment, "RightEdit"));
    ClickButton(Radio(comment, "CommentTypeRG", "Full line comment"));
    Click(comment, "OkButton");
    EXPECT_FALSE(comment.isVisible());
    EXPECT_EQ(comment.Entry().Type, 2);

    TStringForm string({"\"", " ", 0});
    string.show();
    Click(string, "OkButton");
    EXPECT_TRUE(string.isVisible());
}

TEST(DelimiterEntryFormTest, NumberLabelsFollowTheTypeAndPairsNeedPermission) {
    TNumbersForm number({"h", "", 1}, false);
    number.show();
    EXPECT_EQ(Find<QLabel>(number, "LeftLabel")->text(), "Suffix :");
    EXPECT_FALSE(Find<QLineEdit>(number, "RightEdit")->isVisible());
    EXPECT_FALSE(Find<QRadioButton>(number, "PrefixAndSuffixRadio")->isEnabled());

    TNumbersForm pair({"0x", "h", 2}, false);  // an existing pair may stay one
    pair.show();
    EXPECT_TRUE(Find<QRadioButton>(pair, "PrefixAndSuffixRadio")->isEnabled());
    EXPECT_EQ(Find<QLabel>(pair, "LeftLabel")->text(), "Prefix :");
    EXPECT_TRUE(Find<QLineEdit>(pair, "RightEdit")->isVisible());
}

}  // namespace
}  // namespace tarnwick
