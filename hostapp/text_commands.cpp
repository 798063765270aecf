#include "hostapp/text_commands.h"

#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "host/abi/parameter_list.h"
#include "hostapp/host_user_interface.h"
#include "host/abi/virtual_key_codes.h"

namespace {

using TCommand = std::function<void(ITextEditorCommands&)>;
using TQuery = void (ITextEditorCommands::*)(char*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*);

struct TShortcutRow {
    int32_t key;
    bool shift;
    bool ctrl;
    bool alt;
    TCommand command;
};

using I = ITextEditorCommands;

// The go-to dialog: GotoLine without a line number.
void GotoLineDialog(I& commands) {
    std::vector<char> params(kParameterStringLimit, '\0');
    commands.GotoLine(params.data());
}

// The host's editing keys, in the manner of a plain desktop editor.
const TShortcutRow kShortcuts[] = {
    {vk::Left, false, false, false, &I::CaretLeft},
    {vk::Right, false, false, false, &I::CaretRight},
    {vk::Up, false, false, false, &I::CaretUp},
    {vk::Down, false, false, false, &I::CaretDown},
    {vk::Home, false, false, false, &I::CaretLineStart},
    {vk::End, false, false, false, &I::CaretLineEnd},
    {vk::Prior, false, false, false, &I::PageUp},
    {vk::Next, false, false, false, &I::PageDown},
    {vk::Left, false, true, false, &I::CaretWordLeft},
    {vk::Right, false, true, false, &I::CaretWordRight},
    {vk::Home, false, true, false, &I::CaretTextStart},
    {vk::End, false, true, false, &I::CaretDocumentEnd},
    {vk::Up, false, true, false, &I::ScrollLineUp},
    {vk::Down, false, true, false, &I::ScrollLineDown},
    {vk::Left, true, false, false, &I::SelectCharLeft},
    {vk::Right, true, false, false, &I::SelectCharRight},
    {vk::Up, true, false, false, &I::SelectUp},
    {vk::Down, true, false, false, &I::SelectDown},
    {vk::Home, true, false, false, &I::SelectLineStart},
    {vk::End, true, false, false, &I::SelectLineEnd},
    {vk::Prior, true, false, false, &I::SelectPageUp},
    {vk::Next, true, false, false, &I::SelectPageDown},
    {vk::Left, true, true, false, &I::SelectWordLeft},
    {vk::Right, true, true, false, &I::SelectWordRight},
    {vk::Home, true, true, false, &I::SelectTextStart},
    {vk::End, true, true, false, &I::SelectTextEnd},
    {vk::Left, true, false, true, &I::ColumnCharLeft},
    {vk::Right, true, false, true, &I::ColumnCharRight},
    {vk::Up, true, false, true, &I::ColumnUp},
    {vk::Down, true, false, true, &I::ColumnDown},
    {vk::Back, false, false, false, &I::BackSpace},
    {vk::Delete, false, false, false, &I::DeleteChar},
    {vk::Back, false, true, false, &I::DeleteWordLeft},
    {vk::Delete, false, true, false, &I::DeleteWordRight},
    {vk::Return, false, false, false, &I::NewLine},
    {vk::Tab, false, false, false, &I::Tab},
    {vk::Tab, true, false, false, &I::TabBack},
    {vk::Insert, false, false, false, &I::ToggleInsertMode},
    {'C', false, true, false, &I::Copy},
    {vk::Insert, false, true, false, &I::Copy},
    {'X', false, true, false, &I::Cut},
    {vk::Delete, true, false, false, &I::Cut},
    {'V', false, true, false, &I::Paste},
    {vk::Insert, true, false, false, &I::Paste},
    {'Z', false, true, false, &I::Undo},
    {'Y', false, true, false, &I::Redo},
    {'A', false, true, false, &I::SelectAll},
    {'L', false, true, false, &I::DeleteLine},
    {'F', false, true, false, &I::Find},
    {'H', false, true, false, &I::Replace},
    {vk::F(3), false, false, false, &I::FindNext},
    {'J', false, true, false, &I::ShowCodeTemplates},
    {'G', false, true, false, GotoLineDialog},
    {vk::F1, false, true, false, &I::HelpOnWord},
};

void RunOnCurrent(const TCurrentCommands& current, const TCommand& command) {
    if (const auto commands = current())
        command(*commands);
}

bool QueryEnabled(const TCurrentCommands& current, TQuery query) {
    const auto commands = current();
    if (!commands)
        return false;
    char params[16] = "";
    int32_t enabled = kFalse, r2 = 0, r3 = 0, r4 = 0, r5 = 0;
    ((*commands).*query)(params, &enabled, &r2, &r3, &r4, &r5);
    return enabled != kFalse;
}

struct TMenuRow {
    const char* caption;
    const char* shortcut;
    TCommand command;
    TQuery enabledWhen;  // nullptr: enabled whenever there is a document
};

void FillMenu(QMenu* menu, const std::vector<TMenuRow>& rows, const TCurrentCommands& current) {
    std::vector<std::pair<QAction*, TQuery>> actions;
    for (const TMenuRow& row : rows) {
        if (!row.caption) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(row.caption, [current, c = row.command] { RunOnCurrent(current, c); });
        // Shown for the user; the keys themselves reach the document through the shortcut table.
        if (row.shortcut)
            action->setShortcut(QKeySequence(row.shortcut));
        action->setShortcutContext(Qt::WidgetShortcut);
        actions.emplace_back(action, row.enabledWhen);
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [actions, current] {
        const bool hasDocument = static_cast<bool>(current());
        for (const auto& [action, query] : actions)
            action->setEnabled(hasDocument && (!query || QueryEnabled(current, query)));
    });
}

}  // namespace

void RegisterTextShortcuts(THostUserInterface& ui, const TCurrentCommands& current) {
    for (const TShortcutRow& row : kShortcuts)
        ui.AddShortcut({row.key, row.alt, row.shift, row.ctrl},
                       [current, command = row.command] { RunOnCurrent(current, command); });
}

void AddTextMenus(QMenuBar* bar, const TCurrentCommands& current) {
    FillMenu(bar->addMenu("&Edit"),
             {{"&Undo", "Ctrl+Z", &I::Undo, &I::CanUndo},
              {"&Redo", "Ctrl+Y", &I::Redo, &I::CanRedo},
              {nullptr, nullptr, nullptr, nullptr},
              {"Cu&t", "Ctrl+X", &I::Cut, &I::CanCut},
              {"&Copy", "Ctrl+C", &I::Copy, &I::CanCopy},
              {"&Paste", "Ctrl+V", &I::Paste, &I::CanPaste},
              {"Select &All", "Ctrl+A", &I::SelectAll, nullptr},
              {nullptr, nullptr, nullptr, nullptr},
              {"Code &Templates", "Ctrl+J", &I::ShowCodeTemplates, nullptr},
              {"Toggle &Insert Mode", "Ins", &I::ToggleInsertMode, nullptr},
              {"&Reload", nullptr, [](I& c) { c.Reload(); }, nullptr},
              {nullptr, nullptr, nullptr, nullptr},
              {"Pr&eferences...", nullptr, &I::Preferences, nullptr},
              {"&Language...", nullptr, &I::SetupLanguage, nullptr},
              {"&Print...", nullptr, &I::Print, nullptr}},
             current);
    FillMenu(bar->addMenu("&Search"),
             {{"&Find...", "Ctrl+F", &I::Find, nullptr},
              {"&Replace...", "Ctrl+H", &I::Replace, nullptr},
              {"Find &Next", "F3", &I::FindNext, nullptr},
              {nullptr, nullptr, nullptr, nullptr},
              {"&Go to Line...", "Ctrl+G", GotoLineDialog, nullptr}},
             current);
}
