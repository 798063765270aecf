#pragma once
// The host's file streams for a test host: harbinet's disk file system behind the VFSAPI_*
// stream functions, with the faults a test asks for on top.

#include <string>

struct TestStreamFaults {
    std::string refuseOpen;  // a read stream on this path is refused, as without permission
    bool failReads = false;  // every read fails, as on an I/O error
};

TestStreamFaults& StreamFaults();
