// Help ID files as the context finder reads them: the plug-in's own list, and the list of the
// server that one of its lines redirects to. Input: key, NUL, own list, NUL, other list.
#include <cstdlib>

#include "fuzz/fuzz_folder.h"
#include "fuzz/fuzz_input.h"
#include "host/help_context_finder.h"
#include "host/help_id_file.h"

namespace {

using tarnwick::fuzz::TFuzzFolder;
using tarnwick::fuzz::TFuzzInput;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const TFuzzFolder folder;
    TFuzzInput input(data, size);
    const std::string key(input.Until('\0'));
    const std::string_view ownList = input.Until('\0');
    const std::string_view otherList = input.Rest();

    const tarnwick::THelpIdFile parsed = tarnwick::THelpIdFile::Parse(ownList);
    if (const tarnwick::THelpIdEntry* entry = parsed.Find(key))
        FUZZ_REQUIRE(entry->redirect.empty() || entry->context == 0);

    const std::string ownHelp = folder.Write("Help/tarnwick.hlp", "");
    folder.Write("Help/tarnwick.id", ownList);
    const std::string otherHelp = folder.Write("Help/other.hlp", "");
    folder.Write("Help/other.id", otherList);
    tarnwick::THelpContextFinder finder(folder.Path(),
                                        [](const std::string&) { return "/modules/other.so"; });
    std::string helpFile = ownHelp;
    finder.FindHelpContext(key, helpFile);
    FUZZ_REQUIRE(helpFile == ownHelp || helpFile == otherHelp);
    return 0;
}
