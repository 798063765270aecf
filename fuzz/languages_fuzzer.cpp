// The language files beside the host program, read through the language manager as a text
// window reads them: the list file, then the scheme and the templates of the language its
// associations give the document's extension. A scheme that loads must highlight any line, a
// parse resumed at any token edge in a window of any length must agree with the parse of the
// whole line as far as it says it does, and every template that loads must expand into a
// buffer and undo cleanly.
// Input: extension, NUL, Languages.ini, NUL, EDIF.syn, NUL, EDIF.tpl.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "languages/code_template_expander.h"
#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"
#include "languages/text_source.h"
#include "tests/languages/host_languages_folder.h"

namespace {

using namespace tarnwick;
using fuzz::TFuzzInput;

const char* const kText =
    "(edif design (edifVersion 2 0 0) ; comment\r\n  (cell \"inv\" (property w (integer -12)))\r\n"
    "module m(input a); // note\r\n  assign y = 8'hFF;\r\nentity e is -- vhdl\r\n\t\"open string\r\n";

bool LoadScheme(TTextSource& source, TSyntaxParser& parser) {
    try {
        source.LoadLanguageScheme(&parser);
        return true;
    } catch (const TSchemeReadError&) {
    } catch (const std::system_error&) {
    }
    return false;
}

bool LoadTemplates(TTextSource& source) {
    try {
        source.LoadLanguageTemplates();
        return true;
    } catch (const TTemplateReadError&) {
    } catch (const std::system_error&) {
    }
    return false;
}

// Keeps the point of every token edge.
class TEveryPoint final : public TParsePointSink {
public:
    size_t AtPoint(const TParsePoint& point) override {
        points.push_back(point);
        return point.offset + 1;
    }
    std::vector<TParsePoint> points;
};

bool SamePoint(const TParsePoint& a, const TParsePoint& b) {
    return a.offset == b.offset && a.reach == b.reach && a.state == b.state;
}

// Parses line from every third token edge of its whole parse in windows that end every few
// bytes, some starting just before the edge: what a window settles is what the whole parse has.
uint32_t CheckWindows(TSyntaxParser& parser, const std::string& line, uint32_t state) {
    std::string reference(line.size(), '\0');
    const uint32_t end = parser.ParseLine(line, state, reference);
    if (!parser.ParsesInWindows() || line.empty())
        return end;
    TEveryPoint whole;
    std::string styles(line.size(), '\0');
    const TWindowParse all =
        parser.ParseWindow(line, 0, true, parser.LineStart(state), styles.data(), 1, whole);
    FUZZ_REQUIRE(all.end == TWindowParse::kLineEnd && all.endState == end && styles == reference);
    for (size_t k = 0; k < whole.points.size(); k += 3) {
        const TParsePoint& from = whole.points[k];
        for (size_t stop = from.offset; stop <= line.size(); stop += 5) {
            for (const size_t base : {size_t(0), from.offset - std::min<size_t>(from.offset, 2)}) {
                TEveryPoint part;
                std::string window(stop - base, '\0');
                const TWindowParse r =
                    parser.ParseWindow(std::string_view(line).substr(base, stop - base), base,
                                       stop == line.size(), from, window.data(), from.offset + 1, part);
                if (r.startTooLate)
                    continue;
                for (const TParsePoint& p : part.points)
                    FUZZ_REQUIRE(std::any_of(whole.points.begin(), whole.points.end(),
                                             [&](const TParsePoint& q) { return SamePoint(p, q); }));
                const size_t settled = r.end == TWindowParse::kLineEnd ? stop : r.last.offset;
                FUZZ_REQUIRE(window.compare(from.offset - base, settled - from.offset, reference, from.offset,
                                            settled - from.offset) == 0);
                FUZZ_REQUIRE(r.end != TWindowParse::kLineEnd || r.endState == end);
            }
        }
    }
    return end;
}

void ExpandEveryTemplate(TTextSource& source) {
    const std::string before = source.Text();
    const TMemoCodeTemplates& templates = source.CodeTemplates();
    for (std::size_t i = 0; i < templates.Count() && i < 8; ++i) {
        source.SetCaret(int32_t(i), 1);
        InsertCodeTemplate(source, templates[i]);
    }
    for (int guard = 0; source.CanUndo() && guard < 100000; ++guard)
        source.Undo();
    FUZZ_REQUIRE(source.Text() == before);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const THostLanguagesFolder folder;
    TFuzzInput input(data, size);
    const std::string extension(input.Until('\0'));
    folder.Write("Languages.ini", input.Until('\0'));
    folder.Write("EDIF.syn", input.Until('\0'));
    folder.Write("EDIF.tpl", input.Rest());

    TTextSource source;
    THostLanguagesFolder::SetUp(source.LanguageManager());
    source.Dialogs.ShowErrorMessage = [](const std::string&) {};
    source.SetLanguageKey(extension);
    source.Lines().SetText(kText);

    TSyntaxParser parser;
    if (LoadScheme(source, parser)) {
        source.SetSyntaxParser(&parser);
        for (int32_t line = 0; line < source.LineCount(); ++line)
            FUZZ_REQUIRE(source.LineColors(line).size() >= source.StoredLine(line).size());
        source.SetSyntaxParser(nullptr);
        uint32_t state = parser.DefaultState();
        for (int32_t line = 0; line < source.LineCount(); ++line)
            state = CheckWindows(parser, std::string(source.StoredLine(line)), state);
        std::string joined = source.Text();
        std::replace(joined.begin(), joined.end(), '\n', ' ');
        std::replace(joined.begin(), joined.end(), '\r', ' ');
        CheckWindows(parser, joined, parser.DefaultState());
    }
    if (LoadTemplates(source))
        ExpandEveryTemplate(source);
    return 0;
}
