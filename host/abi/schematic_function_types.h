#pragma once
// The functions the schematic editor's module (libgrivel.so) exports by name. The plug-in binds
// them when it shows the model properties; harbinet and the tests reach the component store
// through them. Both sides check their definitions against these types.
//
// Objects are opaque handles; 0 is no object. Query functions answer 0 on success and 1 on
// failure (an unknown handle, a missing field, an index out of range). A direction of 1 reads
// the object's properties into the caller's fields, 0 writes the caller's fields to the object.
// Text travels through zero-terminated buffers of kSchTextCapacity bytes in both directions.

#include <cstddef>
#include <cstdint>

constexpr std::size_t kSchTextCapacity = 1024;

constexpr int32_t kSchRead = 1;
constexpr int32_t kSchWrite = 0;
constexpr int32_t kSchSucceeded = 0;
constexpr int32_t kSchFailed = 1;

// Object kinds, as GetObjectIdFromObjectHandle answers them.
constexpr int32_t kSchComponentKind = 1;
constexpr int32_t kSchImplementationKind = 45;
constexpr int32_t kSchParameterKind = 57;
constexpr int32_t kSchNoObjectKind = 61;  // an unknown handle, or an object not read yet

// The module's file name; harbinet loads it, the plug-in only looks for it among loaded modules.
constexpr char kSchematicModuleName[] = "libgrivel.so";

extern "C" {
using TSchApiQueryImplementation = int32_t(int32_t direction, intptr_t implementation, char* modelName,
                                           char* modelKind, int32_t* integratedLibraryAvailable,
                                           int32_t* useIntegratedLibrary, char* description,
                                           intptr_t* parameterContainer, char* portMap, int32_t* isCurrent);
using TSchApiQueryImplementationDatafileCount = int32_t(int32_t direction, intptr_t implementation,
                                                        int32_t* count);
using TSchApiQueryImplementationDatafile = int32_t(int32_t direction, intptr_t implementation, int32_t index,
                                                   char* location, char* entityName, char* fileKind);

// Iterators walk a container's members in order; GetNext after the last answers 0.
using TSchApiCreateGroupIterator = intptr_t(intptr_t container);
using TSchApiGetGroupObject = intptr_t(intptr_t iterator);
using TSchApiDestroyGroupIterator = int32_t(intptr_t iterator);

using TSchApiGetObjectIdFromObjectHandle = int32_t(intptr_t object);
using TSchApiCreateObjectEx = intptr_t(int32_t kind);
using TSchApiQueryAddObjectToContainer = int32_t(intptr_t container, intptr_t object);

// The properties every object has, transferred before the object's own.
using TSchApiQueryGrafObject = int32_t(int32_t direction, intptr_t object, int32_t* locationX,
                                       int32_t* locationY, int32_t* color, int32_t* ownerPartId);
using TSchApiQueryWorkspaceObject = int32_t(int32_t direction, intptr_t object, int32_t* selected,
                                            int32_t* enabled);
using TSchApiQuerySchParameter = int32_t(int32_t direction, intptr_t parameter, char* name, char* value,
                                         int32_t* isHidden, int32_t* showName, int32_t* paramType);
// Read only: the parameter's identifier and its computed value.
using TSchApiQueryParameterText = int32_t(intptr_t parameter, char* text);

// Grivel's own additions, for the host that shows the store.
// Replaces the whole store by the one described in text; on failure the store stays as it was
// and error (kSchTextCapacity bytes, may be null) says which line is wrong.
using TGrivelLoadStore = int32_t(const char* text, char* error);
// The container whose members are the components.
using TGrivelGetLibrary = intptr_t();
// A component's name.
using TGrivelGetObjectName = int32_t(intptr_t object, char* name);
}
