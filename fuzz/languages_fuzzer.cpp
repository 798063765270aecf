// The language files beside the host program, read through the language manager as a text
// window reads them: the list file, then the scheme and the templates of the language its
// associations give the document's extension. A scheme that loads must highlight any line, and
// every template that loads must expand into a buffer and undo cleanly.
// Input: extension, NUL, Languages.ini, NUL, EDIF.syn, NUL, EDIF.tpl.
#include <cstdlib>
#include <string>
#include <system_error>

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
    }
    if (LoadTemplates(source))
        ExpandEveryTemplate(source);
    return 0;
}
