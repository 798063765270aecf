#include "grivel/store.h"

#include <algorithm>
#include <sstream>

#include "host/abi/ascii_text.h"
#include "host/abi/schematic_function_types.h"

namespace grivel {

namespace {

constexpr int32_t kLibraryKind = 0;  // the root container; not made through Create

bool MakesKind(int32_t kind) {
    return kind == kSchComponentKind || kind == kSchImplementationKind || kind == kSchParameterKind;
}

bool ReadBoolean(std::string_view text) { return ascii::EqualIgnoringCase(ascii::Trim(text), "True"); }

// "Entity|Location|Kind"; missing parts are empty.
TDatafile ReadDatafile(std::string_view text) {
    TDatafile file;
    std::string* parts[] = {&file.EntityName, &file.Location, &file.FileKind};
    for (std::string* part : parts) {
        const std::size_t bar = text.find('|');
        *part = std::string(ascii::Trim(text.substr(0, bar)));
        text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    }
    return file;
}

// Reads the store description line by line into a fresh store:
//   [Component] NAME        a component in the library
//   [Implementation]        an implementation of the last component, then its keys:
//   ModelName= ModelKind= Description= PortMap= IsCurrent= IntegratedLibraryAvailable=
//   UseIntegratedLibrary= Datafile=ENTITY|LOCATION|KIND  Parameter=NAME=VALUE
// Blank lines and lines starting with '#' are skipped.
class TStoreReader {
public:
    explicit TStoreReader(TStore& store) : store_(store) {}

    std::optional<std::string> Read(const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        for (int number = 1; std::getline(lines, line); ++number)
            if (auto error = ReadLine(ascii::Trim(line)))
                return "line " + std::to_string(number) + ": " + *error;
        return std::nullopt;
    }

private:
    std::optional<std::string> ReadLine(std::string_view line) {
        if (line.empty() || line.front() == '#')
            return std::nullopt;
        if (line.starts_with("[Component]"))
            return StartComponent(ascii::Trim(line.substr(11)));
        if (line.starts_with("[Implementation]"))
            return StartImplementation();
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return "expected Key=Value, [Component] or [Implementation]";
        if (!implementation_)
            return "a key before the first [Implementation]";
        return SetKey(ascii::Trim(line.substr(0, equals)), ascii::Trim(line.substr(equals + 1)));
    }

    std::optional<std::string> StartComponent(std::string_view name) {
        if (name.empty())
            return "a component needs a name";
        component_ = store_.Create(kSchComponentKind);
        store_.Find(component_)->Name = name;
        store_.AddToContainer(store_.Library(), component_);
        implementation_ = 0;
        return std::nullopt;
    }

    std::optional<std::string> StartImplementation() {
        if (!component_)
            return "an implementation before the first [Component]";
        implementation_ = store_.Create(kSchImplementationKind);
        store_.AddToContainer(component_, implementation_);
        return std::nullopt;
    }

    std::optional<std::string> SetKey(std::string_view key, std::string_view value) {
        TObject& object = *store_.Find(implementation_);
        if (key == "ModelName")
            object.ModelName = value;
        else if (key == "ModelKind")
            object.ModelKind = value;
        else if (key == "Description")
            object.Description = value;
        else if (key == "PortMap")
            object.PortMap = value;
        else if (key == "IsCurrent")
            object.IsCurrent = ReadBoolean(value);
        else if (key == "IntegratedLibraryAvailable")
            object.IntegratedLibraryAvailable = ReadBoolean(value);
        else if (key == "UseIntegratedLibrary")
            object.UseIntegratedLibrary = ReadBoolean(value);
        else if (key == "Datafile")
            object.Datafiles.push_back(ReadDatafile(value));
        else if (key == "Parameter")
            return AddParameter(value);
        else
            return "unknown key " + std::string(key);
        return std::nullopt;
    }

    std::optional<std::string> AddParameter(std::string_view text) {
        const std::size_t equals = text.find('=');
        const std::string_view name = ascii::Trim(text.substr(0, equals));
        if (equals == std::string_view::npos || name.empty())
            return "expected Parameter=NAME=VALUE";
        const THandle parameter = store_.Create(kSchParameterKind);
        TObject& object = *store_.Find(parameter);
        object.Name = name;
        object.Value = ascii::Trim(text.substr(equals + 1));
        store_.AddToContainer(implementation_, parameter);
        return std::nullopt;
    }

    TStore& store_;
    THandle component_ = 0;
    THandle implementation_ = 0;
};

}  // namespace

TStore::TStore() {
    library_ = next_++;
    objects_[library_].Kind = kLibraryKind;
}

THandle TStore::Create(int32_t kind) {
    if (!MakesKind(kind))
        return 0;
    const THandle handle = next_++;
    TObject& object = objects_[handle];
    object.Kind = kind;
    if (kind == kSchParameterKind)
        object.UniqueId = "P" + std::to_string(handle);
    return handle;
}

TObject* TStore::Find(THandle handle) {
    const auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : &it->second;
}

bool TStore::AddToContainer(THandle container, THandle object) {
    TObject* owner = Find(container);
    if (!owner || !Find(object) || container == object)
        return false;
    for (const auto& [handle, other] : objects_)
        if (std::find(other.Members.begin(), other.Members.end(), object) != other.Members.end())
            return false;
    owner->Members.push_back(object);
    return true;
}

THandle TStore::CreateIterator(THandle container) {
    if (!Find(container))
        return 0;
    const THandle handle = next_++;
    iterators_[handle] = {container, 0};
    return handle;
}

THandle TStore::First(THandle iterator) {
    const auto it = iterators_.find(iterator);
    if (it == iterators_.end())
        return 0;
    it->second.position = 0;
    return Member(it->second);
}

THandle TStore::Next(THandle iterator) {
    const auto it = iterators_.find(iterator);
    return it == iterators_.end() ? 0 : Member(it->second);
}

// The member at the iterator's position, moving past it; 0 at the end.
THandle TStore::Member(TIterator& iterator) {
    const TObject* container = Find(iterator.container);
    if (!container || iterator.position >= container->Members.size())
        return 0;
    return container->Members[iterator.position++];
}

bool TStore::DestroyIterator(THandle iterator) { return iterators_.erase(iterator) == 1; }

std::optional<std::string> TStore::Load(const std::string& text) {
    TStore fresh;
    fresh.next_ = next_;  // old handles stay unknown after the swap
    fresh.library_ = library_;
    fresh.objects_.clear();
    fresh.objects_[library_].Kind = kLibraryKind;
    if (auto error = TStoreReader(fresh).Read(text))
        return error;
    *this = std::move(fresh);
    return std::nullopt;
}

}  // namespace grivel
