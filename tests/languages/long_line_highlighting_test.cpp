// A long line is highlighted piece by piece: the buffer keeps parse points in it, re-parses
// from the point before an edit until the old parse holds again, and parses the styles of the
// columns a view shows from the point before them. Whatever the edits, every style and the
// line's end state must be what one parse of the whole line gives.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "languages/shipped/shipped_languages.h"
#include "languages/syntax_parser.h"
#include "textengine/memo_source.h"
#include "textengine/memory_stream.h"

namespace tarnwick {
namespace {

// Mostly what a netlist or a source file holds, and now and then a delimiter that opens or
// closes a string, a comment or a block far from where the parse resumes.
const std::vector<std::string> kCommon = {
    " ",
    "  ",
    "(",
    ")",
    "(cell ",
    "(net n12 ",
    "(portRef A) ",
    "abc",
    "x_1",
    "42 ",
    "1.5e3 ",
    "16'h1F ",
    "begin ",
    "end ",
    "module ",
    "signal ",
    ";",
    ", ",
    "\"name\" ",
    "(comment \"made\") ",
};
const std::vector<std::string> kRare = {"\"", "/*",       "*/",        "--", "//",
                                        "'",  "`define ", "(comment ", "%",  "\\"};

std::string Token(std::mt19937& random) {
    const std::vector<std::string>& from = random() % 10 == 0 ? kRare : kCommon;
    return from[random() % from.size()];
}

std::string LongLine(std::mt19937& random, size_t bytes) {
    std::string line;
    while (line.size() < bytes)
        line += Token(random);
    return line;
}

struct TWholeLines {
    std::vector<std::string> styles;
    std::vector<uint32_t> ends;
};

// The reference: every line parsed whole, each from the end state of the line before.
TWholeLines ParseWhole(TSyntaxParser& parser, const TMemoSource& buffer) {
    TWholeLines whole;
    uint32_t state = parser.DefaultState();
    for (int32_t line = 0; line < buffer.LineCount(); ++line) {
        const std::string text(buffer.StoredLine(line));
        std::string styles(text.size(), '\0');
        state = parser.ParseLine(text, state, styles);
        whole.styles.push_back(styles);
        whole.ends.push_back(state);
    }
    return whole;
}

class LongLineHighlightingTest : public testing::TestWithParam<void (*)(TSyntaxScheme&)> {
protected:
    void SetUp() override {
        TSyntaxScheme scheme;
        GetParam()(scheme);
        highlighter_.SetSyntaxScheme(scheme);
        reference_.SetSyntaxScheme(scheme);
    }

    // Checks the styles of [from, from + count) of the long line, as a view reads them, and
    // the whole text against the reference.
    void ExpectAsWhole(size_t from, size_t count, bool everything) {
        const TWholeLines whole = ParseWhole(reference_, buffer_);
        const std::string& line = whole.styles[1];
        from = std::min(from, line.size());
        count = std::min(count, line.size() - from);
        ASSERT_EQ(buffer_.StoredColours(1, from, count), line.substr(from, count)) << "at " << from;
        if (!everything)
            return;
        for (int32_t i = 0; i < buffer_.LineCount(); ++i)
            ASSERT_EQ(buffer_.LineColors(i), whole.styles[size_t(i)]) << "line " << i;
        EXPECT_EQ(buffer_.Store().EndState(1), whole.ends[1]);
    }

    // A short line, a long one of common tokens only, and a short one, highlighted.
    void LoadOrdinaryLine(unsigned seed, size_t bytes) {
        std::mt19937 random(seed);
        std::string line;
        while (line.size() < bytes)
            line += kCommon[random() % kCommon.size()];
        TMemoryStream stream("(short)\r\n" + line + "\r\n(after) \"it\" 7\r\n");
        buffer_.LoadFromStream(stream);
        buffer_.SetSyntaxParser(&highlighter_);
        ExpectAsWhole(0, 100, true);
    }

    TSyntaxParser highlighter_;
    TSyntaxParser reference_;
    TMemoSource buffer_;
};

TEST_P(LongLineHighlightingTest, RandomEditsKeepTheStylesOfAWholeParse) {
    std::mt19937 random(7);
    TMemoryStream stream("(short (line \"before\")\r\n" + LongLine(random, 300'000) +
                         "\r\n(after) \"it\" 7\r\n");
    buffer_.SetLongLineChunkBytes(512);  // edits cross chunk edges
    buffer_.LoadFromStream(stream);
    buffer_.SetSyntaxParser(&highlighter_);
    ExpectAsWhole(0, 200, true);

    for (int round = 0; round < 120; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int32_t length = buffer_.LineLength(1);
        const int32_t at = int32_t(random() % uint32_t(length));
        buffer_.SetCaret(at, 1);
        switch (random() % 4) {
            case 0:
            case 1:
                buffer_.InsertString(Token(random));
                break;
            case 2:
                buffer_.DeleteChars(int32_t(1 + random() % 40));
                break;
            default:
                if (buffer_.CanUndo())
                    buffer_.Undo();
                break;
        }
        // What a view shows next to the edit, and sometimes far from it.
        const size_t shown = random() % 2 == 0 ? size_t(std::max(at - 30, 0)) : random() % uint32_t(length);
        ExpectAsWhole(shown, 120, round % 20 == 19);
    }
    ExpectAsWhole(0, 0, true);
}

// An edit that changes how the rest of the line parses, then one that changes it back: the
// parse runs to the line's end and the next line's start state follows.
TEST_P(LongLineHighlightingTest, AnEditThatChangesTheRestOfTheLineReachesItsEnd) {
    LoadOrdinaryLine(11, 200'000);
    EXPECT_GT(buffer_.Store().LongLineParse(1)->Points().size(), 40u);  // resumes inside the line
    for (const std::string opener : {"\"", "/*", "--", "(comment "}) {
        SCOPED_TRACE(opener);
        buffer_.SetCaret(1000, 1);
        buffer_.InsertString(opener);
        ExpectAsWhole(190'000, 100, true);
        buffer_.Undo();
        ExpectAsWhole(190'000, 100, true);
    }
}

// An insertion right at a kept point glues the token before the point to the new byte: a
// keyword there stops being one, and the styles around the point follow.
TEST_P(LongLineHighlightingTest, AnInsertionAtAPointReparsesTheTokenBeforeIt) {
    LoadOrdinaryLine(5, 100'000);
    const std::vector<TParsePoint> points = buffer_.Store().LongLineParse(1)->Points();
    for (size_t k = 1; k < points.size(); k += 2) {
        SCOPED_TRACE("point at " + std::to_string(points[k].offset));
        buffer_.SetCaret(int32_t(points[k].offset), 1);
        buffer_.InsertString("x");
        ExpectAsWhole(points[k].offset - 20, 40, false);
        buffer_.Undo();
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSchemes, LongLineHighlightingTest,
                         testing::Values(&MakeEdifScheme, &MakeVerilogScheme, &MakeVhdlScheme));

}  // namespace
}  // namespace tarnwick
