// The host's editing commands that the window carries out beyond one engine command each.
#include <array>

#include "editor/text_editor_preferences.h"
#include "editor/text_view.h"
#include "editor/text_window.h"
#include "editor/wait_cursor.h"
#include "host/abi/parameter_list.h"
#include "host/host_processes.h"
#include "languages/text_source.h"
#include "textengine/view/qt_clipboard.h"

namespace tarnwick {

namespace {

enum class TWrapLimit { Margin, Window, None };

// The wrap mode a "Limit" parameter names, compared ignoring case; nullopt for none or another.
std::optional<TWrapLimit> WrapLimitOf(const char* params) {
    std::string limit;
    if (!params || !LookupParameter(params, "Limit", limit))
        return std::nullopt;
    if (SameParameterName(limit, "Margin"))
        return TWrapLimit::Margin;
    if (SameParameterName(limit, "Window"))
        return TWrapLimit::Window;
    if (SameParameterName(limit, "None"))
        return TWrapLimit::None;
    return std::nullopt;
}

// The topic buffer of "Client:RunHelpTopic".
constexpr int32_t kHelpTopicCapacity = 255;

}  // namespace

void TTextWindow::Execute(const TKeyAction& action) { View().ExecuteAction(action); }

void TTextWindow::Undo() {
    const TWaitCursor wait;
    TextSource().Undo();
}

void TTextWindow::Redo() {
    const TWaitCursor wait;
    TextSource().Redo();
}

// Without the scheme editor the text source would only rewrite the language list.
void TTextWindow::EditSyntaxScheme() {
    if (!TextSource().Dialogs.SchemeEditor)
        return;
    TextSource().RunSchemeEditor(View().Font().Color, View().Color);
    ReloadLanguage();
}

void TTextWindow::SetupLanguage() {
    if (!TextSource().Dialogs.LanguageDialog)
        return;
    TextSource().RunLanguageDialog(View().Font().Color, View().Color);
    ReloadLanguage();
}

void TTextWindow::HelpOnWord() {
    const std::string word = TextSource().WordAtCaret().substr(0, kShortStringLength);
    if (word.empty())
        return;
    std::array<char, kHelpTopicCapacity> params{};
    const std::string topic = ("Topic = " + word).substr(0, params.size() - 1);
    std::copy(topic.begin(), topic.end(), params.begin());
    RunHostProcess("Client:RunHelpTopic", params.data(), kHelpTopicCapacity, nullptr);
}

void TTextWindow::ShowCodeTemplates() {
    View().setFocus();
    View().CodeTemplatePopup();
}

void TTextWindow::ToggleAutoIndent() { GlobalPreferences.AutoIndentMode = !GlobalPreferences.AutoIndentMode; }

void TTextWindow::ToggleInsertMode() { GlobalPreferences.InsertMode = !GlobalPreferences.InsertMode; }

void TTextWindow::SetWrapMode(const char* params) {
    const std::optional<TWrapLimit> limit = WrapLimitOf(params);
    if (!limit)
        return;
    GlobalPreferences.WordWrap = *limit != TWrapLimit::None;
    if (*limit != TWrapLimit::None)
        GlobalPreferences.WrapAtMargin = *limit == TWrapLimit::Margin;
}

std::optional<bool> TTextWindow::IsWrapMode(const char* params) const {
    const std::optional<TWrapLimit> limit = WrapLimitOf(params);
    if (!limit)
        return std::nullopt;
    const TTextEditorPreferences& p = GlobalPreferences;
    switch (*limit) {
        case TWrapLimit::Margin:
            return p.WordWrap && p.WrapAtMargin;
        case TWrapLimit::Window:
            return p.WordWrap && !p.WrapAtMargin;
        case TWrapLimit::None:
            return !p.WordWrap;
    }
    return std::nullopt;
}

bool TTextWindow::CanCopy() const { return TextSource().HasSelection(); }

bool TTextWindow::CanPaste() const { return TQtClipboard().HasText(); }

bool TTextWindow::CanUndo() const { return TextSource().CanUndo(); }

bool TTextWindow::CanRedo() const { return TextSource().CanRedo(); }

}  // namespace tarnwick
