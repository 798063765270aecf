#include "editor/edif_navigator.h"

#include <algorithm>
#include <vector>

#include "editor/edif_outline.h"
#include "editor/outline_panel.h"
#include "editor/text_panel.h"
#include "editor/text_view.h"
#include "editor/text_window.h"
#include "languages/text_source.h"
#include "textengine/edif/edif_buffer_index.h"

namespace tarnwick {

namespace {

// A lookup right after an edit first lets the index catch up; a one-character edit takes far
// less than this, and a larger change is left to the idle time.
constexpr auto kCatchUp = std::chrono::milliseconds(5);

// Works on the index until the deadline; true while work is left for later.
bool StepIndex(TEdifIndex& index, TEdifNavigator::TClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - TEdifNavigator::TClock::now());
    return left.count() <= 0 || !index.Step(TEdifBudget{left});
}

}  // namespace

TEdifNavigator::TEdifNavigator(TTextWindow* window, TTextPanel* searchPanel, TOutlinePanel* outlinePanel)
    : window_(window), searchPanel_(searchPanel), outlinePanel_(outlinePanel) {
    if (window_)
        outline_ = std::make_unique<TEdifOutline>(window_->EdifIndex().Index());
    if (outlinePanel_)
        outlinePanel_->OnPlaceChosen = [this](TPosition place) { JumpTo(place, TFocus::Keep); };
}

TEdifNavigator::~TEdifNavigator() {
    if (outlinePanel_) {
        outlinePanel_->OnPlaceChosen = nullptr;
        outlinePanel_->ShowOutline(nullptr);
        outlinePanel_->ShowProblems(nullptr);
    }
}

// ---- Idle time ----------------------------------------------------------------------------

bool TEdifNavigator::RunIdleSlice(TClock::time_point deadline) {
    if (!window_ || !outline_)
        return false;
    if (!window_->IsNetlist()) {
        ForgetNetlist();
        return false;
    }
    serving_ = true;
    TEdifIndex& index = window_->EdifIndex().Index();
    const bool indexing = StepIndex(index, deadline);
    if (index.IsIndexCurrent() && TClock::now() < deadline)
        UpdateOutline(deadline);
    if (index.AreProblemsCurrent())
        UpdateProblems();
    return indexing || !outline_->Complete() || !index.AreProblemsCurrent();
}

// The text stopped being a netlist (saved under another name, its edif form deleted): nothing
// of the index stays on screen.
void TEdifNavigator::ForgetNetlist() {
    if (!serving_)
        return;
    serving_ = false;
    window_->EdifIndex().Index().Reset();
    window_->TextSource().UnfoldAll();  // no form is left to show as folded
    outline_->Restart();
    outlineShown_ = false;
    outlineChanges_.reset();
    problemChanges_.reset();
    window_->ShowProblems(nullptr);
    if (outlinePanel_) {
        outlinePanel_->ShowOutline(nullptr);
        outlinePanel_->ShowProblems(nullptr);
    }
}

void TEdifNavigator::UpdateOutline(TClock::time_point deadline) {
    const uint64_t changes = window_->EdifIndex().Changes();
    const TEdifIndex& index = window_->EdifIndex().Index();
    if (outlineChanges_ != changes) {
        // Rows keep only definition numbers: while those stand, the rows in sight just repaint.
        if (outlineShown_ && outline_->DefinitionsLaidOut() == index.DefinitionCount()) {
            outlineChanges_ = changes;
            if (outlinePanel_)
                outlinePanel_->RefreshOutline();
            return;
        }
        if (outlinePanel_)
            outlinePanel_->ShowOutline(nullptr);
        outlineShown_ = false;
        outline_->Restart();
        outlineChanges_ = changes;
    }
    if (outlineShown_ || !outline_->Continue(deadline))
        return;
    outlineShown_ = true;
    if (outlinePanel_)
        outlinePanel_->ShowOutline(outline_.get());
}

void TEdifNavigator::UpdateProblems() {
    const uint64_t changes = window_->EdifIndex().Changes();
    if (problemChanges_ == changes)
        return;
    problemChanges_ = changes;
    window_->ShowProblems(&window_->EdifProblems());
    if (outlinePanel_)
        outlinePanel_->ShowProblems(outline_.get());
}

// ---- Places ---------------------------------------------------------------------------------

const TEdifIndex* TEdifNavigator::CurrentIndex() const {
    if (!window_ || !window_->IsNetlist())
        return nullptr;
    TEdifIndex& index = window_->EdifIndex().Index();
    if (!index.IsIndexCurrent())
        StepIndex(index, TClock::now() + kCatchUp);
    return index.IsIndexCurrent() ? &index : nullptr;
}

std::optional<TEdifPoint> TEdifNavigator::CaretPoint() const {
    if (!window_)
        return std::nullopt;
    const TTextSource& source = window_->TextSource();
    const TPosition caret = source.Caret();
    const int64_t byte = source.LocateColumn(caret.LinePos, caret.CharPos).index;
    const bool inText = caret.LinePos >= 0 && caret.LinePos < source.LineCount();
    const int64_t length = inText ? int64_t(source.Store().TextLength(caret.LinePos)) : 0;
    return TEdifPoint{caret.LinePos, int32_t(std::min<int64_t>(byte, length))};
}

int32_t TEdifNavigator::DefinitionAtCaret(const TEdifIndex& index) const {
    const std::optional<TEdifPoint> at = CaretPoint();
    if (!at)
        return -1;
    const int32_t definition = index.DefinitionAt(*at);
    if (definition >= 0 || at->column == 0)
        return definition;
    return index.DefinitionAt({at->line, at->column - 1});
}

void TEdifNavigator::MoveCaret(TPosition expanded, TFocus focus) {
    if (!window_)
        return;
    TTextSource& source = window_->TextSource();
    source.SetSelectionKind(stNone);
    source.SetCaret(expanded.CharPos, expanded.LinePos);
    window_->View().CenterLine();
    if (focus == TFocus::View)
        window_->View().setFocus();
}

void TEdifNavigator::JumpTo(TPosition storedPlace, TFocus focus) {
    if (!window_)
        return;
    const TTextSource& source = window_->TextSource();
    const int32_t line = std::clamp(storedPlace.LinePos, 0, std::max(source.LineCount() - 1, 0));
    const TPosition target{line, source.ColumnOfIndex(line, storedPlace.CharPos)};
    const TPosition from = source.Caret();
    if (from != target)
        history_.Jumped(from);
    MoveCaret(target, focus);
}

// ---- The commands ---------------------------------------------------------------------------

void TEdifNavigator::GotoDefinition() {
    const TEdifIndex* index = CurrentIndex();
    const int32_t definition = index ? DefinitionAtCaret(*index) : -1;
    if (definition < 0)
        return;
    const TEdifPoint at = index->Definition(definition).nameAt;
    JumpTo({at.line, at.column});
}

void TEdifNavigator::FindReferences() {
    const TEdifIndex* index = CurrentIndex();
    const int32_t definition = index ? DefinitionAtCaret(*index) : -1;
    if (definition < 0 || !searchPanel_)
        return;
    std::vector<int32_t> lines{index->Definition(definition).nameAt.line};
    for (const TEdifReference& reference : index->References(definition))
        lines.push_back(reference.nameAt.line);
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    TTextPanel::TFoundListUpdate update(*searchPanel_);
    for (const int32_t line : lines)
        update.Add(line + 1);
}

void TEdifNavigator::NavigateBack() {
    if (!window_)
        return;
    if (const std::optional<TPosition> to = history_.Back(window_->TextSource().Caret()))
        MoveCaret(*to);
}

void TEdifNavigator::NavigateForward() {
    if (!window_)
        return;
    if (const std::optional<TPosition> to = history_.Forward(window_->TextSource().Caret()))
        MoveCaret(*to);
}

void TEdifNavigator::NextProblem() { GoToProblem(true); }

void TEdifNavigator::PreviousProblem() { GoToProblem(false); }

// Problems come in the order of the text, so the one after the caret is found by halving.
void TEdifNavigator::GoToProblem(bool forward) {
    const TEdifIndex* index = CurrentIndex();
    const std::optional<TEdifPoint> caret = CaretPoint();
    if (!index || !caret || !index->AreProblemsCurrent() || index->Problems().empty())
        return;
    const std::vector<TEdifProblem>& problems = index->Problems();
    const auto place = [](const TEdifProblem& p) { return TEdifPoint{p.line, p.column}; };
    std::size_t i;
    if (forward) {
        const auto after =
            std::upper_bound(problems.begin(), problems.end(), *caret,
                             [&](const TEdifPoint& at, const TEdifProblem& p) { return at < place(p); });
        i = after == problems.end() ? 0 : std::size_t(after - problems.begin());
    } else {
        const auto before =
            std::lower_bound(problems.begin(), problems.end(), *caret,
                             [&](const TEdifProblem& p, const TEdifPoint& at) { return place(p) < at; });
        i = before == problems.begin() ? problems.size() - 1 : std::size_t(before - problems.begin()) - 1;
    }
    JumpTo({problems[i].line, problems[i].column});
    if (outlinePanel_)
        outlinePanel_->SelectProblem(int32_t(i));
}

}  // namespace tarnwick
