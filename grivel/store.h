#pragma once
// Grivel's component store: components in a library container, each holding its
// implementations, each implementation holding its parameters and data files. Everything is
// addressed by handle; a handle the store did not hand out finds nothing.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace grivel {

using THandle = intptr_t;

struct TDatafile {
    std::string Location;
    std::string EntityName;
    std::string FileKind;
};

// One record serves every kind; each kind uses its own fields.
struct TObject {
    int32_t Kind = 0;
    // Every object.
    int32_t LocationX = 0;
    int32_t LocationY = 0;
    int32_t Color = 0;
    int32_t OwnerPartId = 0;
    bool Selected = false;
    bool Enabled = true;
    std::vector<THandle> Members;  // a container's objects, in order
    // A component or a parameter.
    std::string Name;
    // A parameter.
    std::string Value;
    std::string UniqueId;
    bool IsHidden = false;
    bool ShowName = false;
    int32_t ParamType = 0;
    // An implementation; its parameters are its members.
    std::string ModelName;
    std::string ModelKind;
    std::string Description;
    std::string PortMap;
    bool IsCurrent = false;
    bool IntegratedLibraryAvailable = false;
    bool UseIntegratedLibrary = false;
    std::vector<TDatafile> Datafiles;
};

class TStore {
public:
    TStore();

    // The new object's handle, or 0 for a kind the store does not make.
    THandle Create(int32_t kind);
    [[nodiscard]] TObject* Find(THandle handle);
    // A member may belong to one container only, and never to itself.
    bool AddToContainer(THandle container, THandle object);
    [[nodiscard]] THandle Library() const noexcept { return library_; }

    THandle CreateIterator(THandle container);
    THandle First(THandle iterator);
    THandle Next(THandle iterator);
    bool DestroyIterator(THandle iterator);

    // Replaces the whole store; on a malformed line the store stays as it was and the answer is
    // "line N: why".
    std::optional<std::string> Load(const std::string& text);

private:
    struct TIterator {
        THandle container;
        std::size_t position;
    };
    THandle Member(TIterator& iterator);

    std::map<THandle, TObject> objects_;
    std::map<THandle, TIterator> iterators_;
    THandle next_ = 1;  // handles of objects and iterators are never reused
    THandle library_ = 0;
};

}  // namespace grivel
