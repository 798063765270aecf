#include "editor/text_view.h"

#include <QKeyEvent>
#include <cmath>

#include "host/server_view_form.h"
#include "textengine/tab_stops.h"

namespace tarnwick {

namespace {

using TPrefs = TTextEditorPreferences;

struct TViewOptionRow {
    bool TPrefs::*field;
    TMemoOption option;
};

struct TBufferOptionRow {
    bool TPrefs::*field;
    TStringsOption option;
    bool setWhenFalse;  // soLimitEOL stands for the opposite of CursorBeyondEOL
};

struct TPrintOptionRow {
    bool TPrefs::*field;
    TDCPrintOption option;
};

constexpr TViewOptionRow kViewOptions[] = {
    {&TPrefs::DoubleClickLine, moDblClickLine},   {&TPrefs::SyntaxHighlighting, moColorSyntax},
    {&TPrefs::ShowLineNumbers, moLineNumbers},    {&TPrefs::OverwriteCursorAsBlock, moOverwriteCaret},
    {&TPrefs::DisableDragging, moDisableDrag},    {&TPrefs::UseSpecialSymbols, moDrawSpecialSymbols},
    {&TPrefs::WrapAtMargin, moBreakWordAtMargin}, {&TPrefs::VisibleMargin, moDrawMargin},
};

// Applied one at a time in this order: the buffer keeps soSmartTab and soUseTabCharacter
// exclusive, and which one wins depends on the order they are switched on.
constexpr TBufferOptionRow kBufferOptions[] = {
    {&TPrefs::AutoIndentMode, soAutoIndent, false},
    {&TPrefs::SmartTab, soSmartTab, false},
    {&TPrefs::BackspaceUnindents, soBackUnindents, false},
    {&TPrefs::GroupUndo, soGroupUndo, false},
    {&TPrefs::CursorBeyondEOF, soBeyondFileEnd, false},
    {&TPrefs::PersistentBlocks, soPersistentBlocks, false},
    {&TPrefs::OverwriteBlocks, soOverwriteBlocks, false},
    {&TPrefs::FindTextAtCursor, soFindTextAtCursor, false},
    {&TPrefs::CursorBeyondEOL, soLimitEOL, true},
    {&TPrefs::UseTabCharacter, soUseTabCharacter, false},
    {&TPrefs::CursorOnTabs, soCursorOnTabs, false},
    {&TPrefs::OptimalFill, soOptimalFill, false},
};

constexpr TPrintOptionRow kPrintOptions[] = {
    {&TPrefs::PrintHeader, poPrintHeader},        {&TPrefs::PrintLineNumbers, poLineNumbers},
    {&TPrefs::PrintSyntax, poPrintSyntax},        {&TPrefs::PrintInColour, poInColor},
    {&TPrefs::ShowPrintProgress, poShowProgress}, {&TPrefs::WrapLinesForPrinting, poWrapLines},
};

}  // namespace

TTextView::TTextView(QWidget* parent) : TDCMemo(parent) {
    // Harbinet's shortcuts carry the editing keys; folding has no command of the host's, so the
    // view keeps its own keys for it.
    KeyList().Clear();
    AddFoldingKeys(KeyList());
    WantTabs = true;
    SetOptions(Options().Set(moHideInvisibleLines, true));
    SetupLineMarks();
}

void TTextView::ApplyPreferences(const TTextEditorPreferences& preferences) {
    ViewPreferences.Assign(preferences);
    const TPrefs& p = ViewPreferences;

    TMemoOptions options = Options();
    for (const TViewOptionRow& row : kViewOptions)
        options = options.Set(row.option, p.*row.field);
    SetOptions(options);

    TCustomMemoSource& buffer = MemoSource();
    for (const TBufferOptionRow& row : kBufferOptions)
        buffer.SetOptions(buffer.Options().Set(row.option, (p.*row.field) != row.setWhenFalse));

    for (const TPrintOptionRow& row : kPrintOptions)
        PrintOptions = PrintOptions.Set(row.option, p.*row.field);

    SetFont(p.Font);
    SetWordWrap(p.WordWrap);
    buffer.SetBlockIndent(p.BlockIndent);
    SetMarginPos(p.MarginWidth);
    if (p.TabStops != buffer.TabStops()) {
        try {
            buffer.SetTabStops(p.TabStops);
        } catch (const ETabStopsError&) {
            // A hand-edited file may hold stops the buffer cannot use; the old ones stay.
        }
    }
    Color = p.WindowColor;
    PrintIndent = static_cast<int32_t>(std::lrint(p.PrintIndent * logicalDpiX()));  // halves to even
    SetKeyMapping(p.KeyMapping);
    if (p.InsertMode)
        buffer.SetInsertMode();
    else
        buffer.SetOverwriteMode();

    SetOptions(Options().Set(moLineNumbersOnGutter, Options().Has(moDrawGutter)));
    update();
}

// Every key stroke goes to the host first, so that its shortcuts win over the editor's keys
// and its characters.
void TTextView::keyPressEvent(QKeyEvent* event) {
    HostKeyHandled = TServerViewForm::OfferKeyToHost(*event);
    if (HostKeyHandled) {
        event->accept();
        return;
    }
    TDCMemo::keyPressEvent(event);
}

}  // namespace tarnwick
