#include <gtest/gtest.h>

#include <filesystem>

#include "languages/code_templates.h"
#include "languages/shipped/shipped_languages.h"
#include "languages/syntax_scheme.h"
#include "languages/text_file.h"

namespace tarnwick {
namespace {

const std::filesystem::path kFolder = std::filesystem::path(TARNWICK_SOURCE_DIR) / "data/System/Languages";

std::vector<std::filesystem::path> Files(const char* extension) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder))
        if (entry.path().extension() == extension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ShippedLanguagesTest, EverySchemeFileRoundTripsByteForByte) {
    const auto files = Files(".syn");
    ASSERT_EQ(files.size(), 3u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = ReadTextFile(path.string());
        TSyntaxScheme scheme;
        scheme.LoadFromFile(path.string());
        const std::string written = scheme.WriteToText();
        EXPECT_EQ(written, bytes);
        TSyntaxScheme again;
        again.ReadFromText(written);
        again.Prepare();
        EXPECT_TRUE(again.SameContentAs(scheme));
    }
}

TEST(ShippedLanguagesTest, EveryTemplateFileRoundTripsByteForByte) {
    const auto files = Files(".tpl");
    ASSERT_EQ(files.size(), 1u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = ReadTextFile(path.string());
        TMemoCodeTemplates templates;
        templates.LoadFromFile(path.string());
        EXPECT_GE(templates.Count(), 6u);
        EXPECT_EQ(templates.WriteToText(), bytes);
        TMemoCodeTemplates again;
        again.ReadFromText(bytes);
        EXPECT_EQ(again, templates);
    }
}

// The committed files are what the generator writes, so a change to one without the other is
// caught here.
TEST(ShippedLanguagesTest, CommittedFilesMatchTheirDefinitions) {
    const struct {
        const char* file;
        void (*make)(TSyntaxScheme&);
    } schemes[] = {
        {"EDIF.syn", MakeEdifScheme}, {"Verilog.syn", MakeVerilogScheme}, {"VHDL.syn", MakeVhdlScheme}};
    for (const auto& s : schemes) {
        SCOPED_TRACE(s.file);
        TSyntaxScheme scheme;
        s.make(scheme);
        EXPECT_EQ(scheme.WriteToText(), ReadTextFile((kFolder / s.file).string()));
    }
    EXPECT_EQ(MakeEdifTemplates().WriteToText(), ReadTextFile((kFolder / "EDIF.tpl").string()));
    EXPECT_EQ(MakeLanguagesIni(), ReadTextFile((kFolder / "Languages.ini").string()));
}

}  // namespace
}  // namespace tarnwick
