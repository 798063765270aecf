// The functions libgrivel.so exports by name, over the one store the module owns. Every
// function checks its handle's kind and its pointers before it touches anything, so a call that
// fails has changed nothing, and no text it writes is longer than the caller's buffer.

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "grivel/store.h"
#include "host/abi/schematic_function_types.h"
#include "host/abi/unknown.h"

namespace grivel {
namespace {

// The module's state: one store for as long as the library is loaded.
TStore& Store() {
    static TStore store;
    return store;
}

TObject* FindKind(THandle handle, int32_t kind) {
    TObject* object = Store().Find(handle);
    return object && object->Kind == kind ? object : nullptr;
}

bool AllGiven(std::initializer_list<const void*> pointers) {
    return std::all_of(pointers.begin(), pointers.end(), [](const void* p) { return p != nullptr; });
}

// At most kSchTextCapacity - 1 bytes and the terminating zero.
void CopyOut(const std::string& text, char* buffer) {
    const std::size_t length = std::min(text.size(), kSchTextCapacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// Reads no further than the caller's buffer, terminated or not.
std::string CopyIn(const char* buffer) {
    return std::string(buffer, ::strnlen(buffer, kSchTextCapacity - 1));
}

void Transfer(int32_t direction, std::string& field, char* buffer) {
    if (direction == kSchRead)
        CopyOut(field, buffer);
    else
        field = CopyIn(buffer);
}

void Transfer(int32_t direction, bool& field, int32_t* value) {
    if (direction == kSchRead)
        *value = ToBool32(field);
    else
        field = *value != 0;
}

void Transfer(int32_t direction, int32_t& field, int32_t* value) {
    if (direction == kSchRead)
        *value = field;
    else
        field = *value;
}

bool KnownDirection(int32_t direction) { return direction == kSchRead || direction == kSchWrite; }

int32_t Answer(bool succeeded) { return succeeded ? kSchSucceeded : kSchFailed; }

}  // namespace
}  // namespace grivel

using namespace grivel;

#define GRIVEL_EXPORT extern "C" __attribute__((visibility("default")))

GRIVEL_EXPORT int32_t SchApiQuery_Implementation(int32_t direction, intptr_t implementation, char* modelName,
                                                 char* modelKind, int32_t* integratedLibraryAvailable,
                                                 int32_t* useIntegratedLibrary, char* description,
                                                 intptr_t* parameterContainer, char* portMap,
                                                 int32_t* isCurrent) {
    TObject* object = FindKind(implementation, kSchImplementationKind);
    if (!object || !KnownDirection(direction) ||
        !AllGiven({modelName, modelKind, integratedLibraryAvailable, useIntegratedLibrary, description,
                   parameterContainer, portMap, isCurrent}))
        return kSchFailed;
    Transfer(direction, object->ModelName, modelName);
    Transfer(direction, object->ModelKind, modelKind);
    // Whether the component's library can supply the model is the component's to say.
    if (direction == kSchRead)
        *integratedLibraryAvailable = ToBool32(object->IntegratedLibraryAvailable);
    Transfer(direction, object->UseIntegratedLibrary, useIntegratedLibrary);
    Transfer(direction, object->Description, description);
    if (direction == kSchRead)
        *parameterContainer = implementation;  // an implementation holds its own parameters
    Transfer(direction, object->PortMap, portMap);
    Transfer(direction, object->IsCurrent, isCurrent);
    return kSchSucceeded;
}

GRIVEL_EXPORT int32_t SchApiQuery_ImplementationDatafileCount(int32_t direction, intptr_t implementation,
                                                              int32_t* count) {
    TObject* object = FindKind(implementation, kSchImplementationKind);
    if (!object || !count || !KnownDirection(direction))
        return kSchFailed;
    if (direction == kSchRead) {
        *count = static_cast<int32_t>(object->Datafiles.size());
        return kSchSucceeded;
    }
    if (*count < 0 || *count > 1000)
        return kSchFailed;
    object->Datafiles.resize(static_cast<std::size_t>(*count));
    return kSchSucceeded;
}

GRIVEL_EXPORT int32_t SchApiQuery_ImplementationDatafile(int32_t direction, intptr_t implementation,
                                                         int32_t index, char* location, char* entityName,
                                                         char* fileKind) {
    TObject* object = FindKind(implementation, kSchImplementationKind);
    if (!object || !KnownDirection(direction) || !AllGiven({location, entityName, fileKind}) || index < 0 ||
        static_cast<std::size_t>(index) >= object->Datafiles.size())
        return kSchFailed;
    TDatafile& file = object->Datafiles[static_cast<std::size_t>(index)];
    Transfer(direction, file.Location, location);
    Transfer(direction, file.EntityName, entityName);
    Transfer(direction, file.FileKind, fileKind);
    return kSchSucceeded;
}

GRIVEL_EXPORT intptr_t SchAPI_CreateGroupIterator(intptr_t container) {
    return Store().CreateIterator(container);
}
GRIVEL_EXPORT intptr_t SchAPI_GetFirstGroupObject(intptr_t iterator) { return Store().First(iterator); }
GRIVEL_EXPORT intptr_t SchAPI_GetNextGroupObject(intptr_t iterator) { return Store().Next(iterator); }
GRIVEL_EXPORT int32_t SchAPI_DestroyGroupIterator(intptr_t iterator) {
    return Answer(Store().DestroyIterator(iterator));
}

GRIVEL_EXPORT int32_t SchAPI_GetObjectIdFromObjectHandle(intptr_t object) {
    const TObject* found = Store().Find(object);
    return found ? found->Kind : kSchNoObjectKind;
}

GRIVEL_EXPORT intptr_t SchAPI_CreateObjectEx(int32_t kind) { return Store().Create(kind); }

GRIVEL_EXPORT int32_t SchApiQuery_AddObjectToContainer(intptr_t container, intptr_t object) {
    return Answer(Store().AddToContainer(container, object));
}

GRIVEL_EXPORT int32_t SchAPIQuery_GrafObject(int32_t direction, intptr_t handle, int32_t* locationX,
                                             int32_t* locationY, int32_t* color, int32_t* ownerPartId) {
    TObject* object = Store().Find(handle);
    if (!object || !KnownDirection(direction) || !AllGiven({locationX, locationY, color, ownerPartId}))
        return kSchFailed;
    Transfer(direction, object->LocationX, locationX);
    Transfer(direction, object->LocationY, locationY);
    Transfer(direction, object->Color, color);
    Transfer(direction, object->OwnerPartId, ownerPartId);
    return kSchSucceeded;
}

GRIVEL_EXPORT int32_t SchAPIQuery_WorkspaceObject(int32_t direction, intptr_t handle, int32_t* selected,
                                                  int32_t* enabled) {
    TObject* object = Store().Find(handle);
    if (!object || !KnownDirection(direction) || !AllGiven({selected, enabled}))
        return kSchFailed;
    Transfer(direction, object->Selected, selected);
    Transfer(direction, object->Enabled, enabled);
    return kSchSucceeded;
}

GRIVEL_EXPORT int32_t SchApiQuery_SchParameter(int32_t direction, intptr_t parameter, char* name, char* value,
                                               int32_t* isHidden, int32_t* showName, int32_t* paramType) {
    TObject* object = FindKind(parameter, kSchParameterKind);
    if (!object || !KnownDirection(direction) || !AllGiven({name, value, isHidden, showName, paramType}))
        return kSchFailed;
    Transfer(direction, object->Name, name);
    Transfer(direction, object->Value, value);
    Transfer(direction, object->IsHidden, isHidden);
    Transfer(direction, object->ShowName, showName);
    Transfer(direction, object->ParamType, paramType);
    return kSchSucceeded;
}

GRIVEL_EXPORT int32_t SchApiQuery_UniqueId(intptr_t parameter, char* text) {
    const TObject* object = FindKind(parameter, kSchParameterKind);
    if (!object || !text)
        return kSchFailed;
    CopyOut(object->UniqueId, text);
    return kSchSucceeded;
}

// Values are plain text here, so the computed value is the value itself.
GRIVEL_EXPORT int32_t SchApiQuery_SchParameterCalculatedValue(intptr_t parameter, char* text) {
    const TObject* object = FindKind(parameter, kSchParameterKind);
    if (!object || !text)
        return kSchFailed;
    CopyOut(object->Value, text);
    return kSchSucceeded;
}

GRIVEL_EXPORT int32_t GrivelAPI_LoadStore(const char* text, char* error) {
    const auto failure = Store().Load(text ? text : "");
    if (failure && error)
        CopyOut(*failure, error);
    return Answer(!failure);
}

GRIVEL_EXPORT intptr_t GrivelAPI_GetLibrary() { return Store().Library(); }

GRIVEL_EXPORT int32_t GrivelAPI_GetObjectName(intptr_t component, char* name) {
    const TObject* object = FindKind(component, kSchComponentKind);
    if (!object || !name)
        return kSchFailed;
    CopyOut(object->Name, name);
    return kSchSucceeded;
}

// Each definition must keep the type the plug-in and the host bind it as.
static_assert(std::is_same_v<decltype(SchApiQuery_Implementation), TSchApiQueryImplementation>);
static_assert(std::is_same_v<decltype(SchApiQuery_ImplementationDatafileCount),
                             TSchApiQueryImplementationDatafileCount>);
static_assert(
    std::is_same_v<decltype(SchApiQuery_ImplementationDatafile), TSchApiQueryImplementationDatafile>);
static_assert(std::is_same_v<decltype(SchAPI_CreateGroupIterator), TSchApiCreateGroupIterator>);
static_assert(std::is_same_v<decltype(SchAPI_GetFirstGroupObject), TSchApiGetGroupObject>);
static_assert(std::is_same_v<decltype(SchAPI_GetNextGroupObject), TSchApiGetGroupObject>);
static_assert(std::is_same_v<decltype(SchAPI_DestroyGroupIterator), TSchApiDestroyGroupIterator>);
static_assert(
    std::is_same_v<decltype(SchAPI_GetObjectIdFromObjectHandle), TSchApiGetObjectIdFromObjectHandle>);
static_assert(std::is_same_v<decltype(SchAPI_CreateObjectEx), TSchApiCreateObjectEx>);
static_assert(std::is_same_v<decltype(SchApiQuery_AddObjectToContainer), TSchApiQueryAddObjectToContainer>);
static_assert(std::is_same_v<decltype(SchAPIQuery_GrafObject), TSchApiQueryGrafObject>);
static_assert(std::is_same_v<decltype(SchAPIQuery_WorkspaceObject), TSchApiQueryWorkspaceObject>);
static_assert(std::is_same_v<decltype(SchApiQuery_SchParameter), TSchApiQuerySchParameter>);
static_assert(std::is_same_v<decltype(SchApiQuery_UniqueId), TSchApiQueryParameterText>);
static_assert(std::is_same_v<decltype(SchApiQuery_SchParameterCalculatedValue), TSchApiQueryParameterText>);
static_assert(std::is_same_v<decltype(GrivelAPI_LoadStore), TGrivelLoadStore>);
static_assert(std::is_same_v<decltype(GrivelAPI_GetLibrary), TGrivelGetLibrary>);
static_assert(std::is_same_v<decltype(GrivelAPI_GetObjectName), TGrivelGetObjectName>);
