#pragma once
// Which server module serves each editor kind. A host installs its servers with such a table;
// harbinet's servers are the text editor for EDIF netlists and for plain text.

#include <string>

namespace harbinet {

// The name of the module that serves kind (compared ignoring ASCII case), or "" when none does.
std::string ServerForEditorKind(const std::string& kind);

}  // namespace harbinet
