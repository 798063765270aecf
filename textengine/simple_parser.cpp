#include "textengine/simple_parser.h"

#include <algorithm>

namespace tarnwick {

TSimpleParser::~TSimpleParser() {
    // Copy: a subscriber usually unsubscribes while it is being told.
    const std::vector<TParserSubscriber*> subscribers = subscribers_;
    for (TParserSubscriber* s : subscribers)
        s->ParserDestroyed(*this);
}

void TSimpleParser::InitStyles(int32_t line, std::string_view text, std::string& styles) {
    styles.assign(text.size(), '\0');
}

// Only parsers that answer ParsesInWindows are asked; this one styles nothing.
TWindowParse TSimpleParser::ParseWindow(std::string_view, size_t, bool, const TParsePoint& from, char*,
                                        size_t, TParsePointSink&) {
    TWindowParse done;
    done.end = TWindowParse::kLineEnd;
    done.endState = uint32_t(from.state);
    return done;
}

void TSimpleParser::Subscribe(TParserSubscriber* subscriber) {
    if (std::find(subscribers_.begin(), subscribers_.end(), subscriber) == subscribers_.end())
        subscribers_.push_back(subscriber);
}

void TSimpleParser::Unsubscribe(TParserSubscriber* subscriber) { std::erase(subscribers_, subscriber); }

void TSimpleParser::NotifyStylesChanged() {
    const std::vector<TParserSubscriber*> subscribers = subscribers_;
    for (TParserSubscriber* s : subscribers)
        s->ParserStylesChanged(*this);
}

}  // namespace tarnwick
