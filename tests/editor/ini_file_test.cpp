#include "widgets/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace tarnwick {

namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsTheValueAsTheProfileFunctionsDo) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(TIniFile::Parse(c.text).ReadString(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniReadTest,
    testing::Values(
        ReadCase{"KeyInSection", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"NamesIgnoreAsciiCase", "[text prefs]\nINSERTMODE=v", "Text Prefs", "InsertMode", "v"},
        ReadCase{"BlanksAroundNamesAndValueTrimmed", " [ S ] \n \t k \t=  v w \t\n", "S", "k", "v w"},
        ReadCase{"ValueKeepsLaterEquals", "[S]\nk=a=b", "S", "k", "a=b"},
        ReadCase{"EmptyValue", "[S]\nk=\n", "S", "k", ""},
        ReadCase{"FirstDuplicateKeyWins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        ReadCase{"RepeatedSectionIsSearchedToo", "[S]\na=1\n[T]\nk=0\n[s]\nk=2\n", "S", "k", "2"},
        ReadCase{"KeyOfAnotherSectionIsNotSeen", "[T]\nk=1\n[S]\n", "S", "k", std::nullopt},
        ReadCase{"KeysBeforeAnySectionAreUnreachable", "k=1\n[S]\n", "S", "k", std::nullopt},
        ReadCase{"NoSectionsAtAll", "k=1\nsomething\n", "S", "k", std::nullopt},
        ReadCase{"CrOnlyLineEnds", "[S]\rk=v\rj=w", "S", "j", "w"},
        ReadCase{"CrLfLeavesNoCrInTheValue", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"HeaderWithoutClosingBracket", "[S\nk=v", "S", "k", "v"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\nk\nk=v", "S", "k", "v"},
        ReadCase{"BinaryBytesAndNulKept", "[S]\n\xff\x01=x\nk=\xe9\0z\n"s, "S", "k", "\xe9\0z"s},
        ReadCase{"EmptyFile", "", "S", "k", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    std::string before;
    const char* value;
    std::string after;
};

class IniWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyTheLineOfTheKey) {
    const WriteCase& c = GetParam();
    TIniFile file = TIniFile::Parse(c.before);
    file.WriteString("S", "k", c.value);
    EXPECT_EQ(file.Text(), c.after);
    EXPECT_EQ(file.ReadString("s", "K"), std::string(c.value).substr(0, std::string(c.value).find('\n')));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, IniWriteTest,
    testing::Values(
        WriteCase{"ReplacesTheLineKeepingItsEnding", "; note\n[S]\r\n K = old \r\n[T]\nk=x\n", "new",
                  "; note\n[S]\r\nk=new\r\n[T]\nk=x\n"},
        WriteCase{"FirstOfDuplicateKeysReplaced", "[S]\nk=1\nk=2\n", "v", "[S]\nk=v\nk=2\n"},
        WriteCase{"NewKeyAfterTheLastKeyOfTheSection", "[S]\na=1\n; c\nb=2\n\n[T]\nc=3\n", "v",
                  "[S]\na=1\n; c\nb=2\nk=v\n\n[T]\nc=3\n"},
        WriteCase{"NewKeyInSectionWithoutKeys", "[S]\n; only a note\n", "v", "[S]\nk=v\n; only a note\n"},
        WriteCase{"NewKeyIntoTheFirstOfRepeatedSections", "[S]\na=1\n[S]\nb=2\n", "v",
                  "[S]\na=1\nk=v\n[S]\nb=2\n"},
        WriteCase{"NewSectionWithTheFileLineEnds", "[T]\r\nb=2", "v", "[T]\r\nb=2\r\n[S]\r\nk=v\r\n"},
        WriteCase{"CrOnlyFileStaysCrOnly", "[S]\ra=1\r", "v", "[S]\ra=1\rk=v\r"},
        WriteCase{"EmptyFile", "", "v", "[S]\nk=v\n"},
        WriteCase{"ValueCannotAddLines", "[S]\n", "v\n[X]\nz=1", "[S]\nk=v\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, SectionExistsOnlyWithAKey) {
    EXPECT_FALSE(TIniFile::Parse("[S]\n; nothing\n[T]\nk=1\n").SectionExists("S"));
    EXPECT_TRUE(TIniFile::Parse("[T]\n[s]\nk=\n").SectionExists("S"));
}

// Whatever the bytes, parsing gives them back unchanged, and a write only adds to them.
TEST(IniFileTest, AnyBytesSurviveReadingAndWriting) {
    std::mt19937 random(4);
    std::string noise(1 << 16, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() % 256);
    const std::string inputs[] = {
        noise,
        "[S]\n" + std::string(1 << 20, 'x') + "=" + std::string(1 << 20, 'y'),
        "\r\r\n\n\r[\r]\r=\r[S\0]\r\n"s,
        "no sections, no ending",
        "[S]\nk=1\nk=2\n[S]\nk=3",
    };
    for (const std::string& input : inputs) {
        TIniFile file = TIniFile::Parse(input);
        EXPECT_EQ(file.Text(), input);
        (void)file.ReadString("S", "k");
        file.WriteString("Elsewhere", "k", "v");
        EXPECT_EQ(file.Text().substr(0, input.size()), input);
        EXPECT_EQ(file.ReadString("Elsewhere", "k"), "v");
    }
}

}  // namespace

}  // namespace tarnwick
