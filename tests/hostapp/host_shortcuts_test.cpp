// The host's shortcut table: editing keys are host shortcuts, printable keys are not.

#include <gtest/gtest.h>

#include "host/abi/virtual_key_codes.h"
#include "hostapp/host_user_interface.h"
#include "hostapp/text_commands.h"

namespace harbinet {

namespace {

TEST(HostShortcutsTest, EditingKeysAreTakenAndLettersAreLeftToTheEditor) {
    THostUserInterface ui;
    int asked = 0;
    RegisterTextShortcuts(ui, [&asked] {
        ++asked;
        return TComPtr<ITextEditorCommands>();  // no document: the command does nothing
    });
    struct Row {
        int32_t key;
        int32_t alt, shift, ctrl;
        bool taken;
    };
    const Row rows[] = {
        {vk::Left, 0, 0, 0, true},   {'C', 0, 0, -1, true},   {vk::Left, -1, -1, 0, true},
        {'A', 0, 0, 0, false},       {'A', 0, -1, 0, false},  {vk::Space, 0, 0, 0, false},
        {vk::Return, 0, 0, 0, true}, {'Q', -1, 0, -1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(ui.AddKeyStroke(r.key, r.alt, r.shift, r.ctrl) != 0, r.taken);
        ui.LaunchCurrentHotkey();
    }
    EXPECT_EQ(asked, 4);  // each taken key asked for the current document once
    ui.LaunchCurrentHotkey();
    EXPECT_EQ(asked, 4);  // a launched shortcut is not launched again
}

}  // namespace

}  // namespace harbinet
