// A bounded mutation fuzzer for the object-stream reader and everything behind it: the shipped
// files are cut, spliced and sprinkled with the format's own tokens and random bytes, then read
// as schemes and templates. Whatever loads must write a text that reads back to itself, and a
// loaded scheme must highlight any line. Under the sanitizers a crash, an out-of-bounds read or
// a hang fails the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "languages/code_templates.h"
#include "languages/object_stream.h"
#include "languages/syntax_parser.h"
#include "languages/text_file.h"

namespace tarnwick {
namespace {

constexpr int kInputs = 4000;
constexpr std::size_t kMaxInputBytes = 64 * 1024;

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    const auto folder = std::filesystem::path(TARNWICK_SOURCE_DIR) / "data/System/Languages";
    for (const char* name : {"EDIF.syn", "Verilog.syn", "VHDL.syn", "EDIF.tpl"})
        seeds.push_back(ReadTextFile((folder / name).string()));
    return seeds;
}

class TMutator {
public:
    explicit TMutator(std::vector<std::string> seeds) : seeds_(std::move(seeds)) {}

    std::string Next() {
        std::string text = seeds_[Pick(seeds_.size())];
        const int mutations = 1 + static_cast<int>(Pick(3));
        for (int i = 0; i < mutations && !text.empty(); ++i)
            Mutate(text);
        if (text.size() > kMaxInputBytes)
            text.resize(kMaxInputBytes);
        return text;
    }

private:
    std::size_t Pick(std::size_t n) { return n == 0 ? 0 : random_() % n; }

    void Mutate(std::string& text) {
        static const char* const tokens[] = {"<",
                                             ">",
                                             "<>",
                                             "item",
                                             "end",
                                             "end>",
                                             "'",
                                             "''",
                                             "#",
                                             "#9",
                                             "#300",
                                             "+",
                                             "=",
                                             "[",
                                             "]",
                                             "(",
                                             ")",
                                             "{",
                                             "}",
                                             "object T",
                                             "-",
                                             "$",
                                             "True",
                                             "-1",
                                             "255",
                                             "256",
                                             "ParentID = 0",
                                             "ID = 0",
                                             "UseKeywords = True"};
        const std::size_t at = Pick(text.size() + 1);
        switch (Pick(6)) {
            case 0:
                text.resize(std::max(at, text.size() - Pick(40)));
                break;  // cut the end
            case 1:
                text[Pick(text.size())] = static_cast<char>(random_());
                break;  // flip a byte
            case 2:
                text.insert(at, tokens[Pick(std::size(tokens))]);
                break;
            case 3:
                text.erase(at, Pick(64));
                break;
            case 4: {  // duplicate a slice
                const std::size_t from = Pick(text.size());
                text.insert(at, text.substr(from, Pick(512)));
                break;
            }
            default: {  // splice another seed
                const std::string& other = seeds_[Pick(seeds_.size())];
                text = text.substr(0, at) + other.substr(Pick(other.size()));
                break;
            }
        }
    }

    std::vector<std::string> seeds_;
    std::mt19937 random_{20261210};
};

void HighlightSomeLines(const TSyntaxScheme& scheme, std::mt19937& random) {
    TSyntaxParser parser;
    parser.SetSyntaxScheme(scheme);
    const std::string lines[] = {"(cell (rename x \"a%34%b\") (comment \"(c)\"", "/* x */ \"s\\\" // c",
                                 "16#FF# -- end", "`define W 8'hFF", std::string(300, '(')};
    uint32_t state = 0;
    for (const std::string& line : lines) {
        std::string styles(line.size(), '\0');
        state = parser.ParseLine(line, state, styles);
    }
    std::string noise(200, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string styles(noise.size(), '\0');
    parser.ParseLine(noise, static_cast<uint32_t>(random()), styles);
    (void)parser.GetStyleFont(static_cast<int>(random() % 300) - 20);
}

TEST(ObjectStreamFuzzTest, AnyMutationOfTheShippedFilesIsHandled) {
    TMutator mutator(Seeds());
    std::mt19937 random(7);
    int schemesLoaded = 0;
    for (int i = 0; i < kInputs; ++i) {
        const std::string input = mutator.Next();
        TSyntaxScheme scheme;
        try {
            scheme.ReadFromText(input);
        } catch (const TObjectStreamError&) {
            continue;
        }
        ++schemesLoaded;
        const std::string written = scheme.WriteToText();
        TSyntaxScheme again;
        again.ReadFromText(written);
        ASSERT_EQ(again.WriteToText(), written) << "input " << i;
        HighlightSomeLines(scheme, random);

        TMemoCodeTemplates templates;
        try {
            templates.ReadFromText(input);
        } catch (const TTemplateReadError&) {
            continue;
        }
        TMemoCodeTemplates templatesAgain;
        templatesAgain.ReadFromText(templates.WriteToText());
        ASSERT_EQ(templatesAgain, templates) << "input " << i;
    }
    // The mutations must leave enough inputs valid to reach the scheme and the highlighter.
    EXPECT_GT(schemesLoaded, kInputs / 10);
}

}  // namespace
}  // namespace tarnwick
