// libgrivel.so at its boundary: handles it never handed out, missing fields, texts longer than
// the buffers and malformed store descriptions are refused without writing anything, and what
// it writes stays within the caller's buffer.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "tests/support/loaded_grivel.h"

namespace {

using Text = std::array<char, kSchTextCapacity>;

const char kStore[] =
    "[Component] U1\n[Implementation]\nModelName=alu\nModelKind=EDIF\n"
    "Datafile=alu|/m/alu.edf|EDIFLIB\nParameter=ARCHITECTURE=altera\n";

class GrivelTest : public testing::Test {
protected:
    void SetUp() override {
        grivel.Load(kStore);
        implementation = grivel.FirstImplementation();
        parameter = grivel.Members(implementation).at(0);
    }
    template <class F>
    F* Fn(const char* name) {
        return grivel.Function<F>(name);
    }
    int32_t QueryImplementation(int32_t direction, intptr_t handle, Text& name) {
        Text kind{}, description{}, portMap{};
        int32_t available = 0, integrated = 0, current = 0;
        intptr_t container = 0;
        return Fn<TSchApiQueryImplementation>("SchApiQuery_Implementation")(
            direction, handle, name.data(), kind.data(), &available, &integrated, description.data(),
            &container, portMap.data(), &current);
    }

    LoadedGrivel grivel;
    intptr_t implementation = 0;
    intptr_t parameter = 0;
};

TEST_F(GrivelTest, HandlesItDidNotHandOutOrOfAnotherKindAreFailures) {
    const intptr_t component = grivel.Members(Fn<TGrivelGetLibrary>("GrivelAPI_GetLibrary")()).at(0);
    for (const intptr_t handle : {intptr_t(0), intptr_t(-1), intptr_t(99999), component, parameter}) {
        SCOPED_TRACE(handle);
        Text name{};
        name[0] = '#';
        EXPECT_EQ(QueryImplementation(kSchRead, handle, name), kSchFailed);
        EXPECT_EQ(name[0], '#');  // nothing written on failure
        int32_t count = 7;
        EXPECT_EQ(Fn<TSchApiQueryImplementationDatafileCount>("SchApiQuery_ImplementationDatafileCount")(
                      kSchRead, handle, &count),
                  kSchFailed);
        EXPECT_EQ(count, 7);
    }
    EXPECT_EQ(Fn<TSchApiGetObjectIdFromObjectHandle>("SchAPI_GetObjectIdFromObjectHandle")(424242),
              kSchNoObjectKind);
    EXPECT_EQ(Fn<TSchApiCreateGroupIterator>("SchAPI_CreateGroupIterator")(424242), 0);
    EXPECT_EQ(Fn<TSchApiGetGroupObject>("SchAPI_GetNextGroupObject")(424242), 0);
    EXPECT_EQ(Fn<TSchApiDestroyGroupIterator>("SchAPI_DestroyGroupIterator")(424242), kSchFailed);
    EXPECT_EQ(Fn<TSchApiCreateObjectEx>("SchAPI_CreateObjectEx")(9999), 0);
    Text id{};
    EXPECT_EQ(Fn<TSchApiQueryParameterText>("SchApiQuery_UniqueId")(implementation, id.data()), kSchFailed);
}

TEST_F(GrivelTest, MissingFieldsBadDirectionsAndIndexesAreFailures) {
    EXPECT_EQ(
        Fn<TSchApiQueryImplementation>("SchApiQuery_Implementation")(
            kSchRead, implementation, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        kSchFailed);
    Text name{};
    EXPECT_EQ(QueryImplementation(5, implementation, name), kSchFailed);
    auto* datafile = Fn<TSchApiQueryImplementationDatafile>("SchApiQuery_ImplementationDatafile");
    Text location{}, entity{}, kind{};
    for (const int32_t index : {-1, 1, 1 << 30})
        EXPECT_EQ(datafile(kSchRead, implementation, index, location.data(), entity.data(), kind.data()),
                  kSchFailed);
    int32_t negative = -3;
    EXPECT_EQ(Fn<TSchApiQueryImplementationDatafileCount>("SchApiQuery_ImplementationDatafileCount")(
                  kSchWrite, implementation, &negative),
              kSchFailed);
    EXPECT_EQ(grivel.Read(implementation).datafiles.size(), 1u);
}

TEST_F(GrivelTest, AnObjectBelongsToOneContainerOnly) {
    auto* add = Fn<TSchApiQueryAddObjectToContainer>("SchApiQuery_AddObjectToContainer");
    EXPECT_EQ(add(implementation, parameter), kSchFailed);  // already a member
    EXPECT_EQ(add(implementation, implementation), kSchFailed);
    const intptr_t fresh = Fn<TSchApiCreateObjectEx>("SchAPI_CreateObjectEx")(kSchParameterKind);
    EXPECT_EQ(add(424242, fresh), kSchFailed);
    EXPECT_EQ(add(implementation, fresh), kSchSucceeded);
    EXPECT_EQ(grivel.Members(implementation).size(), 2u);
}

TEST_F(GrivelTest, TextsAreCutToTheBufferAndUnterminatedInputIsReadNoFurther) {
    // An unterminated buffer of exactly the capacity: the sanitizer catches any read past it.
    auto written = std::make_unique<char[]>(kSchTextCapacity);
    std::memset(written.get(), 'w', kSchTextCapacity);
    Text kind{}, description{}, portMap{};
    int32_t available = 0, integrated = 0, current = 0;
    intptr_t container = 0;
    ASSERT_EQ(Fn<TSchApiQueryImplementation>("SchApiQuery_Implementation")(
                  kSchWrite, implementation, written.get(), kind.data(), &available, &integrated,
                  description.data(), &container, portMap.data(), &current),
              kSchSucceeded);

    auto read = std::make_unique<char[]>(kSchTextCapacity);
    Fn<TSchApiQueryImplementation>("SchApiQuery_Implementation")(
        kSchRead, implementation, read.get(), kind.data(), &available, &integrated, description.data(),
        &container, portMap.data(), &current);
    EXPECT_EQ(std::string(read.get()), std::string(kSchTextCapacity - 1, 'w'));

    grivel.Load("[Component] U1\n[Implementation]\nModelName=" + std::string(5000, 'x'));
    Text name{};
    EXPECT_EQ(QueryImplementation(kSchRead, grivel.FirstImplementation(), name), kSchSucceeded);
    EXPECT_EQ(std::strlen(name.data()), kSchTextCapacity - 1);
}

TEST_F(GrivelTest, AMalformedStoreIsRefusedWithItsLineAndTheStoreKept) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"ModelName=x", "line 1: a key before the first [Implementation]"},
        {"# comment\n[Implementation]", "line 2: an implementation before the first [Component]"},
        {"[Component]", "line 1: a component needs a name"},
        {"[Component] A\n[Implementation]\nColour=red", "line 3: unknown key Colour"},
        {"[Component] A\n\njust words", "line 3: expected Key=Value, [Component] or [Implementation]"},
        {"[Component] A\n[Implementation]\nParameter=novalue", "line 3: expected Parameter=NAME=VALUE"},
    };
    const LoadedGrivel::Implementation before = grivel.Read(implementation);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Text error{};
        EXPECT_EQ(Fn<TGrivelLoadStore>("GrivelAPI_LoadStore")(c.text, error.data()), kSchFailed);
        EXPECT_STREQ(error.data(), c.error);
        EXPECT_EQ(grivel.Read(implementation), before);
    }
    // A store that loads replaces the old one: its handles find nothing any more.
    grivel.Load("[Component] B\n");
    Text name{};
    EXPECT_EQ(QueryImplementation(kSchRead, implementation, name), kSchFailed);
}

}  // namespace
