#include "editor/schematic_functions.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {

template <class Function>
void BindByName(void* module, const char* name, Function*& entry) {
    entry = module ? reinterpret_cast<Function*>(::dlsym(module, name)) : nullptr;
}

// The module may leave a buffer unterminated; the last byte is ours.
void Terminate(TSchText& text) { text.back() = '\0'; }

}  // namespace

TSchText ToSchText(const std::string& text) {
    TSchText buffer{};
    std::copy_n(text.data(), std::min(text.size(), buffer.size() - 1), buffer.data());
    return buffer;
}

std::string FromSchText(const TSchText& buffer) {
    return std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
}

TSchematicFunctions::~TSchematicFunctions() { Unbind(); }

void TSchematicFunctions::Unbind() {
    if (module_)
        ::dlclose(module_);
    module_ = nullptr;
    fn_ = {};
}

void TSchematicFunctions::Bind() {
    Unbind();
    // RTLD_NOLOAD finds the module by its soname among those loaded, and never loads it; the
    // handle keeps it loaded while the entries are in use.
    module_ = ::dlopen(kSchematicModuleName, RTLD_NOW | RTLD_NOLOAD);
    BindByName(module_, "SchApiQuery_Implementation", fn_.implementation);
    BindByName(module_, "SchApiQuery_ImplementationDatafileCount", fn_.datafileCount);
    BindByName(module_, "SchApiQuery_ImplementationDatafile", fn_.datafile);
    BindByName(module_, "SchAPI_CreateGroupIterator", fn_.createIterator);
    BindByName(module_, "SchAPI_GetFirstGroupObject", fn_.firstObject);
    BindByName(module_, "SchAPI_GetNextGroupObject", fn_.nextObject);
    BindByName(module_, "SchAPI_DestroyGroupIterator", fn_.destroyIterator);
    BindByName(module_, "SchAPI_GetObjectIdFromObjectHandle", fn_.objectKind);
    BindByName(module_, "SchAPI_CreateObjectEx", fn_.createObject);
    BindByName(module_, "SchApiQuery_AddObjectToContainer", fn_.addToContainer);
    BindByName(module_, "SchAPIQuery_GrafObject", fn_.grafObject);
    BindByName(module_, "SchAPIQuery_WorkspaceObject", fn_.workspaceObject);
    BindByName(module_, "SchApiQuery_SchParameter", fn_.parameter);
    BindByName(module_, "SchApiQuery_UniqueId", fn_.uniqueId);
    BindByName(module_, "SchApiQuery_SchParameterCalculatedValue", fn_.calculatedValue);
}

int32_t TSchematicFunctions::Implementation(int32_t direction, intptr_t implementation,
                                            TImplementationFields& f) const {
    if (!fn_.implementation)
        return kSchFailed;
    const int32_t result = fn_.implementation(
        direction, implementation, f.ModelName.data(), f.ModelKind.data(), &f.IntegratedLibraryAvailable,
        &f.UseIntegratedLibrary, f.Description.data(), &f.ParameterContainer, f.PortMap.data(), &f.IsCurrent);
    for (TSchText* text : {&f.ModelName, &f.ModelKind, &f.Description, &f.PortMap})
        Terminate(*text);
    return result;
}

int32_t TSchematicFunctions::DatafileCount(int32_t direction, intptr_t implementation, int32_t& count) const {
    return fn_.datafileCount ? fn_.datafileCount(direction, implementation, &count) : kSchFailed;
}

int32_t TSchematicFunctions::Datafile(int32_t direction, intptr_t implementation, int32_t index,
                                      TDatafileFields& f) const {
    if (!fn_.datafile)
        return kSchFailed;
    const int32_t result = fn_.datafile(direction, implementation, index, f.Location.data(),
                                        f.EntityName.data(), f.FileKind.data());
    for (TSchText* text : {&f.Location, &f.EntityName, &f.FileKind})
        Terminate(*text);
    return result;
}

intptr_t TSchematicFunctions::CreateGroupIterator(intptr_t container) const {
    return fn_.createIterator ? fn_.createIterator(container) : 0;
}

intptr_t TSchematicFunctions::FirstGroupObject(intptr_t iterator) const {
    return fn_.firstObject ? fn_.firstObject(iterator) : 0;
}

intptr_t TSchematicFunctions::NextGroupObject(intptr_t iterator) const {
    return fn_.nextObject ? fn_.nextObject(iterator) : 0;
}

int32_t TSchematicFunctions::DestroyGroupIterator(intptr_t iterator) const {
    return fn_.destroyIterator ? fn_.destroyIterator(iterator) : kSchFailed;
}

int32_t TSchematicFunctions::ObjectKind(intptr_t object) const {
    return fn_.objectKind ? fn_.objectKind(object) : kSchNoObjectKind;
}

intptr_t TSchematicFunctions::CreateObject(int32_t kind) const {
    return fn_.createObject ? fn_.createObject(kind) : 0;
}

int32_t TSchematicFunctions::AddObjectToContainer(intptr_t container, intptr_t object) const {
    return fn_.addToContainer ? fn_.addToContainer(container, object) : kSchFailed;
}

int32_t TSchematicFunctions::CommonProperties(int32_t direction, intptr_t object, TCommonFields& f) const {
    if (!fn_.grafObject || !fn_.workspaceObject)
        return kSchFailed;
    if (fn_.grafObject(direction, object, &f.LocationX, &f.LocationY, &f.Color, &f.OwnerPartId) !=
        kSchSucceeded)
        return kSchFailed;
    return fn_.workspaceObject(direction, object, &f.Selected, &f.Enabled);
}

int32_t TSchematicFunctions::Parameter(int32_t direction, intptr_t parameter, TParameterFields& f) const {
    if (!fn_.parameter)
        return kSchFailed;
    const int32_t result = fn_.parameter(direction, parameter, f.Name.data(), f.Value.data(), &f.IsHidden,
                                         &f.ShowName, &f.ParamType);
    Terminate(f.Name);
    Terminate(f.Value);
    return result;
}

int32_t TSchematicFunctions::UniqueId(intptr_t parameter, TSchText& text) const {
    const int32_t result = fn_.uniqueId ? fn_.uniqueId(parameter, text.data()) : kSchFailed;
    Terminate(text);
    return result;
}

int32_t TSchematicFunctions::CalculatedValue(intptr_t parameter, TSchText& text) const {
    const int32_t result = fn_.calculatedValue ? fn_.calculatedValue(parameter, text.data()) : kSchFailed;
    Terminate(text);
    return result;
}

}  // namespace tarnwick
