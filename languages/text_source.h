#pragma once
// The text buffer bound to one language through its language key (the document's file
// extension without the dot). It owns the language manager that finds the key's scheme and
// templates, the buffer's code templates, and a search-options object of its own for the line
// searches of the search panel.
//
// Commands it changes: CaretLeft at column 0 under soLimitEOL goes to the end of the line above;
// TabKey, IndentBlock and UnindentBlock run with soLimitEOL off; NewLine runs with
// soBeyondFileEnd on. They are overrides, so key bindings reach them as well.

#include <cstdint>
#include <string>
#include <string_view>

#include "languages/code_templates.h"
#include "languages/language_manager.h"
#include "languages/text_source_dialogs.h"
#include "textengine/memo_source.h"
#include "textengine/search_lines.h"
#include "textengine/search_options.h"

namespace tarnwick {

class TSyntaxParser;
class TSyntaxScheme;

class TTextSource : public TMemoSource {
public:
    // The buffer settings of a language-bound text: word delimiters
    // {}+-/*():=,;><$.#[]^@&~|%'" , both selection kinds, undo limit 1000, tab stops "4,7",
    // four spaces per tab, templates type "Custom".
    TTextSource();

    TLanguageManager& LanguageManager() noexcept { return languageManager_; }
    const TLanguageManager& LanguageManager() const noexcept { return languageManager_; }
    const std::string& LanguageKey() const noexcept { return languageKey_; }
    void SetLanguageKey(std::string_view key);  // cut to 255 characters
    TMemoCodeTemplates& CodeTemplates() noexcept { return codeTemplates_; }
    const TMemoCodeTemplates& CodeTemplates() const noexcept { return codeTemplates_; }
    TSearchOptions& LineSearchOptions() noexcept { return searchOptions_; }

    // Set by the editor; see TTextSourceDialogs.
    TTextSourceDialogs Dialogs;

    // ---- The language (each starts with the manager's Load) -----------------------------
    // Runs the language dialog, then saves the catalogue; answers the dialog's OK.
    bool RunLanguageDialog(TColorValue fontColor, TColorValue backColor);
    // Edits the scheme of the key's language and saves it after OK; then saves the catalogue.
    // A key without a language shows "No language is associated with <key> files.".
    void RunSchemeEditor(TColorValue fontColor, TColorValue backColor);
    // Gives the highlighter the key's scheme, or the empty scheme when the key has no language
    // or the language no scheme file. A scheme file that is not a scheme shows its message
    // through Dialogs.ShowErrorMessage and throws TSchemeReadError; one that cannot be opened
    // throws std::system_error. The highlighter keeps its scheme on failure.
    void LoadLanguageScheme(TSyntaxParser* parser);
    // Loads the key's template file into CodeTemplates, or empties them when there is none.
    // Throws TTemplateReadError or std::system_error when the file cannot be read.
    void LoadLanguageTemplates();

    // ---- Used by the editor window and the search panel ---------------------------------
    // The selection trimmed when it is one line (or one line and an empty one), else the word
    // at the caret, with ".", "\", "/" and ":" as word characters; at most 255 characters.
    [[nodiscard]] std::string FileNameAtCaret();
    // Asks for a line until the user cancels or names an existing one, which the caret goes to
    // (keeping its column); true when it went there.
    bool AskGotoLine();
    // Empty for an index out of range.
    [[nodiscard]] std::string GetLineText(int32_t index) const;
    // Replaces an existing line; nothing for an index out of range.
    void PutLineText(int32_t index, std::string_view text);
    // Moves the caret to an existing line, keeping its column; false for an index out of range.
    bool GotoLineIndex(int32_t index);
    // The 1-based line of the first match in the whole text, or -1. The caret does not move.
    // Throws ERegExprError for a bad pattern.
    int32_t FindFirstLine(std::string_view text, bool caseSensitive, bool wholeWordsOnly, bool regularExpr);
    // The 1-based line of the next match, searching from the start of the line after the last
    // match; -1 when there is none.
    int32_t FindNextLine();

    // ---- Commands this buffer changes -------------------------------------------------
    void CaretLeft() override;
    void TabKey() override;
    void IndentBlock() override;
    void UnindentBlock() override;
    void NewLine() override;

private:
    // The 1-based line of the first match from the start of firstLine on, or -1.
    int32_t SearchLinesFrom(int32_t firstLine);
    void LoadSchemeFile(TSyntaxScheme& scheme, const std::string& path);
    void ShowError(const std::string& message);

    TLanguageManager languageManager_;
    std::string languageKey_;
    TMemoCodeTemplates codeTemplates_;
    TSearchOptions searchOptions_;
    // The word delimiters as FindFirstLine found them, kept for the FindNextLine calls after it,
    // which a list of every matching line makes once per line.
    TDelimiterSet lineSearchDelimiters_;
    int32_t lastFoundLine_ = -1;  // 0-based line of the last line-search match
};

}  // namespace tarnwick
