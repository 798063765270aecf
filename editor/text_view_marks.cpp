// The line marks of the editor control: their styles and gutter images, and the operations
// other servers drive them with.
#include <QCoreApplication>
#include <QPixmap>
#include <algorithm>

#include "editor/text_view.h"
#include "widgets/crisp_pixmap.h"

namespace tarnwick {

namespace {

constexpr TColorValue kRed = 0x0000FF;     // RGB 255,0,0
constexpr TColorValue kBlue = 0xFF0000;    // RGB 0,0,255
constexpr TColorValue kLime = 0x00FF00;    // RGB 0,255,0
constexpr TColorValue kMaroon = 0x000080;  // RGB 128,0,0

struct TMarkLook {
    const char* name;
    TColorValue text;
    TColorValue background;
};

// In this order: a style of the same name is redefined, the others are appended.
constexpr TMarkLook kMarkStyles[] = {
    {kExecutionPointMark, clWindow, kBlue},
    {kBreakPointMark, clWindow, kRed},
    {kDisabledBreakpointMark, kRed, kLime},
    {kErrorLineMark, clWindow, kMaroon},
};

struct TMarkImage {
    const char* name;
    const char* file;
};

// Appended after the view's own images, in this order: the order fixes each one's mark bit.
constexpr TMarkImage kAppendedImages[] = {
    {kExecutionPointMark, "TextExecution.png"},
    {kErrorLineMark, "TextError.png"},
    {kDisabledBreakpointMark, "TextDisabledBreakpoint.png"},
};
constexpr const char* kBreakPointImageFile = "TextBreakpoint.png";
// The mark of a line with problems: its own picture, so the "Error line" stays the debugger's.
constexpr const char* kProblemImageFile = "TextProblem.png";

// A picture from the host program's button folder; an empty one when the file is missing or
// unreadable, so that the mark still colours its line.
QPixmap ButtonPicture(const char* file) {
    return LoadCrispPicture(QCoreApplication::applicationDirPath() + "/System/Buttons/" + file);
}

}  // namespace

void TTextView::SetupLineMarks() {
    for (int32_t i = 0; i < TextStyles().Count(); ++i) {
        TTextStyle style = *TextStyles().At(i);
        style.UseMemoFont = true;
        style.UseMemoColor = true;
        style.UpdateMemoColors = mcNone;
        SetTextStyle(i, style);
    }
    for (const TMarkLook& look : kMarkStyles) {
        TTextStyle style;
        style.Name = look.name;
        style.Font.Color = look.text;
        style.Font.Style = 0;
        style.Color = look.background;
        style.UseMemoFont = false;
        style.UseMemoColor = false;
        DefineTextStyle(style);
    }
    TDCGutterImages& images = GutterImgs();
    if (const int32_t breakPoint = images.IndexOf(kBreakPointMark); breakPoint >= 0) {
        const QPixmap picture = ButtonPicture(kBreakPointImageFile);
        if (!picture.isNull())  // without the file the view's own dot stays
            images[breakPoint].Glyph = picture;
    }
    for (const TMarkImage& image : kAppendedImages)
        images.Add(image.name, ButtonPicture(image.file), -1);
    if (const QPixmap problem = ButtonPicture(kProblemImageFile); !problem.isNull())
        ProblemGlyph = problem;
    // Line numbers drawn in the gutter start right of a mark's image instead of under it.
    int32_t widest = 0;
    for (int32_t i = 0; i < images.Count(); ++i)
        widest = std::max(widest, images[i].Width());
    GutterLineIndent = widest + 2;
}

bool TTextView::IsLine(int32_t line) const { return line >= 0 && line < MemoSource().LineCount(); }

bool TTextView::HasMark(const char* name, int32_t line) const {
    const int32_t image = GutterImgs().IndexOf(name);
    return IsLine(line) && image >= 0 && MemoSource().LineMarked(line, image);
}

void TTextView::AddMark(const char* name, int32_t line) {
    const int32_t style = TextStyles().IndexOf(name);
    const int32_t image = GutterImgs().IndexOf(name);
    if (style < 0 || image < 0 || !IsLine(line))
        return;
    MemoSource().SetLineMark(line, image, true);
    MemoSource().SetLineStyle(line, static_cast<uint8_t>(style));
}

void TTextView::RemoveMark(const char* name, int32_t line) {
    const int32_t image = GutterImgs().IndexOf(name);
    if (TextStyles().IndexOf(name) < 0 || image < 0 || !IsLine(line))
        return;
    MemoSource().SetLineMark(line, image, false);
    MemoSource().SetLineStyle(line, 0);
}

int32_t TTextView::FirstLineWithMark(const char* name) const {
    const int32_t image = GutterImgs().IndexOf(name);
    if (image < 0)
        return -1;
    const int32_t count = MemoSource().LineCount();
    for (int32_t line = 0; line < count; ++line)
        if (MemoSource().LineMarked(line, image))
            return line;
    return -1;
}

void TTextView::ShowLine(int32_t line) {
    const int32_t last = std::max(MemoSource().LineCount() - 1, 0);
    line = std::clamp(line, 0, last);
    const int32_t row = RowOfPosition(TPosition{line, 0});
    const bool wasVisible = row >= TopRow() && row < TopRow() + FullyVisibleRows();
    MemoSource().SetCaret(0, line);
    if (!wasVisible)
        CenterLine();
}

void TTextView::HighlightExecutionLine(int32_t line) {
    ClearExecutionMark();
    AddMark(kExecutionPointMark, line);
    ShowLine(line);
}

void TTextView::ClearExecutionMark() {
    ClearMarkShowingWhatRemains(kExecutionPointMark, kErrorLineMark, &TTextView::MarkErrorLine);
}

void TTextView::MarkErrorLine(int32_t line) {
    ClearErrorMark();
    AddMark(kErrorLineMark, line);
    ShowLine(line);
}

void TTextView::ClearErrorMark() {
    ClearMarkShowingWhatRemains(kErrorLineMark, kExecutionPointMark, &TTextView::HighlightExecutionLine);
}

void TTextView::ClearMarkShowingWhatRemains(const char* name, const char* other,
                                            void (TTextView::*showOther)(int32_t)) {
    const int32_t line = FirstLineWithMark(name);
    if (line < 0)
        return;
    RemoveMark(name, line);
    if (HasMark(kBreakPointMark, line))
        AddMark(kBreakPointMark, line);
    else if (HasMark(other, line))
        (this->*showOther)(line);
}

void TTextView::AddBreakpoint(int32_t line) { AddMark(kBreakPointMark, line); }

void TTextView::RemoveBreakpoint(int32_t line) {
    RemoveMark(kBreakPointMark, line);
    RemoveMark(kDisabledBreakpointMark, line);
    if (HasMark(kExecutionPointMark, line))
        HighlightExecutionLine(line);
    else if (HasMark(kErrorLineMark, line))
        MarkErrorLine(line);
}

void TTextView::ToggleBreakpoint(int32_t line) {
    if (HasMark(kBreakPointMark, line))
        RemoveBreakpoint(line);
    else
        AddBreakpoint(line);
}

// Only lines that carry a mark are visited: on a line without one, removing a breakpoint
// changes nothing, and visiting millions of lines one change at a time would take seconds.
void TTextView::RemoveAllBreakpoints() {
    const int32_t count = MemoSource().LineCount();
    for (int32_t line = 0; line < count; ++line)
        if (MemoSource().Store().GutterMarks(line) != 0)
            RemoveBreakpoint(line);
}

std::vector<int32_t> TTextView::BreakpointLines() const {
    std::vector<int32_t> lines;
    const int32_t image = GutterImgs().IndexOf(kBreakPointMark);
    const int32_t count = MemoSource().LineCount();
    for (int32_t line = 0; image >= 0 && line < count; ++line)
        if (MemoSource().LineMarked(line, image))
            lines.push_back(line);
    return lines;
}

}  // namespace tarnwick
