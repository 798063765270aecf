#include "editor/text_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <algorithm>

#include <functional>
#include "widgets/crisp_pixmap.h"

#include "editor/found_line_model.h"
#include "editor/latin1_edit.h"
#include "editor/panel_gradient.h"
#include "editor/uniform_list_view.h"
#include "host/abi/ascii_text.h"
#include "host/abi/parameter_list.h"
#include "host/host_processes.h"
#include "textengine/search_lines.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

constexpr const char* kUpdateFoundList = "TextEdit:UpdateFoundInstanceList";
constexpr const char* kJumpToLine = "TextEdit:JumpToLineFromPanel";
constexpr const char* kUpdateLocationMarks = "TextEdit:UpdateLocationMarks";

constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr int kItemHeight = 16;
constexpr int kRightGap = 8;  // between the widened controls and the panel's right edge
constexpr int kPictureSize = 41;

// A list that reports a key after handling it, so the handler sees the entry the key moved to.
class THistoryList : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void()> OnKeyDown;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QListWidget::keyPressEvent(event);
        if (OnKeyDown)
            OnKeyDown();
    }
};

class TRowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }
};

// A magnifying glass over the panel's background.
QPixmap MagnifierPicture() {
    QPixmap picture = CrispPixmap({kPictureSize, kPictureSize});
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(96, 64, 32), 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(26, 26), QPointF(37, 37));
    QRadialGradient glass(QPointF(13, 13), 14);
    glass.setColorAt(0, QColor(255, 255, 255));
    glass.setColorAt(1, QColor(150, 190, 230));
    painter.setBrush(glass);
    painter.setPen(QPen(QColor(60, 60, 70), 3));
    painter.drawEllipse(QPointF(16, 16), 12, 12);
    return picture;
}

template <class Control>
Control* Placed(Control* control, const char* name, int left, int top) {
    control->setObjectName(QString::fromLatin1(name));
    control->move(left, top);
    control->adjustSize();
    return control;
}

template <class Control>
Control* Placed(Control* control, const char* name, const QRect& geometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QFrame* RaisedLine(QWidget* parent, const char* name, int top) {
    auto* line = Placed(new QFrame(parent), name, QRect(8, top, 153, 1));
    line->setFrameStyle(QFrame::HLine | QFrame::Raised);
    return line;
}

QString Latin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string Bytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// Case ignored the way the search ignores it: ASCII and Latin-1 letters.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return SearchUpperCase(uint8_t(x)) == SearchUpperCase(uint8_t(y));
           });
}

}  // namespace

TTextPanel::TTextPanel(QWidget* owner) : QWidget(owner), foundLines_(new TFoundLineModel(this)) {
    setObjectName("TextPanel");
    setWindowTitle("Search");
    setWindowFlag(Qt::FramelessWindowHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    // The gradient covers every pixel; there is nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(288, 564);
    CreateControls();
    ConnectControls();
    ebSearchText->setFocus();
}

void TTextPanel::CreateControls() {
    Label1 = Placed(new QLabel(QStringLiteral("Search for"), this), "Label1", 8, 8);
    SearchForBevel = RaisedLine(this, "SearchForBevel", 24);
    Label2 = Placed(new QLabel(QStringLiteral("Search text"), this), "Label2", 16, 32);
    ebSearchText = new TLatin1Edit(this);
    ebSearchText->setMaxLength(int(kShortStringLength));
    Placed(ebSearchText, "ebSearchText", QRect(16, 48, 145, ebSearchText->sizeHint().height()));
    butSearch = Placed(new QPushButton(QStringLiteral("Search"), this), "butSearch", QRect(16, 72, 65, 24));
    butClear = Placed(new QPushButton(QStringLiteral("Clear"), this), "butClear", QRect(86, 72, 67, 24));
    Image1 = Placed(new QLabel(this), "Image1", QRect(160, 72, kPictureSize, kPictureSize));
    Image1->setPixmap(MagnifierPicture());

    Label3 = Placed(new QLabel(QStringLiteral("Search Results"), this), "Label3", 8, 110);
    SearchResultsBevel = RaisedLine(this, "SearchResultsBevel", 126);
    lbSearchHistoryList = Placed(new THistoryList(this), "lbSearchHistoryList", QRect(16, 134, 141, 99));
    lbSearchHistoryList->setItemDelegate(new TRowHeightDelegate(lbSearchHistoryList));
    lbSearchHistoryList->setUniformItemSizes(true);
    lbFoundInstanceList = Placed(new TUniformListView(this), "lbFoundInstanceList", QRect(16, 240, 141, 97));
    lbFoundInstanceList->SetRowHeight(kItemHeight);
    lbFoundInstanceList->setModel(foundLines_);
    for (QAbstractItemView* list :
         std::initializer_list<QAbstractItemView*>{lbSearchHistoryList, lbFoundInstanceList}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setFocusPolicy(Qt::ClickFocus);  // not reached with Tab
    }
    butGoto = Placed(new QPushButton(QStringLiteral("Goto"), this), "butGoto", QRect(16, 344, 75, 24));

    Label4 = Placed(new QLabel(QStringLiteral("Search Options"), this), "Label4", 8, 384);
    SearchOptionsBevel = RaisedLine(this, "SearchOptionsBevel", 400);
    chkCaseSensitive =
        Placed(new QCheckBox(QStringLiteral("&Case sensitive"), this), "chkCaseSensitive", 14, 416);
    chkWholeWord = Placed(new QCheckBox(QStringLiteral("&Whole Word"), this), "chkWholeWord", 14, 436);
    chkRegularExpression =
        Placed(new QCheckBox(QStringLiteral("Regular Expression"), this), "chkRegularExpression", 14, 456);
    chkDoAllTextDocument =
        Placed(new QCheckBox(QStringLiteral("All Text Docs"), this), "chkDoAllTextDocument", 14, 476);
}

void TTextPanel::ConnectControls() {
    ebSearchText->installEventFilter(this);
    connect(butSearch, &QPushButton::clicked, this, [this] { butSearchClick(); });
    connect(butClear, &QPushButton::clicked, this, [this] { butClearClick(); });
    connect(butGoto, &QPushButton::clicked, this, [this] { JumpRequested(); });
    connect(lbSearchHistoryList, &QListWidget::clicked, this, [this] { lbSearchHistoryListClick(); });
    connect(lbFoundInstanceList, &TUniformListView::clicked, this, [this] { JumpRequested(); });
    static_cast<THistoryList*>(lbSearchHistoryList)->OnKeyDown = [this] { lbSearchHistoryListKeyDown(); };
    lbFoundInstanceList->OnKeyDown = [this] { JumpRequested(); };
}

// ---- Binding and requests -------------------------------------------------------------------

void TTextPanel::SetBoundView(IServerDocumentView* view) {
    if (view == boundView_.Get())
        return;
    boundView_ = TComPtr<IServerDocumentView>::Share(view);
    if (!view)
        return;
    if (const std::optional<std::string> entry = SelectedHistoryEntry(); entry && !entry->empty()) {
        ebSearchText->SetBytes(*entry);
        Request(kUpdateFoundList);
    }
    Request(kUpdateLocationMarks);
}

void TTextPanel::Request(const char* process) {
    if (boundView_)
        RunHostProcess(process, nullptr, 0, boundView_.Get());
}

// ---- User actions ---------------------------------------------------------------------------

void TTextPanel::butSearchClick() {
    const std::string typed = ebSearchText->Bytes().substr(0, kShortStringLength);
    SelectInHistory(std::string(ascii::Trim(typed)));
    Request(kUpdateFoundList);
}

void TTextPanel::butClearClick() {
    lbSearchHistoryList->clear();
    foundLines_->Clear();
    ebSearchText->clear();
}

void TTextPanel::lbSearchHistoryListClick() {
    const std::optional<std::string> entry = SelectedHistoryEntry();
    if (!entry || entry->empty())
        return;
    ebSearchText->SetBytes(*entry);
    Request(kUpdateFoundList);
}

void TTextPanel::lbSearchHistoryListKeyDown() { ebSearchText->SetBytes(SelectedHistoryEntry().value_or("")); }

void TTextPanel::JumpRequested() { Request(kJumpToLine); }

bool TTextPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ebSearchText && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            butSearchClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- The history and the found list ---------------------------------------------------------

void TTextPanel::SelectInHistory(const std::string& text) {
    for (int row = 0; row < lbSearchHistoryList->count(); ++row) {
        if (SameIgnoringCase(Bytes(lbSearchHistoryList->item(row)->text()), text)) {
            lbSearchHistoryList->setCurrentRow(row);
            return;
        }
    }
    lbSearchHistoryList->insertItem(0, Latin1(text));
    lbSearchHistoryList->setCurrentRow(0);
}

std::optional<std::string> TTextPanel::SelectedHistoryEntry() const {
    const QList<QListWidgetItem*> selected = lbSearchHistoryList->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return Bytes(selected.front()->text());
}

TTextPanel::TSearch TTextPanel::FoundListSearch() const {
    return {ebSearchText->Bytes().substr(0, kShortStringLength), chkCaseSensitive->isChecked(),
            chkWholeWord->isChecked(), chkRegularExpression->isChecked()};
}

std::optional<int32_t> TTextPanel::SelectedFoundLine() const {
    const QModelIndexList selected = lbFoundInstanceList->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return std::nullopt;
    return foundLines_->LineAt(selected.front().row());
}

void TTextPanel::SelectFoundLine(int32_t line) {
    const int row = foundLines_->RowOfLine(line);
    if (row < 0)
        return;
    const QModelIndex index = foundLines_->index(row);
    lbFoundInstanceList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lbFoundInstanceList->scrollTo(index);
}

TTextPanel::TFoundListUpdate::TFoundListUpdate(TTextPanel& panel)
    : panel_(panel), selectedLine_(panel.SelectedFoundLine()) {
    panel_.lbFoundInstanceList->setEnabled(false);
    panel_.foundLines_->Clear();
}

TTextPanel::TFoundListUpdate::~TFoundListUpdate() {
    panel_.foundLines_->SetLines(std::move(lines_));
    panel_.lbFoundInstanceList->setEnabled(true);
    if (selectedLine_)
        panel_.SelectFoundLine(*selectedLine_);
}

// ---- Painting and resizing ------------------------------------------------------------------

void TTextPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor start = ResolveColor(kButtonFace);
    const QColor end = PanelGradientEnd(ResolveColor(kButtonShadow));
    for (int band = 0; band < 256; ++band) {
        const TGradientBand b = PanelGradientBand(band, height(), start, end);
        painter.fillRect(0, b.Top, width(), b.Bottom - b.Top, b.Color);
    }
}

void TTextPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QWidget* control :
         std::initializer_list<QWidget*>{SearchForBevel, SearchResultsBevel, SearchOptionsBevel, ebSearchText,
                                         lbSearchHistoryList, lbFoundInstanceList})
        control->resize(std::max(width() - control->x() - kRightGap, 0), control->height());
    Image1->setVisible(Image1->x() + Image1->width() < width());
}

}  // namespace tarnwick
