// Buffer attachment, metrics, the row model, scrolling and change handling of the view.
#include "textengine/view/custom_dc_memo.h"

#include <algorithm>
#include <cstring>

#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollBar>

#include "languages/syntax_parser.h"
#include "textengine/view/template_choice_list.h"
#include "widgets/application_idle.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

// Every living view, in creation order; a buffer's active view is the one of its views that
// was activated last.
std::vector<TCustomDCMemo*>& AllViews() {
    static std::vector<TCustomDCMemo*> views;
    return views;
}

uint64_t NextActivation() {
    static uint64_t counter = 0;
    return ++counter;
}

int32_t DigitsOf(int64_t n) {
    int32_t digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

QFont ToQFont(const TFontDesc& desc, bool fixedPitch) {
    QFont font(QString::fromStdString(desc.Name));
    if (fixedPitch || desc.Pitch == fpFixed)
        font.setStyleHint(QFont::TypeWriter);
    if (desc.Size > 0)
        font.setPointSize(std::min(desc.Size, 200));
    else if (desc.Height != 0)
        font.setPixelSize(std::clamp(std::abs(desc.Height), 1, 300));
    font.setBold(desc.Style & fsBold);
    font.setItalic(desc.Style & fsItalic);
    font.setUnderline(desc.Style & fsUnderline);
    font.setStrikeOut(desc.Style & fsStrikeOut);
    return font;
}

TCustomDCMemo::TCustomDCMemo(QWidget* parent)
    : QWidget(parent), gutterImgs_(TDCGutterImages::Defaults()), textStyles_(TTextStyles::Defaults()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::IBeamCursor);
    TemplateFont.Name = "MS Sans Serif";
    TemplateFont.Size = 8;

    vScroll_ = new QScrollBar(Qt::Vertical, this);
    hScroll_ = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : {vScroll_, hScroll_}) {
        const bool vertical = bar == vScroll_;
        bar->hide();
        bar->setCursor(Qt::ArrowCursor);
        connect(bar, &QScrollBar::valueChanged, this, [this, bar, vertical](int value) {
            if (!bar->isSliderDown() || options_.Has(moThumbTracking))
                ScrollBarMoved(vertical, value);
        });
        connect(bar, &QScrollBar::sliderReleased, this, [this, bar, vertical] {
            ScrollBarMoved(vertical, bar->value());
            HideScrollHint();
        });
        if (vertical)
            connect(bar, &QScrollBar::sliderMoved, this, [this] { ShowScrollHint(); });
    }
    autoScroll_.setInterval(30);
    connect(&autoScroll_, &QTimer::timeout, this, [this] { RunCommand([this] { AutoScrollTick(); }); });
    delayedHint_.setSingleShot(true);
    delayedHint_.setInterval(500);
    connect(&delayedHint_, &QTimer::timeout, this, [this] {
        delayedHintWindow_->setText(delayedHintText_);
        delayedHintWindow_->adjustSize();
        delayedHintWindow_->move(mapToGlobal(delayedHintPoint_));
        delayedHintWindow_->show();
    });
    hintWindow_ = new QLabel(this, Qt::ToolTip);
    delayedHintWindow_ = new QLabel(this, Qt::ToolTip);
    for (QLabel* hint : {hintWindow_, delayedHintWindow_}) {
        hint->setAutoFillBackground(true);
        hint->setMargin(2);
        hint->setFrameStyle(QFrame::Box | QFrame::Plain);
        hint->setBackgroundRole(QPalette::ToolTipBase);
        hint->setForegroundRole(QPalette::ToolTipText);
    }
    ProblemGlyph = TDCGutterImages::ProblemGlyph();
    choiceList_ = new TTemplateChoiceList(this);
    choiceList_->OnChoose = [this](int index) { RunCommand([this, index] { ChooseTemplate(index); }); };

    UpdateMetrics();
    SetKeyMapping("Default");
    AllViews().push_back(this);
    activation_ = NextActivation();
    Attach(&ownSource_);
}

TCustomDCMemo::~TCustomDCMemo() {
    TApplicationIdle::Cancel(this);
    std::erase(AllViews(), this);
    if (source_ != nullptr)
        source_->RemoveView(this);
}

// ---- Buffer ----------------------------------------------------------------------------------

void TCustomDCMemo::SetMemoSource(TCustomMemoSource* source) {
    Attach(source != nullptr ? source : &ownSource_);
}

void TCustomDCMemo::Attach(TCustomMemoSource* source) {
    if (source == source_)
        return;
    if (source_ != nullptr)
        source_->RemoveView(this);
    source_ = source;
    TApplicationIdle::Cancel(this);
    waitingForColours_ = -1;
    topRow_ = 0;
    leftCol_ = 0;
    lineCount_ = source_->LineCount();
    RewrapAll();
    GiveUrlColorToParser();
    source_->AddView(
        [this](TCustomMemoSource& s, int32_t first, int32_t last) { SourceChanged(s, first, last); }, this,
        true);
}

void TCustomDCMemo::SetSyntaxParser(TSimpleParser* parser) {
    source_->SetSyntaxParser(parser);
    GiveUrlColorToParser();
    UpdateMetrics();  // the highlighter's default font counts for the character width
    RewrapAll();
    update();
}

// Links (style 12) take the colour of the view's "Url" style, unless the highlighter's scheme
// has a style 12 of its own.
void TCustomDCMemo::GiveUrlColorToParser() {
    auto* parser = dynamic_cast<TSyntaxParser*>(source_->SyntaxParser());
    if (parser == nullptr)
        return;
    const TTextStyle* url = textStyles_.At(textStyles_.IndexOf("Url"));
    parser->SetGlobalUrlColor(url ? std::optional<TColorValue>(url->Font.Color) : std::nullopt);
}

bool TCustomDCMemo::IsActiveView() const {
    for (const TCustomDCMemo* view : AllViews())
        if (view != this && view->source_ == source_ && view->activation_ > activation_)
            return false;
    return true;
}

// ---- Key mapping -----------------------------------------------------------------------------

void TCustomDCMemo::SetKeyMapping(const std::string& name) {
    if (name == keyMapping_)
        return;
    keyMapping_ = name;
    InitializeKeyMapping(name, keys_);
}

// ---- Properties ------------------------------------------------------------------------------

void TCustomDCMemo::SetOptions(TMemoOptions options) {
    if (options == options_)
        return;
    const TMemoOptions old = options_;
    options_ = options;
    constexpr TMemoOption kLayout[] = {moDrawGutter, moLineNumbers,       moLineNumbersOnGutter,
                                       moLeftIndent, moBreakWordAtMargin, moLimitLineNumbers};
    bool relayout = false;
    for (TMemoOption o : kLayout)
        relayout = relayout || old.Has(o) != options.Has(o);
    if (old.Has(moDrawSpecialSymbols) != options.Has(moDrawSpecialSymbols) ||
        old.Has(moHideInvisibleLines) != options.Has(moHideInvisibleLines))
        UpdateScrollBars();
    if (relayout)
        RewrapAll();
    looks_.fill(std::nullopt);
    update();
}

void TCustomDCMemo::SetWordWrap(bool on) {
    if (on == wordWrap_)
        return;
    wordWrap_ = on;
    leftCol_ = 0;
    RewrapAll();
    topRow_ = std::clamp(topRow_, 0, std::max(ScrollRowCount() - 1, 0));
    UpdateScrollBars();
    update();
}

void TCustomDCMemo::SetMarginPos(int32_t column) {
    column = std::max(column, 1);
    if (column == marginPos_)
        return;
    marginPos_ = column;
    if (options_.Has(moBreakWordAtMargin))
        RewrapAll();
    update();
}

void TCustomDCMemo::SetGutterWidth(int32_t px) {
    px = std::max(px, 0);
    if (px == gutterWidth_)
        return;
    gutterWidth_ = px;
    RewrapAll();
    update();
}

void TCustomDCMemo::SetFont(const TFontDesc& font) {
    font_ = font;
    UpdateMetrics();
    RewrapAll();
    update();
}

void TCustomDCMemo::SetUseMonoFont(bool on) {
    if (on == useMonoFont_)
        return;
    useMonoFont_ = on;
    UpdateMetrics();
    RewrapAll();
    update();
}

void TCustomDCMemo::SetHideCaret(bool on) {
    hideCaret_ = on;
    InvalidateCaret();
}

void TCustomDCMemo::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    vScroll_->setVisible(style == ssVertical || style == ssBoth);
    hScroll_->setVisible(style == ssHorizontal || style == ssBoth);
    resizeEvent(nullptr);
}

void TCustomDCMemo::SetTextStyle(int32_t index, const TTextStyle& style) {
    textStyles_.Set(index, style);
    const TTextStyle* stored = textStyles_.At(index);
    if (stored == nullptr)
        return;
    switch (stored->UpdateMemoColors) {
        case mcText:
            font_.Color = stored->Font.Color;
            Color = stored->Color;
            break;
        case mcSelection:
            SelColor = stored->Font.Color;
            SelBackColor = stored->Color;
            break;
        case mcSearchMatch:
            MatchColor = stored->Font.Color;
            MatchBackColor = stored->Color;
            break;
        case mcNone:
            break;
    }
    if (stored->Name == "Url")
        GiveUrlColorToParser();
    UpdateMetrics();
    update();
}

int32_t TCustomDCMemo::DefineTextStyle(const TTextStyle& style) {
    const int32_t index = textStyles_.Define(style);
    SetTextStyle(index, style);  // the view's own colours and metrics follow it
    return index;
}

// ---- Metrics and layout ----------------------------------------------------------------------

// The character width covers the widest style font, so that bold keywords keep the columns.
void TCustomDCMemo::UpdateMetrics() {
    looks_.fill(std::nullopt);
    qfont_ = ToQFont(font_, useMonoFont_);
    std::vector<QFont> fonts{qfont_};
    QFont bold = qfont_;
    bold.setBold(true);
    fonts.push_back(bold);
    if (source_ != nullptr && source_->SyntaxParser() != nullptr)
        fonts.push_back(ToQFont(source_->SyntaxParser()->GetStyleFont(0), useMonoFont_));
    charWidth_ = 1;
    rowHeight_ = 1;
    ascent_ = 1;
    for (const QFont& f : fonts) {
        const QFontMetrics fm(f);
        charWidth_ = std::max(charWidth_, fm.horizontalAdvance(QLatin1Char('W')));
        rowHeight_ = std::max(rowHeight_, fm.height());
        ascent_ = std::max(ascent_, fm.ascent());
    }
    const QFontMetrics fm(qfont_);
    for (int c = 0; c < 256; ++c)
        widths_[size_t(c)] =
            useMonoFont_ ? charWidth_ : std::max(1, fm.horizontalAdvance(QChar(c < 32 ? '?' : c)));
}

int32_t TCustomDCMemo::CharWidthOf(unsigned char c) const { return widths_[c]; }

int32_t TCustomDCMemo::LineNumberDigits() const {
    int64_t largest = std::max(source_->LineCount(), 1);
    if (source_->HasOption(soBeyondFileEnd) && !options_.Has(moLimitLineNumbers))
        largest = std::max<int64_t>(largest, int64_t(RowInfo(topRow_).Line) + FullyVisibleRows() + 1);
    return DigitsOf(largest);
}

int32_t TCustomDCMemo::NumberColumnPx() const {
    if (!options_.Has(moLineNumbers))
        return 0;
    const bool inGutter = options_.Has(moLineNumbersOnGutter) && options_.Has(moDrawGutter);
    return inGutter ? 0 : charWidth_ * (LineNumberDigits() + 1);
}

int32_t TCustomDCMemo::GutterPx() const {
    if (!options_.Has(moDrawGutter))
        return 0;
    int32_t px = gutterWidth_;
    if (options_.Has(moLineNumbers) && options_.Has(moLineNumbersOnGutter))
        px = std::max(px, charWidth_ * (LineNumberDigits() + 1) + GutterLineIndent + 2);
    return px + FoldColumnPx();
}

int32_t TCustomDCMemo::TextLeftPx() const {
    return GutterPx() + NumberColumnPx() + (options_.Has(moLeftIndent) ? std::max(LeftIndent, 0) : 0);
}

int32_t TCustomDCMemo::TextRightPx() const {
    return width() - (vScroll_->isVisibleTo(this) ? vScroll_->width() : 0);
}

int32_t TCustomDCMemo::TextBottomPx() const {
    return height() - (hScroll_->isVisibleTo(this) ? hScroll_->height() : 0);
}

int32_t TCustomDCMemo::TextWidthPx() const { return std::max(TextRightPx() - TextLeftPx(), 0); }

int32_t TCustomDCMemo::VisibleColumns() const {
    const int32_t narrowest = *std::min_element(widths_.begin(), widths_.end());
    return TextWidthPx() / std::max(narrowest, 1) + 2;
}

int32_t TCustomDCMemo::FullyVisibleRows() const {
    return std::max(TextBottomPx() / std::max(rowHeight_, 1), 1);
}

// ---- Change handling -------------------------------------------------------------------------

void TCustomDCMemo::SourceChanged(TCustomMemoSource& source, int32_t first, int32_t last) {
    const TMemoStates states = source.States();
    const int32_t oldDigits = digits_;
    const bool reload = (states & msHighlightReset) && (states & msLineCount);
    if (reload)
        RewrapAll();
    else if (states & (msTextChanged | msLineCount))
        RewrapAfterEdit(states, first, last);
    lineCount_ = source.LineCount();
    digits_ = LineNumberDigits();
    bool full = reload || (states & (msHighlightReset | msHiddenLines)) || digits_ != oldDigits;
    if ((states & msReadOnly) && options_.Has(moUseReadOnlyColor))
        full = true;
    if (topRow_ > ScrollRowCount() - 1) {
        topRow_ = std::max(ScrollRowCount() - 1, 0);
        full = true;
    }
    if ((states & msCaretMoved) || (states & msTextChanged)) {
        if (!verticalMoveRunning_)
            rememberedX_.reset();
        if (caretAtRowEnd_ != source.Caret())
            caretAtRowEnd_.reset();
    }
    if (IsActiveView() &&
        ((states & (msCaretMoved | msHiddenLines)) || ((states & msTextChanged) && !useMonoFont_))) {
        if ((states & msFound) && !source.FoundRect().IsEmpty())
            ScrollFoundIntoView();
        else if ((states & msCaretMoved) && source.BookmarkJump() && options_.Has(moCenterOnBookmark))
            CenterLine();  // however the jump was asked for: a key, a menu, the host
        else
            MakeCaretVisible();
    }
    if (states & msInsertMode)  // the mode is shared: every view's caret changes shape
        for (TCustomDCMemo* view : AllViews())
            view->InvalidateCaret();
    if (OnStateChange && states != 0)
        OnStateChange(*this, states);
    if (full)
        update();
    else if (states & msLineCount)
        InvalidateRows(RowOfPosition({first, 0}), std::numeric_limits<int32_t>::max() / 2);
    else if (first <= last)
        InvalidateLines(first, last);
    if (states & (msLineCount | msCaretMoved | msHiddenLines))
        UpdateScrollBars();
    if ((states & msRepaint) && OnSelectionChange)
        OnSelectionChange(*this);
    if ((states & msTextChanged) && OnChange)
        OnChange(*this);
}

// ---- Repainting ------------------------------------------------------------------------------

void TCustomDCMemo::InvalidateRows(int32_t firstRow, int32_t lastRow) {
    const int32_t visibleFirst = topRow_, visibleLast = topRow_ + FullyVisibleRows() + 1;
    firstRow = std::max(firstRow, visibleFirst);
    lastRow = std::min(lastRow, visibleLast);
    if (firstRow > lastRow)
        return;
    const int32_t y = (firstRow - topRow_) * rowHeight_;
    update(QRect(0, y, width(), (lastRow - firstRow + 1) * rowHeight_));
}

void TCustomDCMemo::InvalidateLines(int32_t first, int32_t last) {
    if (!wordWrap_) {
        InvalidateRows(RowOfPosition({first, 0}), RowOfPosition({last, 0}));
        return;
    }
    const int32_t firstRow = wrap_.RowOfLine(std::max(first, 0));
    const int32_t lastRow = wrap_.RowOfLine(last) + wrap_.RowsOfLine(last) - 1;
    InvalidateRows(firstRow, lastRow);
}

void TCustomDCMemo::InvalidateCaret() {
    const int32_t row = RowOfPosition(source_->Caret());
    InvalidateRows(row, row);
}

// ---- Scrolling -------------------------------------------------------------------------------

void TCustomDCMemo::SetTopRow(int32_t row) {
    row = std::clamp(row, 0, std::max(ScrollRowCount() - 1, 0));
    const int32_t delta = row - topRow_;
    if (delta == 0)
        return;
    const int32_t oldDigits = LineNumberDigits();
    topRow_ = row;
    if (LineNumberDigits() != oldDigits || std::abs(int64_t(delta) * rowHeight_) >= TextBottomPx())
        update();
    else
        scroll(0, -delta * rowHeight_, QRect(0, 0, TextRightPx(), TextBottomPx()));
    UpdateScrollBars();
}

void TCustomDCMemo::SetLeftColumn(int32_t column) {
    if (wordWrap_)
        column = 0;
    column = std::clamp(column, 0, std::max(HorzMaxPos, source_->Caret().CharPos));
    const int32_t delta = column - leftCol_;
    if (delta == 0)
        return;
    leftCol_ = column;
    const QRect textArea(TextLeftPx(), 0, TextWidthPx(), TextBottomPx());
    if (useMonoFont_ && std::abs(int64_t(delta) * charWidth_) < textArea.width())
        scroll(-delta * charWidth_, 0, textArea);
    else
        update(textArea);
    UpdateScrollBars();
}

void TCustomDCMemo::MakeCaretVisible() {
    const TPosition caret = source_->Caret();
    const int32_t row = RowOfPosition(caret);
    const int32_t rows = FullyVisibleRows();
    if (row < topRow_)
        SetTopRow(row);
    else if (row >= topRow_ + rows)
        SetTopRow(row - rows + 1);
    if (wordWrap_)
        return;
    const int32_t columns = std::max(TextWidthPx() / std::max(charWidth_, 1), 1);
    if (caret.CharPos < leftCol_)
        SetLeftColumn(caret.CharPos);
    else if (caret.CharPos >= leftCol_ + columns)
        SetLeftColumn(caret.CharPos - columns + 1);
}

void TCustomDCMemo::ScrollFoundIntoView() {
    const TFoundRect found = source_->FoundRect();
    const int32_t row = RowOfPosition({found.LinePos, found.StartChar});
    const int32_t rows = FullyVisibleRows();
    if (row < topRow_ || row >= topRow_ + rows)
        SetTopRow(row - rows / 2);
    if (wordWrap_)
        return;
    const int32_t columns = std::max(TextWidthPx() / std::max(charWidth_, 1), 1);
    if (found.StartChar < leftCol_ || found.EndChar > leftCol_ + columns)
        SetLeftColumn(std::max(found.StartChar - columns / 4, 0));
}

void TCustomDCMemo::UpdateScrollBars() {
    updatingScrollBars_ = true;
    if (vScroll_->isVisibleTo(this)) {
        vScroll_->setRange(0, std::max(ScrollRowCount() - 1, 0));
        vScroll_->setPageStep(FullyVisibleRows());
        vScroll_->setValue(topRow_);
    }
    if (hScroll_->isVisibleTo(this)) {
        hScroll_->setRange(0, wordWrap_ ? 0 : HorzMaxPos);
        hScroll_->setPageStep(std::max(TextWidthPx() / std::max(charWidth_, 1), 1));
        hScroll_->setValue(leftCol_);
    }
    updatingScrollBars_ = false;
}

void TCustomDCMemo::ScrollBarMoved(bool vertical, int value) {
    if (updatingScrollBars_)
        return;
    if (vertical)
        SetTopRow(value);
    else
        SetLeftColumn(value);
}

void TCustomDCMemo::resizeEvent(QResizeEvent*) {
    const int32_t barV = vScroll_->isVisibleTo(this) ? vScroll_->sizeHint().width() : 0;
    const int32_t barH = hScroll_->isVisibleTo(this) ? hScroll_->sizeHint().height() : 0;
    vScroll_->setGeometry(width() - barV, 0, barV, std::max(height() - barH, 0));
    hScroll_->setGeometry(0, height() - barH, std::max(width() - barV, 0), barH);
    if (wordWrap_ && !options_.Has(moBreakWordAtMargin)) {
        RewrapAll();
        update();
    }
    UpdateScrollBars();
}

// ---- Focus -----------------------------------------------------------------------------------

void TCustomDCMemo::focusInEvent(QFocusEvent* event) {
    activation_ = NextActivation();
    InvalidateCaret();
    QWidget::focusInEvent(event);
}

void TCustomDCMemo::focusOutEvent(QFocusEvent* event) {
    InvalidateCaret();
    QWidget::focusOutEvent(event);
}

void TCustomDCMemo::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

}  // namespace tarnwick
