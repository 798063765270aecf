#pragma once
// The schematic editor module as harbinet holds it: libgrivel.so loaded from the program's
// folder for as long as harbinet runs, its component store filled from a description file, and
// read back for display through the functions the module exports.

#include <cstdint>
#include <string>
#include <vector>

#include "host/abi/schematic_function_types.h"

namespace harbinet {

struct TImplementationRow {
    intptr_t handle = 0;
    std::string modelName;
    std::string modelKind;
    std::string description;
    std::string location;      // of the first data file; "" for none
    std::string architecture;  // the "ARCHITECTURE" parameter's value
    bool useIntegratedLibrary = false;
};

struct TComponentRow {
    intptr_t handle = 0;
    std::string name;
    std::vector<TImplementationRow> implementations;
};

class TSchematicEditor {
public:
    TSchematicEditor() = default;
    TSchematicEditor(const TSchematicEditor&) = delete;
    TSchematicEditor& operator=(const TSchematicEditor&) = delete;
    ~TSchematicEditor();

    // Loads the module; false with a message when it cannot be loaded or lacks a function.
    bool Load(const std::string& libraryPath, std::string& error);
    // Replaces the store by the file's description; false with a message, the store unchanged.
    bool LoadStore(const std::string& path, std::string& error);
    [[nodiscard]] bool IsLoaded() const noexcept { return library_ != nullptr; }
    // Why the last Load or LoadStore failed; "" after a success.
    [[nodiscard]] const std::string& Problem() const noexcept { return problem_; }

    // Every component with its implementations, in the store's order.
    [[nodiscard]] std::vector<TComponentRow> Components() const;

private:
    std::vector<intptr_t> Members(intptr_t container) const;
    TImplementationRow ReadImplementation(intptr_t handle) const;

    bool Fail(std::string& error, std::string why);

    void* library_ = nullptr;
    std::string problem_;
    struct TEntries {
        TGrivelLoadStore* loadStore = nullptr;
        TGrivelGetLibrary* library = nullptr;
        TGrivelGetObjectName* objectName = nullptr;
        TSchApiCreateGroupIterator* createIterator = nullptr;
        TSchApiGetGroupObject* firstObject = nullptr;
        TSchApiGetGroupObject* nextObject = nullptr;
        TSchApiDestroyGroupIterator* destroyIterator = nullptr;
        TSchApiGetObjectIdFromObjectHandle* objectKind = nullptr;
        TSchApiQueryImplementation* implementation = nullptr;
        TSchApiQueryImplementationDatafileCount* datafileCount = nullptr;
        TSchApiQueryImplementationDatafile* datafile = nullptr;
        TSchApiQuerySchParameter* parameter = nullptr;
    } fn_;
};

}  // namespace harbinet
