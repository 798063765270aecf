// Problems in the view: a gutter image on each line with problems, a wavy line under each
// faulty name, and the messages as the hint where the mouse rests. Only the rows on screen
// are asked for, and no more than kMaxDrawnPerLine problems of a line are drawn.
#include <QLabel>
#include <QPainter>

#include "textengine/view/custom_dc_memo.h"

namespace tarnwick {

namespace {

constexpr size_t kMaxDrawnPerLine = 64;
constexpr int32_t kWaveStepPx = 2;

QColor WaveColor(TProblemSeverity severity) {
    return severity == TProblemSeverity::Error ? QColor(220, 0, 0) : QColor(230, 140, 0);
}

std::string JoinMessages(const std::vector<TTextProblem>& problems) {
    std::string text;
    for (const TTextProblem& problem : problems)
        text += (text.empty() ? "" : "\n") + problem.Message;
    return text;
}

}  // namespace

void TCustomDCMemo::SetProblems(const TProblemSource* problems) {
    problems_ = problems;
    if (problems != nullptr)
        setMouseTracking(true);  // the hint follows the mouse without a button held
    problemHint_.clear();
    update();
}

// The wave runs under the glyphs, from the problem's first column to its end on this row.
void TCustomDCMemo::PaintProblems(QPainter& p, const TLineInfo& info, int32_t y) {
    if (problems_ == nullptr || info.Line >= source_->LineCount())
        return;
    const std::vector<TTextProblem> found = problems_->ProblemsOnLine(info.Line, kMaxDrawnPerLine);
    if (found.empty())
        return;
    if (info.Index == 0 && GutterPx() > 0 && !ProblemGlyph.isNull()) {
        const int32_t x = GutterPx() - 2 - FoldColumnPx() - ProblemGlyph.width();
        p.drawPixmap(x, y + std::max((rowHeight_ - ProblemGlyph.height()) / 2, 0), ProblemGlyph);
    }
    const RowArea area = TextAreaOf(info, y);
    const int32_t base = y + rowHeight_ - 2;
    for (const TTextProblem& problem : found) {
        const int32_t from = std::max(source_->ColumnOfIndex(info.Line, problem.Column), area.firstColumn);
        const int32_t to =
            std::min(source_->ColumnOfIndex(info.Line, int64_t(problem.Column) + std::max(problem.Length, 1)),
                     area.endColumn);
        if (to <= from)
            continue;
        const int32_t left = std::max(ColumnX(info, from), area.left);
        const int32_t right = std::min(ColumnX(info, to), area.right);
        QPolygon wave;
        for (int32_t x = left, k = 0; x <= right; x += kWaveStepPx, ++k)
            wave << QPoint(x, base - (k % 2) * 2);
        p.setPen(QPen(WaveColor(problem.Severity), 1));
        p.drawPolyline(wave);
    }
}

std::string TCustomDCMemo::ProblemHintAt(QPoint point) const {
    if (problems_ == nullptr || point.y() < 0 || point.x() >= TextRightPx())
        return {};
    const TLineInfo info = RowInfo(topRow_ + point.y() / std::max(rowHeight_, 1));
    if (info.Line >= source_->LineCount())
        return {};
    std::vector<TTextProblem> found = problems_->ProblemsOnLine(info.Line, kMaxDrawnPerLine);
    if (InGutter(point))
        return info.Index == 0 ? JoinMessages(found) : std::string();
    std::erase_if(found, [&](const TTextProblem& problem) {
        const int32_t from = source_->ColumnOfIndex(info.Line, problem.Column);
        const int32_t to =
            source_->ColumnOfIndex(info.Line, int64_t(problem.Column) + std::max(problem.Length, 1));
        return point.x() < ColumnX(info, from) || point.x() >= ColumnX(info, to);
    });
    return JoinMessages(found);
}

// A hint for the problems under the mouse; moving off them takes it away, moving within them
// leaves it alone.
void TCustomDCMemo::ShowProblemHint(QPoint point) {
    std::string hint = ProblemHintAt(point);
    if (hint == problemHint_)
        return;
    const bool hadHint = !problemHint_.empty();
    problemHint_ = std::move(hint);
    if (!problemHint_.empty()) {
        ShowDelayedHint(problemHint_, point + QPoint(8, rowHeight_));
    } else if (hadHint) {
        delayedHint_.stop();
        delayedHintWindow_->hide();
    }
}

}  // namespace tarnwick
