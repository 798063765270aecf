#include "hostapp/text_commands.h"

#include <QMenu>
#include <QMenuBar>
#include <cstring>
#include <vector>

#include "host/abi/parameter_list.h"
#include "host/abi/virtual_key_codes.h"
#include "hostapp/host_user_interface.h"

namespace harbinet {

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

// The document's structural navigation, for documents that offer it.
TCommand Navigation(void (ITextNavigation::*operation)()) {
    return [operation](I& commands) {
        if (const auto navigation = TComPtr<I>::Share(&commands).As<ITextNavigation>())
            ((*navigation).*operation)();
    };
}

// The host's editing keys, in the manner of a plain desktop editor.
const TShortcutRow kShortcuts[] = {
    // clang-format off
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
    {vk::Home, true, false, true, &I::ColumnLineStart},
    {vk::End, true, false, true, &I::ColumnLineEnd},
    {vk::Prior, true, false, true, &I::ColumnPageUp},
    {vk::Next, true, false, true, &I::ColumnPageDown},
    {vk::Left, true, true, true, &I::ColumnWordLeft},
    {vk::Right, true, true, true, &I::ColumnWordRight},
    {vk::Home, true, true, true, &I::ColumnTextStart},
    {vk::End, true, true, true, &I::ColumnTextEnd},
    {vk::Back, false, false, false, &I::BackSpace},
    {vk::Delete, false, false, false, &I::DeleteChar},
    {vk::Back, false, true, false, &I::DeleteWordLeft},
    {vk::Delete, false, true, false, &I::DeleteWordRight},
    {vk::Delete, true, true, false, &I::DeleteToLineEnd},
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
    {'Z', true, true, false, &I::Redo},
    {'A', false, true, false, &I::SelectAll},
    {'L', false, true, false, &I::DeleteLine},
    {'U', false, true, false, &I::LowerCaseSelection},
    {'U', true, true, false, &I::UpperCaseSelection},
    {'L', false, true, true, &I::LowerCaseWord},
    {'U', false, true, true, &I::UpperCaseWord},
    {'F', false, true, false, &I::Find},
    {'H', false, true, false, &I::Replace},
    {vk::F(3), false, false, false, &I::FindNext},
    {'J', false, true, false, &I::ShowCodeTemplates},
    {'G', false, true, false, GotoLineDialog},
    {vk::F1, false, true, false, &I::HelpOnWord},
    {'P', false, true, false, &I::Print},
    {vk::F(12), false, false, false, Navigation(&ITextNavigation::GotoDefinition)},
    {vk::F(12), true, false, false, Navigation(&ITextNavigation::FindReferences)},
    {vk::Left, false, false, true, Navigation(&ITextNavigation::NavigateBack)},
    {vk::Right, false, false, true, Navigation(&ITextNavigation::NavigateForward)},
    {vk::F(8), false, false, false, Navigation(&ITextNavigation::NextProblem)},
    {vk::F(8), true, false, false, Navigation(&ITextNavigation::PreviousProblem)},
    // clang-format on
};

// Bookmark n (1 to 10) of each kind; the interface orders them 1, 10, 2, ..., 9.
constexpr int kBookmarkCount = 10;
using TBookmarkOperation = void (I::*)();
const TBookmarkOperation kToggleBookmark[kBookmarkCount] = {
    &I::ToggleBookmark1, &I::ToggleBookmark2, &I::ToggleBookmark3, &I::ToggleBookmark4, &I::ToggleBookmark5,
    &I::ToggleBookmark6, &I::ToggleBookmark7, &I::ToggleBookmark8, &I::ToggleBookmark9, &I::ToggleBookmark10};
const TBookmarkOperation kGotoBookmark[kBookmarkCount] = {
    &I::GotoBookmark1, &I::GotoBookmark2, &I::GotoBookmark3, &I::GotoBookmark4, &I::GotoBookmark5,
    &I::GotoBookmark6, &I::GotoBookmark7, &I::GotoBookmark8, &I::GotoBookmark9, &I::GotoBookmark10};

// Bookmark n is on the digit key n; bookmark 10 on the digit 0.
int32_t BookmarkDigit(int n) { return '0' + n % kBookmarkCount; }

// The wrap modes the View menu offers, as the "Limit" parameter names them.
TCommand WithParameters(void (I::*operation)(char*), const char* text) {
    return [operation, text](I& commands) {
        std::vector<char> params(kParameterStringLimit, '\0');
        std::strncpy(params.data(), text, params.size() - 1);
        (commands.*operation)(params.data());
    };
}

void RunOnCurrent(const TCurrentCommands& current, const TCommand& command) {
    if (const auto commands = current())
        command(*commands);
}

// Asks one state query. Enabled queries write the first result and checked ones the second;
// the others keep what we put there.
struct TQueryAnswer {
    bool enabled = false;
    bool checked = false;
};
TQueryAnswer AskState(ITextEditorCommands& commands, TQuery query, const char* text) {
    std::vector<char> params(kParameterStringLimit, '\0');
    std::strncpy(params.data(), text ? text : "", params.size() - 1);
    int32_t enabled = kFalse, checked = kFalse, r3 = 0, r4 = 0, r5 = 0;
    (commands.*query)(params.data(), &enabled, &checked, &r3, &r4, &r5);
    return {enabled != kFalse, checked != kFalse};
}

struct TMenuRow {
    const char* caption;
    const char* shortcut;
    TCommand command;
    TQuery enabledWhen = nullptr;  // nullptr: enabled whenever there is a document
    TQuery checkedWhen = nullptr;  // nullptr: not a checkable item
    const char* queryParams = nullptr;
};
const TMenuRow kSeparator{nullptr, nullptr, nullptr};

// Refreshes every item from the document's state queries each time the menu opens.
void FillMenu(QMenu* menu, const std::vector<TMenuRow>& rows, const TCurrentCommands& current) {
    std::vector<std::pair<QAction*, TMenuRow>> actions;
    for (const TMenuRow& row : rows) {
        if (!row.caption) {
            menu->addSeparator();
            continue;
        }
        QAction* action =
            menu->addAction(row.caption, [current, c = row.command] { RunOnCurrent(current, c); });
        // Shown for the user; the keys themselves reach the document through the shortcut table.
        if (row.shortcut)
            action->setShortcut(QKeySequence(row.shortcut));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setCheckable(row.checkedWhen != nullptr);
        actions.emplace_back(action, row);
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [actions, current] {
        const auto commands = current();
        for (const auto& [action, row] : actions) {
            bool enabled = static_cast<bool>(commands);
            if (commands && row.enabledWhen)
                enabled = AskState(*commands, row.enabledWhen, row.queryParams).enabled;
            action->setEnabled(enabled);
            if (row.checkedWhen)
                action->setChecked(commands && AskState(*commands, row.checkedWhen, row.queryParams).checked);
        }
    });
}

void AddBookmarkMenus(QMenu* menu, const TCurrentCommands& current) {
    QMenu* toggle = menu->addMenu("&Toggle Bookmark");
    QMenu* go = menu->addMenu("&Go to Bookmark");
    for (int n = 1; n <= kBookmarkCount; ++n) {
        const QString digit(QChar(BookmarkDigit(n)));
        toggle
            ->addAction(QString("Bookmark &%1").arg(digit),
                        [current, op = kToggleBookmark[n - 1]] { RunOnCurrent(current, op); })
            ->setShortcut(QKeySequence("Ctrl+Shift+" + digit));
        go->addAction(QString("Bookmark &%1").arg(digit), [current, op = kGotoBookmark[n - 1]] {
              RunOnCurrent(current, op);
          })->setShortcut(QKeySequence("Ctrl+" + digit));
    }
    for (QMenu* sub : {toggle, go})
        for (QAction* action : sub->actions())
            action->setShortcutContext(Qt::WidgetShortcut);
}

}  // namespace

void RegisterTextShortcuts(THostUserInterface& ui, const TCurrentCommands& current) {
    const auto add = [&ui, &current](THostShortcut keys, TCommand command) {
        ui.AddShortcut(keys, [current, command = std::move(command)] { RunOnCurrent(current, command); });
    };
    for (const TShortcutRow& row : kShortcuts)
        add({row.key, row.alt, row.shift, row.ctrl}, row.command);
    for (int n = 1; n <= kBookmarkCount; ++n) {
        add({BookmarkDigit(n), false, true, true}, kToggleBookmark[n - 1]);
        add({BookmarkDigit(n), false, false, true}, kGotoBookmark[n - 1]);
    }
}

void AddTextMenus(QMenuBar* bar, const TCurrentCommands& current) {
    QMenu* edit = bar->addMenu("&Edit");
    FillMenu(edit,
             {{"&Undo", "Ctrl+Z", &I::Undo, &I::CanUndo},
              {"&Redo", "Ctrl+Y", &I::Redo, &I::CanRedo},
              kSeparator,
              {"Cu&t", "Ctrl+X", &I::Cut, &I::CanCut},
              {"&Copy", "Ctrl+C", &I::Copy, &I::CanCopy},
              {"&Paste", "Ctrl+V", &I::Paste, &I::CanPaste},
              {"&Delete", nullptr, &I::DeleteSelection, &I::CanCut},
              {"Select &All", "Ctrl+A", &I::SelectAll},
              kSeparator,
              {"&Upper Case", "Ctrl+Shift+U", &I::UpperCaseSelection, &I::CanCut},
              {"&Lower Case", "Ctrl+U", &I::LowerCaseSelection, &I::CanCut},
              {"Upper Case &Word", "Ctrl+Alt+U", &I::UpperCaseWord},
              {"Lower Case W&ord", "Ctrl+Alt+L", &I::LowerCaseWord},
              kSeparator,
              {"Code &Templates", "Ctrl+J", &I::ShowCodeTemplates},
              {"Toggle &Insert Mode", "Ins", &I::ToggleInsertMode},
              {"&Reload", nullptr, [](I& c) { c.Reload(); }},
              kSeparator,
              {"Pr&eferences...", nullptr, &I::Preferences},
              {"&Language...", nullptr, &I::SetupLanguage},
              {"S&yntax Scheme...", nullptr, &I::EditSyntaxScheme}},
             current);
    QMenu* search = bar->addMenu("&Search");
    FillMenu(search,
             {{"&Find...", "Ctrl+F", &I::Find},
              {"&Replace...", "Ctrl+H", &I::Replace},
              {"Find &Next", "F3", &I::FindNext},
              kSeparator,
              {"&Go to Line...", "Ctrl+G", GotoLineDialog},
              kSeparator,
              {"Go to &Definition", "F12", Navigation(&ITextNavigation::GotoDefinition)},
              {"Find Re&ferences", "Shift+F12", Navigation(&ITextNavigation::FindReferences)},
              {"&Back", "Alt+Left", Navigation(&ITextNavigation::NavigateBack)},
              {"For&ward", "Alt+Right", Navigation(&ITextNavigation::NavigateForward)},
              kSeparator,
              {"Next &Problem", "F8", Navigation(&ITextNavigation::NextProblem)},
              {"Pre&vious Problem", "Shift+F8", Navigation(&ITextNavigation::PreviousProblem)}},
             current);
    search->addSeparator();
    AddBookmarkMenus(search, current);
}

void AddTextPrintMenu(QMenu* file, const TCurrentCommands& current) {
    FillMenu(file, {{"&Print...", "Ctrl+P", &I::Print}, {"Print &Now", nullptr, &I::PrintNow}}, current);
}

void AddTextViewMenu(QMenu* view, const TCurrentCommands& current) {
    FillMenu(view,
             {{"Wrap at &Margin", nullptr, WithParameters(&I::SetWrapMode, "Limit=Margin"), nullptr,
               &I::IsWrapMode, "Limit=Margin"},
              {"Wrap at &Window", nullptr, WithParameters(&I::SetWrapMode, "Limit=Window"), nullptr,
               &I::IsWrapMode, "Limit=Window"},
              {"&No Wrapping", nullptr, WithParameters(&I::SetWrapMode, "Limit=None"), nullptr,
               &I::IsWrapMode, "Limit=None"},
              kSeparator,
              {"&Auto Indent", nullptr, &I::ToggleAutoIndent}},
             current);
}

}  // namespace harbinet
