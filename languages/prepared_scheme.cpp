#include "languages/prepared_scheme.h"

#include <algorithm>
#include <unordered_map>

#include "host/abi/ascii_text.h"
#include "languages/syntax_scheme.h"

namespace tarnwick {

namespace {

TCharSet MakeSymbolCharacters() {
    TCharSet set = TCharSet::Range(33, 47);
    set.AddRange(58, 64);
    set.AddRange(91, 94);
    set.Add(96);
    set.AddRange(123, 127);
    return set;
}

template <class Token>
void AddLeftStrings(TCharSet& used, const std::vector<Token>& tokens) {
    for (const Token& token : tokens)
        if (token.UseToken)
            used.AddChars(token.LeftDelimiter);
}

void AddBothStrings(TCharSet& used, const std::vector<TBlockToken>& tokens) {
    for (const TBlockToken& token : tokens)
        if (token.UseToken) {
            used.AddChars(token.LeftDelimiter);
            used.AddChars(token.RightDelimiter);
        }
}

// Step 3 of the preparation: every character that some token of the block relies on.
void AddUsedCharacters(TCharSet& used, const TSyntaxBlock& block) {
    used.AddSet(block.FirstIdentChars);
    used.AddSet(block.OtherIdentChars);
    if (block.UseMetaSymbol)
        used.Add(static_cast<unsigned char>(block.MetaSymbol));
    for (const TDelimiters& delimiters : block.BlockDelimiters)
        if (delimiters.UseToken) {
            used.AddChars(delimiters.LeftDelimiter);
            used.AddChars(delimiters.RightDelimiter);
        }
    if (block.UseComments) {
        if (block.UseSingleLineComments)
            AddLeftStrings(used, block.SingleLineCommentDelimiters);
        if (block.UseMultiLineComments)
            AddBothStrings(used, block.MultiLineCommentDelimiters);
        if (block.UseFullLineComments)
            AddLeftStrings(used, block.FullLineCommentDelimiters);
    }
    if (block.UseStrings) {
        if (block.UseSingleLineStrings)
            AddBothStrings(used, block.SingleLineStringDelimiters);
        if (block.UseMultiLineStrings)
            AddBothStrings(used, block.MultiLineStringDelimiters);
    }
    if (block.UseNumbers) {
        if (block.UsePrefixedNumbers)
            AddLeftStrings(used, block.NumPrefixes);
        if (block.UseSuffixedNumbers)
            AddLeftStrings(used, block.NumSuffixes);
        if (block.UsePrefixedSuffixedNumbers)
            AddBothStrings(used, block.NumPrefixesSuffixes);
    }
    if (block.UsePrefixedIdentifiers)
        AddLeftStrings(used, block.IdentPrefixes);
    if (block.UseSuffixedIdentifiers)
        AddLeftStrings(used, block.IdentSuffixes);
    if (block.UsePrefixedSuffixedIdentifiers)
        AddBothStrings(used, block.IdentPrefixesSuffixes);
    if (block.UseLineDirectives)
        used.AddChars(block.LineDirectivePrefix);
}

template <class Token>
std::vector<TTokenCandidate> Candidates(const std::vector<Token>& tokens) {
    std::vector<TTokenCandidate> result;
    for (std::size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].UseToken)
            result.push_back({tokens[i].LeftDelimiter, static_cast<int>(i)});
    return result;
}

std::vector<std::string> LeftStrings(const std::vector<TLineToken>& tokens) {
    std::vector<std::string> result;
    for (const TLineToken& token : tokens)
        if (token.UseToken)
            result.push_back(token.LeftDelimiter);
    return result;
}

void BuildKeywords(TPreparedBlock& prepared, const TSyntaxBlock& block) {
    prepared.keywords = TKeywordTable(!block.CaseSensitive);
    for (const TKeywordSet& set : block.KeywordSets) {
        if (!set.UseToken)
            continue;
        const int ordinal = static_cast<int>(prepared.keywordSetFontIDs.size());
        prepared.keywordSetFontIDs.push_back(set.FontID);
        for (const std::string& word : SplitCommaText(set.Keywords))
            prepared.keywords.Add(word, ordinal);
    }
}

// Block indexes by ParentID, in block order.
using TChildIndex = std::unordered_map<int, std::vector<std::size_t>>;

void AddEitherCase(TCharSet& set, char c);

TOpenerLists BuildOpeners(int parentID, const std::vector<TSyntaxBlock>& blocks,
                          const TChildIndex& children) {
    TOpenerLists lists;
    const auto found = children.find(parentID);
    if (found == children.end())
        return lists;
    for (std::size_t i : found->second) {
        const TSyntaxBlock& child = blocks[i];
        for (std::size_t j = 0; j < child.BlockDelimiters.size(); ++j) {
            const TDelimiters& delimiters = child.BlockDelimiters[j];
            if (!delimiters.UseToken)
                continue;
            TBlockOpener opener{delimiters.LeftDelimiter, static_cast<int>(i), static_cast<int>(j),
                                child.CaseSensitive, delimiters.DelimitersArePartOfBlock};
            if (!opener.text.empty()) {
                if (opener.partOfBlock)
                    AddEitherCase(lists.partOfBlockStarts, opener.text.front());
                else
                    AddEitherCase(lists.outsideEnds, opener.text.back());
            }
            (opener.partOfBlock ? lists.partOfBlock : lists.outside).push_back(std::move(opener));
        }
    }
    return lists;
}

// Adds c in both letter cases: a superset is harmless, the sets only let steps skip work.
void AddEitherCase(TCharSet& set, char c) {
    set.Add(static_cast<unsigned char>(ascii::ToLower(c)));
    set.Add(static_cast<unsigned char>(ascii::ToUpper(c)));
}

void AddFirstChars(TCharSet& set, const std::vector<TTokenCandidate>& candidates) {
    for (const TTokenCandidate& c : candidates)
        if (!c.text.empty())
            AddEitherCase(set, c.text.front());
}

void AddFirstChars(TCharSet& set, const std::vector<std::string>& strings) {
    for (const std::string& s : strings)
        if (!s.empty())
            AddEitherCase(set, s.front());
}

void AddLeftFirstChars(TCharSet& set, const std::vector<TBlockToken>& pairs) {
    for (const TBlockToken& pair : pairs)  // pairs are tried without looking at UseToken
        if (!pair.LeftDelimiter.empty())
            AddEitherCase(set, pair.LeftDelimiter.front());
}

std::uint8_t StyleByte(int style, int textStyle) {
    if (style == -1)
        style = textStyle;
    return style < 0 ? 255 : static_cast<std::uint8_t>(style);
}

// Token codes 0, 3, 7-10 and 12; the comment, string and keyword codes are looked up per token.
void BuildFixedStyles(TPreparedBlock& p, const TSyntaxBlock& b) {
    const int text = b.FIText;
    p.fixedStyles.fill(StyleByte(text, text));
    p.fixedStyles[3] = StyleByte(b.UseLineDirectives ? b.FIDirective : text, text);
    p.fixedStyles[7] = StyleByte(b.UseNumbers ? b.FIIntNum : text, text);
    p.fixedStyles[8] = StyleByte(b.UseNumbers ? b.FIFloatNum : text, text);
    p.fixedStyles[9] = StyleByte(b.UseNumbers ? b.FIHexNum : text, text);
    p.fixedStyles[10] = StyleByte(b.UseIdentifiers ? b.FIIdentifier : text, text);
    p.fixedStyles[12] = StyleByte(b.UseSymbols ? b.FISymbol : text, text);
}

void BuildStartSets(TPreparedBlock& p, const TSyntaxBlock& block) {
    AddFirstChars(p.commentStarts, p.singleLineComments);
    AddFirstChars(p.commentStarts, p.multiLineComments);
    AddFirstChars(p.commentStarts, p.fullLineComments);
    AddFirstChars(p.stringStarts, p.singleLineStrings);
    AddFirstChars(p.stringStarts, p.multiLineStrings);
    p.numberStarts = TCharSet::Range('0', '9');
    AddFirstChars(p.numberStarts, p.numPrefixes);
    AddLeftFirstChars(p.numberStarts, block.NumPrefixesSuffixes);
    p.identifierStarts = block.FirstIdentChars;
    AddFirstChars(p.identifierStarts, p.identPrefixes);
    AddLeftFirstChars(p.identifierStarts, block.IdentPrefixesSuffixes);
}

}  // namespace

const TCharSet& SymbolCharacters() {
    static const TCharSet symbols = MakeSymbolCharacters();
    return symbols;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> items;
    std::size_t i = 0;
    const auto blank = [&](std::size_t k) {
        return k < text.size() && static_cast<unsigned char>(text[k]) <= ' ';
    };
    while (blank(i))
        ++i;
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {  // doubled quote inside
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && !blank(i))
                item += text[i++];
        }
        items.push_back(std::move(item));
        while (blank(i))
            ++i;
        if (i < text.size() && text[i] == ',') {
            ++i;
            while (blank(i))
                ++i;
        }
    }
    return items;
}

std::string JoinCommaText(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (i > 0)
            text += ',';
        const bool quoted = item.empty() || std::any_of(item.begin(), item.end(), [](char c) {
                                return c == ',' || c == '"' || static_cast<unsigned char>(c) <= ' ';
                            });
        if (!quoted) {
            text += item;
            continue;
        }
        text += '"';
        for (char c : item)
            text += c == '"' ? std::string("\"\"") : std::string(1, c);
        text += '"';
    }
    return text;
}

void TPreparedScheme::Build(const TSyntaxScheme& scheme) {
    stacks.Reset();
    blocks.clear();
    blocks.resize(scheme.SyntaxBlocks.size());
    TCharSet used;
    TChildIndex children;
    for (std::size_t i = 0; i < scheme.SyntaxBlocks.size(); ++i)
        children[scheme.SyntaxBlocks[i].ParentID].push_back(i);
    openerLists.clear();
    std::unordered_map<int, std::size_t> openersOfID;
    for (std::size_t x = 0; x < scheme.SyntaxBlocks.size(); ++x) {
        const TSyntaxBlock& block = scheme.SyntaxBlocks[x];
        TPreparedBlock& prepared = blocks[x];
        AddUsedCharacters(used, block);
        const auto [known, isNew] = openersOfID.try_emplace(block.ID, openerLists.size());
        if (isNew)
            openerLists.push_back(BuildOpeners(block.ID, scheme.SyntaxBlocks, children));
        prepared.openers = known->second;
        prepared.singleLineComments = Candidates(block.SingleLineCommentDelimiters);
        prepared.multiLineComments = Candidates(block.MultiLineCommentDelimiters);
        prepared.fullLineComments = Candidates(block.FullLineCommentDelimiters);
        prepared.singleLineStrings = Candidates(block.SingleLineStringDelimiters);
        prepared.multiLineStrings = Candidates(block.MultiLineStringDelimiters);
        prepared.numPrefixes = LeftStrings(block.NumPrefixes);
        prepared.numSuffixes = LeftStrings(block.NumSuffixes);
        prepared.identPrefixes = LeftStrings(block.IdentPrefixes);
        prepared.identSuffixes = LeftStrings(block.IdentSuffixes);
        BuildKeywords(prepared, block);
        prepared.caseSensitive = block.CaseSensitive;
        BuildStartSets(prepared, block);
        BuildFixedStyles(prepared, block);
    }
    freeSymbols = SymbolCharacters();
    freeSymbols.RemoveSet(used);
}

}  // namespace tarnwick
