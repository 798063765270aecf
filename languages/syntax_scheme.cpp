#include "languages/syntax_scheme.h"

#include <set>
#include <unordered_map>

#include "languages/object_stream.h"
#include "languages/syntax_parser.h"
#include "languages/text_file.h"

namespace tarnwick {

namespace {

constexpr int kMaxStyle = 255;

// Blocks without an ID take the lowest numbers no block uses (0 once all are taken), in one
// pass, so that a file with many such blocks loads in linear time.
void NumberBlocksWithoutID(std::vector<TSyntaxBlock>& blocks) {
    std::vector<bool> used(kMaxStyle + 1, false);
    for (const TSyntaxBlock& block : blocks)
        if (block.ID >= 0 && block.ID <= kMaxStyle)
            used[static_cast<std::size_t>(block.ID)] = true;
    int next = 0;
    for (TSyntaxBlock& block : blocks) {
        if (block.ID != -1)
            continue;
        while (next <= kMaxStyle && used[static_cast<std::size_t>(next)])
            ++next;
        block.ID = next <= kMaxStyle ? next : 0;
        if (next <= kMaxStyle)
            used[static_cast<std::size_t>(next)] = true;
    }
}

// The twelve token lists of a block (all but BlockDelimiters), as their FontIDs.
template <class Visit>
void ForEachTokenFontID(TSyntaxBlock& block, Visit&& visit) {
    const auto each = [&](auto& tokens) {
        for (auto& token : tokens)
            visit(token.FontID);
    };
    each(block.SingleLineCommentDelimiters);
    each(block.MultiLineCommentDelimiters);
    each(block.FullLineCommentDelimiters);
    each(block.SingleLineStringDelimiters);
    each(block.MultiLineStringDelimiters);
    each(block.NumPrefixes);
    each(block.NumSuffixes);
    each(block.NumPrefixesSuffixes);
    each(block.IdentPrefixes);
    each(block.IdentSuffixes);
    each(block.IdentPrefixesSuffixes);
    each(block.KeywordSets);
}

}  // namespace

TSyntaxScheme::TSyntaxScheme() {
    TSyntaxBlock root;
    root.Name = "Default";
    root.ID = 0;
    SyntaxBlocks.push_back(std::move(root));
}

void TSyntaxScheme::Clear() {
    Name.clear();
    SyntaxVersion = 1;
    SyntaxBlocks.clear();
    FontTable.Clear();
}

void TSyntaxScheme::CopyStoredFrom(const TSyntaxScheme& other) {
    SyntaxVersion = other.SyntaxVersion;
    Name = other.Name;
    FontTable = other.FontTable;
    SyntaxBlocks = other.SyntaxBlocks;
}

void TSyntaxScheme::Assign(const TSyntaxScheme& other) {
    if (&other != this)
        CopyStoredFrom(other);
    if (owner_)
        owner_->Reset();
    else
        Prepare();
}

void TSyntaxScheme::Prepare() {
    UpgradeVersion();
    prepared_.Build(*this);
}

void TSyntaxScheme::UpgradeVersion() {
    if (SyntaxVersion < 2) {
        NumberBlocksWithoutID(SyntaxBlocks);
        // Old files have one level of nesting: every block sits directly in the root.
        for (std::size_t i = 0; i < SyntaxBlocks.size(); ++i)
            SyntaxBlocks[i].ParentID = i == 0 ? -1 : SyntaxBlocks[0].ID;
        std::unordered_map<int, std::vector<TAttrItem*>> attrsByFontID;
        for (TAttrItem& attr : FontTable)
            attrsByFontID[attr.FontID].push_back(&attr);
        for (TSyntaxBlock& block : SyntaxBlocks) {
            const auto claim = [&](int fontID) {
                const auto it = fontID == -1 ? attrsByFontID.end() : attrsByFontID.find(fontID);
                if (it != attrsByFontID.end())
                    for (TAttrItem* attr : it->second)
                        attr->BlockID = block.ID;
            };
            for (int* style : block.BlockStyles())
                claim(*style);
            ForEachTokenFontID(block, [&](int& fontID) { claim(fontID); });
        }
    }
    SyntaxVersion = 3;
}

void TSyntaxScheme::Tidy() {
    if (SyntaxBlocks.empty())
        return;
    TSyntaxBlock& b = SyntaxBlocks[0];
    b.UseMetaSymbol = b.UseMetaSymbol && b.MetaSymbol != '\0';
    b.UseLineDirectives = b.UseLineDirectives && !b.LineDirectivePrefix.empty();

    b.UseSingleLineComments = b.UseSingleLineComments && !b.SingleLineCommentDelimiters.empty();
    b.UseMultiLineComments = b.UseMultiLineComments && !b.MultiLineCommentDelimiters.empty();
    b.UseFullLineComments = b.UseFullLineComments && !b.FullLineCommentDelimiters.empty();
    b.UseSingleLineStrings = b.UseSingleLineStrings && !b.SingleLineStringDelimiters.empty();
    b.UseMultiLineStrings = b.UseMultiLineStrings && !b.MultiLineStringDelimiters.empty();
    b.UsePrefixedNumbers = b.UsePrefixedNumbers && !b.NumPrefixes.empty();
    b.UseSuffixedNumbers = b.UseSuffixedNumbers && !b.NumSuffixes.empty();
    b.UsePrefixedIdentifiers = b.UsePrefixedIdentifiers && !b.IdentPrefixes.empty();
    b.UseSuffixedIdentifiers = b.UseSuffixedIdentifiers && !b.IdentSuffixes.empty();
    b.UsePrefixedSuffixedIdentifiers = b.UsePrefixedSuffixedIdentifiers && !b.IdentPrefixesSuffixes.empty();
    b.UseKeywords = b.UseKeywords && !b.KeywordSets.empty();
    b.UsePrefixedSuffixedNumbers =
        b.UsePrefixedSuffixedNumbers && (b.UsePSNumComposition || !b.NumPrefixesSuffixes.empty());

    b.UseComments =
        b.UseComments && (b.UseSingleLineComments || b.UseMultiLineComments || b.UseFullLineComments);
    b.UseStrings = b.UseStrings && (b.UseSingleLineStrings || b.UseMultiLineStrings);

    if (!b.UseIdentifiers)
        b.FIIdentifier = -1;
    if (!b.UseSymbols)
        b.FISymbol = -1;
    if (!b.UseLineDirectives)
        b.FIDirective = -1;
    if (!b.UseNumbers)
        b.FIIntNum = b.FIFloatNum = b.FIHexNum = -1;

    std::set<int> used;
    for (int* style : b.BlockStyles())
        if (*style != -1)
            used.insert(*style);
    const auto collect = [&](bool on, auto& tokens) {
        for (auto& token : tokens) {
            if (on)
                used.insert(token.FontID);
            else
                token.FontID = -1;
        }
    };
    collect(b.UseSingleLineComments, b.SingleLineCommentDelimiters);
    collect(b.UseMultiLineComments, b.MultiLineCommentDelimiters);
    collect(b.UseFullLineComments, b.FullLineCommentDelimiters);
    collect(b.UseSingleLineStrings, b.SingleLineStringDelimiters);
    collect(b.UseMultiLineStrings, b.MultiLineStringDelimiters);
    collect(b.UsePrefixedNumbers, b.NumPrefixes);
    collect(b.UseSuffixedNumbers, b.NumSuffixes);
    collect(b.UsePrefixedSuffixedNumbers, b.NumPrefixesSuffixes);
    collect(b.UseKeywords, b.KeywordSets);

    std::set<int> kept;
    std::size_t i = 0;
    while (i < FontTable.Count()) {
        const int fontID = FontTable[i].FontID;
        if (used.count(fontID) == 0 || !kept.insert(fontID).second)
            FontTable.Erase(i);
        else
            ++i;
    }
}

void TSyntaxScheme::LoadFromFile(const std::string& path) {
    const std::string text = ReadTextFile(path);
    TSyntaxScheme loaded;
    try {
        loaded.ReadFromText(text);
    } catch (const std::exception&) {
        throw TSchemeReadError("Can't read syntax scheme from file \"" + path + "\".");
    }
    Clear();
    Assign(loaded);
}

void TSyntaxScheme::SaveToFile(const std::string& path) const { WriteTextFile(path, WriteToText()); }

bool TSyntaxScheme::SameContentAs(const TSyntaxScheme& other) const {
    if (Name != other.Name || SyntaxVersion != other.SyntaxVersion || SyntaxBlocks != other.SyntaxBlocks ||
        FontTable.Count() != other.FontTable.Count())
        return false;
    for (std::size_t i = 0; i < FontTable.Count(); ++i)
        if (!FontTable[i].SameStoredAs(other.FontTable[i]))
            return false;
    return true;
}

}  // namespace tarnwick
