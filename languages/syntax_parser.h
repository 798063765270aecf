#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "languages/attr_item.h"
#include "languages/syntax_scheme.h"
#include "textengine/simple_parser.h"

namespace tarnwick {

// The highlighter: cuts one line into tokens by the rules of its scheme, writes one style number
// per character, and returns the line's end state: the interned block stack, the construct
// still open (comment, string, directive) and the list entry that opened it, packed into 32 bits
// so that the buffer can stop re-parsing as soon as a line ends in the state it had before.
//
// State bits: 31..24 block stack index, 23 part-of-block flag, 22 case flag, 21..16 delimiter
// index, 15..8 state index, 7..0 item index.
class TSyntaxParser final : public TSimpleParser {
public:
    // Token codes, also the TokenID of OnGetToken.
    enum TTokenCode : int {
        tcText,
        tcSingleLineComment,
        tcMultiLineComment,
        tcDirective,
        tcFullLineComment,
        tcSingleLineString,
        tcMultiLineString,
        tcInteger,
        tcFloat,
        tcHex,
        tcIdentifier,
        tcKeyword,
        tcSymbol,
    };
    // State index values.
    enum TStateIndex : int {
        siNormal,
        siMultiLineComment,
        siSingleLineString,
        siMultiLineString,
        siDirective
    };

    TSyntaxParser();
    ~TSyntaxParser() override;

    TSyntaxScheme& SyntaxScheme() noexcept { return scheme_; }
    // Copies another scheme in and resets; the owned scheme itself is ignored.
    void SetSyntaxScheme(const TSyntaxScheme& other);

    const TDefAttrItem& DefaultAttr() const noexcept { return defaultAttr_; }
    void SetDefaultAttr(const TAttrItem& attr);
    void SetDefaultFont(const TFontDesc& font);
    void SetDefaultBackColor(TColorValue color);
    // The colour of the editor's global "Url" style, when the editor has one.
    void SetGlobalUrlColor(std::optional<TColorValue> color);

    bool UseGlobalOptions = false;
    std::function<void(TSyntaxParser& sender, int tokenID, const std::string& tokenStr)> OnGetToken;

    // TSimpleParser
    TFontDesc GetStyleFont(int style) override;
    bool GetStyleBack(int style, TColorValue& colour) override;
    uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override;
    bool ParsesInWindows() const override;
    TParsePoint LineStart(uint32_t state) override;
    TWindowParse ParseWindow(std::string_view window, size_t base, bool atLineEnd, const TParsePoint& from,
                             char* styles, size_t firstCall, TParsePointSink& sink) override;

    // Prepares the scheme, returns to the root block and resolves the styles again.
    virtual void Reset();
    // Resolves every style number to its font and background and tells the subscribers.
    virtual void UpdateStyles();

protected:
    virtual bool ParseComment();
    virtual bool ParseLineDirective();
    virtual bool ParseString();
    virtual bool ParseDigits();
    virtual bool ParseNumber();
    virtual bool ParsePSNumber();
    virtual bool ParseIdentifier();

private:
    // The first block of each ID and the first attribute of each style number, for one resolution.
    struct TStyleLookup {
        std::unordered_map<int, const TSyntaxBlock*> blockByID;
        std::unordered_map<int, const TAttrItem*> attrByFontID;
    };

    const TAttrItem& AttrOfStyle(int style) const;
    void ResolveAttr(const TStyleLookup& lookup, TAttrItem& attr, const TFontDesc& baseFont,
                     TColorValue baseBack) const;
    const TAttrItem* NearestTextStyle(const TStyleLookup& lookup, int blockID, bool wantFont) const;

    // The loop over one line's tokens from the cursor on; see ParseWindow for the sink.
    enum class TLoopEnd { kTextEnd, kStopped, kPastWindow };
    TLoopEnd ParseTokens(char* styles, TParsePointSink* sink, std::size_t firstCall, bool atLineEnd);
    void PrepareIfStale();
    void RestoreLineState(uint32_t state);
    uint32_t LineEndState() const;
    // The whole state between two tokens, packed; false when a field does not fit.
    bool PackPoint(std::uint64_t& packed) const;
    void RestorePoint(std::uint64_t packed);
    // What a read of text_ at [at, end) tells the window bookkeeping.
    void Reads(std::size_t end) const { reach_ = std::max(reach_, end); }
    void ReadsBefore(std::size_t at) const { startTouched_ = startTouched_ || (base_ > 0 && at == 0); }

    void SelectStack(int index);
    void PushBlock(const TBlockOpener& opener);
    const TOpenerLists& OpenersOf(const TPreparedBlock& block) const {
        return scheme_.Prepared().openerLists[block.openers];
    }
    bool MaySwitchBlocks() const;
    void SwitchBlocks();
    bool CloseTest();
    void TokenStep();
    void NormalStep();
    void CommentOrStringStep();
    void DirectiveStep();
    std::uint8_t StyleOf(int tokenCode) const;

    bool MatchAt(std::size_t at, const std::string& s, bool caseSensitive) const;
    bool MatchBefore(std::size_t end, const std::string& s, bool caseSensitive) const;
    bool AfterTest(const std::string& s, std::size_t at) const;
    bool BeforeTest(const std::string& s, std::size_t at) const;
    bool SingleLineStringTest(const std::string& s, std::size_t at) const;
    std::size_t FindClosing(const std::string& s) const;
    std::size_t FindClosingFrom(const std::string& s) const;
    const TTokenCandidate* FirstMatch(const std::vector<TTokenCandidate>& candidates,
                                      bool singleLineString) const;
    bool TakeToken(const TTokenCandidate& c, int tokenCode, bool toLineEnd);
    // Moves the cursor over the characters that satisfy inClass; answers how many.
    template <class Pred>
    std::size_t SkipRun(Pred inClass) {
        const std::size_t start = cursor_;
        while (cursor_ < length_ && inClass(static_cast<unsigned char>(text_[cursor_])))
            ++cursor_;
        Reads(cursor_ + 1);
        return cursor_ - start;
    }
    // The first pair (in list order, enabled or not) whose left string, a run that scan accepts,
    // and right string stand at the cursor: its position, with the cursor after it; else -1
    // with the cursor where it was.
    template <class Scan>
    int MatchPair(const std::vector<TBlockToken>& pairs, Scan scan) {
        const std::size_t start = cursor_;
        const bool caseSensitive = block_->CaseSensitive;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            cursor_ = start;
            if (!MatchAt(cursor_, pairs[i].LeftDelimiter, caseSensitive))
                continue;
            cursor_ += pairs[i].LeftDelimiter.size();
            if (scan() && MatchAt(cursor_, pairs[i].RightDelimiter, caseSensitive)) {
                cursor_ += pairs[i].RightDelimiter.size();
                return static_cast<int>(i);
            }
        }
        cursor_ = start;
        return -1;
    }
    bool ScanIdentifier();
    bool ScanHexTail();
    bool ParsePrefixedNumber();
    bool ParseNumberSuffix();
    bool IsKeyword(std::size_t start);

    TSyntaxScheme scheme_;
    TDefAttrItem defaultAttr_;
    std::optional<TColorValue> urlColor_;
    TAttrItem linkAttr_;
    TAttrItem substituteAttr_;

    // Working fields of one ParseLine call.
    const char* text_ = nullptr;
    std::size_t length_ = 0;
    std::size_t cursor_ = 0;
    int blockIndex_ = 0;
    const TSyntaxBlock* block_ = nullptr;
    const TPreparedBlock* prepared_ = nullptr;
    int stackIndex_ = 0;
    int stateIndex_ = 0;
    int itemIndex_ = 0;
    int delimiterIndex_ = 0;
    bool partOfBlock_ = false;
    bool caseFlag_ = false;
    int tokenCode_ = 0;
    bool canParseDirective_ = false;
    bool directiveFound_ = false;
    bool canParseFullLineComment_ = false;
    bool needCloseString_ = false;
    bool justSwitched_ = false;
    // Window bookkeeping: the line offset of text_[0]; one past the furthest byte read (and
    // every end-of-text test counts as a read of text_[length_]); whether a read wanted bytes
    // before text_ while text_ does not start the line.
    std::size_t base_ = 0;
    mutable std::size_t reach_ = 0;
    mutable bool startTouched_ = false;
};

}  // namespace tarnwick
