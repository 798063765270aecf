#pragma once
// libgrivel.so loaded into the test program for one test, as harbinet loads it, with its store
// filled from a description and read back through the functions it exports.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "host/abi/schematic_function_types.h"

class LoadedGrivel {
public:
    struct Datafile {
        std::string entity, location, kind;
        friend bool operator==(const Datafile&, const Datafile&) = default;
    };
    struct Parameter {
        std::string name, value;
        friend bool operator==(const Parameter&, const Parameter&) = default;
    };
    // Everything the model properties may change, for comparing before and after.
    struct Implementation {
        std::string modelName, modelKind, description, portMap;
        int32_t integratedAvailable = 0, useIntegrated = 0, isCurrent = 0;
        std::vector<Datafile> datafiles;
        std::vector<Parameter> parameters;
        friend bool operator==(const Implementation&, const Implementation&) = default;
    };

    LoadedGrivel() : library_(::dlopen(TARNWICK_BIN_DIR "/libgrivel.so", RTLD_NOW | RTLD_LOCAL)) {
        EXPECT_NE(library_, nullptr) << ::dlerror();
    }
    LoadedGrivel(const LoadedGrivel&) = delete;
    LoadedGrivel& operator=(const LoadedGrivel&) = delete;
    ~LoadedGrivel() {
        if (library_)
            ::dlclose(library_);
    }

    template <class F>
    F* Function(const char* name) const {
        auto* f = library_ ? reinterpret_cast<F*>(::dlsym(library_, name)) : nullptr;
        EXPECT_NE(f, nullptr) << name;
        return f;
    }

    void Load(const std::string& description) const {
        std::array<char, kSchTextCapacity> error{};
        ASSERT_EQ(Function<TGrivelLoadStore>("GrivelAPI_LoadStore")(description.c_str(), error.data()),
                  kSchSucceeded)
            << error.data();
    }

    // The members of a container, in order.
    std::vector<intptr_t> Members(intptr_t container) const {
        const intptr_t iterator =
            Function<TSchApiCreateGroupIterator>("SchAPI_CreateGroupIterator")(container);
        std::vector<intptr_t> members;
        auto* next = Function<TSchApiGetGroupObject>("SchAPI_GetNextGroupObject");
        for (intptr_t o = Function<TSchApiGetGroupObject>("SchAPI_GetFirstGroupObject")(iterator); o;
             o = next(iterator))
            members.push_back(o);
        Function<TSchApiDestroyGroupIterator>("SchAPI_DestroyGroupIterator")(iterator);
        return members;
    }

    // The first implementation of the component'th component.
    intptr_t FirstImplementation(std::size_t component = 0) const {
        const auto components = Members(Function<TGrivelGetLibrary>("GrivelAPI_GetLibrary")());
        if (component >= components.size())
            return 0;
        const auto implementations = Members(components[component]);
        return implementations.empty() ? 0 : implementations.front();
    }

    Implementation Read(intptr_t implementation) const {
        Implementation s;
        Text name{}, kind{}, description{}, portMap{};
        intptr_t container = 0;
        EXPECT_EQ(Function<TSchApiQueryImplementation>("SchApiQuery_Implementation")(
                      kSchRead, implementation, name.data(), kind.data(), &s.integratedAvailable,
                      &s.useIntegrated, description.data(), &container, portMap.data(), &s.isCurrent),
                  kSchSucceeded);
        std::tie(s.modelName, s.modelKind, s.description, s.portMap) =
            std::tuple(name.data(), kind.data(), description.data(), portMap.data());
        int32_t count = 0;
        Function<TSchApiQueryImplementationDatafileCount>("SchApiQuery_ImplementationDatafileCount")(
            kSchRead, implementation, &count);
        for (int32_t i = 0; i < count; ++i) {
            Text location{}, entity{}, fileKind{};
            Function<TSchApiQueryImplementationDatafile>("SchApiQuery_ImplementationDatafile")(
                kSchRead, implementation, i, location.data(), entity.data(), fileKind.data());
            s.datafiles.push_back({entity.data(), location.data(), fileKind.data()});
        }
        for (intptr_t parameter : Members(container)) {
            Text pname{}, value{};
            int32_t hidden = 0, show = 0, type = 0;
            Function<TSchApiQuerySchParameter>("SchApiQuery_SchParameter")(
                kSchRead, parameter, pname.data(), value.data(), &hidden, &show, &type);
            s.parameters.push_back({pname.data(), value.data()});
        }
        return s;
    }

private:
    using Text = std::array<char, kSchTextCapacity>;
    void* library_;
};
