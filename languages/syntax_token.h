#pragma once

#include <string>

namespace tarnwick {

// The entries of a block's token lists. A disabled entry (UseToken false) stays in the list,
// so that item indexes stored in line states keep designating the same entry.
struct TToken {
    int FontID = -1;
    bool UseToken = true;
    friend bool operator==(const TToken&, const TToken&) = default;
};

// One string that marks a token: a line comment, a number or identifier prefix or suffix.
struct TLineToken : TToken {
    std::string LeftDelimiter;
    friend bool operator==(const TLineToken&, const TLineToken&) = default;
};

// A token between two strings: multi-line comments, strings, prefix and suffix pairs.
struct TBlockToken : TLineToken {
    std::string RightDelimiter;
    friend bool operator==(const TBlockToken&, const TBlockToken&) = default;
};

// Keywords are comma text: items separated by commas or white space, quoted when they hold either.
struct TKeywordSet : TToken {
    std::string Name;
    std::string Keywords;
    friend bool operator==(const TKeywordSet&, const TKeywordSet&) = default;
};

// The strings that open and close a nested block inside its parent.
struct TDelimiters {
    std::string LeftDelimiter;
    std::string RightDelimiter;  // empty: the block is never closed by a string
    bool DelimitersArePartOfBlock = false;
    bool UseToken = true;
    friend bool operator==(const TDelimiters&, const TDelimiters&) = default;
};

}  // namespace tarnwick
