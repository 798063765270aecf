#include "editor/component_implementation.h"

#include "host/abi/unknown.h"

namespace tarnwick {

namespace {

// Releases the iterator however the walk over the container ends.
class TGroupWalk {
public:
    TGroupWalk(const TSchematicFunctions& functions, intptr_t container)
        : functions_(functions), iterator_(functions.CreateGroupIterator(container)) {}
    TGroupWalk(const TGroupWalk&) = delete;
    TGroupWalk& operator=(const TGroupWalk&) = delete;
    ~TGroupWalk() {
        if (iterator_)
            functions_.DestroyGroupIterator(iterator_);
    }

    // Every member in turn, then 0.
    intptr_t Next() {
        if (!iterator_)
            return 0;
        const intptr_t object =
            started_ ? functions_.NextGroupObject(iterator_) : functions_.FirstGroupObject(iterator_);
        started_ = true;
        return object;
    }

private:
    const TSchematicFunctions& functions_;
    intptr_t iterator_;
    bool started_ = false;
};

// Guards against a container that never reports its end.
constexpr int kMaxContainerMembers = 100000;

}  // namespace

bool TComponentImplementation::Read() {
    TSchematicFunctions::TImplementationFields f;
    if (functions_.Implementation(kSchRead, Handle, f) != kSchSucceeded)
        return false;
    wasRead_ = true;
    ModelName = FromSchText(f.ModelName);
    ModelKind = FromSchText(f.ModelKind);
    IntegratedLibraryAvailable = f.IntegratedLibraryAvailable != 0;
    UseIntegratedLibrary = f.UseIntegratedLibrary != 0;
    Description = FromSchText(f.Description);
    ParameterContainer = f.ParameterContainer;
    PortMap = FromSchText(f.PortMap);
    IsCurrent = f.IsCurrent;

    int32_t count = 0;
    if (functions_.DatafileCount(kSchRead, Handle, count) != kSchSucceeded)
        return true;
    DatafileLinks.clear();
    for (int32_t i = 0; i < count; ++i) {
        TSchematicFunctions::TDatafileFields file;
        if (functions_.Datafile(kSchRead, Handle, i, file) != kSchSucceeded)
            break;
        DatafileLinks.push_back(
            {FromSchText(file.EntityName), FromSchText(file.Location), FromSchText(file.FileKind)});
    }
    return true;
}

bool TComponentImplementation::Write() {
    if (!wasRead_)
        return false;
    TSchematicFunctions::TImplementationFields f{ToSchText(ModelName),
                                                 ToSchText(ModelKind),
                                                 ToBool32(IntegratedLibraryAvailable),
                                                 ToBool32(UseIntegratedLibrary),
                                                 ToSchText(Description),
                                                 ParameterContainer,
                                                 ToSchText(PortMap),
                                                 IsCurrent};
    if (functions_.Implementation(kSchWrite, Handle, f) != kSchSucceeded)
        return false;
    int32_t count = static_cast<int32_t>(DatafileLinks.size());
    if (functions_.DatafileCount(kSchWrite, Handle, count) != kSchSucceeded)
        return false;
    for (int32_t i = 0; i < count; ++i) {
        const TModelDatafileLink& link = DatafileLinks[static_cast<std::size_t>(i)];
        TSchematicFunctions::TDatafileFields file{ToSchText(link.Location), ToSchText(link.EntityName),
                                                  ToSchText(link.FileKind)};
        if (functions_.Datafile(kSchWrite, Handle, i, file) != kSchSucceeded)
            return false;
    }
    return true;
}

std::optional<TSchParameter> TComponentImplementation::FindParameter(const std::string& name) const {
    TGroupWalk walk(functions_, ParameterContainer);
    for (int i = 0; i < kMaxContainerMembers; ++i) {
        const intptr_t object = walk.Next();
        if (!object)
            break;
        if (functions_.ObjectKind(object) != kSchParameterKind)
            continue;
        TSchParameter parameter(object);
        if (parameter.Read(functions_) && parameter.Name == name)
            return parameter;
    }
    return std::nullopt;
}

std::optional<TSchParameter> TComponentImplementation::FindOrCreateParameter(const std::string& name) const {
    if (auto found = FindParameter(name))
        return found;
    const intptr_t object = functions_.CreateObject(kSchParameterKind);
    if (!object)
        return std::nullopt;
    TSchParameter parameter(object);
    parameter.Read(functions_);
    if (functions_.AddObjectToContainer(ParameterContainer, object) != kSchSucceeded)
        return std::nullopt;
    parameter.Name = name;
    parameter.Value.clear();
    return parameter;
}

}  // namespace tarnwick
