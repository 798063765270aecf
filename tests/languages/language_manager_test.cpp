#include "languages/language_manager.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <system_error>
#include <vector>

#include "tests/languages/host_languages_folder.h"

namespace tarnwick {
namespace {

constexpr const char* kListFile = "Languages.ini";

// One catalogue on disk, an optional step on the loaded manager, then one lookup, made by a
// fresh manager when the case reloads (its step saves first).
struct TCatalogueCase {
    const char* name;
    std::optional<std::string> listFile;
    std::vector<std::string> files;  // created empty in the languages folder
    std::function<void(TLanguageManager&, const THostLanguagesFolder&)> step;
    bool reload;
    std::string extension;
    std::string language;      // LanguageOf(extension)
    std::string templateFile;  // of that language, without the folder; "" when none
    int32_t languageCount;
    std::vector<std::string> filesAfter;  // exist afterwards
    std::vector<std::string> filesGone;   // do not exist afterwards
};

void PrintTo(const TCatalogueCase& c, std::ostream* out) { *out << c.name; }

class CatalogueTest : public testing::TestWithParam<TCatalogueCase> {};

TEST_P(CatalogueTest, FindsTheLanguageOfAnExtension) {
    const TCatalogueCase& c = GetParam();
    THostLanguagesFolder folder;
    if (c.listFile)
        folder.Write(kListFile, *c.listFile);
    for (const std::string& file : c.files)
        folder.Write(file, "");

    TLanguageManager manager;
    THostLanguagesFolder::SetUp(manager);
    manager.Load();
    if (c.step)
        c.step(manager, folder);
    TLanguageManager reloaded;
    THostLanguagesFolder::SetUp(reloaded);
    if (c.reload)
        reloaded.Load();
    const TLanguageManager& m = c.reload ? reloaded : manager;

    EXPECT_EQ(m.LanguageOf(c.extension), c.language);
    EXPECT_EQ(m.TemplateFileOf(c.language), c.templateFile.empty() ? "" : folder.Path(c.templateFile));
    EXPECT_EQ(m.LanguageCount(), c.languageCount);
    for (const std::string& file : c.filesAfter)
        EXPECT_TRUE(folder.Exists(file)) << file;
    for (const std::string& file : c.filesGone)
        EXPECT_FALSE(folder.Exists(file)) << file;
}

const std::string kEdifAndVhdl = "[FileAssociations]\r\nedf=EDIF\r\nvhd=VHDL\r\n";

void Save(TLanguageManager& m, const THostLanguagesFolder&) { m.Save(); }

// clang-format off
INSTANTIATE_TEST_SUITE_P(LanguagesFolder, CatalogueTest, testing::Values(
    TCatalogueCase{"ExtensionIgnoresCaseAndBlanks", kEdifAndVhdl, {"EDIF.syn", "VHDL.syn"},
                   {}, false, " EDF ", "EDIF", "", 2, {}, {}},
    TCatalogueCase{"EmptyExtensionHasNoLanguage", "[FileAssociations]\n=EDIF\n", {"EDIF.syn"},
                   {}, false, "", "", "", 1, {}, {}},
    TCatalogueCase{"AssociationOfARemovedSchemeIsDropped", kEdifAndVhdl, {"VHDL.syn"},
                   {}, false, "edf", "", "", 1, {}, {}},
    // Had the dropped association been saved, the scheme coming back would revive it.
    TCatalogueCase{"DroppedAssociationIsGoneFromTheSavedFile", kEdifAndVhdl, {"VHDL.syn"},
                   [](TLanguageManager& m, const THostLanguagesFolder& f) {
                       m.Save();
                       f.Write("EDIF.syn", "");
                   },
                   true, "edf", "", "", 2, {}, {}},
    TCatalogueCase{"TemplateWithoutSchemeIsNotALanguage", kEdifAndVhdl,
                   {"EDIF.syn", "EDIF.tpl", "Verilog.tpl"},
                   {}, false, "edf", "EDIF", "EDIF.tpl", 1, {}, {}},
    TCatalogueCase{"RenameToAnExistingNameDoesNothing", kEdifAndVhdl,
                   {"EDIF.syn", "EDIF.tpl", "VHDL.syn"},
                   [](TLanguageManager& m, const THostLanguagesFolder&) { m.RenameLanguage("EDIF", "vhdl"); },
                   false, "edf", "EDIF", "EDIF.tpl", 2, {"EDIF.syn", "EDIF.tpl", "VHDL.syn"}, {}},
    TCatalogueCase{"RenameMovesFilesAndAssociations", kEdifAndVhdl, {"EDIF.syn", "EDIF.tpl"},
                   [](TLanguageManager& m, const THostLanguagesFolder&) {
                       m.RenameLanguage("EDIF", "Netlist");
                       m.Save();
                   },
                   true, "EDF", "Netlist", "Netlist.tpl", 1, {"Netlist.syn", "Netlist.tpl"},
                   {"EDIF.syn", "EDIF.tpl"}},
    TCatalogueCase{"RenameNeverReplacesAnotherFile", kEdifAndVhdl, {"EDIF.syn", "Netlist.tpl"},
                   [](TLanguageManager& m, const THostLanguagesFolder&) { m.RenameLanguage("EDIF", "Netlist"); },
                   false, "edf", "Netlist", "", 1, {"Netlist.syn", "Netlist.tpl"}, {"EDIF.syn"}},
    TCatalogueCase{"DeleteRemovesFilesAndAssociations", kEdifAndVhdl,
                   {"EDIF.syn", "EDIF.tpl", "VHDL.syn"},
                   [](TLanguageManager& m, const THostLanguagesFolder&) {
                       m.DeleteLanguage(" edif ");
                       m.Save();
                   },
                   true, "edf", "", "", 1, {"VHDL.syn"}, {"EDIF.syn", "EDIF.tpl"}},
    TCatalogueCase{"NoListFileListsNoLanguage", std::nullopt, {"EDIF.syn"},
                   {}, false, "edf", "", "", 0, {}, {}},
    TCatalogueCase{"SaveWritesTheMissingListFile", std::nullopt, {"EDIF.syn", "EDIF.tpl"},
                   Save, true, "edf", "", "", 1, {kListFile}, {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(LanguageManagerTest, SavedFileHoldsTheCatalogueAndKeepsOtherSections) {
    THostLanguagesFolder folder;
    folder.Write(kListFile, "; shared with other tools\r\n[Tools]\r\nkeep=1\r\n" + kEdifAndVhdl +
                                "[SyntaxSchemes]\r\nGone=/old/Gone.syn\r\n");
    folder.Write("EDIF.syn", "");
    TLanguageManager manager;
    THostLanguagesFolder::SetUp(manager);
    manager.Load();
    manager.SetAssociation("edn", "edif");
    manager.Save();

    EXPECT_EQ(folder.Read(kListFile),
              "; shared with other tools\r\n[Tools]\r\nkeep=1\r\n"
              "[SyntaxSchemes]\r\nEDIF=" +
                  folder.Path("EDIF.syn") +
                  "\r\n"
                  "[CodeTemplates]\r\nEDIF=\r\n"
                  "[FileAssociations]\r\nedf=EDIF\r\nedn=edif\r\n");
}

// Each key of the section is read, however long the section is, and a Save keeps all of them.
TEST(LanguageManagerTest, LongFileAssociationsSectionIsReadWhole) {
    THostLanguagesFolder folder;
    std::string list = "[FileAssociations]\n";
    for (int i = 0; i < 120; ++i)
        list += "extension" + std::to_string(i) + "=EDIF\n";  // about 1,500 bytes of key names
    folder.Write(kListFile, list);
    folder.Write("EDIF.syn", "");
    TLanguageManager manager;
    THostLanguagesFolder::SetUp(manager);
    manager.Load();
    ASSERT_EQ(manager.AssociationCount(), 120);
    manager.Save();

    TLanguageManager reloaded;
    THostLanguagesFolder::SetUp(reloaded);
    reloaded.Load();
    EXPECT_EQ(reloaded.AssociationCount(), 120);
    EXPECT_EQ(reloaded.LanguageOf("extension119"), "EDIF");
}

TEST(LanguageManagerTest, ListFileIsReadAgainOnlyWhenItChanged) {
    THostLanguagesFolder folder;
    folder.Write(kListFile, kEdifAndVhdl);
    folder.Write("EDIF.syn", "");
    TLanguageManager manager;
    THostLanguagesFolder::SetUp(manager);
    manager.Load();
    manager.SetAssociation("edn", "EDIF");
    manager.Load();  // unchanged file: the catalogue stays as it is
    EXPECT_EQ(manager.LanguageOf("edn"), "EDIF");

    folder.Write(kListFile, "[FileAssociations]\nnet=EDIF\n");
    std::filesystem::last_write_time(folder.Path(kListFile),
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(2));
    manager.Load();
    EXPECT_EQ(manager.LanguageOf("edn"), "");
    EXPECT_EQ(manager.LanguageOf("net"), "EDIF");
}

TEST(LanguageManagerTest, SaveFailureReachesTheCaller) {
    THostLanguagesFolder folder;
    TLanguageManager manager;
    THostLanguagesFolder::SetUp(manager);
    manager.SyntaxDirectory = "Missing/Folder/";
    EXPECT_THROW(manager.Save(), std::system_error);
}

TEST(LanguageManagerTest, PathsForANameAreInTheLanguagesFolder) {
    THostLanguagesFolder folder;
    TLanguageManager manager;
    THostLanguagesFolder::SetUp(manager);
    EXPECT_EQ(manager.SyntaxPathFor("Netlist"), folder.Path("Netlist.syn"));
    EXPECT_EQ(manager.TemplatePathFor("Netlist"), folder.Path("Netlist.tpl"));
}

}  // namespace
}  // namespace tarnwick
