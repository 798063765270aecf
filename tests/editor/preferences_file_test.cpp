#include "editor/preferences_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/editor/temp_config_folder.h"

namespace tarnwick {

namespace {

namespace fs = std::filesystem;

constexpr int32_t kIntegerDefault = 42;
constexpr uint8_t kByteDefault = 7;
constexpr double kFloatDefault = -1;

// One stored text read by every typed reader; nullopt stands for a missing key.
struct ReadingCase {
    const char* name;
    std::optional<std::string> stored;
    int32_t integer;
    uint8_t byte;
    bool boolean;  // the default is true, so "false" rows show a text that was read
    double real;
};

class TypedReadingTest : public testing::TestWithParam<ReadingCase> {
protected:
    TTempConfigFolder config;
};

TEST_P(TypedReadingTest, ReadsAsTheProfileHelpersDo) {
    const ReadingCase& c = GetParam();
    if (c.stored)
        TTempConfigFolder::WriteFile(PreferencesFileName(), "[S]\nk=" + *c.stored + "\n");
    const TPreferencesFile file;
    EXPECT_EQ(file.ReadIniInteger("S", "k", kIntegerDefault), c.integer);
    EXPECT_EQ(file.ReadIniByte("S", "k", kByteDefault), c.byte);
    EXPECT_EQ(file.ReadIniBoolean("S", "k", true), c.boolean);
    EXPECT_EQ(file.ReadIniFloat("S", "k", kFloatDefault), c.real);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedReadingTest,
    testing::Values(ReadingCase{"MissingKeyGivesDefaults", std::nullopt, 42, 7, true, -1},
                    ReadingCase{"EmptyValueGivesDefaults", "", 42, 7, true, -1},
                    ReadingCase{"Decimal", "-12", -12, 244, false, -12},
                    ReadingCase{"LeadingBlanksAndPlus", "\t +7", 7, 7, false, 7},
                    ReadingCase{"StopsAtTheFirstInvalidCharacter", "72abc", 72, 72, false, -1},
                    ReadingCase{"HexAfterDollar", "$FF", 255, 255, false, -1},
                    ReadingCase{"HexAfterX", "x1a", 26, 26, false, -1},
                    ReadingCase{"HexAfterZeroX", "0X1A", 26, 26, false, -1},
                    ReadingCase{"HexTakesAllThirtyTwoBits", "$80000008", -2147483640, 8, false, -1},
                    ReadingCase{"NegativeSystemColour", "-2147483640", -2147483640, 8, false, -2147483640},
                    ReadingCase{"DecimalStopsBeforeOverflow", "99999999999", 999999999, 255, false,
                                99999999999},
                    ReadingCase{"ByteKeepsTheLowEightBits", "300", 300, 44, false, 300},
                    ReadingCase{"NoDigits", "abc", 0, 0, false, -1},
                    ReadingCase{"UntrueContainsTrue", "untrue", 0, 0, true, -1},
                    ReadingCase{"TrueInAnyCase", "tRuE", 0, 0, true, -1},
                    ReadingCase{"FalseWord", "False", 0, 0, false, -1},
                    ReadingCase{"Zero", "0", 0, 0, false, 0}, ReadingCase{"Yes", "yes", 0, 0, false, -1},
                    ReadingCase{"TwoDecimals", "0.50", 0, 0, false, 0.5},
                    ReadingCase{"Exponent", "1.5e1", 1, 1, false, 15},
                    ReadingCase{"NotANumberIsNoFloat", "nan", 0, 0, false, -1},
                    ReadingCase{"CommaIsNoDecimalPoint", "0,5", 0, 0, false, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreferencesFileTest, WritesTheTextFormsOfEachType) {
    TTempConfigFolder config;
    TPreferencesFile file;
    file.WriteIniBoolean("S", "yes", true);
    file.WriteIniBoolean("S", "no", false);
    file.WriteIniInteger("S", "colour", -2147483640);
    file.WriteIniByte("S", "byte", 255);
    file.WriteIniFloat("S", "half", 0.5);
    file.WriteIniFloat("S", "quarter", 10.25);
    file.WriteIniFloat("S", "whole", 2);
    file.WriteIniString("S", "text", "4,7");
    ASSERT_TRUE(file.Save().IsOk());
    EXPECT_EQ(TTempConfigFolder::ReadFile(PreferencesFileName()),
              "[S]\nyes=True\nno=False\ncolour=-2147483640\nbyte=255\nhalf=0.50\nquarter=10.25\n"
              "whole=2.00\ntext=4,7\n");
}

TEST(PreferencesFileTest, TextsAreCutTo255BytesAndAtNul) {
    TTempConfigFolder config;
    TTempConfigFolder::WriteFile(PreferencesFileName(),
                                 "[S]\nlong=" + std::string(300, 'a') + "\nnul=ab" + '\0' + "cd\n");
    const TPreferencesFile file;
    EXPECT_EQ(file.ReadIniString("S", "long", ""), std::string(255, 'a'));
    EXPECT_EQ(file.ReadIniString("S", "nul", ""), "ab");
    EXPECT_EQ(file.ReadIniString("S", "missing", "dflt"), "dflt");
}

TEST(PreferencesFileNameTest, LivesInVesmarUnderTheConfigFolderWhichIsCreated) {
    TTempConfigFolder config;
    EXPECT_EQ(PreferencesFileName(), config.Folder() + "/Vesmar/TextEditMarlowe.INI");
    EXPECT_TRUE(fs::is_directory(config.Folder() + "/Vesmar"));

    // A relative XDG_CONFIG_HOME is not a configuration folder; the home's .config is.
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
    ::setenv("HOME", config.Folder().c_str(), 1);
    EXPECT_EQ(ApplicationDataFolder(), config.Folder() + "/.config");
}

TEST(PreferencesFileNameTest, AFolderThatCannotBeMadeIsReported) {
    TTempConfigFolder config;
    const std::string blocker = config.Folder() + "/file";
    TTempConfigFolder::WriteFile(blocker, "not a folder");
    ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);

    const TFileResult result = SetPreferencesFileName();
    EXPECT_FALSE(result.IsOk());
    EXPECT_NE(result.Message().find(blocker + "/Vesmar"), std::string::npos) << result.Message();
    EXPECT_EQ(PreferencesFileName(), blocker + "/Vesmar/TextEditMarlowe.INI");

    TPreferencesFile file;  // reads as empty, and saving says why it cannot
    EXPECT_TRUE(file.LoadResult().IsOk());
    file.WriteIniString("S", "k", "v");
    EXPECT_FALSE(file.Save().IsOk());
}

TEST(PreferencesFileSaveTest, AFailedWriteIsReportedAndLeavesNoTemporaryFile) {
    TTempConfigFolder config;
    fs::remove_all(config.Folder() + "/Vesmar");
    TPreferencesFile file;
    file.WriteIniString("S", "k", "v");
    const TFileResult result = file.Save();
    EXPECT_FALSE(result.IsOk());
    EXPECT_NE(result.Message().find(PreferencesFileName()), std::string::npos) << result.Message();
    EXPECT_TRUE(fs::is_empty(config.Folder()));
}

TEST(PreferencesFileSaveTest, AFileThatCannotBeReadIsNotWrittenOver) {
    TTempConfigFolder config;
    fs::create_directory(PreferencesFileName());  // exists, but reading it fails
    TPreferencesFile file;
    EXPECT_FALSE(file.LoadResult().IsOk());
    EXPECT_EQ(file.ReadIniString("S", "k", "dflt"), "dflt");
    file.WriteIniString("S", "k", "v");
    EXPECT_FALSE(file.Save().IsOk());
    EXPECT_TRUE(fs::is_directory(PreferencesFileName()));
}

TEST(PreferencesFileSaveTest, KeepsTheFileModeAndALinkToTheFile) {
    TTempConfigFolder config;
    const std::string target = config.Folder() + "/shared.ini";
    TTempConfigFolder::WriteFile(target, "[Other]\nx=1\n");
    fs::permissions(target, fs::perms(0640));
    fs::create_symlink(target, PreferencesFileName());

    TPreferencesFile file;
    file.WriteIniString("S", "k", "v");
    ASSERT_TRUE(file.Save().IsOk());
    EXPECT_TRUE(fs::is_symlink(PreferencesFileName()));
    EXPECT_EQ(TTempConfigFolder::ReadFile(target), "[Other]\nx=1\n[S]\nk=v\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
}

}  // namespace

}  // namespace tarnwick
