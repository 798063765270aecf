#pragma once
// Tarnwick's server module: a text document for every request, the "ViewError" process and
// the schematic editor's entry to the model properties.

#include "editor/abstract_text_module.h"

namespace tarnwick {

class TTarnwickModule final : public TAbstractTextModule, public IModelPropertiesEditor {
public:
    explicit TTarnwickModule(IClient* client);

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return TAbstractTextModule::AddRef(); }
    int32_t Release() override { return TAbstractTextModule::Release(); }

    // The schematic editor's entry to the "Properties of Model" dialog: *result is true when the
    // user chose OK and the changes were written back.
    int32_t EditModelProperties(intptr_t implementation, intptr_t component, int32_t flag,
                                int32_t* result) override;

private:
    TComPtr<IServerDocument> NewDocument(const std::string& kind, const std::string& fileName) override;
    int32_t ViewError(IServerView* context, char* params, int32_t capacity);
};

}  // namespace tarnwick
