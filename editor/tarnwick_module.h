#pragma once
// Tarnwick's server module: a text document for every request, the "ViewError" process.

#include "editor/abstract_text_module.h"

class TTarnwickModule final : public TAbstractTextModule {
public:
    explicit TTarnwickModule(IClient* client);

private:
    TComPtr<IServerDocument> NewDocument(const std::string& kind,
                                         const std::string& fileName) override;
    int32_t ViewError(IServerView* context, char* params, int32_t capacity);
};
