#include "editor/abstract_text_module.h"

TAbstractTextModule::TAbstractTextModule(IClient* client, std::string moduleName)
    : TServerModule(client, std::move(moduleName)) {}
