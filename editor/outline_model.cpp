#include "editor/outline_model.h"

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>

#include "textengine/search_lines.h"

namespace tarnwick {

namespace {

// A row's internal id is its node moved past 0, which QModelIndex keeps for "no id".
quintptr IdOf(TNetlistOutline::TNode node) { return quintptr(node + 2); }
TNetlistOutline::TNode NodeOfId(quintptr id) { return TNetlistOutline::TNode(id) - 2; }

const char* KindName(TOutlineKind kind) {
    switch (kind) {
        case TOutlineKind::Library:
            return "library";
        case TOutlineKind::External:
            return "external";
        case TOutlineKind::Cell:
            return "cell";
        case TOutlineKind::View:
            return "view";
        case TOutlineKind::Port:
            return "port";
        case TOutlineKind::Instance:
            return "instance";
        case TOutlineKind::Net:
            return "net";
    }
    return "";
}

// A small square with the kind's letter, one colour per kind.
QIcon KindIcon(TOutlineKind kind) {
    static const std::array<QColor, 7> colours{
        QColor(120, 80, 160), QColor(150, 150, 150), QColor(40, 110, 190), QColor(60, 150, 150),
        QColor(200, 120, 30), QColor(60, 150, 60),   QColor(190, 60, 60)};
    QPixmap picture(14, 14);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colours[std::size_t(kind)]);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 3, 3);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, QString(QChar(KindName(kind)[0] - 'a' + 'A')));
    return QIcon(picture);
}

const QIcon& CachedKindIcon(TOutlineKind kind) {
    static const std::array<QIcon, 7> icons{KindIcon(TOutlineKind::Library), KindIcon(TOutlineKind::External),
                                            KindIcon(TOutlineKind::Cell),    KindIcon(TOutlineKind::View),
                                            KindIcon(TOutlineKind::Port),    KindIcon(TOutlineKind::Instance),
                                            KindIcon(TOutlineKind::Net)};
    return icons[std::size_t(kind)];
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = char(SearchUpperCase(uint8_t(c)));
    return upper;
}

bool HoldsIgnoringCase(std::string_view name, std::string_view upperNeedle) {
    if (upperNeedle.size() > name.size())
        return false;
    const auto same = [](char a, char b) { return SearchUpperCase(uint8_t(a)) == uint8_t(b); };
    return std::search(name.begin(), name.end(), upperNeedle.begin(), upperNeedle.end(), same) != name.end();
}

QString Latin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace

void TOutlineModel::SetSource(const TNetlistOutline* source) {
    beginResetModel();
    source_ = source;
    fetched_.clear();
    matches_.clear();
    scanned_ = 0;
    endResetModel();
}

void TOutlineModel::SetFilter(std::string text) {
    beginResetModel();
    filter_ = UpperCase(text);
    fetched_.clear();
    matches_.clear();
    scanned_ = 0;
    endResetModel();
}

bool TOutlineModel::ContinueFilter(std::chrono::steady_clock::time_point deadline) {
    if (!source_ || !Filtering())
        return false;
    const int32_t total = source_->NodeCount();
    std::vector<TNode> found;
    // The clock is read once per few hundred definitions, not for each.
    constexpr int32_t kBetweenClockReads = 256;
    while (scanned_ < total) {
        const int32_t end = std::min(total, scanned_ + kBetweenClockReads);
        for (; scanned_ < end; ++scanned_) {
            const TNode node = source_->NodeAt(scanned_);
            if (HoldsIgnoringCase(source_->Entry(node).Name, filter_))
                found.push_back(node);
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    if (!found.empty()) {
        const int first = int(matches_.size());
        beginInsertRows({}, first, first + int(found.size()) - 1);
        matches_.insert(matches_.end(), found.begin(), found.end());
        endInsertRows();
    }
    return scanned_ < total;
}

TNetlistOutline::TNode TOutlineModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? NodeOfId(index.internalId()) : TNetlistOutline::kNoNode;
}

int32_t TOutlineModel::Fetched(TNode parent) const {
    const auto it = fetched_.find(parent);
    if (it != fetched_.end())
        return it->second;
    // A parent the tree has not asked about yet starts with its first batch.
    const int32_t first = std::min(source_->ChildCount(parent), kBatch);
    fetched_.emplace(parent, first);
    return first;
}

QModelIndex TOutlineModel::IndexOfNode(TNode node, int row) const { return createIndex(row, 0, IdOf(node)); }

QModelIndex TOutlineModel::index(int row, int column, const QModelIndex& parent) const {
    if (!source_ || column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (Filtering())
        return IndexOfNode(matches_[std::size_t(row)], row);
    return IndexOfNode(source_->Child(parent.isValid() ? NodeOf(parent) : TNetlistOutline::kRoot, row), row);
}

QModelIndex TOutlineModel::parent(const QModelIndex& child) const {
    if (!source_ || !child.isValid() || Filtering())
        return {};
    const TNode up = source_->Parent(NodeOf(child));
    if (up == TNetlistOutline::kRoot || up == TNetlistOutline::kNoNode)
        return {};
    return IndexOfNode(up, source_->RowOf(up));
}

int TOutlineModel::rowCount(const QModelIndex& parent) const {
    if (!source_ || parent.column() > 0)
        return 0;
    if (Filtering())
        return parent.isValid() ? 0 : int(matches_.size());
    return Fetched(parent.isValid() ? NodeOf(parent) : TNetlistOutline::kRoot);
}

int TOutlineModel::columnCount(const QModelIndex&) const { return 1; }

bool TOutlineModel::hasChildren(const QModelIndex& parent) const {
    if (!source_)
        return false;
    if (Filtering())
        return !parent.isValid() && !matches_.empty();
    return source_->ChildCount(parent.isValid() ? NodeOf(parent) : TNetlistOutline::kRoot) > 0;
}

bool TOutlineModel::canFetchMore(const QModelIndex& parent) const {
    if (!source_ || Filtering())
        return false;
    const TNode node = parent.isValid() ? NodeOf(parent) : TNetlistOutline::kRoot;
    return Fetched(node) < source_->ChildCount(node);
}

void TOutlineModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    const TNode node = parent.isValid() ? NodeOf(parent) : TNetlistOutline::kRoot;
    const int32_t have = Fetched(node);
    const int32_t more = std::min(kBatch, source_->ChildCount(node) - have);
    beginInsertRows(parent, have, have + more - 1);
    fetched_[node] = have + more;
    endInsertRows();
}

QVariant TOutlineModel::data(const QModelIndex& index, int role) const {
    if (!source_ || !index.isValid())
        return {};
    const TOutlineEntry entry = source_->Entry(NodeOf(index));
    switch (role) {
        case Qt::DisplayRole:
            return Latin1(entry.Name);
        case Qt::DecorationRole:
            return CachedKindIcon(entry.Kind);
        case Qt::ToolTipRole:
            return QStringLiteral("%1 %2, line %3")
                .arg(QString::fromLatin1(KindName(entry.Kind)), Latin1(entry.Name))
                .arg(entry.Place.LinePos + 1);
        default:
            return {};
    }
}

}  // namespace tarnwick
