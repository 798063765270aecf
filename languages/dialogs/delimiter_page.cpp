#include "languages/dialogs/delimiter_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "languages/dialogs/dialog_text.h"
#include "languages/dialogs/list_keys.h"
#include "languages/dialogs/scheme_styles.h"

namespace tarnwick {

TDelimiterPage::TDelimiterPage(TSetup setup, TSchemeStyles& styles, QWidget* parent)
    : QWidget(parent), setup_(std::move(setup)), styles_(styles) {
    check_ = Named(new QCheckBox(QString::fromLatin1(setup_.checkCaption), this), setup_.checkName);
    check_->setChecked(*setup_.classSwitch);
    connect(check_, &QCheckBox::toggled, this, [this](bool on) {
        *setup_.classSwitch = on;
        UpdateControls();
    });

    QWidget* gridHolder = this;
    QGroupBox* group = nullptr;
    if (setup_.gridGroupCaption)
        gridHolder = group = new QGroupBox(QString::fromLatin1(setup_.gridGroupCaption), this);
    grid_ = Named(new QTableWidget(0, 2, gridHolder), setup_.gridName);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type")});
    grid_->horizontalHeader()->setObjectName(QString::fromLatin1(setup_.headerName));
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setColumnWidth(0, 180);
    const auto button = [gridHolder](const char* name, const char* caption) {
        return Named(new QPushButton(QString::fromLatin1(caption), gridHolder), name);
    };
    add_ = button(setup_.addName, "&Add...");
    remove_ = button(setup_.removeName, "&Remove");
    edit_ = button(setup_.editName, "&Edit...");
    style_ = button(setup_.styleName, "&Style...");
    connect(add_, &QPushButton::clicked, this, &TDelimiterPage::AddClick);
    connect(remove_, &QPushButton::clicked, this, &TDelimiterPage::RemoveClick);
    connect(edit_, &QPushButton::clicked, this, &TDelimiterPage::EditClick);
    connect(style_, &QPushButton::clicked, this, &TDelimiterPage::StyleClick);
    TListKeys::Install(grid_, {WhenEnabled(add_), WhenEnabled(remove_), WhenEnabled(edit_)});

    auto* gridLayout = new QGridLayout;
    gridLayout->addWidget(grid_, 0, 0, 5, 1);
    gridLayout->addWidget(add_, 0, 1);
    gridLayout->addWidget(remove_, 1, 1);
    gridLayout->addWidget(edit_, 2, 1);
    gridLayout->addWidget(style_, 3, 1);
    gridLayout->setRowStretch(4, 1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(check_);
    if (group) {
        group->setLayout(gridLayout);
        page->addWidget(group, 1);
    } else {
        page->addLayout(gridLayout, 1);
    }
    page_ = page;
    Refill(0);
}

void TDelimiterPage::AddOptions(QWidget* options) {
    page_->addWidget(options);
    options_.push_back(options);
    UpdateControls();
}

void TDelimiterPage::Refill(int index) {
    rows_.clear();
    for (std::size_t l = 0; l < setup_.lists.size(); ++l) {
        const TTokenList& list = setup_.lists[l];
        if (list.shown && !list.shown())
            continue;
        const std::size_t count = list.lines ? list.lines->size() : list.pairs->size();
        for (std::size_t i = 0; i < count; ++i)
            rows_.emplace_back(int(l), int(i));
    }
    const QFont font = styles_.Font(*setup_.sharedStyle, this->font());
    const QColor color = styles_.Foreground(*setup_.sharedStyle);
    grid_->setRowCount(int(rows_.size()));
    for (int row = 0; row < int(rows_.size()); ++row) {
        const TDelimiterEntry entry = EntryAt(row);
        const bool pair = setup_.lists[std::size_t(entry.Type)].pairs != nullptr;
        const QString name = Latin1Text(pair ? entry.Left + " and " + entry.Right : entry.Left);
        const QString type = QString::fromLatin1(setup_.lists[std::size_t(entry.Type)].typeName);
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem(column == 0 ? name : type);
            item->setFont(font);
            item->setForeground(color);
            grid_->setItem(row, column, item);
        }
    }
    styles_.PaintBackground(grid_, *setup_.sharedStyle);
    if (!rows_.empty())
        grid_->selectRow(std::clamp(index, 0, int(rows_.size()) - 1));
    UpdateControls();
}

void TDelimiterPage::UpdateControls() {
    const bool on = check_->isChecked();
    grid_->setEnabled(on && !rows_.empty());
    add_->setEnabled(on);
    style_->setEnabled(on);
    remove_->setEnabled(grid_->isEnabled());
    edit_->setEnabled(grid_->isEnabled());
    for (QWidget* options : options_)
        options->setEnabled(on);
}

TDelimiterEntry TDelimiterPage::EntryAt(int row) const {
    const auto [list, index] = rows_[std::size_t(row)];
    const TTokenList& tokens = setup_.lists[std::size_t(list)];
    if (tokens.pairs) {
        const TBlockToken& token = (*tokens.pairs)[std::size_t(index)];
        return {token.LeftDelimiter, token.RightDelimiter, list};
    }
    return {(*tokens.lines)[std::size_t(index)].LeftDelimiter, {}, list};
}

void TDelimiterPage::Erase(int row) {
    const auto [list, index] = rows_[std::size_t(row)];
    const TTokenList& tokens = setup_.lists[std::size_t(list)];
    if (tokens.pairs)
        tokens.pairs->erase(tokens.pairs->begin() + index);
    else
        tokens.lines->erase(tokens.lines->begin() + index);
}

int TDelimiterPage::Append(const TDelimiterEntry& entry) {
    const TTokenList& tokens = setup_.lists[std::size_t(entry.Type)];
    TBlockToken token;
    token.FontID = *setup_.sharedStyle;
    token.LeftDelimiter = entry.Left;
    token.RightDelimiter = entry.Right;
    if (tokens.pairs)
        tokens.pairs->push_back(token);
    else
        tokens.lines->push_back(static_cast<const TLineToken&>(token));
    Refill(0);
    const int index = int(tokens.pairs ? tokens.pairs->size() : tokens.lines->size()) - 1;
    const auto row = std::find(rows_.begin(), rows_.end(), std::pair(entry.Type, index));
    return row == rows_.end() ? 0 : int(row - rows_.begin());
}

void TDelimiterPage::AddClick() {
    if (const std::optional<TDelimiterEntry> entry = setup_.askEntry({}, this))
        Refill(Append(*entry));
}

void TDelimiterPage::EditClick() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= int(rows_.size()))
        return;
    const std::optional<TDelimiterEntry> entry = setup_.askEntry(EntryAt(row), this);
    if (!entry)
        return;
    Erase(row);
    Refill(Append(*entry));
}

void TDelimiterPage::RemoveClick() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= int(rows_.size()))
        return;
    Erase(row);
    Refill(row);
}

void TDelimiterPage::StyleClick() {
    if (styles_.EditStyle(*setup_.sharedStyle, this))
        Refill(grid_->currentRow());
}

}  // namespace tarnwick
