#include "textengine/print/print_parser.h"

#include <cmath>

namespace tarnwick {

namespace {
constexpr TColorValue kPaperWhite = 0xFFFFFF;
constexpr TColorValue kInkBlack = 0x000000;
}  // namespace

TFontDesc InScreenPixels(TFontDesc font, int32_t screenDpiY) {
    if (font.Size > 0) {
        font.Height = -int32_t(std::lround(font.Size * screenDpiY / 72.0));
        font.Size = 0;
    }
    return font;
}

TPrintParser::TPrintParser(TSimpleParser& screen, bool inColour, int32_t firstLine, uint32_t startState,
                           int32_t screenDpiY)
    : screen_(&screen),
      inColour_(inColour),
      firstLine_(firstLine),
      startState_(startState),
      screenDpiY_(screenDpiY) {
    screen.Subscribe(this);
}

TPrintParser::~TPrintParser() {
    if (screen_ != nullptr)
        screen_->Unsubscribe(this);
}

void TPrintParser::SetLinePos(int32_t line) {
    TSimpleParser::SetLinePos(line);
    if (screen_ != nullptr)
        screen_->SetLinePos(firstLine_ + line);
}

TFontDesc TPrintParser::GetStyleFont(int style) {
    TFontDesc font =
        InScreenPixels(screen_ != nullptr ? screen_->GetStyleFont(style) : TFontDesc{}, screenDpiY_);
    if (!inColour_)
        font.Color = kInkBlack;
    return font;
}

bool TPrintParser::GetStyleBack(int, TColorValue& colour) {
    colour = kPaperWhite;
    return true;
}

uint32_t TPrintParser::ParseLine(std::string_view text, uint32_t state, std::string& styles) {
    return screen_ != nullptr ? screen_->ParseLine(text, state, styles) : state;
}

void TPrintParser::InitStyles(int32_t line, std::string_view text, std::string& styles) {
    if (screen_ != nullptr)
        screen_->InitStyles(firstLine_ + line, text, styles);
    else
        TSimpleParser::InitStyles(line, text, styles);
}

}  // namespace tarnwick
