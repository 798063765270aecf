#include "hostapp/editor_kinds.h"

#include "host/abi/parameter_list.h"
#include "hostapp/disk_file_system.h"

namespace harbinet {

namespace {

struct TEditorKind {
    const char* kind;
    const char* server;
};

const TEditorKind kEditorKinds[] = {
    {kEdifEditorKind, kTextEditorServer},
    {kTextEditorKind, kTextEditorServer},
};

}  // namespace

std::string ServerForEditorKind(const std::string& kind) {
    for (const TEditorKind& entry : kEditorKinds)
        if (SameParameterName(kind, entry.kind))
            return entry.server;
    return {};
}

}  // namespace harbinet
