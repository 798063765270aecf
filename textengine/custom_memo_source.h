// The text buffer: the lines of one document with everything addressed by line and column
// (caret, selection, bookmarks, per-line marks and styles), the modified flag and read-only
// state, the primitive edits every editing command is built on, undo and redo, loading and
// saving, highlighting on demand, and change notification to the views that show it.
//
// Every operation runs inside a change bracket (BeginChange/EndChange). Brackets nest; only
// the outermost one records the state before the change and, when it closes, tells every
// attached view once with the range of changed lines and a TMemoStates mask.
//
// Columns are expanded columns (tabs expanded to the tab stops); the stored text keeps its tab
// characters only under soUseTabCharacter.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/bookmark_list.h"
#include "textengine/fold_list.h"
#include "textengine/line_length_index.h"
#include "textengine/line_store.h"
#include "textengine/memo_position.h"
#include "textengine/memo_types.h"
#include "textengine/simple_parser.h"
#include "textengine/tab_stops.h"
#include "textengine/undo_list.h"

namespace tarnwick {

class TByteStream;
class TClipboard;
class TCustomMemoSource;
class TExternalStrings;
class TSearchOptionsDialog;
class TSearchDialogFactory;

// The rectangle of the last search match on one line: [StartChar, EndChar).
struct TFoundRect {
    int32_t LinePos = -1;
    int32_t StartChar = 0;
    int32_t EndChar = 0;
    bool IsEmpty() const { return LinePos < 0; }
    friend bool operator==(const TFoundRect&, const TFoundRect&) = default;
};

// A view's change handler: called after every outermost change with the first and last
// changed line (first > last when no line changed, as for a switch of insert mode); it reads
// States(), PrevCaret() and the previous selection from the buffer.
using TMemoChangeHandler =
    std::function<void(TCustomMemoSource& source, int32_t firstLine, int32_t lastLine)>;

class TCustomMemoSource : private TParserSubscriber {
public:
    TCustomMemoSource();
    virtual ~TCustomMemoSource();
    TCustomMemoSource(const TCustomMemoSource&) = delete;
    TCustomMemoSource& operator=(const TCustomMemoSource&) = delete;

    // ---- Properties --------------------------------------------------------------------
    TStringsOptions Options() const { return options_; }
    // Keeps soUseTabCharacter and soSmartTab exclusive; switching soBeyondFileEnd off while
    // the caret is past the last line moves the caret to the end of the text.
    void SetOptions(TStringsOptions options);
    bool HasOption(TStringsOption o) const { return options_.Has(o); }

    TSimpleParser* SyntaxParser() const { return parser_; }
    // Attaching or detaching resets all per-line highlighting state.
    void SetSyntaxParser(TSimpleParser* parser);

    const std::string& TabStops() const { return tabStopsText_; }
    // Throws ETabStopsError ("Invalid Tab Rack"); the old stops stay in force then.
    void SetTabStops(const std::string& stops);
    const TTabStops& TabRack() const { return tabStops_; }

    const std::string& Delimeters() const { return delimiters_; }
    void SetDelimeters(const std::string& extra);
    bool IsDelimiter(unsigned char c) const { return delimiterSet_[c]; }

    TExternalStrings& Lines() { return *lines_; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);

    int32_t BlockIndent() const { return blockIndent_; }
    void SetBlockIndent(int32_t columns) { blockIndent_ = columns < 0 ? 0 : columns; }
    int32_t SpacesInTab() const { return spacesInTab_; }
    void SetSpacesInTab(int32_t spaces) { spacesInTab_ = spaces <= 0 || spaces > 10 ? 8 : spaces; }

    const std::string& TemplatesType() const { return templatesType_; }
    void SetTemplatesType(const std::string& type) { templatesType_ = type; }
    bool HighlightUrls() const { return highlightUrls_; }
    void SetHighlightUrls(bool on) { highlightUrls_ = on; }

    TBlockOption BlockOption() const { return blockOption_; }
    // Converts an existing selection to a kind the new option allows.
    void SetBlockOption(TBlockOption option);
    TOutFormatType OutFormat() const { return outFormat_; }
    void SetOutFormat(TOutFormatType format) { outFormat_ = format; }
    TFinalLineEnd FinalLineEnd() const { return finalLineEnd_; }
    void SetFinalLineEnd(TFinalLineEnd rule) { finalLineEnd_ = rule; }

    bool AllowUndo() const { return allowUndo_; }
    // Switching it off clears both lists.
    void SetAllowUndo(bool on);
    int32_t UndoLimit() const { return undoLimit_; }
    // 0 = unlimited; negative values are stored as 0. Trims the list at once.
    void SetUndoLimit(int32_t limit);

    bool UseGlobalOptions() const { return useGlobalOptions_; }
    void SetUseGlobalOptions(bool on);
    // Trailing blanks survive loading and leaving a line only under the shared options.
    bool KeepTrailingBlanks() const;

    // Hooks: may change the selection kind a selection command chose; may change the lines
    // about to be pasted.
    std::function<void(TCustomMemoSource&, TSelectionType&)> OnGetSelectionType;
    std::function<void(TCustomMemoSource&, std::vector<std::string>&)> OnPasteFromClipboard;

    // ---- Text access -------------------------------------------------------------------
    int32_t LineCount() const { return store_.Count(); }
    // The line in expanded form (tabs as spaces); empty for an index out of range.
    std::string LineText(int32_t line) const;
    // The line as stored; valid until the next edit. Empty for an index out of range.
    std::string_view StoredLine(int32_t line) const;
    int32_t LineLength(int32_t line) const;  // expanded length
    // Whether the stored line may hold a tab, without reading a long line; false out of range.
    bool LineMayHoldTab(int32_t line) const;
    // Column and stored index of a line, without reading a line that holds no tab.
    TTabStops::Location LocateColumn(int32_t line, int32_t column) const;
    int32_t ColumnOfIndex(int32_t line, int64_t index) const;
    // The expanded length of the longest line, for the view's horizontal extent. The first
    // call after a load counts every line once; later edits keep the count up to date.
    int32_t LongestLineLength();
    // Every stored line joined with CR LF, without a final line end.
    std::string Text() const;
    // The line store, to read: every change goes through the operations here, inside a change
    // bracket and recorded for undo.
    const TInternalStrings& Store() const { return store_; }
    // See TInternalStrings::SetChunkBytes.
    void SetLongLineChunkBytes(size_t bytes) { store_.SetChunkBytes(bytes); }

    // ---- Caret and selection -----------------------------------------------------------
    TPosition Caret() const { return caret_; }
    TPosition PrevCaret() const { return prevCaret_; }
    TPosition SelStart() const { return selTopLeft_.Pos; }    // top-left corner
    TPosition SelEnd() const { return selBottomRight_.Pos; }  // bottom-right corner
    TSelectionType SelectionType() const { return selType_; }
    TPosition PrevSelStart() const { return prevSelTopLeft_; }
    TPosition PrevSelEnd() const { return prevSelBottomRight_; }
    TSelectionType PrevSelectionType() const { return prevSelType_; }
    bool HasSelection() const { return selType_ != stNone; }

    void MoveCaret(int32_t dLine, int32_t dChar);
    void SetCaret(int32_t charPos, int32_t linePos);
    // Runs a caret move and stretches the selection with it.
    void ExtendSelection(TSelectionType kind, const std::function<void()>& move);
    void SetSelection(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void SetSelectionKind(TSelectionType kind);
    // The selected part of each line (expanded form), see the selection rules.
    std::vector<std::string> SelectionLines() const;
    // The selected part of one text line, as SelectionLines gives it; empty outside the selection.
    std::string SelectionLine(int32_t line) const;
    // The selected part of each line in stored form for a stream selection (tabs kept),
    // expanded and padded for a column selection.
    std::vector<std::string> SelectionStoredLines() const;
    // The selected text in stored form, read-only lines left out under
    // soExcludeReadOnlyLines; lines joined with CR LF, no final line end.
    std::string SelectionText() const;

    void AddPosition(TMemoPosition* position);
    void RemovePosition(TMemoPosition* position);

    // ---- Hidden (folded) lines -----------------------------------------------------------
    // Views that hide lines (moHideInvisibleLines) leave out the hidden lines of a fold. An
    // edit that touches a hidden line, or splits, joins or deletes a fold's header, shows the
    // fold again; so does a caret that comes onto a hidden line. Each change is announced to
    // the views with msHiddenLines.
    const TFoldList& Folds() const { return folds_; }
    // Hides lines header + 1 to last (limited to the text); the ranges' First lines are the
    // headers. One change for all of them.
    void FoldLines(int32_t header, int32_t last);
    void FoldLines(const std::vector<TLineRange>& ranges);
    // Shows the hidden lines of every fold that holds a line of [first, last].
    void UnfoldLines(int32_t first, int32_t last);
    void UnfoldAll();

    // ---- Editing primitives ------------------------------------------------------------
    // Inserts s (no line breaks) at the caret; the caret does not move. False when refused.
    bool InsertString(std::string_view s);
    void DeleteChars(int32_t count);
    void SplitLine();
    void JoinLines();
    void DeleteSelection();

    void SetLineMark(int32_t line, int image, bool on);
    bool LineMarked(int32_t line, int image) const;
    void SetLineStyle(int32_t line, uint8_t style);
    uint8_t LineStyle(int32_t line) const;
    bool LineReadOnly(int32_t line) const;
    // No command of the editor sets it; editing, copying and saving honour it.
    void SetLineReadOnly(int32_t line, bool on);

    std::string WordAtCaret() const;
    std::string WordAt(int32_t charPos, int32_t linePos) const;

    // ---- Highlighting ------------------------------------------------------------------
    // The line's style bytes in expanded form, parsing on demand.
    std::string LineColors(int32_t line);
    // Brings the line's stored style bytes up to date (Store().Colours), parsing on demand,
    // without the expanded copy: for readers that take only part of a long line.
    void UpdateColours(int32_t line);
    // The style bytes of the stored bytes [from, from + count) of a line, up to date, 0 past
    // its end; for a long line, parsed from the kept point before them.
    std::string StoredColours(int32_t line, size_t from, size_t count);
    int32_t ParsedUpTo() const { return parsedUpTo_; }
    // Whether LineColors(line) costs no more than a few thousand lines of parsing. After a far
    // jump it does not: a view paints such a line plainly and waits for CatchUpHighlighting.
    bool ColoursWithinReach(int32_t line) const;
    // Parses on from the parsed-up-to line toward target (inclusive) until the deadline passes,
    // keeping style bytes only for the lines a view may show near target. True once target's
    // colours are within reach, so the caller can stop and repaint.
    bool CatchUpHighlighting(int32_t target, std::chrono::steady_clock::time_point deadline);
    // The highest line whose following lines must be repainted because an end state changed
    // in the last parse; -1 when none. The view resets it after repainting.
    int32_t RepaintAfter() const { return repaintAfter_; }
    void ClearRepaintAfter() { repaintAfter_ = -1; }

    // ---- Undo --------------------------------------------------------------------------
    void Undo();
    void Redo();
    bool CanUndo() const { return !undoList_.Empty(); }
    bool CanRedo() const { return !redoList_.Empty(); }
    const TUndoList& UndoList() const { return undoList_; }
    const TUndoList& RedoList() const { return redoList_; }
    // Records made inside an undo block undo as one step: a TUndoBlock opens one for a scope.

    // ---- Loading and saving ------------------------------------------------------------
    // Throws EStreamError when the stream fails.
    void LoadFromStream(TByteStream& stream);
    void SaveToStream(TByteStream& stream) const;

    // After the properties were streamed in: one full change with the caret home, the
    // modified flag cleared and no undo.
    void Loaded();

    bool Modified() const { return modified_; }
    // False records the save point.
    void SetModified(bool modified);

    // ---- Views and the change bracket --------------------------------------------------
    void AddView(TMemoChangeHandler handler, const void* owner, bool initial);
    void RemoveView(const void* owner);
    void BeginChange(TChangeCode code);
    // The safe variant: caret and selection are adjusted by the edit like other positions.
    void BeginSafeChange(TChangeCode code);
    void EndChange();
    TMemoStates States() const { return states_; }
    // Lets a command add state bits (for example a repaint of decorated lines).
    void AddStates(TMemoStates states) { states_ |= states; }
    void MarkChanged(int32_t firstLine, int32_t lastLine);

    // ---- Search results (the search engine sets them) ----------------------------------
    const TFoundRect& FoundRect() const { return foundRect_; }
    void SetFoundRect(const TFoundRect& rect) { foundRect_ = rect; }
    int32_t ReplaceCount() const { return replaceCount_; }
    void SetReplaceCount(int32_t count) { replaceCount_ = count; }

    // ---- Search and replace (search_commands.cpp, over the shared TSearchOptions) ------
    bool FindNext(int32_t& length);
    bool Replace();
    void SearchFirst();
    void ReplaceFirst();
    void SearchAgain();
    void ReplaceAgain();
    void ToggleCaseSensitive();
    void ToggleRegularExpr();
    void FindDialog();
    void ReplaceDialog();
    // True when a line was entered and the caret went there.
    bool GotoLineDialog();
    // The dialog factories; these ask the dialogs set with SetSearchDialogs (none: no dialog).
    virtual std::unique_ptr<TSearchOptionsDialog> CreateFindDialog();
    virtual std::unique_ptr<TSearchOptionsDialog> CreateReplaceDialog();
    TSearchDialogFactory* SearchDialogs() const { return searchDialogs_; }
    void SetSearchDialogs(TSearchDialogFactory* dialogs) { searchDialogs_ = dialogs; }
    // Gets every search message first; setting handled keeps it from being shown or thrown.
    std::function<void(TCustomMemoSource&, const std::string& message, bool& handled)> OnSearchException;
    std::function<void(TCustomMemoSource&, TSearchOptionsDialog&)> OnCreateDialog;
    // Called with 0 before a search command and with 1 before a replace command.
    std::function<void(TCustomMemoSource&, int32_t replacing)> OnBeforeSearch;

    // ---- Insert and overwrite: one flag for the whole process --------------------------
    static bool InsertMode();
    void SetInsertMode();
    void SetOverwriteMode();
    void ToggleInsertMode();

    // ---- Editing commands --------------------------------------------------------------
    // The virtual ones are those a language-bound buffer changes; views reach them through
    // this class.
    virtual void CaretLeft();
    void CaretRight();
    void CaretUp();
    void CaretDown();
    void LineStart();
    void LineEnd();
    void TextStart();
    void TextEnd();
    void WordLeft();
    void WordRight();
    void GotoBlockBegin();
    void GotoBlockEnd();
    void MarkBlockBegin();
    void MarkBlockEnd();
    void SelectAll();
    void SelectLine();
    void SelectWord();

    void TypeChar(char c);
    virtual void NewLine();
    void BackSpace();
    void DeleteChar();
    void DeleteLine();
    void DeleteToLineEnd();
    void DeleteToLineStart();
    void DeleteWordRight();
    void DeleteWordLeft();
    virtual void TabKey();
    void BackTab();
    virtual void IndentBlock();
    virtual void UnindentBlock();
    void UpperCaseBlock();
    void LowerCaseBlock();
    void ToggleCaseBlock();
    void UpperCaseWord();
    void LowerCaseWord();
    void CopyBlock();
    // False while the caret lies inside the selection.
    bool MoveBlock();

    const TMemoBookMarkList& Bookmarks() const { return bookmarks_; }
    void ToggleBookmark(int32_t number);
    // The two halves of ToggleBookmark: set number at the caret (dropping its old place), and
    // remove it. Numbers outside 1..10 are ignored.
    void SetBookmark(int32_t number);
    void ClearBookmark(int32_t number);
    void GotoBookmark(int32_t number);
    // Whether the change the views are being told of jumped to a bookmark (so that a view may
    // centre the caret line); valid until the next change begins.
    bool BookmarkJump() const { return bookmarkJump_; }
    bool BookmarkPos(int32_t number, TPosition& pos) const;

    // The model side of the clipboard commands the view binds to keys.
    void CopyToClipboard(TClipboard& clipboard);
    void CutToClipboard(TClipboard& clipboard);
    void PasteFromClipboard(TClipboard& clipboard);

    // Inserts lines at the caret as a stream (line breaks between them) or as a column block
    // (each line at the caret column of successive lines); the caret does not move. Returns
    // the position just after the inserted text.
    TPosition InsertBlock(const std::vector<std::string>& lines, bool columnForm);

protected:
    // Runs after the highlighter parsed a line; derived buffers mark extra decoration.
    virtual void AfterParseLine(int32_t /*line*/) {}

private:
    friend class TExternalStrings;
    friend class TUndoBlock;
    struct ViewEntry {
        TMemoChangeHandler handler;
        const void* owner;
    };
    struct SavedSelection {
        TPosition topLeft, bottomRight, caret;
        TSelectionType type;
    };

    // TParserSubscriber
    void ParserStylesChanged(TSimpleParser& parser) override;
    void ParserDestroyed(TSimpleParser& parser) override;

    // Primitive helpers (memo_source_edit.cpp).
    bool IsLineWritable(int32_t line) const;
    bool WithinFillLimits() const;
    void EnsureLineExists(int32_t line);
    void ReplaceTabAt(int32_t line, int32_t column);
    void PutStoredLine(int32_t line, std::string text, std::string colours);
    void InsertStoredLine(int32_t line, std::string_view text);
    void DeleteStoredLine(int32_t line);
    // In-place edits of a stored line that keep its colours (styles: one per inserted byte,
    // else the style at the insertion point) and the longest-line bookkeeping.
    void InsertIntoStoredLine(int32_t line, size_t at, std::string_view bytes, std::string_view styles);
    void EraseFromStoredLine(int32_t line, size_t at, size_t count);
    void AdjustForInsert(int32_t line, int32_t column, int32_t count);
    void AdjustForDelete(int32_t line, int32_t column, int32_t count);
    void AdjustForSplit(int32_t line, int32_t column);
    void AdjustForJoin(int32_t line, int32_t column);
    void AdjustForLineInsert(int32_t line);
    void AdjustForLineDelete(int32_t line);
    void AdjustFolds(int32_t first, int32_t last, int32_t shiftFrom, int32_t delta);
    void AdjustPosition(TMemoPosition& p, TPosition proposed);
    template <class F>
    void ForEachPosition(F&& f);
    void TextChangedAt(int32_t firstLine, int32_t lastLine);
    void StripTrailingBlanks(int32_t line);
    void InsertStored(std::string_view s, std::string_view colours);
    std::string DeleteStored(int32_t count, std::string* colours);
    void ApplyCaretMove(int64_t dLine, int64_t dChar, bool record);
    bool OverwriteBlocksApplies() const;
    void DropSelectionUnlessPersistent();
    int32_t FirstNonBlankColumn(int32_t line) const;
    int32_t NextWordColumn(std::string_view text, int32_t column) const;
    int32_t LastWordStartBefore(int32_t line, int32_t column) const;
    int32_t TabTarget(int32_t line, int32_t column, int32_t plainStop) const;
    int32_t StopAtOrAfter(int32_t column) const;
    std::string TabString(int32_t fromColumn, int32_t toColumn) const;
    std::string IndentFill(int32_t line, int32_t indent) const;
    TSelectionType FilterKind(TSelectionType kind);
    void MarkBlockCorner(TChangeCode code, bool topLeft);
    void NormaliseSelection();
    SavedSelection SaveSelection() const;
    void RestoreSelection(const SavedSelection& s);
    void TransformSelectedLines(TChangeCode code, const std::function<std::string(std::string)>& f);
    void ChangeWordCase(TChangeCode code, bool upper);
    bool SelectionWritable() const;
    int32_t CaretLineLength() const { return LineLength(caret_.LinePos); }
    void SetInsertModeFlag(bool insert);

    // Undo helpers (memo_source_undo.cpp). Blocks nest; closing the outermost one records a
    // caret move of (0, 0) outside it, which ends the step.
    void BeginUndoBlock();
    void EndUndoBlock();
    void Record(TUndoRecord record);
    void TrimUndo();
    void RunUndo(TUndoList& list);
    void ApplyRecord(const TUndoRecord& r);
    void RecomputeModified();
    void ClearUndo();

    // Highlighting helpers (memo_source_highlight.cpp).
    void ParseRange(int32_t first, int32_t last, int32_t keepFrom);
    uint32_t ParseLineStyles(int32_t line, std::string& text, std::string* scratch);
    bool ParsesInPieces(int32_t line) const;
    void ResetHighlighting();

    // Loading helpers (memo_source_load.cpp).
    TLoadRules LoadRules() const;
    void AfterBulkLoad();

    TInternalStrings store_;
    TLineLengthIndex lengths_;
    std::unique_ptr<TExternalStrings> lines_;
    TStringsOptions options_{kDefaultStringsOptions};
    TSimpleParser* parser_ = nullptr;
    std::string tabStopsText_ = "9,17";
    TTabStops tabStops_;
    std::string delimiters_;
    bool delimiterSet_[256] = {};
    bool readOnly_ = false;
    int32_t blockIndent_ = 1;
    int32_t spacesInTab_ = 8;
    std::string templatesType_ = "None";
    bool highlightUrls_ = false;
    TBlockOption blockOption_ = bkBoth;
    TOutFormatType outFormat_ = ofWindows;
    TFinalLineEnd finalLineEnd_ = feByOutFormat;
    bool useGlobalOptions_ = false;

    TPosition caret_;
    TMemoPosition selTopLeft_;
    TMemoPosition selBottomRight_;
    TSelectionType selType_ = stNone;
    std::vector<TMemoPosition*> positions_;
    TFoldList folds_;
    TMemoBookMarkList bookmarks_;

    // Undo state.
    TUndoList undoList_;
    TUndoList redoList_;
    bool recordingRedo_ = false;  // swapped while an undo or redo step runs
    bool allowUndo_ = true;
    int32_t undoLimit_ = 0;
    int32_t undoBlock_ = 0;  // undo blocks open; > 0 marks every record written InBlock
    bool firstRecordMark_ = false;
    // The save point. Unless saveModified_, the text as last saved (or loaded) is the text right
    // after undoList_[savePoint_], a real record, or before every real record of the list when
    // savePoint_ is -1. saveModified_: no state the list can return to is the saved text (undo
    // went back past it, or trimming dropped real records after it); it implies savePoint_ == -1.
    // Undo and redo work modified_ out as saveModified_ || a real record above savePoint_.
    int64_t savePoint_ = -1;
    bool saveModified_ = false;
    bool modified_ = false;

    // Change bracket state.
    int32_t changeDepth_ = 0;  // brackets open; only the outermost BeginChange and EndChange act
    TChangeCode changeCode_ = ccNone;
    TMemoStates states_ = 0;
    // The lines changed since the outermost BeginChange, [changedFirst_, changedLast_], widened
    // by MarkChanged. While no line changed they hold the sentinels, so first > last and the
    // first MarkChanged sets both by plain min and max.
    static constexpr int32_t kNoFirstLine = INT32_MAX;
    static constexpr int32_t kNoLastLine = INT32_MIN + 1;
    int32_t changedFirst_ = kNoFirstLine;
    int32_t changedLast_ = kNoLastLine;
    int32_t oldLineCount_ = 0;
    bool oldModified_ = false;
    TPosition prevCaret_;
    TPosition prevSelTopLeft_;
    TPosition prevSelBottomRight_;
    TSelectionType prevSelType_ = stNone;
    TFoundRect oldFoundRect_;
    bool bookmarkJump_ = false;
    int32_t selectionCommand_ = 0;  // selection commands running; they keep the selection
    bool safeChange_ = false;
    TMemoPosition safeCaret_;  // the caret, adjusted by the edits of a safe change
    std::vector<ViewEntry> views_;

    TFoundRect foundRect_;
    int32_t replaceCount_ = 0;
    TSearchDialogFactory* searchDialogs_ = nullptr;

    // Highlighting state.
    int32_t parsedUpTo_ = 0;
    int32_t repaintAfter_ = -1;
    // While LineColors brings a long line up to date: where a whole parse of it puts its styles.
    struct TWholeLineRequest {
        int32_t line = -1;
        std::string* styles = nullptr;
    } wholeLine_;
};

// Opens a change bracket for the lifetime of a scope.
class TChangeBracket {
public:
    TChangeBracket(TCustomMemoSource& source, TChangeCode code) : source_(source) {
        source_.BeginChange(code);
    }
    ~TChangeBracket() { source_.EndChange(); }
    TChangeBracket(const TChangeBracket&) = delete;
    TChangeBracket& operator=(const TChangeBracket&) = delete;

private:
    TCustomMemoSource& source_;
};

// Keeps the records of a scope one undo step: an undo block that opens here and closes however
// the scope is left, early return or exception.
class TUndoBlock {
public:
    explicit TUndoBlock(TCustomMemoSource& source) : source_(source) { source_.BeginUndoBlock(); }
    ~TUndoBlock() { source_.EndUndoBlock(); }
    TUndoBlock(const TUndoBlock&) = delete;
    TUndoBlock& operator=(const TUndoBlock&) = delete;

private:
    TCustomMemoSource& source_;
};

}  // namespace tarnwick
