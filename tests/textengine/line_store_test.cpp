#include "textengine/line_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/chunked_stream.h"
#include "textengine/memory_stream.h"

namespace tarnwick {
namespace {

// The loading rules written out plainly: split at CR LF, CR or LF; no line after a final
// line end; trailing blanks dropped; tabs become spaces.
std::vector<std::string> ReferenceLines(const std::string& bytes, const TLoadRules& rules) {
    std::vector<std::string> lines;
    std::string line;
    auto finish = [&] {
        if (!rules.keepTrailingBlanks)
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
        std::string out;
        for (char c : line)
            out += c == '\t' && !rules.keepTabs ? std::string(size_t(rules.spacesInTab), ' ')
                                                : std::string(1, c);
        lines.push_back(out);
        line.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            finish();
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        finish();
    return lines;
}

std::vector<std::string> Lines(const TInternalStrings& store) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < store.Count(); ++i)
        out.emplace_back(store.Text(i));
    return out;
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class LoadTest : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, SplitsLinesWhateverTheBlockAndReadSizes) {
    const LoadCase& c = GetParam();
    for (size_t block : {size_t(2), size_t(3), size_t(7), size_t(64), size_t(1) << 26}) {
        for (int64_t chunk : {int64_t(1), int64_t(5), int64_t(1) << 30}) {
            SCOPED_TRACE(testing::Message() << "block " << block << " chunk " << chunk);
            TInternalStrings store(block);
            ChunkedStream stream(c.bytes, chunk);
            store.Load(stream, TLoadRules{});
            EXPECT_EQ(Lines(store), c.lines);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, LoadTest,
    testing::Values(
        LoadCase{"Empty", "", {}}, LoadCase{"NoFinalLineEnd", "a\nb", {"a", "b"}},
        LoadCase{"FinalLineEndAddsNoLine", "a\nb\n", {"a", "b"}}, LoadCase{"OnlyLineEnd", "\n", {""}},
        LoadCase{"WindowsLineEnds", "x  \r\ny\r\n", {"x", "y"}},
        LoadCase{"CarriageReturnsOnly", "a\rb\r\rc", {"a", "b", "", "c"}},
        LoadCase{"MixedLineEnds", "a\n\rb\r\n\nc\r", {"a", "", "b", "", "c"}},
        LoadCase{"CrLfAfterEmptyLines", "\r\n\r\n", {"", ""}},
        LoadCase{"NulAndHighBytes", std::string("a\0b\n\xff\x80\n", 7), {std::string("a\0b", 3), "\xff\x80"}},
        LoadCase{"TrailingBlanksDropped", "a \t \nb\t\n   \n", {"a", "b", ""}},
        LoadCase{"TabsBecomeSpaces", "a\tb\n\tc", {"a        b", "        c"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineStoreTest, RandomBytesLoadAsTheRulesSay) {
    std::mt19937 rng(7);
    const char alphabet[] = {'a', ' ', '\t', '\r', '\n', '\0', '\xff', 'z'};
    for (int run = 0; run < 300; ++run) {
        std::string bytes(rng() % 60, ' ');
        for (char& c : bytes)
            c = alphabet[rng() % sizeof alphabet];
        TLoadRules rules;
        rules.keepTabs = rng() % 2;
        rules.keepTrailingBlanks = rng() % 2;
        rules.spacesInTab = 1 + int32_t(rng() % 4);
        TInternalStrings store(2 + rng() % 9);
        ChunkedStream stream(bytes, 1 + int64_t(rng() % 4));
        store.Load(stream, rules);
        ASSERT_EQ(Lines(store), ReferenceLines(bytes, rules)) << "run " << run;
    }
}

TEST(LineStoreTest, LoadsOneTenMegabyteLine) {
    const std::string line(10 << 20, 'q');
    TInternalStrings store;
    TMemoryStream stream(line + "\nend");
    store.Load(stream, TLoadRules{});
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Text(0), line);
    EXPECT_EQ(store.Text(1), "end");
}

TEST(LineStoreTest, StreamErrorIsReported) {
    class Failing final : public TByteStream {
    public:
        int64_t Read(void*, int64_t) override { return -1; }
        int64_t Write(const void*, int64_t) override { return -1; }
    } failing;
    TInternalStrings store;
    EXPECT_THROW(store.Load(failing, TLoadRules{}), EStreamError);
}

// Inserting, deleting and replacing lines anywhere, checked against a vector of strings;
// small texts keep the gap moving and growing.
TEST(LineStoreTest, EditsMatchAPlainVector) {
    std::mt19937 rng(11);
    TInternalStrings store(4);
    TMemoryStream stream("one\ntwo\nthree\n");
    store.Load(stream, TLoadRules{});
    std::vector<std::string> model = {"one", "two", "three"};
    for (int step = 0; step < 5000; ++step) {
        const int32_t count = store.Count();
        const std::string text = "l" + std::to_string(step);
        switch (rng() % 3) {
            case 0: {
                const int32_t at = int32_t(rng() % uint32_t(count + 1));
                store.Insert(at, text);
                model.insert(model.begin() + at, text);
                break;
            }
            case 1:
                if (count > 0) {
                    const int32_t at = int32_t(rng() % uint32_t(count));
                    store.Delete(at);
                    model.erase(model.begin() + at);
                }
                break;
            default:
                if (count > 0) {
                    const int32_t at = int32_t(rng() % uint32_t(count));
                    store.SetText(at, text);
                    model[size_t(at)] = text;
                }
        }
        ASSERT_EQ(store.Count(), int32_t(model.size()));
    }
    EXPECT_EQ(Lines(store), model);
}

// A text of thousands of lines of every kind the loader meets (line ends of both lengths,
// trailing blanks, tabs, lines longer than 64 KiB), in several blocks, then edited anywhere:
// lines, their states and flags, and what saving reads, checked against plain vectors.
TEST(LineStoreTest, ALargeLoadedTextKeepsEveryLineThroughEditsAnywhere) {
    std::mt19937 rng(23);
    std::string bytes;
    std::vector<std::string> model;
    for (int line = 0; line < 6000; ++line) {
        const uint32_t kind = rng() % 100;
        std::string text(kind == 0 ? 70000 + rng() % 100 : rng() % 90, 'a');
        for (char& c : text)
            c = char('a' + rng() % 26);
        if (kind == 1 && !text.empty())
            text[rng() % text.size()] = '\t';
        model.push_back(kind == 1 ? ReferenceLines(text, TLoadRules{})[0] : text);
        bytes += text + (kind == 2 ? "  " : "") + (kind < 10 ? "\r\n" : "\n");
    }
    TInternalStrings store(size_t(1) << 18);
    TMemoryStream stream(bytes);
    store.Load(stream, TLoadRules{});
    std::vector<uint32_t> states(model.size(), 0);
    std::vector<bool> readOnly(model.size(), false);
    std::vector<bool> upToDate(model.size(), false);
    auto expectAll = [&](int step) {
        ASSERT_EQ(Lines(store), model) << "step " << step;
        for (int32_t i = 0; i < store.Count(); ++i) {
            ASSERT_EQ(store.EndState(i), states[size_t(i)]) << "line " << i << " step " << step;
            ASSERT_EQ(store.IsReadOnly(i), readOnly[size_t(i)]) << "line " << i << " step " << step;
            ASSERT_EQ(store.IsUpToDate(i), upToDate[size_t(i)]) << "line " << i << " step " << step;
            ASSERT_NE(store.Text(i).data(), nullptr) << "line " << i << " step " << step;
        }
        const int32_t first = int32_t(rng() % model.size());
        int32_t count = 0;
        const std::string_view run = store.LoadedRun(first, store.Count() - 1, "\n", false, count);
        std::string expected;
        for (int32_t i = first; i < first + count; ++i)
            expected += model[size_t(i)] + "\n";
        ASSERT_EQ(std::string(run), expected) << "step " << step;
    };
    expectAll(-1);
    int32_t near = 0;
    for (int step = 0; step < 20000; ++step) {
        const int32_t count = store.Count();
        // Half the edits near the previous one, as typing goes; the rest anywhere.
        int32_t at = rng() % 2 ? near + int32_t(rng() % 5) - 2 : int32_t(rng() % uint32_t(count + 1));
        at = std::clamp(at, 0, count);
        near = at;
        const uint32_t op = rng() % 6;
        if (op == 0 || count == 0 || at == count) {
            const std::string text = step % 7 == 0 ? "" : "i" + std::to_string(step);
            store.Insert(at, text);
            model.insert(model.begin() + at, text);
            states.insert(states.begin() + at, 0);
            readOnly.insert(readOnly.begin() + at, false);
            upToDate.insert(upToDate.begin() + at, false);
        } else if (op == 1) {
            store.Delete(at);
            model.erase(model.begin() + at);
            states.erase(states.begin() + at);
            readOnly.erase(readOnly.begin() + at);
            upToDate.erase(upToDate.begin() + at);
        } else if (op == 2) {
            model[size_t(at)] = "s" + std::to_string(step);
            store.SetText(at, model[size_t(at)]);
            upToDate[size_t(at)] = false;
        } else if (op == 3) {
            // As the highlighter goes: a run of lines gets states and becomes up to date.
            for (int32_t i = at; i < std::min(count, at + 40); ++i) {
                states[size_t(i)] = rng() % 3;
                store.SetEndState(i, states[size_t(i)]);
                upToDate[size_t(i)] = rng() % 4 != 0;
                store.SetUpToDate(i, upToDate[size_t(i)]);
            }
        } else if (op == 4) {
            readOnly[size_t(at)] = rng() % 2;
            store.SetReadOnly(at, readOnly[size_t(at)]);
        } else {
            store.InsertText(at, 0, "x");
            model[size_t(at)].insert(0, "x");
            upToDate[size_t(at)] = false;
        }
        if (step % 3001 == 0) {
            store.ResetHighlighting(true);
            upToDate.assign(upToDate.size(), false);
        }
        ASSERT_EQ(store.Count(), int32_t(model.size()));
        if (step % 2500 == 0)
            expectAll(step);
    }
    expectAll(20000);
}

// Every range read piece by piece equals the same range of the whole line.
void ExpectRangesMatchText(const TInternalStrings& store, int32_t line) {
    const std::string whole(store.Text(line));
    ASSERT_EQ(store.TextLength(line), whole.size());
    for (size_t from = 0; from <= whole.size() + 1; from += 1 + from / 3) {
        for (size_t count : {size_t(0), size_t(1), size_t(7), whole.size()}) {
            std::string range;
            store.CopyText(line, from, count, range);
            ASSERT_EQ(range, from < whole.size() ? whole.substr(from, count) : "") << from << "+" << count;
        }
        const std::string_view piece = store.TextPiece(line, from);
        ASSERT_EQ(piece.empty(), from >= whole.size());
        ASSERT_EQ(piece, std::string_view(whole).substr(std::min(from, whole.size()), piece.size()));
    }
}

TEST(LineStoreTest, RangesReadLikeTheWholeLine) {
    TInternalStrings store(8);
    TMemoryStream stream("short\n\nsomewhat longer line\n");
    store.Load(stream, TLoadRules{});
    store.Insert(1, "inserted line");
    for (int32_t line = 0; line < store.Count(); ++line)
        ExpectRangesMatchText(store, line);
}

// Edits inside lines, checked against plain strings: with chunks of four bytes a line of more
// than sixteen is stored in chunks, so the edits cross chunk edges, split and merge chunks,
// and move lines in and out of chunked storage.
TEST(LineStoreTest, EditsInsideLinesMatchPlainStrings) {
    std::mt19937 rng(5);
    TInternalStrings store(8);
    store.SetChunkBytes(4);
    TMemoryStream stream("loaded line\tof text\nx\n");
    store.Load(stream, TLoadRules{true, 8, true});
    std::vector<std::string> model = {"loaded line\tof text", "x"};
    for (int step = 0; step < 4000; ++step) {
        const int32_t line = int32_t(rng() % uint32_t(model.size()));
        std::string& text = model[size_t(line)];
        const size_t at = rng() % (text.size() + 1);
        if (rng() % 5 < 3 || text.size() < 2) {
            const std::string bytes = std::string(rng() % 12, "ab\t "[rng() % 4]) + "yz";
            store.InsertText(line, at, bytes);
            text.insert(at, bytes);
        } else {
            const size_t count = rng() % (text.size() / 2 + 3);
            store.EraseText(line, at, count);
            text.erase(at, count);
        }
        ASSERT_EQ(store.TextLength(line), text.size()) << "step " << step;
        ASSERT_EQ(store.MayHoldTab(line), text.find('\t') != std::string::npos) << "step " << step;
        if (step % 97 == 0) {
            ExpectRangesMatchText(store, line);
            store.Insert(int32_t(model.size()), std::string(30, 'n'));
            model.emplace_back(30, 'n');
        }
    }
    EXPECT_EQ(Lines(store), model);
}

// A line set from its own bytes keeps them, whichever storage it moves between: with chunks
// of four bytes a line of more than sixteen is chunked.
TEST(LineStoreTest, ALineSetFromItsOwnTextKeepsIt) {
    TInternalStrings store(8);
    store.SetChunkBytes(4);
    TMemoryStream stream("loaded line\n");
    store.Load(stream, TLoadRules{});
    const std::string longText(40, 'c');
    store.Insert(1, "owned");
    store.Insert(2, longText);
    store.SetText(0, store.Text(0).substr(1));   // loaded to owned
    store.SetText(1, store.Text(1).substr(1));   // owned to owned
    store.SetText(2, store.Text(2).substr(30));  // chunked to owned
    EXPECT_EQ(Lines(store), (std::vector<std::string>{"oaded line", "wned", std::string(10, 'c')}));
}

// Past the most a document holds, loading stops with a message that says which limit and
// where; small limits stand for the 32-bit ones.
TEST(LineStoreTest, TextBeyondTheLimitsIsRefusedWithTheLimitNamed) {
    struct Case {
        const char* bytes;
        size_t blockBytes;
        size_t maxLineBytes;
        size_t maxLines;
        const char* message;
    };
    const Case cases[] = {
        {"a\nbb\nccc\n", 64, 2, 100, "Line 3 is longer than 2 characters, the most a line can hold."},
        // The long line outgrows its block while it is read.
        {"a\nxxxxxxxxxxxxxxxxxxxxxxxx\n", 4, 10, 100, "Line 2 is longer than 10 characters"},
        {"a\tb\n", 64, 5, 100, "Line 1 is longer than 5 characters"},  // tab to eight spaces
        {"\n\n\n", 64, 100, 2, "The text has more than 2 lines, the most a document can hold."},
    };
    for (const Case& c : cases) {
        TLoadRules rules;
        rules.maxLineBytes = c.maxLineBytes;
        rules.maxLines = c.maxLines;
        TInternalStrings loaded(c.blockBytes);
        TMemoryStream stream(c.bytes);
        try {
            loaded.Load(stream, rules);
            ADD_FAILURE() << "no error for " << c.bytes;
        } catch (const ETextLimitError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(LineStoreTest, PerLineDataTravelsWithItsLine) {
    TInternalStrings store;
    TMemoryStream stream("a\nb\nc");
    store.Load(stream, TLoadRules{});
    store.SetGutterMarks(1, 5);
    store.SetEndState(1, 77);
    store.SetReadOnly(1, true);
    store.Insert(0, "new");
    store.Delete(1);
    EXPECT_EQ(store.Text(0), "new");
    EXPECT_EQ(store.Text(1), "b");
    EXPECT_EQ(store.GutterMarks(1), 5);
    EXPECT_EQ(store.EndState(1), 77u);
    EXPECT_TRUE(store.IsReadOnly(1));
    store.SetText(1, "changed");
    EXPECT_TRUE(store.IsReadOnly(1)) << "replacing the text keeps the line's flags";
}

}  // namespace
}  // namespace tarnwick
