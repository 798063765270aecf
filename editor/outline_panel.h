#pragma once
// The document's outline side panel: the netlist's libraries, cells, views, ports, instances
// and nets as a tree with a filter box above it, and the list of the netlist's problems below.
// Choosing an entry of either reports the place it stands for; the panel never moves the
// caret itself (its owner does, and records the jump).
//
// Both lists read their rows from models that make a row's text only when it is shown, so a
// netlist of a million nets shows its outline at once.

#include <QWidget>
#include <functional>

#include "editor/netlist_outline.h"

#include "textengine/memo_types.h"

class QLabel;
class QLineEdit;
class QSplitter;
class QTimer;
class QTreeView;

namespace tarnwick {

class TOutlineModel;
class TProblemModel;
class TUniformListView;

class TOutlinePanel : public QWidget {
public:
    explicit TOutlinePanel(QWidget* owner = nullptr);

    // Called with the place of the outline entry or the problem the user chose.
    std::function<void(TPosition)> OnPlaceChosen;

    // The netlist whose definitions the tree shows, or none; shown afresh (the tree collapses).
    void ShowOutline(const TNetlistOutline* source);
    // The netlist whose problems the list shows, or none; listed afresh with their count.
    void ShowProblems(const TNetlistOutline* source);
    // Repaints the rows in sight: the names and places they show may have changed.
    void RefreshOutline();
    // Selects the listed problem i, scrolled into sight; nothing for one not listed.
    void SelectProblem(int32_t i);
    [[nodiscard]] TOutlineModel& Outline() const noexcept { return *outline_; }
    [[nodiscard]] TProblemModel& Problems() const noexcept { return *problems_; }
    // "Problems (n)" above the list, n counting every problem, also those not listed.
    void UpdateProblemCount();

    QLineEdit* ebFilter;
    QTreeView* tvOutline;
    QLabel* lblProblems;
    TUniformListView* lbProblems;

private:
    void CreateControls();
    void ConnectControls();
    void OutlineEntryChosen();
    void ProblemChosen();
    void FilterChanged();
    // Matches the filter against the next slice of the netlist, and again later while any is left.
    void ContinueFilter();

    TOutlineModel* outline_;   // a child
    TProblemModel* problems_;  // a child
    const TNetlistOutline* outlineSource_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTimer* filterSlices_ = nullptr;
};

}  // namespace tarnwick
