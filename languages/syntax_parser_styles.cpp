// Construction, scheme and default-attribute handling, and the resolution of style numbers to
// fonts and backgrounds.

#include "languages/syntax_parser.h"

namespace tarnwick {

namespace {

constexpr int kLinkStyle = 12;

TAttrItem BuiltInAttr(const char* globalID, int fontID) {
    TAttrItem attr;
    attr.GlobalAttrID = globalID;
    attr.FontID = fontID;
    attr.BlockID = 0;
    attr.UseDefFont = false;
    attr.UseDefBack = false;
    return attr;
}

// A valid block tree has at most 256 distinct IDs, so no walk up it is longer.
constexpr int kMaxTreeDepth = 257;

template <class Map>
auto FirstWith(const Map& map, int key) -> typename Map::mapped_type {
    const auto it = map.find(key);
    return it == map.end() ? nullptr : it->second;
}

}  // namespace

TSyntaxParser::TSyntaxParser()
    : linkAttr_(BuiltInAttr("Url", kLinkStyle)), substituteAttr_(BuiltInAttr("Whitespace", -1)) {
    defaultAttr_.Font.Name = "Courier New";
    defaultAttr_.Font.Size = 10;
    defaultAttr_.Font.Height = FontHeightFromSize(10);
    defaultAttr_.BackColor = clWindow;
    scheme_.SetOwner(this);
    Reset();
}

TSyntaxParser::~TSyntaxParser() { scheme_.SetOwner(nullptr); }

void TSyntaxParser::SetSyntaxScheme(const TSyntaxScheme& other) {
    if (&other == &scheme_)
        return;
    scheme_.Clear();
    scheme_.Assign(other);  // the owned scheme's Assign resets this highlighter
}

void TSyntaxParser::SetDefaultAttr(const TAttrItem& attr) {
    static_cast<TAttrItem&>(defaultAttr_) = attr;
    UpdateStyles();
}

void TSyntaxParser::SetDefaultFont(const TFontDesc& font) {
    if (font == defaultAttr_.Font)
        return;
    defaultAttr_.Font = font;
    UpdateStyles();
}

void TSyntaxParser::SetDefaultBackColor(TColorValue color) {
    if (color == defaultAttr_.BackColor)
        return;
    defaultAttr_.BackColor = color;
    UpdateStyles();
}

void TSyntaxParser::SetGlobalUrlColor(std::optional<TColorValue> color) {
    urlColor_ = color;
    UpdateStyles();
}

void TSyntaxParser::Reset() {
    scheme_.Prepare();
    SelectStack(0);
    delimiterIndex_ = 0;
    itemIndex_ = 0;
    tokenCode_ = 0;
    cursor_ = 0;
    UpdateStyles();
}

// The nearest text style, walking from the block that owns an attribute up through its parents,
// that brings its own font (wantFont) or its own background. The walk is bounded by the number
// of blocks, so a parent cycle in a damaged scheme cannot hang it.
const TAttrItem* TSyntaxParser::NearestTextStyle(const TStyleLookup& lookup, int blockID,
                                                 bool wantFont) const {
    const TSyntaxBlock* block = FirstWith(lookup.blockByID, blockID);
    for (int steps = 0; block && steps < kMaxTreeDepth; ++steps) {
        if (const TAttrItem* text = FirstWith(lookup.attrByFontID, block->FIText)) {
            if (wantFont ? !text->UseDefFont : !text->UseDefBack)
                return text;
        }
        block = FirstWith(lookup.blockByID, block->ParentID);
    }
    return nullptr;
}

void TSyntaxParser::ResolveAttr(const TStyleLookup& lookup, TAttrItem& attr, const TFontDesc& baseFont,
                                TColorValue baseBack) const {
    attr.ResolvedFont = attr.Font;
    const TFontDesc* sizeSource = &attr.Font;
    if (attr.UseDefFont) {
        const TAttrItem* text = NearestTextStyle(lookup, attr.BlockID, true);
        sizeSource = text ? &text->Font : &baseFont;
    }
    attr.ResolvedFont.Name = sizeSource->Name;
    attr.ResolvedFont.Size = sizeSource->Size;
    attr.ResolvedFont.Height = sizeSource->Height;
    if (attr.UseDefBack) {
        const TAttrItem* text = NearestTextStyle(lookup, attr.BlockID, false);
        attr.ResolvedBack = text ? text->BackColor : baseBack;
    } else {
        attr.ResolvedBack = attr.BackColor;
    }
}

void TSyntaxParser::UpdateStyles() {
    const TFontDesc& base = defaultAttr_.Font;
    const TColorValue baseBack = defaultAttr_.BackColor;

    linkAttr_.ResolvedFont = base;
    linkAttr_.ResolvedFont.Color = urlColor_.value_or(base.Color);
    linkAttr_.ResolvedFont.Style = fsUnderline;
    linkAttr_.ResolvedBack = baseBack;

    substituteAttr_.ResolvedFont = base;
    substituteAttr_.ResolvedFont.Style = 0;
    substituteAttr_.ResolvedBack = baseBack;

    auto& table = scheme_.Prepared().styleTable;
    table.fill(kStyleNone);
    table[kLinkStyle] = kStyleLink;
    TFontList& fonts = scheme_.FontTable;
    if (fonts.Empty())
        table[0] = kStyleSubstitute;
    TStyleLookup lookup;
    for (const TSyntaxBlock& block : scheme_.SyntaxBlocks)
        lookup.blockByID.try_emplace(block.ID, &block);
    for (const TAttrItem& attr : fonts)
        lookup.attrByFontID.try_emplace(attr.FontID, &attr);
    for (std::size_t i = 0; i < fonts.Count(); ++i) {
        TAttrItem& attr = fonts[i];
        if (attr.FontID >= 0 && attr.FontID <= 255)
            table[static_cast<std::size_t>(attr.FontID)] = static_cast<std::int32_t>(i);
        ResolveAttr(lookup, attr, base, baseBack);
    }
    NotifyStylesChanged();
}

const TAttrItem& TSyntaxParser::AttrOfStyle(int style) const {
    if (style < 0 || style > 255)
        return substituteAttr_;
    const std::int32_t entry = scheme_.Prepared().styleTable[static_cast<std::size_t>(style)];
    if (entry == kStyleLink)
        return linkAttr_;
    if (entry >= 0 && static_cast<std::size_t>(entry) < scheme_.FontTable.Count())
        return scheme_.FontTable[static_cast<std::size_t>(entry)];
    return substituteAttr_;
}

TFontDesc TSyntaxParser::GetStyleFont(int style) { return AttrOfStyle(style).ResolvedFont; }

bool TSyntaxParser::GetStyleBack(int style, TColorValue& colour) {
    colour = AttrOfStyle(style).ResolvedBack;
    return true;
}

}  // namespace tarnwick
