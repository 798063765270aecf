// The highlighter base the text buffer drives line by line. A highlighter turns one line into
// one style byte per character and returns the 32-bit state at the line's end, so the next line
// can continue a comment, a string or a nested block. The buffer stores both per line and
// re-parses after an edit only until an end state matches the stored one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/font_desc.h"

namespace tarnwick {

class TSimpleParser;

// A token edge inside a line where a parse can resume: its byte offset in the line, the
// parser's whole state there (opaque to the buffer), and how far the parse up to it has read:
// every byte it looked at lies before reach. The point stays good while the bytes before
// reach stay as they are.
struct TParsePoint {
    uint32_t offset = 0;
    uint32_t reach = 0;
    uint64_t state = 0;
};

// Told of token edges while a window of a long line is parsed (TSimpleParser::ParseWindow).
class TParsePointSink {
public:
    static constexpr size_t kStop = SIZE_MAX;
    // Called at the first token edge at or past the offset the previous call (or the parse's
    // start) asked for, with the point there. Answers the offset of the next call, or kStop to
    // end the parse at this point.
    virtual size_t AtPoint(const TParsePoint& point) = 0;

protected:
    ~TParsePointSink() = default;
};

// How a parse of a window ended.
struct TWindowParse {
    enum TEnd { kLineEnd, kStopped, kWindowShort } end = kWindowShort;
    uint32_t endState = 0;  // kLineEnd: the line's end state
    // kWindowShort: the last point the sink was given (else the start): the parse may go on
    // from there in a window that reaches further. startTooLate: the parse needed bytes before
    // the window; give it a window from the line's start.
    TParsePoint last;
    bool startTooLate = false;
};

// Told when the highlighter's styles change (repaint, re-measure) and when it goes away.
class TParserSubscriber {
public:
    virtual void ParserStylesChanged(TSimpleParser& parser) = 0;
    virtual void ParserDestroyed(TSimpleParser& parser) = 0;

protected:
    ~TParserSubscriber() = default;
};

class TSimpleParser {
public:
    TSimpleParser() = default;
    TSimpleParser(const TSimpleParser&) = delete;
    TSimpleParser& operator=(const TSimpleParser&) = delete;
    virtual ~TSimpleParser();

    // Remembers the index of the line about to be parsed.
    virtual void SetLinePos(int32_t line) { linePos_ = line; }
    // The resolved font of a style number; never empty.
    virtual TFontDesc GetStyleFont(int style) = 0;
    // Sets colour to the resolved background of a style number and answers true.
    virtual bool GetStyleBack(int style, TColorValue& colour) = 0;
    // Fills one style byte per character of text (styles already has text's length) and
    // returns the state at the end of the line. An empty line returns state unchanged.
    virtual uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) = 0;
    // Makes styles a byte string of text's length filled with 0.
    virtual void InitStyles(int32_t line, std::string_view text, std::string& styles);
    // The state the first line of a text is parsed with.
    virtual uint32_t DefaultState() const { return 0; }

    // Parsing a long line piece by piece, resuming at kept points, so that an edit costs what
    // it changes. A parser that cannot is given whole lines.
    virtual bool ParsesInWindows() const { return false; }
    // The point a line starts at when the line before ends in state.
    virtual TParsePoint LineStart(uint32_t state) { return {0, 0, state}; }
    // Parses window, the line's bytes [base, base + window.size()), on from point from (which
    // lies in it), writing the style of each byte from there on to styles[offset - base].
    // atLineEnd: the window ends where the line does. The sink is called first at the first
    // token edge at or past firstCall. Points past from given to the sink are as a parse of the
    // whole line would have them there.
    virtual TWindowParse ParseWindow(std::string_view window, size_t base, bool atLineEnd,
                                     const TParsePoint& from, char* styles, size_t firstCall,
                                     TParsePointSink& sink);

    int32_t LinePos() const { return linePos_; }

    void Subscribe(TParserSubscriber* subscriber);
    void Unsubscribe(TParserSubscriber* subscriber);

protected:
    // Tells every subscriber that the styles changed.
    void NotifyStylesChanged();

private:
    int32_t linePos_ = 0;
    std::vector<TParserSubscriber*> subscribers_;
};

}  // namespace tarnwick
