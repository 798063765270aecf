#pragma once

namespace harbinet {

// The processes of harbinet's text-editing service ("TextEdit:...") that the editor's search
// panel and other servers ask for ("ExternalRequest" carries a control request in its
// parameters). Each goes to the document that owns the view the request names as context.

class THostClient;

void RegisterTextEditProcesses(THostClient& client);

}  // namespace harbinet
