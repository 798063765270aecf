#include "hostapp/schematic_editor.h"

#include <dlfcn.h>

#include <array>
#include <fstream>
#include <sstream>

namespace harbinet {

namespace {

using TText = std::array<char, kSchTextCapacity>;

// The module's texts end within their buffer; the last byte is ours all the same.
std::string TextOf(TText& text) {
    text.back() = '\0';
    return text.data();
}

// A store of a few components has no more members than this; more means a broken iterator.
constexpr std::size_t kMaxMembers = 100000;

}  // namespace

TSchematicEditor::~TSchematicEditor() {
    if (library_)
        ::dlclose(library_);
}

bool TSchematicEditor::Load(const std::string& libraryPath, std::string& error) {
    void* library = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = ::dlerror();
        return Fail(error,
                    "Cannot load the schematic editor " + libraryPath + ": " + (why ? why : "unknown error"));
    }
    bool complete = true;
    const auto bind = [&](const char* name, auto*& entry) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(::dlsym(library, name));
        if (!entry && complete) {
            error = libraryPath + " does not export " + name;
            complete = false;
        }
    };
    bind("GrivelAPI_LoadStore", fn_.loadStore);
    bind("GrivelAPI_GetLibrary", fn_.library);
    bind("GrivelAPI_GetObjectName", fn_.objectName);
    bind("SchAPI_CreateGroupIterator", fn_.createIterator);
    bind("SchAPI_GetFirstGroupObject", fn_.firstObject);
    bind("SchAPI_GetNextGroupObject", fn_.nextObject);
    bind("SchAPI_DestroyGroupIterator", fn_.destroyIterator);
    bind("SchAPI_GetObjectIdFromObjectHandle", fn_.objectKind);
    bind("SchApiQuery_Implementation", fn_.implementation);
    bind("SchApiQuery_ImplementationDatafileCount", fn_.datafileCount);
    bind("SchApiQuery_ImplementationDatafile", fn_.datafile);
    bind("SchApiQuery_SchParameter", fn_.parameter);
    if (!complete) {
        fn_ = {};
        ::dlclose(library);
        return Fail(error, error);
    }
    library_ = library;
    problem_.clear();
    return true;
}

bool TSchematicEditor::Fail(std::string& error, std::string why) {
    problem_ = why;
    error = std::move(why);
    return false;
}

bool TSchematicEditor::LoadStore(const std::string& path, std::string& error) {
    if (!library_)
        return Fail(error, "The schematic editor is not loaded");
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()))
        return Fail(error, "Cannot read the component store " + path);
    TText why{};
    if (fn_.loadStore(text.str().c_str(), why.data()) != kSchSucceeded)
        return Fail(error, path + ": " + TextOf(why));
    problem_.clear();
    return true;
}

std::vector<intptr_t> TSchematicEditor::Members(intptr_t container) const {
    std::vector<intptr_t> members;
    const intptr_t iterator = fn_.createIterator(container);
    if (!iterator)
        return members;
    for (intptr_t o = fn_.firstObject(iterator); o && members.size() < kMaxMembers;
         o = fn_.nextObject(iterator))
        members.push_back(o);
    fn_.destroyIterator(iterator);
    return members;
}

TImplementationRow TSchematicEditor::ReadImplementation(intptr_t handle) const {
    TImplementationRow row;
    row.handle = handle;
    TText name{}, kind{}, description{}, portMap{};
    int32_t available = 0, integrated = 0, current = 0;
    intptr_t container = 0;
    if (fn_.implementation(kSchRead, handle, name.data(), kind.data(), &available, &integrated,
                           description.data(), &container, portMap.data(), &current) != kSchSucceeded)
        return row;
    row.modelName = TextOf(name);
    row.modelKind = TextOf(kind);
    row.description = TextOf(description);
    row.useIntegratedLibrary = integrated != 0;
    int32_t count = 0;
    TText location{}, entity{}, fileKind{};
    if (fn_.datafileCount(kSchRead, handle, &count) == kSchSucceeded && count > 0 &&
        fn_.datafile(kSchRead, handle, 0, location.data(), entity.data(), fileKind.data()) == kSchSucceeded)
        row.location = TextOf(location);
    for (intptr_t member : Members(container)) {
        TText parameterName{}, value{};
        int32_t hidden = 0, showName = 0, type = 0;
        if (fn_.objectKind(member) == kSchParameterKind &&
            fn_.parameter(kSchRead, member, parameterName.data(), value.data(), &hidden, &showName, &type) ==
                kSchSucceeded &&
            TextOf(parameterName) == "ARCHITECTURE") {
            row.architecture = TextOf(value);
            break;
        }
    }
    return row;
}

std::vector<TComponentRow> TSchematicEditor::Components() const {
    std::vector<TComponentRow> rows;
    if (!library_)
        return rows;
    for (intptr_t component : Members(fn_.library())) {
        TText name{};
        if (fn_.objectKind(component) != kSchComponentKind ||
            fn_.objectName(component, name.data()) != kSchSucceeded)
            continue;
        TComponentRow row{component, TextOf(name), {}};
        for (intptr_t implementation : Members(component))
            if (fn_.objectKind(implementation) == kSchImplementationKind)
                row.implementations.push_back(ReadImplementation(implementation));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace harbinet
