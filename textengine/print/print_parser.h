// The highlighter of a printout: it parses with the view's own highlighter, so the page shows
// the same styles as the screen, but paints every style on white and, for a black printout,
// in black with its font style (bold, italic) kept.
//
// Fonts are given in pixels of the screen the page is painted for: a page is painted at screen
// scale and stretched onto the paper, and a size in points would be taken at the printer's
// resolution before the stretch.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "textengine/simple_parser.h"

namespace tarnwick {

class TPrintParser final : public TSimpleParser, private TParserSubscriber {
public:
    // firstLine is the view's line that the printout's line 0 stands for, startState the
    // highlighter's state at its start.
    TPrintParser(TSimpleParser& screen, bool inColour, int32_t firstLine, uint32_t startState,
                 int32_t screenDpiY);
    ~TPrintParser() override;

    void SetLinePos(int32_t line) override;
    TFontDesc GetStyleFont(int style) override;
    bool GetStyleBack(int style, TColorValue& colour) override;
    uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override;
    void InitStyles(int32_t line, std::string_view text, std::string& styles) override;
    uint32_t DefaultState() const override { return startState_; }

private:
    void ParserStylesChanged(TSimpleParser&) override {}
    // The view's highlighter may go while the printout runs (its window closed); the rest of
    // the printout is then uncoloured.
    void ParserDestroyed(TSimpleParser&) override { screen_ = nullptr; }

    TSimpleParser* screen_;
    bool inColour_;
    int32_t firstLine_;
    uint32_t startState_;
    int32_t screenDpiY_;
};

// The font with its point size turned into a pixel height at that resolution.
TFontDesc InScreenPixels(TFontDesc font, int32_t screenDpiY);

}  // namespace tarnwick
