#pragma once

#include <string>
#include <vector>

#include "languages/char_set.h"
#include "languages/syntax_token.h"

namespace tarnwick {

// One lexical context of a scheme. Blocks form a tree through ID and ParentID; the
// BlockDelimiters say which strings open and close this block inside its parent.
struct TSyntaxBlock {
    static TCharSet DefaultFirstIdentChars();
    static TCharSet DefaultOtherIdentChars();

    std::string Name;
    int ID = -1;
    int ParentID = -1;
    bool CaseSensitive = false;
    bool UseMetaSymbol = false;
    bool UseMetaToWrapLines = true;
    char MetaSymbol = '\0';
    int FIText = -1;
    int FIIntNum = -1;
    int FIFloatNum = -1;
    int FIHexNum = -1;
    int FIDirective = -1;
    int FISymbol = -1;
    int FIIdentifier = -1;
    bool UseSymbols = false;
    bool UseLineDirectives = false;
    bool UseComments = false;
    bool UseSingleLineComments = false;
    bool UseMultiLineComments = false;
    bool UseFullLineComments = false;
    bool UseStrings = false;
    bool UseSingleLineStrings = false;
    bool UseMultiLineStrings = false;
    bool UseNumbers = false;
    bool UsePrefixedNumbers = false;
    bool UseSuffixedNumbers = false;
    bool UseMultipleNumSuffixes = false;
    bool UsePrefixedSuffixedNumbers = false;
    bool UsePSNumComposition = false;
    bool UseIdentifiers = false;
    bool UsePrefixedIdentifiers = false;
    bool UseSuffixedIdentifiers = false;
    bool UsePrefixedSuffixedIdentifiers = false;
    bool UseKeywords = false;
    std::vector<TDelimiters> BlockDelimiters;
    std::string LineDirectivePrefix;
    std::vector<TLineToken> SingleLineCommentDelimiters;
    std::vector<TBlockToken> MultiLineCommentDelimiters;
    std::vector<TLineToken> FullLineCommentDelimiters;
    std::vector<TBlockToken> SingleLineStringDelimiters;
    std::vector<TBlockToken> MultiLineStringDelimiters;
    std::vector<TLineToken> NumPrefixes;
    std::vector<TLineToken> NumSuffixes;
    std::vector<TBlockToken> NumPrefixesSuffixes;
    std::vector<TLineToken> IdentPrefixes;
    std::vector<TLineToken> IdentSuffixes;
    std::vector<TBlockToken> IdentPrefixesSuffixes;
    std::vector<TKeywordSet> KeywordSets;
    TCharSet FirstIdentChars = DefaultFirstIdentChars();
    TCharSet OtherIdentChars = DefaultOtherIdentChars();

    // The seven style numbers of the block itself, in stream order.
    [[nodiscard]] std::vector<int*> BlockStyles();

    friend bool operator==(const TSyntaxBlock&, const TSyntaxBlock&) = default;
};

inline TCharSet TSyntaxBlock::DefaultFirstIdentChars() {
    TCharSet set = TCharSet::Range('A', 'Z');
    set.AddRange('a', 'z');
    set.Add('_');
    return set;
}

inline TCharSet TSyntaxBlock::DefaultOtherIdentChars() {
    TCharSet set = DefaultFirstIdentChars();
    set.AddRange('0', '9');
    return set;
}

inline std::vector<int*> TSyntaxBlock::BlockStyles() {
    return {&FIText, &FIIntNum, &FIFloatNum, &FIHexNum, &FIDirective, &FISymbol, &FIIdentifier};
}

}  // namespace tarnwick
