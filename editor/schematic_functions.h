#pragma once
// The schematic editor's functions, bound by name from its module when that module is already
// loaded in the process (it is never loaded from here). A function the module does not export,
// or a module that is not loaded, leaves its entry empty; a call through an empty entry changes
// nothing and answers the fixed default of that function.
//
// Text goes through buffers of kSchTextCapacity bytes; whatever the module writes into them is
// read only up to the buffer's end.

#include <array>
#include <cstdint>
#include <string>

#include "host/abi/schematic_function_types.h"

namespace tarnwick {

using TSchText = std::array<char, kSchTextCapacity>;

// text in a buffer for the module, cut to fit with its terminating zero.
TSchText ToSchText(const std::string& text);
// The buffer's text up to its terminating zero or its end.
std::string FromSchText(const TSchText& buffer);

class TSchematicFunctions {
public:
    TSchematicFunctions() = default;
    TSchematicFunctions(const TSchematicFunctions&) = delete;
    TSchematicFunctions& operator=(const TSchematicFunctions&) = delete;
    ~TSchematicFunctions();  // lets go of the module

    // Looks the module up again and binds every function; entries it lacks stay empty.
    void Bind();
    [[nodiscard]] bool IsBound() const noexcept { return module_ != nullptr; }

    struct TImplementationFields {
        TSchText ModelName{};
        TSchText ModelKind{};
        int32_t IntegratedLibraryAvailable = 0;
        int32_t UseIntegratedLibrary = 0;
        TSchText Description{};
        intptr_t ParameterContainer = 0;
        TSchText PortMap{};
        int32_t IsCurrent = 0;
    };
    struct TDatafileFields {
        TSchText Location{};
        TSchText EntityName{};
        TSchText FileKind{};
    };
    struct TCommonFields {
        int32_t LocationX = 0;
        int32_t LocationY = 0;
        int32_t Color = 0;
        int32_t OwnerPartId = 0;
        int32_t Selected = 0;
        int32_t Enabled = 0;
    };
    struct TParameterFields {
        TSchText Name{};
        TSchText Value{};
        int32_t IsHidden = 0;
        int32_t ShowName = 0;
        int32_t ParamType = 0;
    };

    // Query functions answer kSchSucceeded (0) or kSchFailed (1), as the module does.
    int32_t Implementation(int32_t direction, intptr_t implementation, TImplementationFields& fields) const;
    int32_t DatafileCount(int32_t direction, intptr_t implementation, int32_t& count) const;
    int32_t Datafile(int32_t direction, intptr_t implementation, int32_t index,
                     TDatafileFields& fields) const;
    intptr_t CreateGroupIterator(intptr_t container) const;
    intptr_t FirstGroupObject(intptr_t iterator) const;
    intptr_t NextGroupObject(intptr_t iterator) const;
    int32_t DestroyGroupIterator(intptr_t iterator) const;
    int32_t ObjectKind(intptr_t object) const;
    intptr_t CreateObject(int32_t kind) const;
    int32_t AddObjectToContainer(intptr_t container, intptr_t object) const;
    // Both common queries, graphical first; fails when either fails.
    int32_t CommonProperties(int32_t direction, intptr_t object, TCommonFields& fields) const;
    int32_t Parameter(int32_t direction, intptr_t parameter, TParameterFields& fields) const;
    int32_t UniqueId(intptr_t parameter, TSchText& text) const;
    int32_t CalculatedValue(intptr_t parameter, TSchText& text) const;

private:
    void Unbind();

    void* module_ = nullptr;
    struct TEntries {
        TSchApiQueryImplementation* implementation = nullptr;
        TSchApiQueryImplementationDatafileCount* datafileCount = nullptr;
        TSchApiQueryImplementationDatafile* datafile = nullptr;
        TSchApiCreateGroupIterator* createIterator = nullptr;
        TSchApiGetGroupObject* firstObject = nullptr;
        TSchApiGetGroupObject* nextObject = nullptr;
        TSchApiDestroyGroupIterator* destroyIterator = nullptr;
        TSchApiGetObjectIdFromObjectHandle* objectKind = nullptr;
        TSchApiCreateObjectEx* createObject = nullptr;
        TSchApiQueryAddObjectToContainer* addToContainer = nullptr;
        TSchApiQueryGrafObject* grafObject = nullptr;
        TSchApiQueryWorkspaceObject* workspaceObject = nullptr;
        TSchApiQuerySchParameter* parameter = nullptr;
        TSchApiQueryParameterText* uniqueId = nullptr;
        TSchApiQueryParameterText* calculatedValue = nullptr;
    } fn_;
};

}  // namespace tarnwick
