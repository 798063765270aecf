// Parsing one line: block switching, the token step of each state, and the recognisers.
// Every step advances the cursor by at least one character, and block switching at one position
// is bounded, so any line of any bytes is parsed in time proportional to its length.

#include <algorithm>
#include <cstring>

#include "host/abi/ascii_text.h"
#include "languages/syntax_parser.h"

namespace tarnwick {

namespace {

// A block that reopens itself at the position where it was just opened (its own parent, or a
// cycle of parents) would otherwise switch without end.
constexpr int kMaxSwitchRounds = 64;

inline bool SameBytes(const char* a, const char* b, std::size_t n, bool caseSensitive) {
    if (ascii::ToLower(a[0]) != ascii::ToLower(b[0]))
        return false;
    if (caseSensitive)
        return std::memcmp(a, b, n) == 0;
    for (std::size_t i = 0; i < n; ++i)
        if (ascii::ToLower(a[i]) != ascii::ToLower(b[i]))
            return false;
    return true;
}

inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

inline bool IsHexDigit(unsigned char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Most tokens are a few characters long: a plain loop beats a call to memset for them.
inline void FillStyle(char* styles, std::size_t count, std::uint8_t style) {
    if (count > 32) {
        std::memset(styles, style, count);
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        styles[i] = static_cast<char>(style);
}

template <class Token>
int FontIDAt(const std::vector<Token>& tokens, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < tokens.size()
               ? tokens[static_cast<std::size_t>(index)].FontID
               : -1;
}

template <class Token>
const std::string* RightDelimiterAt(const std::vector<Token>& tokens, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < tokens.size()
               ? &tokens[static_cast<std::size_t>(index)].RightDelimiter
               : nullptr;
}

}  // namespace

// ---- Line loop ------------------------------------------------------------------------------

uint32_t TSyntaxParser::ParseLine(std::string_view text, uint32_t state, std::string& styles) {
    if (styles.empty() || text.empty())
        return state;
    if (scheme_.SyntaxBlocks.empty()) {
        std::fill(styles.begin(), styles.end(), static_cast<char>(255));
        return state;
    }
    PrepareIfStale();

    text_ = text.data();
    length_ = std::min(text.size(), styles.size());
    base_ = 0;
    RestoreLineState(state);
    cursor_ = 0;
    ParseTokens(styles.data(), nullptr, SIZE_MAX, true);
    return LineEndState();
}

// Blocks edited without a reset: never parse with stale lookup data.
void TSyntaxParser::PrepareIfStale() {
    if (scheme_.Prepared().blocks.size() != scheme_.SyntaxBlocks.size())
        scheme_.Prepare();
}

// A token's text goes to OnGetToken across the whole line, so a handler rules windows out.
bool TSyntaxParser::ParsesInWindows() const { return !OnGetToken && !scheme_.SyntaxBlocks.empty(); }

// The state a line starts in, unpacked and packed again as the point of its first token edge.
TParsePoint TSyntaxParser::LineStart(uint32_t state) {
    PrepareIfStale();
    RestoreLineState(state);
    TParsePoint point;
    if (!PackPoint(point.state))
        point.state = 0;  // a state of a foreign scheme: what a fresh line starts with
    return point;
}

TWindowParse TSyntaxParser::ParseWindow(std::string_view window, size_t base, bool atLineEnd,
                                        const TParsePoint& from, char* styles, size_t firstCall,
                                        TParsePointSink& sink) {
    TWindowParse result;
    result.last = from;
    PrepareIfStale();
    text_ = window.data();
    length_ = window.size();
    base_ = base;
    RestorePoint(from.state);
    cursor_ = from.offset - base;
    reach_ = from.reach > base ? from.reach - base : 0;
    startTouched_ = false;
    struct Relay final : TParsePointSink {
        TParsePointSink& to;
        TWindowParse& result;
        size_t base;
        Relay(TParsePointSink& t, TWindowParse& r, size_t b) : to(t), result(r), base(b) {}
        size_t AtPoint(const TParsePoint& point) override {
            TParsePoint line = point;
            line.offset += uint32_t(base);
            line.reach += uint32_t(base);
            result.last = line;
            const size_t next = to.AtPoint(line);
            return next == kStop ? kStop : std::max(next, base) - base;
        }
    } relay(sink, result, base);
    const TLoopEnd end = ParseTokens(styles, &relay, std::max(firstCall, base) - base, atLineEnd);
    result.startTooLate = startTouched_;
    if (startTouched_)
        result.end = TWindowParse::kWindowShort;
    else if (end == TLoopEnd::kStopped)
        result.end = TWindowParse::kStopped;
    else if (end == TLoopEnd::kTextEnd && atLineEnd)
        result.end = TWindowParse::kLineEnd;
    result.endState = LineEndState();
    return result;
}

// Styles the tokens from the cursor to the end of text_. With a sink, each token edge at or
// past the offset it asked for is offered as a point, unless the parse so far read past the
// window, which then was too short.
TSyntaxParser::TLoopEnd TSyntaxParser::ParseTokens(char* styles, TParsePointSink* sink, std::size_t firstCall,
                                                   bool atLineEnd) {
    constexpr std::size_t kPeek = 4;  // the bytes a step looks at around the cursor by itself
    std::size_t nextCall = firstCall;
    std::size_t tokenStart = cursor_;
    std::string tokenText;
    for (;;) {
        if (cursor_ >= nextCall && cursor_ < length_) {
            if (!atLineEnd && reach_ > length_)
                return TLoopEnd::kPastWindow;
            TParsePoint point;
            if (PackPoint(point.state)) {
                point.offset = uint32_t(cursor_);
                point.reach = uint32_t(reach_);
                nextCall = sink->AtPoint(point);
                if (nextCall == TParsePointSink::kStop)
                    return TLoopEnd::kStopped;
            } else {
                nextCall = cursor_ + 1;
            }
        }
        Reads(cursor_ + kPeek);
        if (cursor_ < length_)
            tokenCode_ = tcText;
        if (stateIndex_ == siNormal) {
            if (MaySwitchBlocks())
                SwitchBlocks();
            else
                justSwitched_ = false;  // what a switch that finds nothing leaves behind
        }
        if (needCloseString_) {
            needCloseString_ = false;
            stateIndex_ = siNormal;
        }
        if (cursor_ >= length_)
            break;
        const int stateBefore = stateIndex_;
        TokenStep();
        if (tokenCode_ > tcDirective)
            canParseDirective_ = false;
        if (tokenCode_ != tcText)
            canParseFullLineComment_ = false;
        FillStyle(styles + tokenStart, cursor_ - tokenStart, StyleOf(tokenCode_));
        if (OnGetToken) {
            if (stateBefore == siNormal)
                tokenText.clear();
            tokenText.append(text_ + tokenStart, cursor_ - tokenStart);
            if (stateIndex_ == siNormal)
                OnGetToken(*this, tokenCode_, tokenText);
        }
        tokenStart = cursor_;
    }
    return !atLineEnd && reach_ > length_ ? TLoopEnd::kPastWindow : TLoopEnd::kTextEnd;
}

void TSyntaxParser::RestoreLineState(uint32_t state) {
    SelectStack(static_cast<int>(state >> 24));
    partOfBlock_ = (state >> 23) & 1;
    caseFlag_ = (state >> 22) & 1;
    delimiterIndex_ = static_cast<int>((state >> 16) & 63);
    stateIndex_ = static_cast<int>((state >> 8) & 255);
    itemIndex_ = static_cast<int>(state & 255);
    if (stateIndex_ > siDirective)
        stateIndex_ = siNormal;
    canParseDirective_ = true;
    canParseFullLineComment_ = true;
    directiveFound_ = false;
    needCloseString_ = false;
    justSwitched_ = false;
    reach_ = 0;
    startTouched_ = false;
}

uint32_t TSyntaxParser::LineEndState() const {
    return (static_cast<uint32_t>(stackIndex_ & 255) << 24) | (uint32_t(partOfBlock_) << 23) |
           (uint32_t(caseFlag_) << 22) | (static_cast<uint32_t>(std::max(delimiterIndex_, 0) & 63) << 16) |
           (static_cast<uint32_t>(stateIndex_ & 255) << 8) | static_cast<uint32_t>(itemIndex_ & 255);
}

// Bits 0..15 stack index, 16..23 delimiter index + 1, 24..31 state index, 32..47 item index,
// 48..54 the flags a token step carries to the next.
bool TSyntaxParser::PackPoint(std::uint64_t& packed) const {
    if (stackIndex_ < 0 || stackIndex_ > 0xFFFF || delimiterIndex_ < -1 || delimiterIndex_ > 0xFE ||
        stateIndex_ < 0 || stateIndex_ > 0xFF || itemIndex_ < 0 || itemIndex_ > 0xFFFF)
        return false;
    packed = std::uint64_t(stackIndex_) | std::uint64_t(delimiterIndex_ + 1) << 16 |
             std::uint64_t(stateIndex_) << 24 | std::uint64_t(itemIndex_) << 32 |
             std::uint64_t(partOfBlock_) << 48 | std::uint64_t(caseFlag_) << 49 |
             std::uint64_t(canParseDirective_) << 50 | std::uint64_t(canParseFullLineComment_) << 51 |
             std::uint64_t(directiveFound_) << 52 | std::uint64_t(needCloseString_) << 53 |
             std::uint64_t(justSwitched_) << 54;
    return true;
}

void TSyntaxParser::RestorePoint(std::uint64_t packed) {
    SelectStack(static_cast<int>(packed & 0xFFFF));
    delimiterIndex_ = static_cast<int>((packed >> 16) & 0xFF) - 1;
    stateIndex_ = static_cast<int>((packed >> 24) & 0xFF);
    itemIndex_ = static_cast<int>((packed >> 32) & 0xFFFF);
    partOfBlock_ = (packed >> 48) & 1;
    caseFlag_ = (packed >> 49) & 1;
    canParseDirective_ = (packed >> 50) & 1;
    canParseFullLineComment_ = (packed >> 51) & 1;
    directiveFound_ = (packed >> 52) & 1;
    needCloseString_ = (packed >> 53) & 1;
    justSwitched_ = (packed >> 54) & 1;
    if (stateIndex_ > siDirective)
        stateIndex_ = siNormal;
}

std::uint8_t TSyntaxParser::StyleOf(int tokenCode) const {
    const TSyntaxBlock& b = *block_;
    int style = -1;
    switch (tokenCode) {
        case tcSingleLineComment:
            style = FontIDAt(b.SingleLineCommentDelimiters, itemIndex_);
            break;
        case tcMultiLineComment:
            style = FontIDAt(b.MultiLineCommentDelimiters, itemIndex_);
            break;
        case tcFullLineComment:
            style = FontIDAt(b.FullLineCommentDelimiters, itemIndex_);
            break;
        case tcSingleLineString:
            style = FontIDAt(b.SingleLineStringDelimiters, itemIndex_);
            break;
        case tcMultiLineString:
            style = FontIDAt(b.MultiLineStringDelimiters, itemIndex_);
            break;
        case tcKeyword: {
            const auto& fontIDs = prepared_->keywordSetFontIDs;
            if (itemIndex_ >= 0 && static_cast<std::size_t>(itemIndex_) < fontIDs.size())
                style = fontIDs[static_cast<std::size_t>(itemIndex_)];
            break;
        }
        default:
            return prepared_->fixedStyles[static_cast<std::size_t>(tokenCode)];
    }
    if (style == -1)
        style = b.FIText;
    return style < 0 ? 255 : static_cast<std::uint8_t>(style);
}

// ---- Block stack ----------------------------------------------------------------------------

void TSyntaxParser::SelectStack(int index) {
    TPreparedScheme& prepared = scheme_.Prepared();
    if (index < 0 || static_cast<std::size_t>(index) >= prepared.stacks.Size())
        index = 0;
    const TBlockInfo& entry = prepared.stacks[static_cast<std::size_t>(index)];
    const auto& blocks = scheme_.SyntaxBlocks;
    stackIndex_ = index;
    blockIndex_ = entry.blockIndex >= 0 && static_cast<std::size_t>(entry.blockIndex) < blocks.size()
                      ? entry.blockIndex
                      : 0;
    if (blocks.empty()) {
        block_ = nullptr;
        prepared_ = nullptr;
        return;
    }
    block_ = &blocks[static_cast<std::size_t>(blockIndex_)];
    prepared_ = &prepared.blocks[static_cast<std::size_t>(blockIndex_)];
    delimiterIndex_ = entry.delimiterIndex;
    caseFlag_ = block_->CaseSensitive;
    const auto& delimiters = block_->BlockDelimiters;
    partOfBlock_ = blockIndex_ != 0 && delimiterIndex_ >= 0 &&
                   static_cast<std::size_t>(delimiterIndex_) < delimiters.size() &&
                   delimiters[static_cast<std::size_t>(delimiterIndex_)].DelimitersArePartOfBlock;
}

void TSyntaxParser::PushBlock(const TBlockOpener& opener) {
    TPreparedScheme& prepared = scheme_.Prepared();
    stackIndex_ = prepared.stacks.Push(stackIndex_, opener.blockIndex, opener.delimiterIndex);
    blockIndex_ = opener.blockIndex;
    block_ = &scheme_.SyntaxBlocks[static_cast<std::size_t>(blockIndex_)];
    prepared_ = &prepared.blocks[static_cast<std::size_t>(blockIndex_)];
    delimiterIndex_ = opener.delimiterIndex;
    partOfBlock_ = opener.partOfBlock;
    caseFlag_ = opener.caseSensitive;
}

// Pops when the current block's closing string stands behind the cursor (delimiters that are
// part of the block) or at it (the parent then styles the closing string).
bool TSyntaxParser::CloseTest() {
    if (justSwitched_ || blockIndex_ == 0)
        return false;
    const auto& delimiters = block_->BlockDelimiters;
    if (delimiterIndex_ < 0 || static_cast<std::size_t>(delimiterIndex_) >= delimiters.size())
        return false;
    const std::string& right = delimiters[static_cast<std::size_t>(delimiterIndex_)].RightDelimiter;
    if (right.empty())
        return false;
    if (partOfBlock_) {
        if (!MatchBefore(cursor_, right, block_->CaseSensitive) || !BeforeTest(right, cursor_ - right.size()))
            return false;
    } else {
        if (!MatchAt(cursor_, right, scheme_.SyntaxBlocks[0].CaseSensitive) || !AfterTest(right, cursor_))
            return false;
    }
    SelectStack(scheme_.Prepared().stacks.Pop(stackIndex_));
    return true;
}

// Whether block switching can do anything at the cursor: a nested block may close, or an
// opener may stand at or just before the cursor.
bool TSyntaxParser::MaySwitchBlocks() const {
    const TOpenerLists& openers = OpenersOf(*prepared_);
    return blockIndex_ != 0 ||
           (cursor_ < length_ &&
            openers.partOfBlockStarts.Contains(static_cast<unsigned char>(text_[cursor_]))) ||
           (cursor_ > 0 && openers.outsideEnds.Contains(static_cast<unsigned char>(text_[cursor_ - 1])));
}

void TSyntaxParser::SwitchBlocks() {
    for (int round = 0; round < kMaxSwitchRounds; ++round) {
        justSwitched_ = CloseTest();
        const TSyntaxBlock& x = *block_;
        const TOpenerLists& openers = OpenersOf(*prepared_);
        bool switched = false;
        bool again = false;
        for (const TBlockOpener& opener : openers.outside) {
            if (MatchBefore(cursor_, opener.text, x.CaseSensitive) &&
                BeforeTest(opener.text, cursor_ - opener.text.size())) {
                PushBlock(opener);
                switched = true;
                again = !CloseTest();
                break;
            }
        }
        for (const TBlockOpener& opener : openers.partOfBlock) {
            if (MatchAt(cursor_, opener.text, caseFlag_) && AfterTest(opener.text, cursor_)) {
                PushBlock(opener);
                switched = true;
                break;
            }
        }
        justSwitched_ = again || (!switched && CloseTest());
        if (!justSwitched_)
            return;
    }
}

// ---- Matching and boundary tests ------------------------------------------------------------

bool TSyntaxParser::MatchAt(std::size_t at, const std::string& s, bool caseSensitive) const {
    Reads(at + s.size() + 1);  // and the boundary test after it
    return !s.empty() && at <= length_ && s.size() <= length_ - at &&
           SameBytes(text_ + at, s.data(), s.size(), caseSensitive);
}

bool TSyntaxParser::MatchBefore(std::size_t end, const std::string& s, bool caseSensitive) const {
    if (!s.empty() && s.size() > end)
        ReadsBefore(0);  // the boundary test before it, or bytes before text_
    return !s.empty() && s.size() <= end &&
           SameBytes(text_ + end - s.size(), s.data(), s.size(), caseSensitive);
}

bool TSyntaxParser::AfterTest(const std::string& s, std::size_t at) const {
    const std::size_t after = at + s.size();
    return !block_->FirstIdentChars.Contains(static_cast<unsigned char>(s.front())) || after >= length_ ||
           !block_->OtherIdentChars.Contains(static_cast<unsigned char>(text_[after]));
}

bool TSyntaxParser::BeforeTest(const std::string& s, std::size_t at) const {
    ReadsBefore(at);
    return !block_->FirstIdentChars.Contains(static_cast<unsigned char>(s.front())) || at == 0 ||
           !block_->OtherIdentChars.Contains(static_cast<unsigned char>(text_[at - 1]));
}

bool TSyntaxParser::SingleLineStringTest(const std::string& s, std::size_t at) const {
    return !block_->OtherIdentChars.Contains(static_cast<unsigned char>(s.back())) || AfterTest(s, at);
}

// The first occurrence of s from the cursor on, or length_ when there is none or when that
// occurrence is glued to identifier characters.
std::size_t TSyntaxParser::FindClosing(const std::string& s) const {
    const std::size_t found = FindClosingFrom(s);
    Reads(found >= length_ ? length_ + 1 : found + s.size() + 1);
    return found;
}

std::size_t TSyntaxParser::FindClosingFrom(const std::string& s) const {
    if (s.empty() || s.size() > length_ - cursor_)
        return length_;
    const bool caseSensitive = block_->CaseSensitive;
    std::size_t at = cursor_;
    const std::size_t last = length_ - s.size();
    if (caseSensitive) {
        const std::size_t found = std::string_view(text_, length_).find(s, cursor_);
        if (found == std::string_view::npos)
            return length_;
        at = found;
    } else {
        while (at <= last && !SameBytes(text_ + at, s.data(), s.size(), false))
            ++at;
        if (at > last)
            return length_;
    }
    const TCharSet& first = block_->FirstIdentChars;
    const TCharSet& other = block_->OtherIdentChars;
    if (first.Contains(static_cast<unsigned char>(s.front()))) {
        const std::size_t after = at + s.size();
        const bool gluedAfter = after < length_ && other.Contains(static_cast<unsigned char>(text_[after]));
        const bool gluedBefore = at > 0 && other.Contains(static_cast<unsigned char>(text_[at - 1]));
        if (gluedAfter || gluedBefore)
            return length_;
    }
    return at;
}

// ---- Token steps ----------------------------------------------------------------------------

void TSyntaxParser::TokenStep() {
    switch (stateIndex_) {
        case siMultiLineComment:
        case siSingleLineString:
        case siMultiLineString:
            CommentOrStringStep();
            break;
        case siDirective:
            DirectiveStep();
            break;
        default:
            NormalStep();
            break;
    }
}

void TSyntaxParser::NormalStep() {
    const TSyntaxBlock& b = *block_;
    const auto c = static_cast<unsigned char>(text_[cursor_]);
    if (c >= 1 && c <= 32) {
        SkipRun([](unsigned char x) { return x >= 1 && x <= 32; });
        tokenCode_ = tcText;
        return;
    }
    const TCharSet& freeSymbols = scheme_.Prepared().freeSymbols;
    if (freeSymbols.Contains(c)) {
        SkipRun([&](unsigned char x) { return freeSymbols.Contains(x); });
        tokenCode_ = tcSymbol;
        return;
    }
    const TPreparedBlock& p = *prepared_;
    if (b.UseComments && p.commentStarts.Contains(c) && ParseComment())
        return;
    if (b.UseStrings && p.stringStarts.Contains(c) && ParseString())
        return;
    if (p.numberStarts.Contains(c) && (b.UseNumbers ? (ParsePSNumber() || ParseNumber()) : ParseDigits()))
        return;
    if (b.UseLineDirectives && canParseDirective_ && ParseLineDirective())
        return;
    if (p.identifierStarts.Contains(c) && ParseIdentifier())
        return;
    ++cursor_;
    tokenCode_ = SymbolCharacters().Contains(c) ? tcSymbol : tcText;
}

void TSyntaxParser::CommentOrStringStep() {
    const TSyntaxBlock& b = *block_;
    const std::string* right = nullptr;
    if (stateIndex_ == siMultiLineComment) {
        right = RightDelimiterAt(b.MultiLineCommentDelimiters, itemIndex_);
        tokenCode_ = tcMultiLineComment;
    } else if (stateIndex_ == siSingleLineString) {
        right = RightDelimiterAt(b.SingleLineStringDelimiters, itemIndex_);
        tokenCode_ = tcSingleLineString;
    } else {
        right = RightDelimiterAt(b.MultiLineStringDelimiters, itemIndex_);
        tokenCode_ = tcMultiLineString;
    }
    const std::size_t found = right ? FindClosing(*right) : length_;
    if (found >= length_) {
        cursor_ = length_;
        if (stateIndex_ == siSingleLineString)
            needCloseString_ =
                !(b.UseMetaSymbol && b.UseMetaToWrapLines && text_[length_ - 1] == b.MetaSymbol);
        return;
    }
    if (stateIndex_ == siMultiLineComment) {
        cursor_ = found + right->size();
        stateIndex_ = directiveFound_ && cursor_ < length_ ? siDirective : siNormal;
        return;
    }
    if (b.UseMetaSymbol) {
        std::size_t run = 0;
        while (found - run > cursor_ && text_[found - run - 1] == b.MetaSymbol)
            ++run;
        if (run % 2 == 1) {  // the closing string is escaped: the string goes on after it
            cursor_ = found + 1;
            if (stateIndex_ == siSingleLineString && cursor_ >= length_)
                stateIndex_ = siNormal;
            return;
        }
    }
    cursor_ = found + right->size();
    stateIndex_ = siNormal;
}

void TSyntaxParser::DirectiveStep() {
    const TSyntaxBlock& b = *block_;
    if (b.UseComments && ParseComment())
        return;
    ++cursor_;
    tokenCode_ = tcDirective;
    if (cursor_ >= length_ &&
        !(b.UseMetaSymbol && b.UseMetaToWrapLines && text_[cursor_ - 1] == b.MetaSymbol))
        stateIndex_ = siNormal;
}

// ---- Recognisers ----------------------------------------------------------------------------

// The first candidate whose left string stands at the cursor and passes the boundary test.
const TTokenCandidate* TSyntaxParser::FirstMatch(const std::vector<TTokenCandidate>& candidates,
                                                 bool singleLineString) const {
    for (const TTokenCandidate& c : candidates)
        if (MatchAt(cursor_, c.text, block_->CaseSensitive) &&
            (singleLineString ? SingleLineStringTest(c.text, cursor_) : AfterTest(c.text, cursor_)))
            return &c;
    return nullptr;
}

// Takes a matched candidate as the token: code, item index, and the cursor past its left
// string, or to the line's end for the comment kinds that run to it.
bool TSyntaxParser::TakeToken(const TTokenCandidate& c, int tokenCode, bool toLineEnd) {
    tokenCode_ = tokenCode;
    itemIndex_ = c.position;
    cursor_ = toLineEnd ? length_ : cursor_ + c.text.size();
    return true;
}

bool TSyntaxParser::ParseComment() {
    const TSyntaxBlock& b = *block_;
    const TPreparedBlock& p = *prepared_;
    if (b.UseMultiLineComments)
        if (const TTokenCandidate* c = FirstMatch(p.multiLineComments, false)) {
            stateIndex_ = siMultiLineComment;
            return TakeToken(*c, tcMultiLineComment, false);
        }
    if (b.UseFullLineComments && canParseFullLineComment_)
        if (const TTokenCandidate* c = FirstMatch(p.fullLineComments, false))
            return TakeToken(*c, tcFullLineComment, true);
    if (b.UseSingleLineComments)
        if (const TTokenCandidate* c = FirstMatch(p.singleLineComments, false)) {
            stateIndex_ = siNormal;
            return TakeToken(*c, tcSingleLineComment, true);
        }
    return false;
}

bool TSyntaxParser::ParseString() {
    const TSyntaxBlock& b = *block_;
    const TPreparedBlock& p = *prepared_;
    if (b.UseMultiLineStrings)
        if (const TTokenCandidate* c = FirstMatch(p.multiLineStrings, false)) {
            stateIndex_ = siMultiLineString;
            return TakeToken(*c, tcMultiLineString, false);
        }
    if (b.UseSingleLineStrings)
        if (const TTokenCandidate* c = FirstMatch(p.singleLineStrings, true)) {
            TakeToken(*c, tcSingleLineString, false);
            if (cursor_ < length_)
                stateIndex_ = siSingleLineString;
            return true;
        }
    return false;
}

bool TSyntaxParser::ParseDigits() {
    if (SkipRun(IsDigit) == 0)
        return false;
    tokenCode_ = tcInteger;
    return true;
}

bool TSyntaxParser::ParseNumber() {
    if (!ParseDigits())
        return false;
    bool isFloat = false;
    if (cursor_ < length_ && text_[cursor_] == '.') {
        isFloat = true;
        ++cursor_;
        SkipRun(IsDigit);
    }
    if (cursor_ < length_ && (text_[cursor_] == 'e' || text_[cursor_] == 'E')) {
        const std::size_t atE = cursor_++;
        if (cursor_ < length_ && (text_[cursor_] == '+' || text_[cursor_] == '-'))
            ++cursor_;
        if (SkipRun(IsDigit) > 0)
            isFloat = true;
        else
            cursor_ = atE;
    }
    tokenCode_ = isFloat ? tcFloat : tcInteger;
    return true;
}

bool TSyntaxParser::ScanHexTail() {
    if (SkipRun(IsHexDigit) == 0)
        return false;
    tokenCode_ = tcHex;
    return true;
}

bool TSyntaxParser::ParsePrefixedNumber() {
    for (const std::string& prefix : prepared_->numPrefixes) {
        if (!MatchAt(cursor_, prefix, block_->CaseSensitive))
            continue;
        cursor_ += prefix.size();
        if (ParseNumber()) {
            if (tokenCode_ == tcInteger)
                ScanHexTail();  // 1F after the prefix: the digits go on as hexadecimal
        } else if (!ScanHexTail()) {
            tokenCode_ = tcSymbol;  // the prefix alone
        }
        return true;
    }
    return false;
}

bool TSyntaxParser::ParseNumberSuffix() {
    for (const std::string& suffix : prepared_->numSuffixes)
        if (MatchAt(cursor_, suffix, block_->CaseSensitive)) {
            cursor_ += suffix.size();
            return true;
        }
    return false;
}

bool TSyntaxParser::ParsePSNumber() {
    const TSyntaxBlock& b = *block_;
    const std::size_t start = cursor_;
    const bool composed = b.UsePrefixedSuffixedNumbers && b.UsePSNumComposition;
    if (b.UsePrefixedSuffixedNumbers && !b.UsePSNumComposition) {
        const int pair = MatchPair(b.NumPrefixesSuffixes, [this] { return ScanHexTail(); });
        if (pair >= 0) {
            tokenCode_ = tcHex;
            itemIndex_ = pair;
            return true;
        }
    }
    if (composed && ParsePrefixedNumber()) {
        if (ParseNumberSuffix())
            while (b.UseMultipleNumSuffixes && ParseNumberSuffix()) {
            }
        return true;
    }
    if (!composed && b.UsePrefixedNumbers && ParsePrefixedNumber())
        return true;
    if (b.UseSuffixedNumbers && cursor_ < length_ && IsDigit(static_cast<unsigned char>(text_[cursor_]))) {
        const int codeBefore = tokenCode_;
        ParseNumber();
        if (ParseNumberSuffix()) {
            while (b.UseMultipleNumSuffixes && ParseNumberSuffix()) {
            }
            return true;
        }
        cursor_ = start;
        tokenCode_ = codeBefore;
    }
    return false;
}

bool TSyntaxParser::ParseLineDirective() {
    if (!MatchAt(cursor_, block_->LineDirectivePrefix, block_->CaseSensitive))
        return false;
    cursor_ += block_->LineDirectivePrefix.size();
    directiveFound_ = true;
    tokenCode_ = tcDirective;
    if (cursor_ < length_)
        stateIndex_ = siDirective;
    return true;
}

bool TSyntaxParser::ScanIdentifier() {
    if (cursor_ >= length_ || !block_->FirstIdentChars.Contains(static_cast<unsigned char>(text_[cursor_])))
        return false;
    ++cursor_;
    const TCharSet& other = block_->OtherIdentChars;
    SkipRun([&](unsigned char c) { return other.Contains(c); });
    return true;
}

bool TSyntaxParser::ParseIdentifier() {
    const TSyntaxBlock& b = *block_;
    const bool cs = b.CaseSensitive;
    const std::size_t start = cursor_;
    bool found = false;
    if (b.UsePrefixedSuffixedIdentifiers)
        found = MatchPair(b.IdentPrefixesSuffixes, [this] { return ScanIdentifier(); }) >= 0;
    if (!found && b.UsePrefixedIdentifiers) {
        for (const std::string& prefix : prepared_->identPrefixes) {
            if (!MatchAt(cursor_, prefix, cs))
                continue;
            cursor_ += prefix.size();
            if (ScanIdentifier()) {
                found = true;
                break;
            }
            tokenCode_ = tcSymbol;
        }
    }
    if (!found && ScanIdentifier()) {
        found = true;
        if (b.UseSuffixedIdentifiers)
            for (const std::string& suffix : prepared_->identSuffixes)
                if (MatchAt(cursor_, suffix, cs)) {
                    cursor_ += suffix.size();
                    break;
                }
    }
    if (!found) {
        cursor_ = start;
        return false;
    }
    tokenCode_ = b.UseKeywords && IsKeyword(start) ? tcKeyword : tcIdentifier;
    stateIndex_ = siNormal;
    return true;
}

bool TSyntaxParser::IsKeyword(std::size_t start) {
    const int ordinal = prepared_->keywords.Find(text_ + start, cursor_ - start);
    if (ordinal < 0)
        return false;
    itemIndex_ = ordinal;
    return true;
}

}  // namespace tarnwick
