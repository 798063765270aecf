#pragma once
// A copy of one implementation of a schematic component: its model, its data files and, through
// its parameter container, its parameters. Read from the schematic editor, changed here, and
// written back only when it was read.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/sch_object.h"
#include "editor/schematic_functions.h"

namespace tarnwick {

struct TModelDatafileLink {
    std::string EntityName;
    std::string Location;  // empty when the model comes from the integrated library
    std::string FileKind;
};

class TComponentImplementation {
public:
    TComponentImplementation(const TSchematicFunctions& functions, intptr_t handle)
        : functions_(functions), Handle(handle) {}

    // The properties, then the data files in index order up to the first that fails. On a
    // failure the fields not read keep their values. True when the properties were read.
    bool Read();
    // The properties, then the count and each data file up to the first that fails. Nothing is
    // written for an implementation that was never read. True when everything was written.
    bool Write();
    [[nodiscard]] bool WasRead() const noexcept { return wasRead_; }

    // The first parameter in the container whose name equals name exactly.
    std::optional<TSchParameter> FindParameter(const std::string& name) const;
    // The parameter, or a new one with that name and an empty value, added to the container;
    // none when it could neither be found nor made.
    std::optional<TSchParameter> FindOrCreateParameter(const std::string& name) const;

private:
    const TSchematicFunctions& functions_;
    bool wasRead_ = false;

public:
    intptr_t Handle;
    std::string ModelName;
    std::string ModelKind;
    std::string Description;
    intptr_t ParameterContainer = 0;
    std::string PortMap;    // transferred unchanged
    int32_t IsCurrent = 0;  // transferred unchanged
    std::vector<TModelDatafileLink> DatafileLinks;
    bool IntegratedLibraryAvailable = false;
    bool UseIntegratedLibrary = false;
};

}  // namespace tarnwick
