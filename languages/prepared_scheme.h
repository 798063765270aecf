#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "languages/block_stack_list.h"
#include "languages/char_set.h"
#include "languages/keyword_table.h"

namespace tarnwick {

class TSyntaxScheme;

// An enabled entry of a token list: its left string and its position in the full list (the
// item index that line states and styles refer to).
struct TTokenCandidate {
    std::string text;
    int position = 0;
};

// A string inside a block that opens one of its child blocks.
struct TBlockOpener {
    std::string text;
    int blockIndex = 0;
    int delimiterIndex = 0;
    bool caseSensitive = false;
    bool partOfBlock = false;
};

// The openers of the child blocks of every block with one ID. Blocks that share an ID share
// their children, so these lists are built once per ID, not once per block.
struct TOpenerLists {
    std::vector<TBlockOpener> outside;
    std::vector<TBlockOpener> partOfBlock;
    TCharSet partOfBlockStarts;  // first characters, in either letter case
    TCharSet outsideEnds;        // outside openers stand just before the cursor
};

// Per-block lookup data, built once per preparation from the enabled entries only.
struct TPreparedBlock {
    std::vector<TTokenCandidate> singleLineComments;
    std::vector<TTokenCandidate> multiLineComments;
    std::vector<TTokenCandidate> fullLineComments;
    std::vector<TTokenCandidate> singleLineStrings;
    std::vector<TTokenCandidate> multiLineStrings;
    std::vector<std::string> numPrefixes;
    std::vector<std::string> numSuffixes;
    std::vector<std::string> identPrefixes;
    std::vector<std::string> identSuffixes;
    std::vector<int> keywordSetFontIDs;  // by ordinal among the enabled sets
    TKeywordTable keywords;
    std::size_t openers = 0;  // index into TPreparedScheme::openerLists
    bool caseSensitive = false;

    // Characters a recogniser's match can start with (in either letter case), so that a token
    // step skips recognisers that cannot match at the cursor without trying their lists.
    TCharSet commentStarts;
    TCharSet stringStarts;
    TCharSet numberStarts;
    TCharSet identifierStarts;

    // The style byte of each token code whose style does not depend on the entry that matched.
    std::array<std::uint8_t, 13> fixedStyles{};
};

// Which attribute a style number paints with.
enum : std::int32_t { kStyleNone = -1, kStyleLink = -2, kStyleSubstitute = -3 };

struct TPreparedScheme {
    std::vector<TPreparedBlock> blocks;
    std::vector<TOpenerLists> openerLists;
    TCharSet freeSymbols;  // symbol characters that no token of any block uses
    TBlockStackList stacks;
    // Entry n: index into the font table, or one of the kStyle values.
    std::array<std::int32_t, 256> styleTable{};

    void Build(const TSyntaxScheme& scheme);
};

// The printable ASCII punctuation except "_", plus code 127.
[[nodiscard]] const TCharSet& SymbolCharacters();

// Splits comma text: items separated by commas or blanks, double-quoted where they hold either.
[[nodiscard]] std::vector<std::string> SplitCommaText(std::string_view text);
// The comma text SplitCommaText reads back: items joined by commas, an item that is empty or
// holds a comma, a blank or a quote enclosed in double quotes (its quotes doubled).
[[nodiscard]] std::string JoinCommaText(const std::vector<std::string>& items);

}  // namespace tarnwick
