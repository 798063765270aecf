// The text document's operations that other servers drive with parameter strings (control
// requests, text queries, go-to, line edits, cross-probing, wrap mode), each given a fuzzed
// string in a buffer of exactly the exchanged limit: a reply that writes past it is caught at
// once, and every reply must end within it.
// Input: up to eight requests, each an operation byte and its parameter string up to a NUL.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "editor/text_document.h"
#include "fuzz/fuzz_folder.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_qt.h"
#include "host/abi/parameter_list.h"
#include "languages/text_source.h"
#include "tests/support/widget_of_view.h"

namespace {

using namespace tarnwick;
using fuzz::TFuzzFolder;
using fuzz::TFuzzInput;

constexpr int kMaxRequests = 8;

const char* const kText =
    "(edif design\r\n  (edifVersion 2 0 0)\r\n  (library work\r\n    (cell inv (cellType GENERIC)\r\n"
    "      (view netlist (viewType NETLIST)\r\n        (interface (port A (direction INPUT)))))))\r\n";

using TOperation = void (*)(TTextDocument&, char*);

const TOperation kOperations[] = {
    [](TTextDocument& d, char* p) { d.ExternalRequest(p); },
    [](TTextDocument& d, char* p) { d.GetText(p); },
    [](TTextDocument& d, char* p) { d.GotoLine(p); },
    [](TTextDocument& d, char* p) { d.SetLineText(p); },
    [](TTextDocument& d, char* p) { d.QueryCrossProbeTarget(p); },
    [](TTextDocument& d, char* p) { d.CrossProbeTo(p); },
    [](TTextDocument& d, char* p) { d.SetWrapMode(p); },
    [](TTextDocument& d, char* p) {
        int32_t r[5] = {};
        d.IsWrapMode(p, &r[0], &r[1], &r[2], &r[3], &r[4]);
    },
    [](TTextDocument& d, char* p) { d.InsertText(p); },
};

// One document for the whole run; each input starts it from the same text. Temporary files
// that requests write (GetAll) go to a folder that is emptied after every input.
struct TFixture {
    TFixture() {
        fuzz::EnsureApplication();
        fuzz::DismissModalWindows();
        std::filesystem::create_directories(temporary);
        ::setenv("TMPDIR", temporary.c_str(), 1);
        document = TServerDocument::Create<TEDIFDocument>(nullptr, std::string("a.edf"), std::string("EDIF"));
        window = WidgetOfView<TTextWindow>(*document, 1);
        FUZZ_REQUIRE(window != nullptr);
        window->TextSource().Dialogs.GotoLineDialog = [](TTextSource&, int64_t) { return std::nullopt; };
        window->TextSource().Dialogs.ShowErrorMessage = [](const std::string&) {};
    }
    TFuzzFolder folder;
    const std::string temporary = folder.Path() + "tmp";
    TComPtr<TEDIFDocument> document;
    TTextWindow* window = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static TFixture fixture;
    fixture.window->TextSource().Lines().SetText(kText);
    TFuzzInput input(data, size);
    auto buffer = std::make_unique<char[]>(kParameterStringLimit);
    for (int i = 0; i < kMaxRequests && !input.Empty(); ++i) {
        const TOperation operation = kOperations[input.Below(std::size(kOperations))];
        const std::string_view params = input.Until('\0');
        const std::size_t n = std::min(params.size(), kParameterStringLimit - 1);
        if (n > 0)
            std::memcpy(buffer.get(), params.data(), n);
        buffer[n] = '\0';
        operation(*fixture.document, buffer.get());
        FUZZ_REQUIRE(std::memchr(buffer.get(), '\0', kParameterStringLimit) != nullptr);
    }
    for (const auto& entry : std::filesystem::directory_iterator(fixture.temporary))
        std::filesystem::remove_all(entry.path());
    return 0;
}
