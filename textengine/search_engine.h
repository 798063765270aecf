// The search and replace commands of one buffer, over the shared search options. A short-lived
// object: the buffer's search operations make one per command.
//
// Messages (the two block errors, pattern errors, "not found") go first to the buffer's
// OnSearchException; unless it handles them, the block errors are thrown as ESearchError and
// the others are shown in an information box.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "textengine/memo_types.h"
#include "textengine/search_dialogs.h"
#include "textengine/search_options.h"

namespace tarnwick {

class TCustomMemoSource;
struct TFoundRect;

class ESearchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSearchEngine {
public:
    explicit TSearchEngine(TCustomMemoSource& source, TSearchOptions& options = TSearchOptions::Shared());
    ~TSearchEngine();
    TSearchEngine(const TSearchEngine&) = delete;
    TSearchEngine& operator=(const TSearchEngine&) = delete;

    // One search step from the caret; selects or marks the match and moves the caret past it.
    bool FindNext(int32_t& length);
    // Replaces one match (asking when prompting) or, with ReplaceAll, every match.
    bool Replace();

    void SearchFirst();
    void ReplaceFirst();
    void SearchAgain();
    void ReplaceAgain();
    void ToggleCaseSensitive() { options_.CaseSensitive = !options_.CaseSensitive; }
    void ToggleRegularExpr() { options_.RegularExpr = !options_.RegularExpr; }

    // The text at the caret and the scope a dialog starts with.
    void PrepareDialog();
    void FindDialog();
    void ReplaceDialog();
    // True when a line was entered and the caret went there.
    bool GotoLineDialog();

private:
    class TArea;
    class TBusyScope;

    TModalResult ShowDialog(std::unique_ptr<TSearchOptionsDialog> dialog);
    // FindNext's step, answering the match in text coordinates.
    bool FindMatch(TFoundRect& match);
    void ShowMatch(const TFoundRect& match, bool select, bool forward);
    bool ReplaceOne(TReplaceAnswer& answer);
    void ReplaceMatch(const TFoundRect& match);
    bool ReplaceAll();
    void OpenReplaceBracket();
    void CloseReplaceBrackets();
    bool CaretInsideSelection() const;
    bool ContainsDelimiter(const std::string& text) const;
    void Report(const std::string& message, bool blockError);

    // A replace all of plain text, forward and without prompting, in a long line holding no
    // tab, of all the text or a stream selection: the line's later matches, found in the reading that found
    // the first. Reading the line again after each replacement would cost its length every time. The text
    // after a replacement reads as before it, so each later match stands where it was found, moved by what
    // the replacements before it added.
    struct TLineMatches {
        int32_t line = -1;
        int32_t length = 0;
        std::vector<int32_t> starts;  // columns in the line as it was read
        size_t next = 0;
        int64_t shift = 0;  // columns the replacements since then added
    };
    bool MayKeepLineMatches(const TFoundRect& first, bool inSelection) const;
    void KeepLineMatches(const TFoundRect& first, TArea& area, TPosition after);
    bool TakeLineMatch(TFoundRect& match);

    TCustomMemoSource& source_;
    TSearchOptions& options_;
    int32_t openBrackets_ = 0;  // replace brackets kept open until a replace-all ends
    int32_t busyDepth_ = 0;
    bool replacingAll_ = false;  // inside ReplaceAll's loop
    TLineMatches lineMatches_;
};

}  // namespace tarnwick
