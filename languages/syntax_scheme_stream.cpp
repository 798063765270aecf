// The text form of a scheme: the object "TPersHolder" whose property P is the scheme.
// Writing follows the stored-property rules (defaults are left out); reading skips any property
// it does not know or whose value has the wrong kind, so only faults of the text abort.

#include <functional>
#include <limits>
#include <optional>
#include <unordered_map>

#include "host/abi/ascii_text.h"
#include "languages/object_stream.h"
#include "languages/stream_names.h"
#include "languages/syntax_scheme.h"

namespace tarnwick {

namespace {

using TProps = std::vector<TStreamProperty>;

// ---- writing ----------------------------------------------------------------------------

void Put(TProps& props, const char* name, TStreamValue value) {
    props.push_back(TStreamProperty{name, std::move(value)});
}

void PutInt(TProps& props, const char* name, int value, std::optional<int> unlessEqual = std::nullopt) {
    if (!unlessEqual || value != *unlessEqual)
        Put(props, name, TStreamValue::Integer(value));
}

void PutBool(TProps& props, const char* name, bool value, std::optional<bool> unlessEqual = std::nullopt) {
    if (!unlessEqual || value != *unlessEqual)
        Put(props, name, TStreamValue::Boolean(value));
}

void PutString(TProps& props, const char* name, const std::string& value) {
    if (!value.empty())
        Put(props, name, TStreamValue::String(value));
}

TStreamValue ColorValue(std::uint32_t color) {
    if (const auto name = ColorName(color))
        return TStreamValue::Identifier(std::string(*name));
    return TStreamValue::Integer(static_cast<std::int32_t>(color));
}

TProps WriteLineToken(const TLineToken& token) {
    TProps props;
    PutInt(props, "FontID", token.FontID, -1);
    PutBool(props, "UseToken", token.UseToken, true);
    PutString(props, "LeftDelimiter", token.LeftDelimiter);
    return props;
}

TProps WriteBlockToken(const TBlockToken& token) {
    TProps props = WriteLineToken(token);
    PutString(props, "RightDelimiter", token.RightDelimiter);
    return props;
}

TProps WriteKeywordSet(const TKeywordSet& set) {
    TProps props;
    PutInt(props, "FontID", set.FontID, -1);
    PutBool(props, "UseToken", set.UseToken, true);
    PutString(props, "Name", set.Name);
    PutString(props, "Keywords", set.Keywords);
    return props;
}

TProps WriteDelimiters(const TDelimiters& delimiters) {
    TProps props;
    PutString(props, "LeftDelimiter", delimiters.LeftDelimiter);
    PutString(props, "RightDelimiter", delimiters.RightDelimiter);
    PutBool(props, "DelimitersArePartOfBlock", delimiters.DelimitersArePartOfBlock, false);
    PutBool(props, "UseToken", delimiters.UseToken, true);
    return props;
}

template <class Item, class Write>
TStreamValue CollectionOf(const std::vector<Item>& items, Write write) {
    std::vector<TProps> out;
    for (const Item& item : items)
        out.push_back(write(item));
    return TStreamValue::Collection(std::move(out));
}

template <class Item, class Write>
void PutCollectionIf(TProps& props, bool condition, const char* name, const std::vector<Item>& items,
                     Write write) {
    if (condition)
        Put(props, name, CollectionOf(items, write));
}

TProps WriteBlock(const TSyntaxBlock& b) {
    TProps p;
    PutString(p, "Name", b.Name);
    PutInt(p, "ID", b.ID, -1);
    PutInt(p, "ParentID", b.ParentID, -1);
    PutBool(p, "CaseSensitive", b.CaseSensitive, false);
    PutBool(p, "UseMetaSymbol", b.UseMetaSymbol, false);
    if (b.UseMetaSymbol) {
        PutBool(p, "UseMetaToWrapLines", b.UseMetaToWrapLines);
        Put(p, "MetaSymbol", TStreamValue::String(std::string(1, b.MetaSymbol)));
    }
    PutInt(p, "FIText", b.FIText, -1);
    PutInt(p, "FIIntNum", b.FIIntNum, -1);
    PutInt(p, "FIFloatNum", b.FIFloatNum, -1);
    PutInt(p, "FIHexNum", b.FIHexNum, -1);
    PutInt(p, "FIDirective", b.FIDirective, -1);
    PutInt(p, "FISymbol", b.FISymbol, -1);
    PutInt(p, "FIIdentifier", b.FIIdentifier, -1);
    PutBool(p, "UseSymbols", b.UseSymbols, false);
    PutBool(p, "UseLineDirectives", b.UseLineDirectives, false);
    PutBool(p, "UseComments", b.UseComments, false);
    PutBool(p, "UseSingleLineComments", b.UseSingleLineComments, false);
    PutBool(p, "UseMultiLineComments", b.UseMultiLineComments, false);
    PutBool(p, "UseFullLineComments", b.UseFullLineComments, false);
    PutBool(p, "UseStrings", b.UseStrings, false);
    PutBool(p, "UseSingleLineStrings", b.UseSingleLineStrings, false);
    PutBool(p, "UseMultiLineStrings", b.UseMultiLineStrings, false);
    PutBool(p, "UseNumbers", b.UseNumbers, false);
    PutBool(p, "UsePrefixedNumbers", b.UsePrefixedNumbers, false);
    PutBool(p, "UseSuffixedNumbers", b.UseSuffixedNumbers, false);
    if (b.UseSuffixedNumbers)
        PutBool(p, "UseMultipleNumSuffixes", b.UseMultipleNumSuffixes);
    PutBool(p, "UsePrefixedSuffixedNumbers", b.UsePrefixedSuffixedNumbers, false);
    if (b.UsePrefixedSuffixedNumbers)
        PutBool(p, "UsePSNumComposition", b.UsePSNumComposition);
    PutBool(p, "UseIdentifiers", b.UseIdentifiers, false);
    PutBool(p, "UsePrefixedIdentifiers", b.UsePrefixedIdentifiers, false);
    PutBool(p, "UseSuffixedIdentifiers", b.UseSuffixedIdentifiers, false);
    PutBool(p, "UsePrefixedSuffixedIdentifiers", b.UsePrefixedSuffixedIdentifiers, false);
    PutBool(p, "UseKeywords", b.UseKeywords, false);
    PutCollectionIf(p, true, "BlockDelimiters", b.BlockDelimiters, WriteDelimiters);
    if (b.UseLineDirectives)
        PutString(p, "LineDirectivePrefix", b.LineDirectivePrefix);
    PutCollectionIf(p, b.UseSingleLineComments, "SingleLineCommentDelimiters", b.SingleLineCommentDelimiters,
                    WriteLineToken);
    PutCollectionIf(p, b.UseMultiLineComments, "MultiLineCommentDelimiters", b.MultiLineCommentDelimiters,
                    WriteBlockToken);
    PutCollectionIf(p, b.UseFullLineComments, "FullLineCommentDelimiters", b.FullLineCommentDelimiters,
                    WriteLineToken);
    PutCollectionIf(p, b.UseSingleLineStrings, "SingleLineStringDelimiters", b.SingleLineStringDelimiters,
                    WriteBlockToken);
    PutCollectionIf(p, b.UseMultiLineStrings, "MultiLineStringDelimiters", b.MultiLineStringDelimiters,
                    WriteBlockToken);
    PutCollectionIf(p, b.UsePrefixedNumbers, "NumPrefixes", b.NumPrefixes, WriteLineToken);
    PutCollectionIf(p, b.UseSuffixedNumbers, "NumSuffixes", b.NumSuffixes, WriteLineToken);
    PutCollectionIf(p, b.UsePrefixedSuffixedNumbers, "NumPrefixesSuffixes", b.NumPrefixesSuffixes,
                    WriteBlockToken);
    PutCollectionIf(p, b.UsePrefixedIdentifiers, "IdentPrefixes", b.IdentPrefixes, WriteLineToken);
    PutCollectionIf(p, b.UseSuffixedIdentifiers, "IdentSuffixes", b.IdentSuffixes, WriteLineToken);
    PutCollectionIf(p, b.UsePrefixedSuffixedIdentifiers, "IdentPrefixesSuffixes", b.IdentPrefixesSuffixes,
                    WriteBlockToken);
    PutCollectionIf(p, b.UseKeywords, "KeywordSets", b.KeywordSets, WriteKeywordSet);
    if (b.FirstIdentChars != TSyntaxBlock::DefaultFirstIdentChars())
        PutString(p, "FirstIdentChars", b.FirstIdentChars.ToSetString());
    if (b.OtherIdentChars != TSyntaxBlock::DefaultOtherIdentChars())
        PutString(p, "OtherIdentChars", b.OtherIdentChars.ToSetString());
    return p;
}

TProps WriteAttr(const TAttrItem& a) {
    TProps p;
    PutInt(p, "FontID", a.FontID, -1);
    PutString(p, "GlobalAttrID", a.GlobalAttrID);
    PutInt(p, "BlockID", a.BlockID, 0);
    if (const auto name = CharsetName(a.Font.Charset))
        Put(p, "Font.Charset", TStreamValue::Identifier(std::string(*name)));
    else
        PutInt(p, "Font.Charset", a.Font.Charset);
    Put(p, "Font.Color", ColorValue(a.Font.Color));
    PutInt(p, "Font.Height", a.Font.Height);
    Put(p, "Font.Name", TStreamValue::String(a.Font.Name));
    if (a.Font.Pitch != fpDefault)
        Put(p, "Font.Pitch", TStreamValue::Identifier(a.Font.Pitch == fpFixed ? "fpFixed" : "fpVariable"));
    std::vector<std::string> style;
    if (a.Font.Style & fsBold)
        style.emplace_back("fsBold");
    if (a.Font.Style & fsItalic)
        style.emplace_back("fsItalic");
    if (a.Font.Style & fsUnderline)
        style.emplace_back("fsUnderline");
    if (a.Font.Style & fsStrikeOut)
        style.emplace_back("fsStrikeOut");
    Put(p, "Font.Style", TStreamValue::Set(std::move(style)));
    if (a.BackColor != clWindow)
        Put(p, "BackColor", ColorValue(a.BackColor));
    PutBool(p, "UseDefFont", a.UseDefFont, true);
    PutBool(p, "UseDefBack", a.UseDefBack, true);
    return p;
}

// ---- reading ----------------------------------------------------------------------------

std::optional<std::int64_t> AsInt(const TStreamValue& v, std::int64_t min, std::int64_t max) {
    if (v.kind != TStreamValue::Kind::Integer || v.integer < min || v.integer > max)
        return std::nullopt;
    return v.integer;
}

std::optional<int> AsStyle(const TStreamValue& v) {
    const auto value = AsInt(v, -1, 255);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

std::optional<int> AsInt32(const TStreamValue& v) {
    const auto value =
        AsInt(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

std::optional<bool> AsBool(const TStreamValue& v) {
    if (v.kind != TStreamValue::Kind::Identifier)
        return std::nullopt;
    if (ascii::EqualIgnoringCase(v.text, "True"))
        return true;
    if (ascii::EqualIgnoringCase(v.text, "False"))
        return false;
    return std::nullopt;
}

std::optional<std::string> AsString(const TStreamValue& v) {
    if (v.kind != TStreamValue::Kind::String)
        return std::nullopt;
    return v.text;
}

std::optional<std::uint32_t> AsColor(const TStreamValue& v) {
    if (v.kind == TStreamValue::Kind::Identifier)
        return ColorFromName(v.text);
    const auto value =
        AsInt(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::uint32_t>::max());
    return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
}

template <class T, class V>
void SetIf(T& target, const std::optional<V>& value) {
    if (value)
        target = static_cast<T>(*value);
}

bool ReadTokenProperty(TToken& token, const TStreamProperty& prop) {
    if (ascii::EqualIgnoringCase(prop.name, "FontID"))
        SetIf(token.FontID, AsStyle(prop.value));
    else if (ascii::EqualIgnoringCase(prop.name, "UseToken"))
        SetIf(token.UseToken, AsBool(prop.value));
    else
        return false;
    return true;
}

void ReadLineToken(TLineToken& token, const TProps& props) {
    for (const TStreamProperty& prop : props)
        if (!ReadTokenProperty(token, prop) && ascii::EqualIgnoringCase(prop.name, "LeftDelimiter"))
            SetIf(token.LeftDelimiter, AsString(prop.value));
}

void ReadBlockToken(TBlockToken& token, const TProps& props) {
    ReadLineToken(token, props);
    for (const TStreamProperty& prop : props)
        if (ascii::EqualIgnoringCase(prop.name, "RightDelimiter"))
            SetIf(token.RightDelimiter, AsString(prop.value));
}

void ReadKeywordSet(TKeywordSet& set, const TProps& props) {
    for (const TStreamProperty& prop : props) {
        if (ReadTokenProperty(set, prop))
            continue;
        if (ascii::EqualIgnoringCase(prop.name, "Name"))
            SetIf(set.Name, AsString(prop.value));
        else if (ascii::EqualIgnoringCase(prop.name, "Keywords"))
            SetIf(set.Keywords, AsString(prop.value));
    }
}

void ReadDelimiters(TDelimiters& delimiters, const TProps& props) {
    for (const TStreamProperty& prop : props) {
        if (ascii::EqualIgnoringCase(prop.name, "LeftDelimiter"))
            SetIf(delimiters.LeftDelimiter, AsString(prop.value));
        else if (ascii::EqualIgnoringCase(prop.name, "RightDelimiter"))
            SetIf(delimiters.RightDelimiter, AsString(prop.value));
        else if (ascii::EqualIgnoringCase(prop.name, "DelimitersArePartOfBlock"))
            SetIf(delimiters.DelimitersArePartOfBlock, AsBool(prop.value));
        else if (ascii::EqualIgnoringCase(prop.name, "UseToken"))
            SetIf(delimiters.UseToken, AsBool(prop.value));
    }
}

// A collection in the file replaces the items unless it is empty.
template <class Item, class Read>
void ReadCollection(std::vector<Item>& items, const TStreamValue& value, Read read) {
    if (value.kind != TStreamValue::Kind::Collection || value.items.empty())
        return;
    items.clear();
    for (const TProps& props : value.items) {
        Item item;
        read(item, props);
        items.push_back(std::move(item));
    }
}

using TBlockSetter = std::function<void(TSyntaxBlock&, const TStreamValue&)>;

template <class Member>
TBlockSetter BoolMember(Member member) {
    return [member](TSyntaxBlock& b, const TStreamValue& v) { SetIf(b.*member, AsBool(v)); };
}

template <class Member>
TBlockSetter StyleMember(Member member) {
    return [member](TSyntaxBlock& b, const TStreamValue& v) { SetIf(b.*member, AsStyle(v)); };
}

template <class Member, class Read>
TBlockSetter CollectionMember(Member member, Read read) {
    return [member, read](TSyntaxBlock& b, const TStreamValue& v) { ReadCollection(b.*member, v, read); };
}

TBlockSetter CharSetMember(TCharSet TSyntaxBlock::*member) {
    return [member](TSyntaxBlock& b, const TStreamValue& v) {
        if (const auto text = AsString(v))
            b.*member = TCharSet::FromSetString(*text);
    };
}

const std::unordered_map<std::string, TBlockSetter>& BlockSetters() {
    static const std::unordered_map<std::string, TBlockSetter> setters = [] {
        using B = TSyntaxBlock;
        std::unordered_map<std::string, TBlockSetter> m;
        const auto add = [&](std::string_view name, TBlockSetter setter) {
            m.emplace(ascii::Lower(name), std::move(setter));
        };
        add("Name", [](B& b, const TStreamValue& v) { SetIf(b.Name, AsString(v)); });
        add("ID", [](B& b, const TStreamValue& v) { SetIf(b.ID, AsInt32(v)); });
        add("ParentID", [](B& b, const TStreamValue& v) { SetIf(b.ParentID, AsInt32(v)); });
        add("MetaSymbol", [](B& b, const TStreamValue& v) {
            const auto text = AsString(v);
            if (text && text->size() == 1)
                b.MetaSymbol = text->front();
        });
        add("LineDirectivePrefix",
            [](B& b, const TStreamValue& v) { SetIf(b.LineDirectivePrefix, AsString(v)); });
        add("CaseSensitive", BoolMember(&B::CaseSensitive));
        add("UseMetaSymbol", BoolMember(&B::UseMetaSymbol));
        add("UseMetaToWrapLines", BoolMember(&B::UseMetaToWrapLines));
        add("FIText", StyleMember(&B::FIText));
        add("FIIntNum", StyleMember(&B::FIIntNum));
        add("FIFloatNum", StyleMember(&B::FIFloatNum));
        add("FIHexNum", StyleMember(&B::FIHexNum));
        add("FIDirective", StyleMember(&B::FIDirective));
        add("FISymbol", StyleMember(&B::FISymbol));
        add("FIIdentifier", StyleMember(&B::FIIdentifier));
        add("UseSymbols", BoolMember(&B::UseSymbols));
        add("UseLineDirectives", BoolMember(&B::UseLineDirectives));
        add("UseComments", BoolMember(&B::UseComments));
        add("UseSingleLineComments", BoolMember(&B::UseSingleLineComments));
        add("UseMultiLineComments", BoolMember(&B::UseMultiLineComments));
        add("UseFullLineComments", BoolMember(&B::UseFullLineComments));
        add("UseStrings", BoolMember(&B::UseStrings));
        add("UseSingleLineStrings", BoolMember(&B::UseSingleLineStrings));
        add("UseMultiLineStrings", BoolMember(&B::UseMultiLineStrings));
        add("UseNumbers", BoolMember(&B::UseNumbers));
        add("UsePrefixedNumbers", BoolMember(&B::UsePrefixedNumbers));
        add("UseSuffixedNumbers", BoolMember(&B::UseSuffixedNumbers));
        add("UseMultipleNumSuffixes", BoolMember(&B::UseMultipleNumSuffixes));
        add("UsePrefixedSuffixedNumbers", BoolMember(&B::UsePrefixedSuffixedNumbers));
        add("UsePSNumComposition", BoolMember(&B::UsePSNumComposition));
        add("UseIdentifiers", BoolMember(&B::UseIdentifiers));
        add("UsePrefixedIdentifiers", BoolMember(&B::UsePrefixedIdentifiers));
        add("UseSuffixedIdentifiers", BoolMember(&B::UseSuffixedIdentifiers));
        add("UsePrefixedSuffixedIdentifiers", BoolMember(&B::UsePrefixedSuffixedIdentifiers));
        add("UseKeywords", BoolMember(&B::UseKeywords));
        add("BlockDelimiters", CollectionMember(&B::BlockDelimiters, ReadDelimiters));
        add("SingleLineCommentDelimiters", CollectionMember(&B::SingleLineCommentDelimiters, ReadLineToken));
        add("MultiLineCommentDelimiters", CollectionMember(&B::MultiLineCommentDelimiters, ReadBlockToken));
        add("FullLineCommentDelimiters", CollectionMember(&B::FullLineCommentDelimiters, ReadLineToken));
        add("SingleLineStringDelimiters", CollectionMember(&B::SingleLineStringDelimiters, ReadBlockToken));
        add("MultiLineStringDelimiters", CollectionMember(&B::MultiLineStringDelimiters, ReadBlockToken));
        add("NumPrefixes", CollectionMember(&B::NumPrefixes, ReadLineToken));
        add("NumSuffixes", CollectionMember(&B::NumSuffixes, ReadLineToken));
        add("NumPrefixesSuffixes", CollectionMember(&B::NumPrefixesSuffixes, ReadBlockToken));
        add("IdentPrefixes", CollectionMember(&B::IdentPrefixes, ReadLineToken));
        add("IdentSuffixes", CollectionMember(&B::IdentSuffixes, ReadLineToken));
        add("IdentPrefixesSuffixes", CollectionMember(&B::IdentPrefixesSuffixes, ReadBlockToken));
        add("KeywordSets", CollectionMember(&B::KeywordSets, ReadKeywordSet));
        add("FirstIdentChars", CharSetMember(&B::FirstIdentChars));
        add("OtherIdentChars", CharSetMember(&B::OtherIdentChars));
        return m;
    }();
    return setters;
}

void ReadBlock(TSyntaxBlock& block, const TProps& props) {
    const auto& setters = BlockSetters();
    for (const TStreamProperty& prop : props) {
        const auto it = setters.find(ascii::Lower(prop.name));
        if (it != setters.end())
            it->second(block, prop.value);
    }
}

void ReadFontStyle(std::uint8_t& style, const TStreamValue& v) {
    if (v.kind != TStreamValue::Kind::Set)
        return;
    std::uint8_t bits = 0;
    for (const std::string& name : v.names) {
        if (ascii::EqualIgnoringCase(name, "fsBold"))
            bits |= fsBold;
        else if (ascii::EqualIgnoringCase(name, "fsItalic"))
            bits |= fsItalic;
        else if (ascii::EqualIgnoringCase(name, "fsUnderline"))
            bits |= fsUnderline;
        else if (ascii::EqualIgnoringCase(name, "fsStrikeOut"))
            bits |= fsStrikeOut;
        else
            return;  // an unknown member makes the whole value ill-typed
    }
    style = bits;
}

void ReadAttr(TAttrItem& a, const TProps& props) {
    for (const TStreamProperty& prop : props) {
        const std::string& n = prop.name;
        const TStreamValue& v = prop.value;
        if (ascii::EqualIgnoringCase(n, "FontID"))
            SetIf(a.FontID, AsStyle(v));
        else if (ascii::EqualIgnoringCase(n, "GlobalAttrID"))
            SetIf(a.GlobalAttrID, AsString(v));
        else if (ascii::EqualIgnoringCase(n, "BlockID"))
            SetIf(a.BlockID, AsInt32(v));
        else if (ascii::EqualIgnoringCase(n, "Font.Charset")) {
            if (v.kind == TStreamValue::Kind::Identifier)
                SetIf(a.Font.Charset, CharsetFromName(v.text));
            else
                SetIf(a.Font.Charset, AsInt(v, 0, 255));
        } else if (ascii::EqualIgnoringCase(n, "Font.Color"))
            SetIf(a.Font.Color, AsColor(v));
        else if (ascii::EqualIgnoringCase(n, "Font.Height")) {
            if (const auto height = AsInt(v, -32768, 32767)) {
                a.Font.Height = static_cast<int>(*height);
                a.Font.Size = FontSizeFromHeight(a.Font.Height);
            }
        } else if (ascii::EqualIgnoringCase(n, "Font.Size")) {
            if (const auto size = AsInt(v, -32768, 32767)) {
                a.Font.Size = static_cast<int>(*size);
                a.Font.Height = FontHeightFromSize(a.Font.Size);
            }
        } else if (ascii::EqualIgnoringCase(n, "Font.Name"))
            SetIf(a.Font.Name, AsString(v));
        else if (ascii::EqualIgnoringCase(n, "Font.Pitch") && v.kind == TStreamValue::Kind::Identifier) {
            if (ascii::EqualIgnoringCase(v.text, "fpDefault"))
                a.Font.Pitch = fpDefault;
            else if (ascii::EqualIgnoringCase(v.text, "fpVariable"))
                a.Font.Pitch = fpVariable;
            else if (ascii::EqualIgnoringCase(v.text, "fpFixed"))
                a.Font.Pitch = fpFixed;
        } else if (ascii::EqualIgnoringCase(n, "Font.Style"))
            ReadFontStyle(a.Font.Style, v);
        else if (ascii::EqualIgnoringCase(n, "BackColor"))
            SetIf(a.BackColor, AsColor(v));
        else if (ascii::EqualIgnoringCase(n, "UseDefFont"))
            SetIf(a.UseDefFont, AsBool(v));
        else if (ascii::EqualIgnoringCase(n, "UseDefBack"))
            SetIf(a.UseDefBack, AsBool(v));
    }
}

// Attributes take the lowest free style number as they are created, before their own FontID
// line (if any) is applied. The numbers in use are tracked here, so that reading stays linear
// in the number of attributes.
void ReadFontTable(TFontList& table, const TStreamValue& value) {
    if (value.kind != TStreamValue::Kind::Collection || value.items.empty())
        return;
    table.Clear();
    std::vector<bool> used(256, false);
    int lowest = 0;
    for (const TProps& props : value.items) {
        while (lowest < 256 && used[static_cast<std::size_t>(lowest)])
            ++lowest;
        TAttrItem attr;
        attr.FontID = lowest < 256 ? lowest : -1;
        ReadAttr(attr, props);
        if (attr.FontID >= 0 && attr.FontID <= 255)
            used[static_cast<std::size_t>(attr.FontID)] = true;
        table.Append(std::move(attr));  // numbers only get taken, so the lowest free one only rises
    }
}

}  // namespace

void TSyntaxScheme::ReadFromText(std::string_view text) {
    const TStreamObject holder = ReadObjectStream(text);
    TSyntaxScheme read;
    for (const TStreamProperty& prop : holder.properties) {
        if (ascii::EqualIgnoringCase(prop.name, "P.Name"))
            SetIf(read.Name, AsString(prop.value));
        else if (ascii::EqualIgnoringCase(prop.name, "P.SyntaxBlocks"))
            ReadCollection(read.SyntaxBlocks, prop.value, ReadBlock);
        else if (ascii::EqualIgnoringCase(prop.name, "P.FontTable"))
            ReadFontTable(read.FontTable, prop.value);
        else if (ascii::EqualIgnoringCase(prop.name, "P.SyntaxVersion"))
            SetIf(read.SyntaxVersion, AsInt32(prop.value));
    }
    CopyStoredFrom(read);
}

std::string TSyntaxScheme::WriteToText() const {
    TStreamObject holder;
    holder.className = "TPersHolder";
    TProps& p = holder.properties;
    PutString(p, "P.Name", Name);
    Put(p, "P.SyntaxBlocks", CollectionOf(SyntaxBlocks, WriteBlock));
    std::vector<TProps> attrs;
    for (const TAttrItem& attr : FontTable)
        attrs.push_back(WriteAttr(attr));
    Put(p, "P.FontTable", TStreamValue::Collection(std::move(attrs)));
    PutInt(p, "P.SyntaxVersion", SyntaxVersion);
    return WriteObjectStream(holder);
}

}  // namespace tarnwick
