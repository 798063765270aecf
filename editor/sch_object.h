#pragma once
// Copies of schematic objects: read from the schematic editor by handle, changed here and
// written back. Properties this plug-in does not use travel with the object unchanged.

#include <cstdint>
#include <string>

#include "editor/schematic_functions.h"

namespace tarnwick {

class TSchObject {
public:
    explicit TSchObject(intptr_t handle) : Handle(handle) {}

    intptr_t Handle;
    int32_t ObjectKind = kSchNoObjectKind;  // until read
    TSchematicFunctions::TCommonFields Common;

protected:
    // The kind, then the common properties; false when the object could not be read.
    bool ReadObject(const TSchematicFunctions& functions);
    bool WriteObject(const TSchematicFunctions& functions);
};

class TSchParameter final : public TSchObject {
public:
    using TSchObject::TSchObject;

    // The common properties, then the parameter's own; on a failure the fields not yet read
    // keep their values.
    bool Read(const TSchematicFunctions& functions);
    bool Write(const TSchematicFunctions& functions);

    std::string Name;
    std::string Value;
    int32_t IsHidden = 0;
    int32_t ShowName = 0;
    int32_t ParamType = 0;
    std::string UniqueId;         // kept, not shown
    std::string CalculatedValue;  // kept, not shown
};

}  // namespace tarnwick
