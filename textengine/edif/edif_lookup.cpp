// The lookups that rescan text: what a name means, who refers to a definition, and the forms
// around and on some lines. Each scan starts at the innermost record around the place, or just
// after the last of its children that ends before it, so its cost follows the size of that
// record and not the size of the file.
#include <algorithm>

#include "textengine/edif/edif_resolver.h"

namespace tarnwick {

namespace {

// Past the place a scan asked about, no more than this is read to find where forms end.
constexpr int64_t kMaxBytesPastRange = 4 << 20;

bool NameHolds(TEdifPoint nameAt, int32_t length, TEdifPoint at) {
    return at.line == nameAt.line && at.column >= nameAt.column &&
           at.column < nameAt.column + std::max(length, 1);
}

// Skips every record the place is not in, so a scan of a library reads only the stretch
// around the place.
class PlaceResolver : public TEdifResolver {
public:
    PlaceResolver(const TEdifIndex::Impl& index, int32_t record, TEdifPoint at)
        : TEdifResolver(index, record), index_(index), record_(record), at_(at) {}
    void Opened(TEdifFrame& frame, int32_t depth) override {
        TEdifResolver::Opened(frame, depth);
        if (frame.record < 0 || frame.record == record_ || !scanner_)
            return;
        const TEdifRecord& r = index_.records.items[size_t(frame.record)];
        if (!r.Holds(at_) && (r.flags & TEdifRecord::kClosed))
            scanner_->SkipCurrentForm(r.End());
    }
    TEdifScanner* scanner_ = nullptr;

private:
    const TEdifIndex::Impl& index_;
    int32_t record_;
    TEdifPoint at_;
};

// Collects forms as the scanner reports them: every form whose head lies in [first, last]
// lines, or, for a path, the forms open when the scan stops.
class FormCollector : public TEdifScanHandler {
public:
    FormCollector(const TEdifIndex::Impl& index, int32_t firstLine, int32_t lastLine)
        : index_(index), firstLine_(firstLine), lastLine_(lastLine) {}
    void Opened(TEdifFrame& frame, int32_t depth) override {
        if (frame.head.line < firstLine_ || frame.head.line > lastLine_)
            return;
        frame.extra = int32_t(forms.size());
        TEdifForm f;
        f.keyword = frame.keywordText;
        f.head = f.nameAt = frame.head;
        f.closed = false;
        f.parent = -1;
        for (int32_t i = depth - 2; i >= 0 && scanner->FrameAt(size_t(i)).extra >= 0; --i) {
            f.parent = scanner->FrameAt(size_t(i)).extra;
            break;
        }
        forms.push_back(std::move(f));
        ++pending;
    }
    void Named(TEdifFrame& frame, int32_t) override {
        if (frame.extra < 0)
            return;
        TEdifForm& f = forms[size_t(frame.extra)];
        f.name = frame.name;
        f.originalName = frame.original;
        f.nameAt = frame.nameAt;
        f.nameLength = frame.nameLength;
    }
    void Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) override {
        if (size_t(depth) <= pathEnds.size() && !pathClosed[size_t(depth) - 1]) {
            pathEnds[size_t(depth) - 1] = closeAt;
            pathClosed[size_t(depth) - 1] = true;
        }
        if (frame.extra < 0)
            return;
        TEdifForm& f = forms[size_t(frame.extra)];
        f.end = closeAt;
        f.closed = true;
        --pending;
    }
    // The forms left open get the ends the index knows, or the place the scan stopped.
    void FinishOpen(TEdifPoint stoppedAt) {
        for (TEdifForm& f : forms) {
            if (f.closed)
                continue;
            const int32_t r = RecordAt(f.head);
            if (r >= 0) {
                f.end = index_.records.items[size_t(r)].End();
                f.closed = index_.records.items[size_t(r)].flags & TEdifRecord::kClosed;
            } else {
                f.end = stoppedAt;
            }
        }
    }
    int32_t RecordAt(TEdifPoint head) const {
        const auto& items = index_.records.items;
        const auto it =
            std::lower_bound(items.begin(), items.end(), head,
                             [](const TEdifRecord& r, const TEdifPoint& p) { return r.Head() < p; });
        return it != items.end() && it->Head() == head ? int32_t(it - items.begin()) : -1;
    }
    std::vector<TEdifForm> forms;
    int64_t pending = 0;
    // For a path: where each of the forms open at the place closes, by depth.
    std::vector<TEdifPoint> pathEnds;
    std::vector<bool> pathClosed;
    TEdifScanner* scanner = nullptr;

private:
    const TEdifIndex::Impl& index_;
    int32_t firstLine_;
    int32_t lastLine_;
};

}  // namespace

// Places the scanner where reading up to `at` costs least: after the last child of the
// innermost record around `at` that ends before it (the records around taken as open), or
// at that record's head.
static void StartNear(const TEdifIndex::Impl& index, TEdifScanner& scanner, TEdifPoint at) {
    const auto& items = index.records.items;
    const int32_t around = index.InnermostAt(at);
    const auto after =
        std::upper_bound(items.begin(), items.end(), at,
                         [](const TEdifPoint& p, const TEdifRecord& r) { return p < r.Head(); });
    int32_t child = int32_t(after - items.begin()) - 1;
    while (child >= 0 && items[size_t(child)].parent != around)
        child = items[size_t(child)].parent;
    std::vector<int32_t> open;
    for (int32_t p = around; p >= 0; p = items[size_t(p)].parent)
        open.push_back(p);
    std::reverse(open.begin(), open.end());
    auto keywordOf = [&](int32_t r) { return EdifKeywordOf(EdifKindName(items[size_t(r)].kind)); };
    if (child >= 0 && child != around && items[size_t(child)].End() < at &&
        (items[size_t(child)].flags & TEdifRecord::kClosed)) {
        const TEdifPoint end = items[size_t(child)].End();
        scanner.Restart({end.line, end.column + 1});
        for (const int32_t r : open)
            scanner.PushOpenFrame(items[size_t(r)].Head(), keywordOf(r), r);
        return;
    }
    if (around < 0) {
        scanner.Restart({0, 0});
        return;
    }
    scanner.Restart(items[size_t(around)].Head());
    open.pop_back();
    for (const int32_t r : open)
        scanner.PushOpenFrame(items[size_t(r)].Head(), keywordOf(r), r);
}

int32_t TEdifIndex::DefinitionAt(TEdifPoint at) const {
    const Impl& index = *impl_;
    if (!index.indexCurrent)
        return -1;
    const int32_t around = index.InnermostAt(at);
    if (around < 0)
        return -1;
    const TEdifRecord& r = index.records.items[size_t(around)];
    if (r.nameLength > 0 && NameHolds(r.NameAt(), int32_t(r.nameLength), at))
        return around;
    int32_t found = -1;
    PlaceResolver resolver(index, around, at);
    resolver.onResolved = [&](const TEdifResolved& ref) {
        if (NameHolds(ref.nameAt, ref.nameLength, at))
            found = ref.target >= 0 ? ref.target : -1;
    };
    TEdifScanner scanner(index.lines, resolver);
    resolver.SetScanner(&scanner);
    resolver.scanner_ = &scanner;
    scanner.SetStopWhenEmpty(true);
    scanner.Restart(r.Head());
    while (scanner.Run(1 << 16) && found < 0) {
    }
    // A definition's own name, inside a record that is not itself one (a page's nested name).
    if (found < 0) {
        for (int32_t c = index.FirstChild(around); c >= 0 && c < r.subtreeEnd; c = index.NextSibling(c)) {
            const TEdifRecord& child = index.records.items[size_t(c)];
            if (NameHolds(child.NameAt(), int32_t(child.nameLength), at))
                return c;
        }
    }
    return found;
}

std::vector<TEdifReference> TEdifIndex::References(int32_t definition) const {
    const Impl& index = *impl_;
    std::vector<TEdifReference> out;
    if (!index.indexCurrent || definition < 0 || definition >= int32_t(index.records.items.size()))
        return out;
    const TEdifRecord& def = index.records.items[size_t(definition)];
    int32_t scope = -1;  // -1: the whole text
    bool everyPortRef = false;
    switch (def.kind) {
        case TEdifKind::Library:
        case TEdifKind::External:
        case TEdifKind::Cell:
        case TEdifKind::View:
        case TEdifKind::Port:
            break;
        case TEdifKind::Instance:
            scope = index.EnclosingOfKind(definition, TEdifKind::View);
            if (scope < 0)
                return out;
            break;
        case TEdifKind::Net:
            scope = definition;
            everyPortRef = true;
            break;
        default:
            return out;
    }
    TEdifScopeCache cache(index);
    TEdifResolver resolver(index, scope < 0 ? 0 : scope);
    resolver.SetCache(&cache);
    resolver.onResolved = [&](const TEdifResolved& ref) {
        const bool counts = everyPortRef ? ref.kind == TEdifRefKind::PortRef : ref.target == definition;
        if (counts)
            out.push_back({ref.kind, ref.nameAt, ref.nameLength});
    };
    TEdifScanner scanner(index.lines, resolver);
    resolver.SetScanner(&scanner);
    if (scope >= 0) {
        scanner.SetStopWhenEmpty(true);
        scanner.Restart(index.records.items[size_t(scope)].Head());
    } else {
        scanner.Restart({0, 0});
    }
    while (scanner.Run(1 << 16)) {
    }
    return out;
}

std::vector<TEdifForm> TEdifIndex::FormsOnLines(int32_t firstLine, int32_t lastLine) const {
    const Impl& index = *impl_;
    if (!index.indexCurrent || firstLine > lastLine)
        return {};
    FormCollector collector(index, firstLine, lastLine);
    TEdifScanner scanner(index.lines, collector);
    collector.scanner = &scanner;
    StartNear(index, scanner, {firstLine, 0});
    // Read the lines, then on until the forms that began on them have closed, or the index
    // knows their ends, or the reading went on too long.
    scanner.SetStopAt({lastLine + 1, 0});
    while (scanner.Run(1 << 16)) {
    }
    scanner.SetStopAt({INT32_MAX, INT32_MAX});
    const int64_t limit = scanner.BytesScanned() + kMaxBytesPastRange;
    auto unknownEndsLeft = [&] {
        for (const TEdifForm& f : collector.forms)
            if (!f.closed && collector.RecordAt(f.head) < 0)
                return true;
        return false;
    };
    while (collector.pending > 0 && unknownEndsLeft() && scanner.BytesScanned() < limit &&
           scanner.Run(1 << 12)) {
    }
    collector.FinishOpen(scanner.Position());
    return std::move(collector.forms);
}

std::vector<TEdifForm> TEdifIndex::FormPathAt(TEdifPoint at) const {
    const Impl& index = *impl_;
    std::vector<TEdifForm> path;
    if (!index.indexCurrent)
        return path;
    FormCollector none(index, 1, 0);  // collects nothing; only the frames matter
    TEdifScanner scanner(index.lines, none);
    none.scanner = &scanner;
    StartNear(index, scanner, at);
    scanner.SetStopAt(at);
    while (scanner.Run(1 << 16)) {
    }
    const size_t depth = scanner.Depth();
    for (size_t i = 0; i < depth; ++i) {
        const TEdifFrame& frame = scanner.FrameAt(i);
        TEdifForm f;
        f.keyword = frame.keywordText;
        f.head = f.nameAt = frame.head;
        f.parent = int32_t(i) - 1;
        f.closed = false;
        if (frame.record >= 0) {
            const TEdifRecord& r = index.records.items[size_t(frame.record)];
            if (f.keyword.empty())
                f.keyword = EdifKindName(r.kind);
            f.name = index.records.Name(r);
            f.nameAt = r.NameAt();
            f.nameLength = int32_t(r.nameLength);
            f.end = r.End();
            f.closed = r.flags & TEdifRecord::kClosed;
        } else {
            f.name = frame.name;
            f.originalName = frame.original;
            if (frame.hasName) {
                f.nameAt = frame.nameAt;
                f.nameLength = frame.nameLength;
            }
        }
        path.push_back(std::move(f));
    }
    // The ends of the forms the index does not keep: read on until they close.
    none.pathEnds.assign(depth, {});
    none.pathClosed.assign(depth, false);
    for (size_t i = 0; i < depth; ++i)
        none.pathClosed[i] = scanner.FrameAt(i).record >= 0;  // the index knows these ends
    const std::vector<bool> known = none.pathClosed;
    scanner.SetStopAt({INT32_MAX, INT32_MAX});
    const int64_t limit = scanner.BytesScanned() + kMaxBytesPastRange;
    auto anyOpen = [&] {
        return std::find(none.pathClosed.begin(), none.pathClosed.end(), false) != none.pathClosed.end();
    };
    while (anyOpen() && scanner.BytesScanned() < limit && scanner.Run(1 << 12)) {
    }
    for (size_t i = 0; i < depth; ++i) {
        if (known[i])
            continue;
        path[i].closed = none.pathClosed[i];
        path[i].end = none.pathClosed[i] ? none.pathEnds[i] : scanner.Position();
    }
    return path;
}

std::vector<TEdifFoldRange> TEdifIndex::FoldRanges(int32_t firstLine, int32_t lastLine) const {
    std::vector<TEdifFoldRange> out;
    if (!impl_->indexCurrent || firstLine > lastLine)
        return out;
    for (const TEdifForm& f : FormPathAt({firstLine, 0}))
        if (f.closed && f.end.line > f.head.line)
            out.push_back({f.head.line, f.end.line});
    for (const TEdifForm& f : FormsOnLines(firstLine, lastLine))
        if (f.end.line > f.head.line)
            out.push_back({f.head.line, f.end.line});
    std::sort(out.begin(), out.end(), [](const TEdifFoldRange& a, const TEdifFoldRange& b) {
        return a.firstLine != b.firstLine ? a.firstLine < b.firstLine : a.lastLine > b.lastLine;
    });
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace tarnwick
