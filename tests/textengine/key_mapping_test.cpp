#include "textengine/key_mapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/abi/virtual_key_codes.h"

namespace tarnwick {
namespace {

using C = TKeyCommand;

struct Stroke {
    uint16_t key;
    uint8_t shift;
};

struct SequenceCase {
    const char* name;
    const char* mapping;
    std::vector<Stroke> strokes;
    // What the last stroke did: handled or not, and its command and argument.
    bool handled;
    C command;
    int argument = 0;
    uint8_t stateAfter = 0;
};

class KeySequenceTest : public testing::TestWithParam<SequenceCase> {};

TEST_P(KeySequenceTest, LastStrokeRunsTheBoundCommand) {
    const SequenceCase& c = GetParam();
    TKeyList list;
    InitializeKeyMapping(c.mapping, list);
    TKeyDispatch last;
    for (const Stroke& s : c.strokes)
        last = list.Dispatch(s.key, s.shift, false, false);
    EXPECT_EQ(last.handled, c.handled);
    EXPECT_EQ(last.action.command, c.command);
    EXPECT_EQ(last.action.argument, c.argument);
    EXPECT_EQ(list.State(), c.stateAfter);
}

constexpr uint8_t N = 0, S = ksShift, A = ksAlt, K = ksCtrl;

INSTANTIATE_TEST_SUITE_P(
    Mappings, KeySequenceTest,
    testing::Values(
        SequenceCase{"DefaultCtrlKThenB", "Default", {{'K', K}, {'B', N}}, true, C::MarkBlockBegin},
        SequenceCase{"DefaultCtrlKThenCtrlBIsNothing", "Default", {{'K', K}, {'B', K}}, false, C::None},
        SequenceCase{"DefaultCtrlKThenK", "Default", {{'K', K}, {'K', N}}, true, C::MarkBlockEnd},
        SequenceCase{"DefaultCtrlKThenCtrlK", "Default", {{'K', K}, {'K', K}}, true, C::MarkBlockEnd},
        SequenceCase{"DefaultPrefixAloneWaits", "Default", {{'K', K}}, true, C::None, 0, 1},
        SequenceCase{"DefaultCtrlQThen3", "Default", {{'Q', K}, {'3', N}}, true, C::GotoBookmark, 3},
        SequenceCase{
            "DefaultCtrlKThen0IsBookmark10", "Default", {{'K', K}, {'0', N}}, true, C::ToggleBookmark, 10},
        SequenceCase{"DefaultCtrlShiftDigitToggles", "Default", {{'5', K | S}}, true, C::ToggleBookmark, 5},
        SequenceCase{"DefaultCtrlZUndoes", "Default", {{'Z', K}}, true, C::Undo},
        SequenceCase{"DefaultPlainLetterIsTyped", "Default", {{'A', N}}, false, C::None},
        SequenceCase{"DefaultCtrlAIsSelectAll", "Default", {{'A', K}}, true, C::SelectAll},
        SequenceCase{"DefaultCtrlQCtrlFFinds", "Default", {{'Q', K}, {'F', K}}, true, C::FindDialog},
        SequenceCase{"DefaultCtrlOCtrlGGoesToLine", "Default", {{'O', K}, {'G', K}}, true, C::GotoLineDialog},
        SequenceCase{"DefaultBracketMatches", "Default", {{vk::OemOpenBracket, K}}, true, C::MatchBracket},
        SequenceCase{"ClassicCtrlAIsSelectAllAfterGroupF", "Classic", {{'A', K}}, true, C::SelectAll},
        SequenceCase{"ClassicCtrlEGoesUp", "Classic", {{'E', K}}, true, C::CaretUp},
        SequenceCase{
            "BriefHomeHomeGoesToTextStart", "Brief", {{vk::Home, N}, {vk::Home, N}}, true, C::TextStart},
        SequenceCase{"BriefFirstHomeWaits", "Brief", {{vk::Home, N}}, true, C::ViewHome, 0, 8},
        SequenceCase{"BriefMarkModeExtends", "Brief", {{'A', A}, {vk::Down, N}}, true, C::SelectMove, 0, 6},
        SequenceCase{"BriefEscEndsMarkMode",
                     "Brief",
                     {{'A', A}, {vk::Down, N}, {vk::Down, N}, {vk::Escape, N}},
                     true,
                     C::ClearSelection,
                     0,
                     0},
        SequenceCase{"BriefUnboundKeyLeavesMarkMode", "Brief", {{'A', A}, {'X', N}}, false, C::None, 0, 0},
        SequenceCase{"BriefAltJThenAltDigit", "Brief", {{'J', A}, {'4', A}}, true, C::GotoBookmark, 4},
        SequenceCase{"EpsilonCtrlXCtrlU", "Epsilon", {{'X', K}, {'U', K}}, true, C::Undo},
        SequenceCase{"VisualStudioCtrlKCtrlEIsReplacedByGroupB",
                     "Visual Studio",
                     {{'K', K}, {'E', K}},
                     true,
                     C::LowerCaseWord},
        SequenceCase{"VisualStudioCtrlQBracket",
                     "Visual Studio",
                     {{'Q', K}, {vk::OemOpenBracket, N}},
                     true,
                     C::MatchBracketForward},
        SequenceCase{"UnknownNameIsDefault", "No Such Mapping", {{'Z', K}}, true, C::Undo}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyListTest, SelectionKeysNameTheirMovement) {
    TKeyList list;
    InitializeKeyMapping("Default", list);
    const TKeyDispatch d = list.Dispatch(vk::Right, ksShift, false, false);
    EXPECT_EQ(d.action.command, C::SelectMove);
    EXPECT_EQ(d.action.movement, C::CaretRight);
    const TKeyDispatch column = list.Dispatch(vk::Down, ksShift | ksAlt, false, false);
    EXPECT_EQ(column.action.command, C::ColumnMove);
    EXPECT_EQ(column.action.movement, C::CaretDown);
}

TEST(KeyListTest, TabAndEnterNeedCtrlUnlessTheViewWantsThem) {
    TKeyList list;
    InitializeKeyMapping("Default", list);
    EXPECT_FALSE(list.Dispatch(vk::Tab, 0, false, false).handled);
    EXPECT_EQ(list.Dispatch(vk::Tab, ksCtrl, false, false).action.command, C::TabKey);
    EXPECT_EQ(list.Dispatch(vk::Tab, 0, false, true).action.command, C::TabKey);
    EXPECT_FALSE(list.Dispatch(vk::Return, 0, false, false).handled);
    EXPECT_EQ(list.Dispatch(vk::Return, ksCtrl, false, false).action.command, C::NewLine);
}

TEST(KeyListTest, AnEmptiedListHandlesNothingAndChangingTheMappingKeepsTheState) {
    TKeyList list;
    InitializeKeyMapping("Default", list);
    list.Dispatch('K', ksCtrl, false, false);
    ASSERT_EQ(list.State(), 1);
    InitializeKeyMapping("Classic", list);
    EXPECT_EQ(list.State(), 1);
    list.Clear();
    EXPECT_FALSE(list.Dispatch(vk::Down, 0, false, false).handled);
    EXPECT_EQ(list.State(), 0);
}

TEST(KeyMappingRegistryTest, FiveNamedMappings) {
    EXPECT_EQ(KeyMappingNames(),
              (std::vector<std::string>{"Default", "Classic", "Brief", "Epsilon", "Visual Studio"}));
}

}  // namespace
}  // namespace tarnwick
