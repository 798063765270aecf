#include "editor/outline_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <chrono>

#include "editor/outline_model.h"
#include "editor/problem_model.h"
#include "editor/uniform_list_view.h"

namespace tarnwick {

namespace {

constexpr int kItemHeight = 16;
// A slice of filtering leaves the user's input waiting no longer than this.
constexpr auto kFilterSlice = std::chrono::milliseconds(10);

}  // namespace

TOutlinePanel::TOutlinePanel(QWidget* owner)
    : QWidget(owner), outline_(new TOutlineModel(this)), problems_(new TProblemModel(this)) {
    setObjectName("OutlinePanel");
    setWindowTitle("Outline");
    setWindowFlag(Qt::FramelessWindowHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(288, 564);
    CreateControls();
    ConnectControls();
}

void TOutlinePanel::CreateControls() {
    ebFilter = new QLineEdit(this);
    ebFilter->setObjectName("ebFilter");
    ebFilter->setPlaceholderText(QStringLiteral("Filter"));
    ebFilter->setClearButtonEnabled(true);

    tvOutline = new QTreeView(this);
    tvOutline->setObjectName("tvOutline");
    tvOutline->setModel(outline_);
    tvOutline->setHeaderHidden(true);
    // One row height for all rows: the tree then lays out only what it shows.
    tvOutline->setUniformRowHeights(true);
    tvOutline->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvOutline->setSelectionMode(QAbstractItemView::SingleSelection);

    lblProblems = new QLabel(this);
    lblProblems->setObjectName("lblProblems");
    lbProblems = new TUniformListView(this);
    lbProblems->setObjectName("lbProblems");
    lbProblems->SetRowHeight(kItemHeight);
    lbProblems->setModel(problems_);
    lbProblems->setSelectionMode(QAbstractItemView::SingleSelection);
    lbProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* problemsBox = new QWidget(this);
    auto* problemsLayout = new QVBoxLayout(problemsBox);
    problemsLayout->setContentsMargins(0, 0, 0, 0);
    problemsLayout->setSpacing(2);
    problemsLayout->addWidget(lblProblems);
    problemsLayout->addWidget(lbProblems);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->addWidget(tvOutline);
    splitter_->addWidget(problemsBox);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(ebFilter);
    layout->addWidget(splitter_, 1);
    UpdateProblemCount();
}

void TOutlinePanel::ConnectControls() {
    filterSlices_ = new QTimer(this);
    filterSlices_->setSingleShot(true);
    filterSlices_->setInterval(0);
    connect(filterSlices_, &QTimer::timeout, this, [this] { ContinueFilter(); });
    connect(ebFilter, &QLineEdit::textChanged, this, [this] { FilterChanged(); });
    connect(tvOutline, &QTreeView::clicked, this, [this] { OutlineEntryChosen(); });
    connect(tvOutline, &QTreeView::activated, this, [this] { OutlineEntryChosen(); });
    connect(lbProblems, &TUniformListView::clicked, this, [this] { ProblemChosen(); });
    connect(lbProblems, &TUniformListView::activated, this, [this] { ProblemChosen(); });
}

void TOutlinePanel::ShowOutline(const TNetlistOutline* source) {
    outline_->SetSource(source);
    outlineSource_ = source;
    if (outline_->Filtering())
        ContinueFilter();
}

void TOutlinePanel::ShowProblems(const TNetlistOutline* source) {
    problems_->SetSource(source);
    UpdateProblemCount();
}

void TOutlinePanel::RefreshOutline() { tvOutline->viewport()->update(); }

void TOutlinePanel::SelectProblem(int32_t i) {
    if (i < 0 || i >= problems_->rowCount())
        return;
    const QModelIndex index = problems_->index(i);
    lbProblems->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lbProblems->scrollTo(index);
}

void TOutlinePanel::FilterChanged() {
    const QByteArray text = ebFilter->text().toLatin1();
    outline_->SetFilter(std::string(text.constData(), std::size_t(text.size())));
    tvOutline->setRootIsDecorated(!outline_->Filtering());  // a flat list needs no branches
    ContinueFilter();
}

void TOutlinePanel::ContinueFilter() {
    if (outline_->ContinueFilter(std::chrono::steady_clock::now() + kFilterSlice))
        filterSlices_->start();
}

void TOutlinePanel::UpdateProblemCount() {
    const TNetlistOutline* source = problems_->Source();
    const int64_t count = source ? source->ProblemCount() : 0;
    const int32_t listed = source ? source->ListedProblemCount() : 0;
    QString text = QStringLiteral("Problems (%1)").arg(count);
    if (listed < count)
        text += QStringLiteral(", the first %1 listed").arg(listed);
    lblProblems->setText(text);
}

void TOutlinePanel::OutlineEntryChosen() {
    const TNetlistOutline::TNode node = outline_->NodeOf(tvOutline->currentIndex());
    if (node == TNetlistOutline::kNoNode || !outlineSource_ || !OnPlaceChosen)
        return;
    OnPlaceChosen(outlineSource_->Entry(node).Place);
}

void TOutlinePanel::ProblemChosen() {
    const QModelIndex current = lbProblems->currentIndex();
    const TNetlistOutline* source = problems_->Source();
    if (!current.isValid() || !source || current.row() >= source->ListedProblemCount() || !OnPlaceChosen)
        return;
    OnPlaceChosen(source->Problem(current.row()).Place);
}

}  // namespace tarnwick
