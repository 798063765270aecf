// The options object shared by every buffer whose UseGlobalOptions is set. The editor never
// sets that switch, so its buffers behave as if KeepTrailingBlanks were false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "textengine/memo_types.h"

namespace tarnwick {

class TCustomMemoSource;

class TMemoSourceOptions {
public:
    // The one object of the process, created at first use.
    static TMemoSourceOptions& Shared();

    bool KeepTrailingBlanks = false;
    TStringsOptions Options{kDefaultStringsOptions};
    std::string TabStops = "9,17";
    std::string Delimeters = "/{}+-*():=,;><$.#[]^@&~|%'";
    int32_t BlockIndent = 1;

    // Pushes the values into every buffer that uses them.
    void Changed();

private:
    friend class TCustomMemoSource;
    // Every living buffer, registered by its constructor.
    std::vector<TCustomMemoSource*> buffers_;
};

}  // namespace tarnwick
