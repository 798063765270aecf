// The editor view: a window control that shows a text buffer and edits it with keyboard and
// mouse. It keeps no text; every edit goes to the buffer, and the buffer's change notification
// tells it which lines to repaint.
//
// Layout from left to right: gutter (images, bookmarks, optionally line numbers), the line
// number column, the left indent, then the text. The view shows rows: a line, or with word wrap
// one piece of a line (TWordWrapList). Everything a keystroke, caret move or repaint does costs
// what is visible or what changed: rows map to lines by index (or a binary search over the
// wrapped lines), a row is painted from its visible columns only, colours are parsed on demand,
// and scrolling moves pixels instead of repainting them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QFont>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include "textengine/fold_ranges.h"
#include "textengine/font_desc.h"
#include "textengine/key_mapping.h"
#include "textengine/memo_source.h"
#include "textengine/text_problems.h"
#include "textengine/view/gutter_images.h"
#include "textengine/view/memo_decorations.h"
#include "textengine/view/memo_options.h"
#include "textengine/view/qt_clipboard.h"
#include "textengine/view/text_styles.h"
#include "textengine/view/word_wrap_list.h"

class QLabel;
class QPainter;
class QScrollBar;

namespace tarnwick {

class TMemoCodeTemplates;
class TTemplateChoiceList;

enum TGutterImagesAlign : uint8_t { iaLeft, iaRight };
enum TLineNumAlign : uint8_t { taLeftJustify, taRightJustify };
enum TWordSelectionType : uint8_t { wsWordOnly, wsWordWithSpace, wsUntilNextWord };
enum TClipboardType : uint8_t { cbNormal, cbRtf };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// Mouse buttons added to the shift state of OnClickGutter.
inline constexpr uint8_t kGutterLeftButton = 8, kGutterRightButton = 16, kGutterMiddleButton = 32;

// The toolkit font of a font description; fixedPitch asks for a typewriter face when the
// named one does not exist.
QFont ToQFont(const TFontDesc& desc, bool fixedPitch);

class TCustomDCMemo : public QWidget {
public:
    explicit TCustomDCMemo(QWidget* parent = nullptr);
    ~TCustomDCMemo() override;

    // ---- The buffer ------------------------------------------------------------------------
    TCustomMemoSource& MemoSource() const { return *source_; }
    // Null attaches the view's own buffer again.
    void SetMemoSource(TCustomMemoSource* source);

    // ---- Key mapping -----------------------------------------------------------------------
    const std::string& KeyMapping() const { return keyMapping_; }
    // A different name rebuilds the key list (an unknown name gives "Default"); the same name
    // does nothing, so a list an owner emptied stays empty.
    void SetKeyMapping(const std::string& name);
    TKeyList& KeyList() { return keys_; }
    // Runs one command as a key binding would. What the command raises goes to the caller;
    // entries from outside the view go through RunCommand.
    void ExecuteAction(const TKeyAction& action);
    // Runs a command that comes from outside the view (a key, the mouse, an owner's command): a
    // failure it raises (a search error, a go-to text that is no number, ...) is reported through
    // OnError, or the view's own error box without one, and the view goes on. False when the
    // command failed.
    bool RunCommand(const std::function<void()>& command);

    // The buffer's highlighter. Attaching one through the view gives it the colour of the
    // view's "Url" style for links (style 12).
    TSimpleParser* SyntaxParser() const { return source_->SyntaxParser(); }
    void SetSyntaxParser(TSimpleParser* parser);

    // ---- Properties ------------------------------------------------------------------------
    TMemoOptions Options() const { return options_; }
    void SetOptions(TMemoOptions options);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    int32_t MarginPos() const { return marginPos_; }
    void SetMarginPos(int32_t column);
    int32_t GutterWidth() const { return gutterWidth_; }
    void SetGutterWidth(int32_t px);
    TDCGutterImages& GutterImgs() { return gutterImgs_; }
    const TDCGutterImages& GutterImgs() const { return gutterImgs_; }
    TGutterImagesAlign GutterImgsAlign = iaLeft;
    int32_t GutterLineIndent = 0;
    TColorValue GutterBackColor = clWindow;
    TColorValue GutterLineColor = 0x808080;
    TColorValue LineNumColor = clWindowText;
    TColorValue LineNumBackColor = clWindow;
    TLineNumAlign LineNumAlign = taRightJustify;
    TColorValue SelColor = 0x8000000E;      // highlight text
    TColorValue SelBackColor = 0x8000000D;  // highlight
    TColorValue MatchColor = 0xFF00;
    TColorValue MatchBackColor = 0x80000008;
    TColorValue LineBookmarkColor = 0xFF;
    TColorValue ReadOnlyColor = 0x80000005;
    TColorValue DisabledColor = 0x80000011;
    TColorValue Color = clWindow;  // window colour behind the text
    int32_t HorzMaxPos = 512;
    int32_t LeftIndent = 0;
    TWordSelectionType WordSelectionType = wsWordOnly;
    TClipboardType ClipboardType = cbNormal;
    bool WantReturns = true;
    bool WantTabs = false;
    bool HideSelection = false;
    TLineSeparator LineSeparator;
    TLineHighlight LineHighlight;
    TSpecialSymbols SpecialSymbols;
    TPenDesc MarginPen{0xC0C0C0, 1, true};

    const TFontDesc& Font() const { return font_; }
    void SetFont(const TFontDesc& font);
    TFontDesc TemplateFont;
    bool UseMonoFont() const { return useMonoFont_; }
    void SetUseMonoFont(bool on);
    bool HideCaret() const { return hideCaret_; }
    void SetHideCaret(bool on);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    const TTextStyles& TextStyles() const { return textStyles_; }
    // Replaces one style; a style that drives the view's colours copies them in.
    void SetTextStyle(int32_t index, const TTextStyle& style);
    // Replaces the style of the same name, or appends it; answers its index.
    int32_t DefineTextStyle(const TTextStyle& style);
    // The templates the code-template command offers (the buffer's collection; not owned).
    void SetCodeTemplates(const TMemoCodeTemplates* templates) { codeTemplates_ = templates; }
    const std::string& TemplatesType() const { return templatesType_; }
    void SetTemplatesType(const std::string& type) { templatesType_ = type; }

    // ---- Events ----------------------------------------------------------------------------
    std::function<void(TCustomDCMemo&, TMemoStates)> OnStateChange;
    std::function<void(TCustomDCMemo&)> OnChange;
    std::function<void(TCustomDCMemo&)> OnSelectionChange;
    std::function<void(TCustomDCMemo&, int32_t line, int32_t imageIndex, uint8_t shift)> OnClickGutter;
    std::function<void(TCustomDCMemo&, std::string& text, int32_t& maxLength)> OnGetLineNumber;
    std::function<void(TCustomDCMemo&, const std::string& url)> OnJumpToUrl;
    // False keeps a printable character from being typed.
    std::function<bool(TCustomDCMemo&, char c)> OnKeyPressFilter;
    // Gets the message of a command that failed (see RunCommand).
    std::function<void(TCustomDCMemo&, const std::string& message)> OnError;

    // ---- View commands ---------------------------------------------------------------------
    void ViewUp();
    void ViewDown();
    void ViewLeft();
    void ViewRight();
    void ViewHome();
    void ViewEnd();
    void PageUp();
    void PageDown();
    void WindowTop();
    void WindowBottom();
    void ScrollLineUp();
    void ScrollLineDown();
    void CenterLine();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void CodeTemplatePopup();
    // Asks the buffer's go-to-line box for a line and centres the caret line when it went there.
    void GotoLineDialog();
    void CloseHints();
    void MatchBracket(int direction = 0);  // 0 both, 1 forward, -1 backward

    // ---- Folding ---------------------------------------------------------------------------
    // What can be folded (not owned; null: nothing, and no fold column). The gutter gets a fold
    // column with a box on each line that starts a foldable form; the buffer keeps what is
    // folded, and a view with moHideInvisibleLines leaves the hidden lines out.
    void SetFoldRanges(const TFoldRangeSource* ranges);
    const TFoldRangeSource* FoldRanges() const { return foldRanges_; }
    // The form starting on the caret's line, or else the innermost one around it; again on a
    // folded line, the form around that.
    void FoldAtCaret();
    // Shows the fold on the caret's line.
    void UnfoldAtCaret();
    void FoldAllCells();
    void UnfoldAll();
    // Folds the form that starts on line, or shows it when folded; false when none starts there.
    bool ToggleFoldAt(int32_t line);
    int32_t FoldColumnPx() const;

    // ---- Problems --------------------------------------------------------------------------
    // The problems to mark (not owned; null: none). A line with problems shows ProblemGlyph in
    // the gutter, each faulty name a wavy line, and the mouse resting on it the message.
    void SetProblems(const TProblemSource* problems);
    const TProblemSource* Problems() const { return problems_; }
    QPixmap ProblemGlyph;
    // The messages of the problems under a point of the text or of the gutter, one a line;
    // empty when there is none.
    std::string ProblemHintAt(QPoint point) const;

    // ---- Geometry (also for tests and the owner) -------------------------------------------
    int32_t TopRow() const { return topRow_; }
    void SetTopRow(int32_t row);
    int32_t LeftColumn() const { return leftCol_; }
    void SetLeftColumn(int32_t column);
    int32_t RowCount() const;        // rows of the text, plus the end-of-text row
    int32_t ScrollRowCount() const;  // the vertical scroll range in rows
    int32_t FullyVisibleRows() const;
    int32_t CharWidth() const { return charWidth_; }
    int32_t RowHeight() const { return rowHeight_; }
    int32_t GutterPx() const;
    int32_t NumberColumnPx() const;
    int32_t TextLeftPx() const;
    // The text area ends where the vertical scroll bar begins, and above the horizontal one.
    int32_t TextRightPx() const;
    int32_t TextBottomPx() const;
    int32_t TextWidthPx() const;
    TLineInfo RowInfo(int32_t row) const;
    int32_t RowOfPosition(TPosition pos) const;
    // The text position under a point of the text area (not limited by the line length).
    TPosition PositionAt(QPoint point) const;
    // The caret's rectangle in widget coordinates.
    QRect CaretRect() const;
    // The line-number text of a row, padded; empty where no number is shown.
    std::string LineNumberText(int32_t row) const;
    // The text of the visible scroll hint, empty when none is shown.
    std::string ScrollHintText() const;
    TTemplateChoiceList* ChoiceList() const { return choiceList_; }
    // Delays a hint by 500 ms; another call or CloseHints cancels it.
    void ShowDelayedHint(const std::string& text, QPoint at);
    bool IsDelayedHintVisible() const;
    bool IsDelayedHintPending() const { return delayedHint_.isActive(); }
    // While the left button is held in a selection, a timer scrolls toward a mouse outside the
    // text and stretches the selection to it.
    bool IsAutoScrolling() const { return autoScroll_.isActive(); }
    void MakeCaretVisible();
    // Paints rows [firstRow, firstRow + rows) from the painter's top as a repaint would show
    // them, without the caret: a printed page.
    void PaintRows(QPainter& painter, int32_t firstRow, int32_t rows);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What the painter needs of one style number, asked for at most once per paint.
    struct StyleLook {
        QFont font;
        QColor text;
        QColor back;
        bool bold = false;
    };
    // The part of a row on screen: pixels [left, right) from top, columns [firstColumn,
    // endColumn) of its line.
    struct RowArea {
        int32_t left = 0, right = 0, top = 0;
        int32_t firstColumn = 0, endColumn = 0;
    };
    struct LineMarks;  // dc_memo_paint.cpp
    struct TextRun;    // dc_memo_paint.cpp
    // The visible part of a row's text, with its style bytes.
    struct RowSlice {
        int32_t startColumn = 0;  // expanded column of text[0]
        std::string text;
        std::string styles;
        bool endsInside = false;          // the line ends within the slice or before it
        int32_t lineEnd = 0;              // expanded column of the line end when endsInside
        std::vector<int32_t> tabSymbols;  // columns where a tab's TabChar is drawn
    };
    enum class MouseMode { Idle, Selecting, Dragging, LineSelecting };

    // custom_dc_memo.cpp: buffer attachment, metrics, rows, scrolling, change handling.
    void Attach(TCustomMemoSource* source);
    void GiveUrlColorToParser();
    void SourceChanged(TCustomMemoSource& source, int32_t firstLine, int32_t lastLine);
    void UpdateMetrics();
    void RewrapAll();
    void RewrapLines(int32_t first, int32_t last);
    void RewrapAfterEdit(TMemoStates states, int32_t first, int32_t last);
    int32_t WrapWidthPx() const;
    bool WrapsAtFixedColumns() const;
    int32_t VisibleColumns() const;
    int32_t LineNumberDigits() const;
    int32_t LastLine() const { return std::max(source_->LineCount() - 1, 0); }
    bool IsActiveView() const;
    void InvalidateLines(int32_t first, int32_t last);
    void InvalidateRows(int32_t firstRow, int32_t lastRow);
    void InvalidateCaret();
    void UpdateScrollBars();
    void ScrollBarMoved(bool vertical, int value);
    void ScrollFoundIntoView();
    int32_t CharWidthOf(unsigned char c) const;
    int32_t ColumnX(const TLineInfo& row, int32_t column) const;
    int32_t ColumnAtX(const TLineInfo& row, int32_t x) const;
    RowSlice SliceOf(int32_t line, int32_t firstColumn, int32_t endColumn);
    // A line whose colours are out of reach is shown plainly; idle time parses up to it and
    // the view repaints then.
    void WaitForColours(int32_t line);
    bool CatchUpColours();
    void VerticalMove(int32_t rows, bool keepSelection);
    TPosition LimitClick(TPosition pos) const;

    // dc_memo_paint.cpp
    void PaintRow(QPainter& p, int32_t row, int32_t y);
    void PaintGutter(QPainter& p, int32_t row, const TLineInfo& info, int32_t y);
    void PaintLineNumber(QPainter& p, int32_t row, int32_t cellLeft, int32_t y);
    void PaintText(QPainter& p, const TLineInfo& info, int32_t y);
    RowArea TextAreaOf(const TLineInfo& info, int32_t y) const;
    QColor RowBackColor(const TLineInfo& info) const;
    LineMarks MarksOf(int32_t line, const RowSlice& slice) const;
    std::vector<TextRun> RunsOf(int32_t line, const RowSlice& slice, const LineMarks& marks,
                                const RowArea& area);
    QString GlyphsOf(const RowSlice& slice, int32_t from, int32_t to, int32_t& widthPx) const;
    void PaintMarksPastText(QPainter& p, const TLineInfo& info, const LineMarks& marks, int32_t textColumns,
                            int32_t x, const RowArea& area);
    void PaintDecorations(QPainter& p, const TLineInfo& info, const RowArea& area);
    void PaintEndOfText(QPainter& p, const TLineInfo& info, const RowArea& area);
    void PaintSymbol(QPainter& p, int32_t x, int32_t y, const std::string& symbol);
    void PaintScrollBarCorner(QPainter& p);
    void PaintCaret(QPainter& p);
    const StyleLook& LookOf(int style);
    QColor WindowColor() const;

    // dc_memo_commands.cpp
    void ReportFailure(const std::string& message);
    void DispatchKey(QKeyEvent* event);
    void RunMovement(TKeyCommand movement);
    void TypeCharacter(char c);
    void InsertGuid();
    void CapitalizeWord();
    void QuoteBlock();
    void DeleteToNextWord();
    void SplitLineAtCaret();
    void StartSelection(TSelectionType kind);
    void ChooseTemplate(int index);

    // dc_memo_folds.cpp
    bool HidesLines() const;
    bool InFoldColumn(QPoint point) const;
    void PaintFoldMarker(QPainter& p, const TLineInfo& info, int32_t y);

    // dc_memo_problems.cpp
    void PaintProblems(QPainter& p, const TLineInfo& info, int32_t y);
    void ShowProblemHint(QPoint point);

    // dc_memo_mouse.cpp
    void PressMouse(QMouseEvent* event);
    void MoveMouse(QMouseEvent* event);
    void ReleaseMouse(QMouseEvent* event);
    void DoubleClickMouse(QMouseEvent* event);
    bool InGutter(QPoint point) const;
    int32_t GutterImageAt(int32_t line, int32_t x) const;
    void ExtendSelectionTo(QPoint point);
    void AutoScrollTick();
    void SelectWordAtCaret();
    void ShowScrollHint();
    void HideScrollHint();

    TMemoSource ownSource_;
    TCustomMemoSource* source_ = nullptr;
    TQtClipboard clipboard_;
    TKeyList keys_;
    std::string keyMapping_;
    TMemoOptions options_ = kDefaultMemoOptions;
    bool wordWrap_ = false;
    int32_t marginPos_ = 80;
    int32_t gutterWidth_ = 32;
    TDCGutterImages gutterImgs_;
    TTextStyles textStyles_;
    TFontDesc font_;
    QFont qfont_;
    bool useMonoFont_ = true;
    bool hideCaret_ = false;
    TScrollStyle scrollBars_ = ssNone;
    const TMemoCodeTemplates* codeTemplates_ = nullptr;
    const TFoldRangeSource* foldRanges_ = nullptr;
    const TProblemSource* problems_ = nullptr;
    std::string problemHint_;  // the problem hint shown or pending
    std::string templatesType_ = "Custom";

    // Metrics, cached until the font or the styles change.
    int32_t charWidth_ = 8;
    int32_t rowHeight_ = 16;
    int32_t ascent_ = 12;
    std::array<int32_t, 256> widths_{};

    // Display state.
    int32_t topRow_ = 0;
    int32_t leftCol_ = 0;
    int32_t lineCount_ = 0;  // the buffer's line count at the last notification
    int32_t digits_ = 1;     // line number digits at the last layout
    TWordWrapList wrap_;
    // Where ViewEnd or a row move put the caret at the end of a wrapped row: that column is also
    // the next row's start, and the caret stays on the row it came to. Forgotten when the caret
    // goes anywhere else.
    std::optional<TPosition> caretAtRowEnd_;
    std::optional<int32_t> rememberedX_;
    bool verticalMoveRunning_ = false;
    uint64_t activation_ = 0;
    std::array<std::optional<StyleLook>, 256> looks_;
    int32_t waitingForColours_ = -1;  // the last line painted without its colours, or -1

    // Mouse state.
    MouseMode mouseMode_ = MouseMode::Idle;
    TSelectionType mouseSelKind_ = stStream;
    QPoint mousePoint_;
    bool pressInGutter_ = false;
    int32_t pressGutterLine_ = -1;
    int32_t pressGutterImage_ = -1;
    QElapsedTimer lastDoubleClick_;
    QPoint lastDoubleClickPoint_;
    bool dragMoved_ = false;
    QTimer autoScroll_;
    QTimer delayedHint_;

    // Child windows.
    QScrollBar* vScroll_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QLabel* hintWindow_ = nullptr;
    QLabel* delayedHintWindow_ = nullptr;
    QPoint delayedHintPoint_;
    QString delayedHintText_;
    TTemplateChoiceList* choiceList_ = nullptr;
    std::optional<std::pair<TPosition, TPosition>> templateWord_;
    bool updatingScrollBars_ = false;
};

}  // namespace tarnwick
