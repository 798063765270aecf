#include "languages/text_source.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "host/abi/parameter_list.h"
#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"
#include "languages/text_file.h"
#include "textengine/search_buffer_lines.h"
#include "textengine/search_lines.h"

namespace tarnwick {

namespace {

// The word delimiters of a language-bound text; the last two are an apostrophe and a quote.
constexpr const char* kWordDelimiters = "{}+-/*():=,;><$.#[]^@&~|%'\"";
// Characters of file names: word characters while FileNameAtCaret runs.
constexpr std::string_view kFileNameCharacters = ".\\/:";

// Switches one option to a value for the lifetime of a scope, and back only if it changed it.
class TOptionScope {
public:
    TOptionScope(TCustomMemoSource& source, TStringsOption option, bool on)
        : source_(source), option_(option), on_(on), changed_(source.HasOption(option) != on) {
        if (changed_)
            Switch(on_);
    }
    ~TOptionScope() {
        if (changed_)
            Switch(!on_);
    }
    TOptionScope(const TOptionScope&) = delete;
    TOptionScope& operator=(const TOptionScope&) = delete;

private:
    void Switch(bool on) {
        const TStringsOptions options = source_.Options();
        source_.SetOptions(on ? options.With(option_) : options.Without(option_));
    }

    TCustomMemoSource& source_;
    TStringsOption option_;
    bool on_;
    bool changed_;
};

// Sets the buffer's word delimiters for the lifetime of a scope.
class TDelimiterScope {
public:
    TDelimiterScope(TCustomMemoSource& source, const std::string& delimiters)
        : source_(source), saved_(source.Delimeters()) {
        source_.SetDelimeters(delimiters);
    }
    ~TDelimiterScope() { source_.SetDelimeters(saved_); }
    TDelimiterScope(const TDelimiterScope&) = delete;
    TDelimiterScope& operator=(const TDelimiterScope&) = delete;

private:
    TCustomMemoSource& source_;
    std::string saved_;
};

// The buffer's lines from one line on, so that a search can start there from the scope's edge
// (its first column, and a pattern such as "^" matching there).
class TLinesFrom : public TSearchLineSource {
public:
    TLinesFrom(const TCustomMemoSource& source, int32_t first) : lines_(source), first_(first) {}
    int32_t Count() const override { return std::max(lines_.Count() - first_, 0); }
    std::string_view Line(int32_t index) override { return lines_.Line(first_ + index); }

private:
    TMemoSourceLines lines_;
    int32_t first_;
};

// A decimal integer with an optional sign, blanks around allowed; nullopt for anything else.
std::optional<int64_t> DecimalInteger(std::string_view text) {
    text = TrimParameterText(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

TTextSource::TTextSource() {
    searchOptions_.ShowNotFound = false;
    searchOptions_.InReplace = false;
    searchOptions_.Direction = sdForward;
    searchOptions_.Scope = ssGlobal;
    searchOptions_.Origin = soEntireScope;
    SetDelimeters(kWordDelimiters);
    SetBlockOption(bkBoth);
    SetUndoLimit(1000);
    SetTabStops("4,7");
    SetSpacesInTab(4);
    SetTemplatesType("Custom");
}

void TTextSource::SetLanguageKey(std::string_view key) {
    languageKey_ = std::string(key.substr(0, kShortStringLength));
}

// ---- The language ---------------------------------------------------------------------------

bool TTextSource::RunLanguageDialog(TColorValue fontColor, TColorValue backColor) {
    languageManager_.Load();
    const std::string key = languageKey_;
    const bool ok =
        Dialogs.LanguageDialog && Dialogs.LanguageDialog(*this, fontColor, backColor, languageManager_, key);
    languageManager_.Save();
    return ok;
}

void TTextSource::RunSchemeEditor(TColorValue fontColor, TColorValue backColor) {
    languageManager_.Load();
    const std::string language = languageManager_.LanguageOf(languageKey_);
    if (language.empty())
        ShowError("No language is associated with " + languageKey_ + " files.");
    const std::string path = languageManager_.SyntaxFileOf(language);
    if (!IsExistingFile(path))
        return;
    const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
    LoadSchemeFile(*scheme, path);
    if (Dialogs.SchemeEditor && Dialogs.SchemeEditor(*this, fontColor, backColor, *scheme))
        scheme->SaveToFile(path);
    languageManager_.Save();
}

void TTextSource::LoadLanguageScheme(TSyntaxParser* parser) {
    languageManager_.Load();
    const std::string path = languageManager_.SyntaxFileOf(languageManager_.LanguageOf(languageKey_));
    if (parser == nullptr)
        return;
    const std::unique_ptr<TSyntaxScheme> scheme = TLanguageManager::NewScheme();
    if (IsExistingFile(path))
        LoadSchemeFile(*scheme, path);
    parser->SetSyntaxScheme(*scheme);
}

void TTextSource::LoadLanguageTemplates() {
    languageManager_.Load();
    const std::string path = languageManager_.TemplateFileOf(languageManager_.LanguageOf(languageKey_));
    if (IsExistingFile(path))
        codeTemplates_.LoadFromFile(path);
    else
        codeTemplates_.Clear();
}

void TTextSource::LoadSchemeFile(TSyntaxScheme& scheme, const std::string& path) {
    try {
        scheme.LoadFromFile(path);
    } catch (const TSchemeReadError& error) {
        ShowError(error.what());
        throw;
    }
}

void TTextSource::ShowError(const std::string& message) {
    if (Dialogs.ShowErrorMessage)
        Dialogs.ShowErrorMessage(message);
}

// ---- Used by the editor window and the search panel -----------------------------------------

std::string TTextSource::FileNameAtCaret() {
    std::string delimiters = Delimeters();
    std::erase_if(delimiters, [](char c) { return kFileNameCharacters.find(c) != std::string_view::npos; });
    const TDelimiterScope scope(*this, delimiters);
    std::string name;
    // Only a selection of at most two lines can be a name, so a large one is never copied.
    const int32_t selectedLines = SelEnd().LinePos - SelStart().LinePos + 1;
    const std::vector<std::string> lines =
        HasSelection() && selectedLines <= 2 ? SelectionLines() : std::vector<std::string>();
    if (lines.size() == 1 || (lines.size() == 2 && lines[1].empty()))
        name = TrimParameterText(lines[0]);
    else
        name = WordAtCaret();
    return name.substr(0, kShortStringLength);
}

bool TTextSource::AskGotoLine() {
    if (!Dialogs.GotoLineDialog)
        return false;
    int64_t line = Caret().LinePos;
    for (;;) {
        const std::optional<std::string> entered = Dialogs.GotoLineDialog(*this, line + 1);
        if (!entered)
            return false;
        if (const std::optional<int64_t> number = DecimalInteger(*entered))
            line = std::max<int64_t>(*number, 1) - 1;
        if (line < LineCount())
            return GotoLineIndex(int32_t(line));
    }
}

std::string TTextSource::GetLineText(int32_t index) const { return LineText(index); }

void TTextSource::PutLineText(int32_t index, std::string_view text) {
    if (ReadOnly() || LineReadOnly(index))
        return;
    Lines().Put(index, text);
}

bool TTextSource::GotoLineIndex(int32_t index) {
    if (index < 0 || index >= LineCount())
        return false;
    SetCaret(Caret().CharPos, index);
    return true;
}

int32_t TTextSource::FindFirstLine(std::string_view text, bool caseSensitive, bool wholeWordsOnly,
                                   bool regularExpr) {
    searchOptions_.TextToFind = text;
    searchOptions_.CaseSensitive = caseSensitive;
    searchOptions_.WholeWordsOnly = wholeWordsOnly;
    searchOptions_.RegularExpr = regularExpr;
    for (int c = 0; c < 256; ++c)
        lineSearchDelimiters_[std::size_t(c)] = IsDelimiter(static_cast<unsigned char>(c));
    return SearchLinesFrom(0);
}

int32_t TTextSource::FindNextLine() { return lastFoundLine_ < 0 ? -1 : SearchLinesFrom(lastFoundLine_ + 1); }

// Every search starts at the first column of its first line, so no line after a match is
// skipped, whatever column the match began at.
int32_t TTextSource::SearchLinesFrom(int32_t firstLine) {
    searchOptions_.FirstSearch = true;
    searchOptions_.Origin = soEntireScope;
    searchOptions_.Direction = sdForward;
    TLinesFrom lines(*this, firstLine);
    TPosition found;
    int32_t length = 0;
    lastFoundLine_ = SearchLines(lines, searchOptions_, found, lineSearchDelimiters_, length)
                         ? firstLine + found.LinePos
                         : -1;
    return lastFoundLine_ < 0 ? -1 : lastFoundLine_ + 1;
}

// ---- Commands this buffer changes -----------------------------------------------------------

void TTextSource::CaretLeft() {
    const TPosition caret = Caret();
    if (caret.CharPos == 0 && HasOption(soLimitEOL) && caret.LinePos > 0)
        return SetCaret(LineLength(caret.LinePos - 1), caret.LinePos - 1);
    TMemoSource::CaretLeft();
}

void TTextSource::TabKey() {
    const TOptionScope scope(*this, soLimitEOL, false);
    TMemoSource::TabKey();
}

void TTextSource::IndentBlock() {
    const TOptionScope scope(*this, soLimitEOL, false);
    TMemoSource::IndentBlock();
}

void TTextSource::UnindentBlock() {
    const TOptionScope scope(*this, soLimitEOL, false);
    TMemoSource::UnindentBlock();
}

void TTextSource::NewLine() {
    const TOptionScope scope(*this, soBeyondFileEnd, true);
    TMemoSource::NewLine();
}

}  // namespace tarnwick
