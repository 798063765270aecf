// The highlighter base the text buffer drives line by line. A highlighter turns one line into
// one style byte per character and returns the 32-bit state at the line's end, so the next line
// can continue a comment, a string or a nested block. The buffer stores both per line and
// re-parses after an edit only until an end state matches the stored one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/font_desc.h"

namespace tarnwick {

class TSimpleParser;

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
