#include "textengine/view/template_choice_list.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "languages/code_templates.h"

namespace tarnwick {

namespace {

// Draws a row's description, then the part between the "~" markers in bold.
class TChoiceDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const TChoiceTextParts parts = SplitChoiceText(index.data().toString());
        QRect r = option.rect.adjusted(3, 0, -3, 0);
        p->setFont(option.font);
        p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, parts.plain);
        r.setLeft(r.left() + option.fontMetrics.horizontalAdvance(parts.plain + "  "));
        QFont bold = option.font;
        bold.setBold(true);
        p->setFont(bold);
        p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, parts.emphasis);
    }
};

}  // namespace

TChoiceTextParts SplitChoiceText(const QString& text) {
    TChoiceTextParts parts;
    const qsizetype bar = text.indexOf('|');
    parts.plain = bar < 0 ? text : text.left(bar);
    const QString rest = bar < 0 ? QString() : text.mid(bar + 1);
    const qsizetype open = rest.indexOf('~');
    const qsizetype close = open < 0 ? -1 : rest.indexOf('~', open + 1);
    if (open >= 0)
        parts.emphasis = rest.mid(open + 1, close < 0 ? -1 : close - open - 1);
    return parts;
}

TTemplateChoiceList::TTemplateChoiceList(QWidget* owner) : QListWidget(owner), owner_(owner) {
    setWindowFlags(Qt::Popup);
    setItemDelegate(new TChoiceDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem*) { ChooseCurrent(); });
}

void TTemplateChoiceList::Popup(const std::vector<const TMemoCodeTemplate*>& offered, QPoint atInOwner,
                                const QFont& font) {
    offered_ = offered;
    clear();
    setFont(font);
    for (const TMemoCodeTemplate* t : offered_)
        addItem(QString::fromLatin1(t->ChoiceText().c_str()));
    if (count() == 0)
        return;
    setCurrentRow(0);
    const int rows = std::min(count(), 10);
    const int rowHeight = std::max(sizeHintForRow(0), 1);
    int widthPx = 120;
    const QFontMetrics fm(font);
    for (const TMemoCodeTemplate* t : offered_)
        widthPx = std::max(
            widthPx,
            fm.horizontalAdvance(QString::fromLatin1((t->Description + "    " + t->Name).c_str())) + 30);
    resize(std::min(widthPx, 600), rows * rowHeight + 2 * frameWidth());
    move(owner_->mapToGlobal(atInOwner));
    show();
    setFocus();
}

const TMemoCodeTemplate* TTemplateChoiceList::Offered(int row) const {
    return row >= 0 && size_t(row) < offered_.size() ? offered_[size_t(row)] : nullptr;
}

void TTemplateChoiceList::ChooseCurrent() {
    const int row = currentRow();
    hide();
    owner_->setFocus();
    if (OnChoose)
        OnChoose(row);
}

void TTemplateChoiceList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ChooseCurrent();
            return;
        case Qt::Key_Escape:
            hide();
            owner_->setFocus();
            return;
        default:
            QListWidget::keyPressEvent(event);
    }
}

}  // namespace tarnwick
