#pragma once
// The module base of the host's text editors: it keeps the shared preferences file current and
// passes a preferences change on to its documents.

#include <string>

#include "host/server_module.h"

class TAbstractTextModule : public TServerModule {
public:
    TAbstractTextModule(IClient* client, std::string moduleName);
};
