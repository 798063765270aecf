#include "editor/sch_object.h"

namespace tarnwick {

bool TSchObject::ReadObject(const TSchematicFunctions& functions) {
    ObjectKind = functions.ObjectKind(Handle);
    TSchematicFunctions::TCommonFields fields;
    if (functions.CommonProperties(kSchRead, Handle, fields) != kSchSucceeded)
        return false;
    Common = fields;
    return true;
}

bool TSchObject::WriteObject(const TSchematicFunctions& functions) {
    TSchematicFunctions::TCommonFields fields = Common;
    return functions.CommonProperties(kSchWrite, Handle, fields) == kSchSucceeded;
}

bool TSchParameter::Read(const TSchematicFunctions& functions) {
    if (!ReadObject(functions))
        return false;
    TSchematicFunctions::TParameterFields fields;
    if (functions.Parameter(kSchRead, Handle, fields) != kSchSucceeded)
        return false;
    Name = FromSchText(fields.Name);
    Value = FromSchText(fields.Value);
    IsHidden = fields.IsHidden;
    ShowName = fields.ShowName;
    ParamType = fields.ParamType;
    TSchText text{};
    if (functions.UniqueId(Handle, text) == kSchSucceeded)
        UniqueId = FromSchText(text);
    if (functions.CalculatedValue(Handle, text) == kSchSucceeded)
        CalculatedValue = FromSchText(text);
    return true;
}

bool TSchParameter::Write(const TSchematicFunctions& functions) {
    if (!WriteObject(functions))
        return false;
    TSchematicFunctions::TParameterFields fields{ToSchText(Name), ToSchText(Value), IsHidden, ShowName,
                                                 ParamType};
    return functions.Parameter(kSchWrite, Handle, fields) == kSchSucceeded;
}

}  // namespace tarnwick
