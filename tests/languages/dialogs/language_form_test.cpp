// The language and associations dialogs driven through their controls over a host folder of
// their own: every action lands on disk at once, and every refusal is a message.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "languages/code_templates.h"
#include "languages/dialogs/associations_form.h"
#include "languages/dialogs/language_form.h"
#include "languages/language_manager.h"
#include "languages/syntax_block.h"
#include "languages/syntax_scheme.h"
#include "tests/languages/dialogs/dialog_steps.h"
#include "tests/languages/host_languages_folder.h"

namespace tarnwick {
namespace {

const QString kIllegalNameTail = QStringLiteral(
    "\nLanguage names cannot contain any of the following characters:\n. \\ / : * ? \" > < | ");

class LanguageFormTest : public testing::Test {
protected:
    LanguageFormTest() { THostLanguagesFolder::SetUp(manager); }

    // A language with a scheme file (named as the language) and, if asked, a template file.
    void MakeLanguage(const std::string& name, bool withTemplates = false) {
        const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
        scheme->Name = name;
        scheme->SaveToFile(folder.Path(name + ".syn"));
        if (withTemplates) {
            TMemoCodeTemplates templates;
            TMemoCodeTemplate& t = templates.Add();
            t.Name = "ifb";
            t.Code = {"if | then"};
            templates.SaveToFile(folder.Path(name + ".tpl"));
        }
        // The catalogue reads the folder once a list file exists.
        manager.Save();
        manager.Load();
    }

    std::unique_ptr<TLanguageForm> Open(const std::string& key = "") {
        auto form = std::make_unique<TLanguageForm>(manager, clWindowText, clWindow, key);
        form->show();
        return form;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < manager.LanguageCount(); ++i)
            names.push_back(manager.Languages(i)->Name);
        return names;
    }

    static std::vector<std::string> Listed(QWidget& form) {
        std::vector<std::string> names;
        auto* list = Find<QListWidget>(form, "LanguagesListBox");
        for (int i = 0; i < list->count(); ++i)
            names.push_back(list->item(i)->text().toStdString());
        return names;
    }

    std::vector<std::string> FilesInFolder() const {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path("")))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    THostLanguagesFolder folder;
    TLanguageManager manager;
};

TEST_F(LanguageFormTest, OpensOnTheKeysLanguageWithItsAssociations) {
    MakeLanguage("EDIF");
    MakeLanguage("VHDL");
    manager.SetAssociation("vhd", "VHDL");
    manager.SetAssociation("vhdl", "VHDL");
    const auto form = Open("VHD");
    EXPECT_EQ(form->windowTitle(), " Language Setup");
    EXPECT_EQ(Find<QListWidget>(*form, "LanguagesListBox")->currentItem()->text(), "VHDL");
    EXPECT_EQ(Find<QLineEdit>(*form, "AssociationsEdit")->text(), "vhd,vhdl");
    EXPECT_EQ(Find<QPushButton>(*form, "OKButton")->text(), "Exit");
    const QList<QAction*> items = form->PopupMenu()->actions();
    QStringList captions;
    for (QAction* item : items)
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(captions.join(QLatin1Char(',')),
              "&New...,&Remove,&Duplicate...,Rename...,-,&Syntax...,Templates...,-,Associations...");
}

TEST_F(LanguageFormTest, AnEmptyCatalogueLeavesOnlyNewAndRenameEnabled) {
    const auto form = Open();
    EXPECT_FALSE(Find<QListWidget>(*form, "LanguagesListBox")->isEnabled());
    for (const char* action :
         {"RemovePopup", "DuplicatePopup", "SyntaxPopup", "TemplatePopup", "AssociationsPopup"})
        EXPECT_FALSE(Find<QAction>(*form, action)->isEnabled()) << action;
    EXPECT_TRUE(Find<QAction>(*form, "NewPopup")->isEnabled());
    EXPECT_TRUE(Find<QAction>(*form, "RenamePopup")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(*form, "AssociationsButton")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(*form, "AssociationsEdit")->isEnabled());
}

TEST_F(LanguageFormTest, NewWritesAnEmptySchemeNamedAfterTheLanguage) {
    const auto form = Open();
    ModalScript script({Answer("Netlist")});
    QTest::keyClick(Find<QListWidget>(*form, "LanguagesListBox"), Qt::Key_Insert);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.titles, std::vector<QString>{"New Language Name"});
    ASSERT_TRUE(folder.Exists("Netlist.syn"));
    TSyntaxScheme written;
    written.LoadFromFile(folder.Path("Netlist.syn"));
    EXPECT_EQ(written.Name, "Netlist");
    EXPECT_EQ(Names(), std::vector<std::string>{"Netlist"});
    EXPECT_EQ(Listed(*form), std::vector<std::string>{"Netlist"});
    EXPECT_EQ(manager.SyntaxFileOf("Netlist"), folder.Path("Netlist.syn"));
}

struct BadNameCase {
    const char* name;
    std::string typed;
    QString shownName;
};

class LanguageNameRefusedTest : public LanguageFormTest, public testing::WithParamInterface<BadNameCase> {};

// Each refusal leaves the folder and the catalogue as they were.
TEST_P(LanguageNameRefusedTest, NewShowsTheIllegalNameMessage) {
    MakeLanguage("EDIF");
    const std::vector<std::string> before = FilesInFolder();
    const auto form = Open();
    QString shown;
    ModalScript script({Answer(GetParam().typed), Read(shown)});
    Trigger(*form, "NewPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown, "Illegal character in language name: " + GetParam().shownName + kIllegalNameTail);
    EXPECT_EQ(FilesInFolder(), before);
    EXPECT_EQ(Names(), std::vector<std::string>{"EDIF"});
}

INSTANTIATE_TEST_SUITE_P(Names, LanguageNameRefusedTest,
                         testing::Values(BadNameCase{"Dot", "a.b", "a.b"},
                                         BadNameCase{"VerticalBar", "net|list", "net|list"},
                                         BadNameCase{"Slash", "a/b", "a/b"},
                                         BadNameCase{"ControlCharacter", "net\tlist", "net\tlist"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageFormTest, ABlankNameKeepsTheInputOpen) {
    const auto form = Open();
    ModalScript script({[](QDialog& d) {
        Find<QLineEdit>(d, "DelimiterEdit")->setText("   ");
        Click(d, "OkButton");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.focusWidget(), Find<QLineEdit>(d, "DelimiterEdit"));
        Click(d, "CancelButton");
    }});
    Trigger(*form, "NewPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(manager.LanguageCount(), 0);
}

// The name input holds 255 characters; a scheme file named by them is too long a name for the
// file system, which the user is told, and nothing is written.
TEST_F(LanguageFormTest, ANameTooLongForAFileIsReportedAndWritesNothing) {
    const auto form = Open();
    QString shown;
    ModalScript script({Answer(std::string(300, 'n')), Read(shown)});
    Trigger(*form, "NewPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(shown.startsWith("Cannot ")) << shown.toStdString();
    EXPECT_TRUE(FilesInFolder().empty() || FilesInFolder() == std::vector<std::string>{"Languages.ini"});
    EXPECT_EQ(manager.LanguageCount(), 0);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(LanguageFormTest, ASchemeFileThatCannotBeWrittenIsReported) {
    std::filesystem::create_directory(folder.Path("Netlist.syn"));  // no file can replace a folder
    const auto form = Open();
    QString shown;
    ModalScript script({Answer("Netlist"), Read(shown)});
    Trigger(*form, "NewPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(shown.startsWith("Cannot save ")) << shown.toStdString();
    EXPECT_EQ(manager.LanguageCount(), 0);
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"Netlist.syn"});  // no temporary left
}

TEST_F(LanguageFormTest, NewOverAnExistingLanguageDeletesItsFilesFirst) {
    MakeLanguage("Net", true);
    manager.SetAssociation("net", "Net");
    const auto form = Open();
    QString question;
    ModalScript script({Answer("NET"), Read(question, "Yes")});
    Trigger(*form, "NewPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(question, "Language NET already exists, do you wish to overwrite it?");
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"Languages.ini", "NET.syn"}));
    EXPECT_EQ(Names(), std::vector<std::string>{"NET"});
    EXPECT_EQ(manager.AssociationCount(), 0);
}

TEST_F(LanguageFormTest, NoToTheOverwriteQuestionKeepsTheLanguage) {
    MakeLanguage("Net", true);
    const std::string scheme = folder.Read("Net.syn");
    const auto form = Open();
    QString question;
    ModalScript script({Answer("net"), Read(question, "No")});
    Trigger(*form, "NewPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(folder.Read("Net.syn"), scheme);
    EXPECT_TRUE(folder.Exists("Net.tpl"));
}

TEST_F(LanguageFormTest, RemoveAsksThenDeletesFilesAndAssociations) {
    MakeLanguage("A");
    MakeLanguage("B", true);
    manager.SetAssociation("b", "B");
    const auto form = Open("b");
    QString question;
    ModalScript script({Read(question, "Yes")});
    QTest::keyClick(Find<QListWidget>(*form, "LanguagesListBox"), Qt::Key_Delete);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(question, "Are you sure you want to delete language B");
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"A.syn", "Languages.ini"}));
    EXPECT_EQ(manager.AssociationCount(), 0);
    EXPECT_EQ(Find<QListWidget>(*form, "LanguagesListBox")->currentItem()->text(), "A");  // the last one
}

struct DuplicateCase {
    const char* name;
    bool withTemplates;
    std::vector<std::string> files;
};

class DuplicateTest : public LanguageFormTest, public testing::WithParamInterface<DuplicateCase> {};

TEST_P(DuplicateTest, CopiesSchemeAndTemplatesButNotAssociations) {
    MakeLanguage("Net", GetParam().withTemplates);
    manager.SetAssociation("net", "Net");
    const auto form = Open("net");
    QString proposed;
    ModalScript script({[&proposed](QDialog& d) {
        proposed = Find<QLineEdit>(d, "DelimiterEdit")->text();
        Click(d, "OkButton");
    }});
    Trigger(*form, "DuplicatePopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(proposed, "Copy of Net");
    EXPECT_EQ(FilesInFolder(), GetParam().files);
    TSyntaxScheme copy;
    copy.LoadFromFile(folder.Path("Copy of Net.syn"));
    EXPECT_EQ(copy.Name, "Copy of Net");
    EXPECT_EQ(manager.TemplateFileOf("Copy of Net"),
              GetParam().withTemplates ? folder.Path("Copy of Net.tpl") : std::string());
    EXPECT_EQ(manager.LanguageOf("net"), "Net");
    EXPECT_EQ(manager.AssociationCount(), 1);
    EXPECT_EQ(Find<QListWidget>(*form, "LanguagesListBox")->currentItem()->text(), "Copy of Net");
}

INSTANTIATE_TEST_SUITE_P(Templates, DuplicateTest,
                         testing::Values(DuplicateCase{"WithoutTemplateFile",
                                                       false,
                                                       {"Copy of Net.syn", "Languages.ini", "Net.syn"}},
                                         DuplicateCase{"WithTemplateFile",
                                                       true,
                                                       {"Copy of Net.syn", "Copy of Net.tpl", "Languages.ini",
                                                        "Net.syn", "Net.tpl"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageFormTest, DuplicateOfAMissingSchemeFileSaysSoAndWritesNothing) {
    MakeLanguage("Net");
    std::filesystem::remove(folder.Path("Net.syn"));
    const auto form = Open();
    QString shown;
    ModalScript script({Answer("Copy"), Read(shown)});
    Trigger(*form, "DuplicatePopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown, QString::fromStdString("Unable to find " + folder.Path("Net.syn")));
    EXPECT_FALSE(manager.HasLanguage("Copy"));
}

TEST_F(LanguageFormTest, RenameInOtherLetterCaseChangesNothing) {
    MakeLanguage("Net", true);
    manager.SetAssociation("net", "Net");
    const std::string scheme = folder.Read("Net.syn");
    const auto form = Open();
    ModalScript script({Answer("NET")});
    Trigger(*form, "RenamePopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.titles, std::vector<QString>{"Edit Language Name"});
    EXPECT_EQ(folder.Read("Net.syn"), scheme);
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"Languages.ini", "Net.syn", "Net.tpl"}));
    EXPECT_EQ(Names(), std::vector<std::string>{"Net"});
    EXPECT_EQ(manager.LanguageOf("net"), "Net");
}

TEST_F(LanguageFormTest, RenameMovesFilesAndAssociations) {
    MakeLanguage("Net", true);
    manager.SetAssociation("net", "Net");
    const auto form = Open();
    ModalScript script({Answer("Netlist")});
    Trigger(*form, "RenamePopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"Languages.ini", "Netlist.syn", "Netlist.tpl"}));
    TSyntaxScheme renamed;
    renamed.LoadFromFile(folder.Path("Netlist.syn"));
    EXPECT_EQ(renamed.Name, "Netlist");
    EXPECT_EQ(manager.LanguageOf("net"), "Netlist");
    EXPECT_EQ(manager.TemplateFileOf("Netlist"), folder.Path("Netlist.tpl"));
    EXPECT_EQ(Listed(*form), std::vector<std::string>{"Netlist"});
}

TEST_F(LanguageFormTest, ASchemeFileThatIsNoSchemeAbandonsTheAction) {
    MakeLanguage("Net");
    folder.Write("Net.syn", "object P: TPersHolder\n  P.Name = 'unterminated\n");
    const auto form = Open();
    QString shown;
    ModalScript script({Read(shown)});
    Trigger(*form, "RenamePopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown, QString::fromStdString("Can't read syntax scheme from file \"" + folder.Path("Net.syn") +
                                            "\"."));
    EXPECT_EQ(Names(), std::vector<std::string>{"Net"});
}

TEST_F(LanguageFormTest, SyntaxCancelLeavesTheSchemeFileByteIdenticalEvenAfterStylesWereMade) {
    MakeLanguage("Net");
    const std::string before = folder.Read("Net.syn");
    const std::vector<std::string> files = FilesInFolder();
    const auto form = Open();
    ModalScript script({[](QDialog& editor) {
                            EXPECT_EQ(editor.windowTitle(), "Syntax Editor");
                            Find<QTabWidget>(editor, "SyntaxPageControl")->setCurrentIndex(4);
                            ClickButton(Find<QCheckBox>(editor, "KeywordCheck"));
                            Click(editor, "KeyWordSetAddButton");  // a set with a style of its own
                            Click(editor, "CancelButton");
                        },
                        Answer("Reserved")});
    QTest::keyClick(Find<QListWidget>(*form, "LanguagesListBox"), Qt::Key_Return);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(folder.Read("Net.syn"), before);
    EXPECT_EQ(FilesInFolder(), files);
}

TEST_F(LanguageFormTest, SyntaxOkSavesTheTidiedScheme) {
    MakeLanguage("Net");
    const auto form = Open();
    ModalScript script({[](QDialog& editor) {
        ClickButton(Find<QCheckBox>(editor, "SymbolCheck"));
        Click(editor, "OkButton");
    }});
    Trigger(*form, "SyntaxPopup");
    EXPECT_TRUE(script.Finished());
    TSyntaxScheme saved;
    saved.LoadFromFile(folder.Path("Net.syn"));
    const TSyntaxBlock& b = saved.SyntaxBlocks.front();
    EXPECT_TRUE(b.UseSymbols);
    ASSERT_EQ(saved.FontTable.Count(), 1u);  // the symbols' style; the unused ones are gone
    EXPECT_EQ(saved.FontTable[0].FontID, b.FISymbol);
    EXPECT_EQ(b.FIIdentifier, -1);
}

TEST_F(LanguageFormTest, TemplatesOkWritesTheTemplateFile) {
    MakeLanguage("Net");
    const auto form = Open();
    ModalScript script({[](QDialog& editor) {
                            EXPECT_EQ(editor.windowTitle(), "Net Code Templates Editor");
                            Click(editor, "AddButton");  // answered by the next step
                            Click(editor, "OkButton");
                        },
                        [](QDialog& d) {
                            Find<QLineEdit>(d, "LeftDelimiterEdit")->setText("cell");
                            Find<QLineEdit>(d, "RightDelimiterEdit")->setText("a cell");
                            Click(d, "OkButton");
                        }});
    Trigger(*form, "TemplatePopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(manager.TemplateFileOf("Net"), folder.Path("Net.tpl"));
    TMemoCodeTemplates saved;
    saved.LoadFromFile(folder.Path("Net.tpl"));
    ASSERT_EQ(saved.Count(), 1u);
    EXPECT_EQ(saved[0].Name, "cell");
}

// A typed dot stays: the key of a document never has one, so it matches nothing.
TEST_F(LanguageFormTest, AnAssociationTypedWithADotIsStoredAsTyped) {
    MakeLanguage("Net");
    const auto form = Open();
    ModalScript script({[](QDialog& d) {
                            EXPECT_EQ(d.windowTitle(), " Edit Associations");
                            Click(d, "AddButton");  // answered by the next step
                            Click(d, "OkButton");
                        },
                        Answer(".net")});
    Click(*form, "AssociationsButton");
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(manager.AssociationCount(), 1);
    EXPECT_EQ(manager.Associations(0)->Extension, ".net");
    EXPECT_EQ(manager.LanguageOf("net"), "");
    EXPECT_EQ(Find<QLineEdit>(*form, "AssociationsEdit")->text(), ".net");
}

TEST_F(LanguageFormTest, AnExtensionOfAnotherLanguageMovesToThisOne) {
    MakeLanguage("A");
    MakeLanguage("B");
    manager.SetAssociation("x", "A");
    const auto form = Open("");  // selects A, the first
    Find<QListWidget>(*form, "LanguagesListBox")->setCurrentRow(1);
    Find<QLineEdit>(*form, "AssociationsEdit")->setText("x, y");
    ModalScript script({Press("OkButton")});
    Trigger(*form, "AssociationsPopup");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(manager.LanguageOf("x"), "B");
    EXPECT_EQ(manager.LanguageOf("y"), "B");
}

// ---- The associations dialog on its own -------------------------------------------------------

QStringList Items(QWidget& form) {
    QStringList items;
    auto* list = Find<QListWidget>(form, "AssociationsListBox");
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

TEST(AssociationsFormTest, KeepsExtensionsSortedAndEachOnce) {
    TAssociationsForm form({"vhd", "EDF", "edif", "edf"});
    form.show();
    EXPECT_EQ(Items(form), QStringList({"EDF", "edif", "vhd"}));
    auto* list = Find<QListWidget>(form, "AssociationsListBox");
    EXPECT_EQ(list->currentRow(), 0);

    ModalScript script({Answer("VHD"), Answer("net")});
    QTest::keyClick(list, Qt::Key_Insert);  // a duplicate in other case is ignored
    EXPECT_EQ(Items(form), QStringList({"EDF", "edif", "vhd"}));
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);  // edit edif into net
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Items(form), QStringList({"EDF", "net", "vhd"}));
    EXPECT_EQ(list->currentItem()->text(), "net");

    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Items(form), QStringList({"EDF", "net"}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(form.Extensions(), (std::vector<std::string>{"EDF", "net"}));
}

TEST(AssociationsFormTest, EditAndRemoveNeedAnExtensionAndCancelChangesNothing) {
    std::vector<std::string> extensions;
    ModalScript script({[](QDialog& d) {
                            EXPECT_FALSE(Find<QPushButton>(d, "EditButton")->isEnabled());
                            EXPECT_FALSE(Find<QPushButton>(d, "RemoveButton")->isEnabled());
                            Click(d, "AddButton");  // answered by the next step
                            EXPECT_TRUE(Find<QPushButton>(d, "EditButton")->isEnabled());
                            Click(d, "CancelButton");
                        },
                        Answer("net")});
    EXPECT_FALSE(TAssociationsForm::Execute(extensions, nullptr));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(extensions.empty());
}

}  // namespace
}  // namespace tarnwick
