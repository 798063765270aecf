#include "hostapp/caret_line.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "host/abi/parameter_list.h"

namespace harbinet {

namespace {

// One control request; the value of the named reply parameter as a number, or fallback.
int32_t AskNumber(ITextEditorCommands& commands, const char* request, const char* name, int32_t fallback) {
    std::vector<char> params(kParameterStringLimit, '\0');
    StoreParameter(params.data(), "Command", request);
    commands.ExternalRequest(params.data());
    const std::string value = LookupParameter(params.data(), name);
    int32_t number = fallback;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() && end == value.data() + value.size() ? number : fallback;
}

}  // namespace

int32_t CaretLineOf(ITextEditorCommands& commands) {
    return std::max(0, AskNumber(commands, "GetCurrentCursorPosition", "LineNumber", 0));
}

void MoveCaretToLine(ITextEditorCommands& commands, int32_t line) {
    const int32_t lines = AskNumber(commands, "GetDocumentLength", "Length", 0);
    if (lines <= 0)
        return;
    std::vector<char> params(kParameterStringLimit, '\0');
    StoreParameter(params.data(), "NewLineNumber", std::to_string(std::clamp(line, 0, lines - 1)));
    commands.GotoLine(params.data());
}

}  // namespace harbinet
