#pragma once

namespace harbinet {

// The processes of harbinet's text-editing service ("TextEdit:...") that the editor's search
// panel asks for. Each goes to the document that owns the view the request names as context.

class THostClient;

void RegisterTextEditProcesses(THostClient& client);

}  // namespace harbinet
