#include "textengine/edif/edif_index.h"

#include <algorithm>

#include "textengine/edif/edif_check.h"
#include "textengine/edif/edif_index_impl.h"

namespace tarnwick {

namespace {

// A rescan after an edit is done at once; past this size the edit is handed to a rebuild in
// slices instead, so no keystroke waits on a large form.
constexpr int32_t kMaxRescanLines = 20000;
constexpr int64_t kSliceBytes = 1 << 16;

}  // namespace

const char* EdifKindName(TEdifKind kind) {
    static const char* const kNames[] = {"edif",     "library", "external", "cell",     "view", "interface",
                                         "contents", "page",    "port",     "instance", "net",  "design"};
    return kNames[size_t(kind)];
}

const char* EdifRefKindName(TEdifRefKind kind) {
    static const char* const kNames[] = {"libraryRef", "cellRef", "viewRef", "instanceRef", "portRef"};
    return kNames[size_t(kind)];
}

TEdifIndex::Impl::Impl(const TEdifLines& lines) : lines(lines) {}
TEdifIndex::Impl::~Impl() = default;

void TEdifIndex::Impl::Reset() {
    records.Clear();
    viewCounts.clear();
    garbageNames_ = 0;
    indexCurrent = problemsCurrent = false;
    phase_ = Phase::Indexing;
    scanner_.reset();
    noter_.reset();
    builder_.reset();
    checker_.reset();
}

void TEdifIndex::Impl::StartIndexing() {
    records.Clear();
    viewCounts.clear();
    builder_ = std::make_unique<TEdifRecordBuilder>(records, 0, -1);
    // The check that follows works from what this reading notes, so it need not read again.
    if (checking)
        noter_ = std::make_unique<TEdifNotingBuilder>(*this, *builder_);
    scanner_ =
        std::make_unique<TEdifScanner>(lines, noter_ ? static_cast<TEdifScanHandler&>(*noter_) : *builder_);
    if (noter_)
        noter_->SetScanner(scanner_.get());
    scanner_->Restart({0, 0});
}

void TEdifIndex::Impl::FinishIndexing() {
    builder_->FinishOpen(scanner_->EndOfText());
    std::unique_ptr<TEdifReferenceLog> noted = noter_ ? noter_->Finish(*scanner_) : nullptr;
    scanner_.reset();
    noter_.reset();
    builder_.reset();
    records.items.shrink_to_fit();
    records.names.shrink_to_fit();
    indexCurrent = true;
    StartChecking(std::move(noted));
}

void TEdifIndex::Impl::StartChecking(std::unique_ptr<TEdifReferenceLog> noted) {
    problemsCurrent = false;
    if (!checking) {
        phase_ = Phase::Done;
        return;
    }
    phase_ = Phase::Checking;
    if (!checker_)
        checker_ = std::make_unique<TEdifChecker>(*this);
    checker_->StartFull(std::move(noted));
}

bool TEdifIndex::Impl::Step(const TEdifBudget& budget) {
    const auto deadline = std::chrono::steady_clock::now() + budget.time;
    int64_t bytesLeft = budget.bytes;
    if (phase_ == Phase::Indexing) {
        if (!scanner_)
            StartIndexing();
        for (;;) {
            const int64_t before = scanner_->BytesScanned();
            const bool more = scanner_->Run(std::min(kSliceBytes, std::max<int64_t>(bytesLeft, 1)));
            bytesLeft -= scanner_->BytesScanned() - before;
            if (!more) {
                FinishIndexing();
                break;
            }
            if (bytesLeft <= 0 || std::chrono::steady_clock::now() >= deadline)
                return false;
        }
    }
    if (phase_ == Phase::Checking) {
        if (!checker_->Run(deadline, bytesLeft))
            return false;
        problemsCurrent = true;
        phase_ = Phase::Done;
    }
    return true;
}

void TEdifIndex::Impl::Update(int32_t firstLine, int32_t lastLine, int32_t lineDelta) {
    if (firstLine > lastLine && lineDelta == 0)
        return;
    lastLine = std::max(lastLine, firstLine);
    if (!indexCurrent) {
        Reset();
        return;
    }
    const int32_t oldLast = std::max(firstLine, lastLine - lineDelta);
    int32_t r = InnermostAt({firstLine, 0});
    while (r >= 0) {
        const TEdifRecord& rec = records.items[size_t(r)];
        const bool around =
            rec.headLine < firstLine && rec.endLine > oldLast && (rec.flags & TEdifRecord::kClosed);
        if (around) {
            if (rec.endLine - rec.headLine > kMaxRescanLines)
                break;
            // The view around is an ancestor, so its index survives the rescan; its counts
            // do not when the rescan replaces it.
            const int32_t view = EnclosingOfKind(r, TEdifKind::View);
            const TEdifCounts old = view >= 0 ? CountsOf(view) : TEdifCounts{};
            bool namesChanged = false, outsideView = false;
            if (RescanRecord(r, lineDelta, namesChanged, outsideView)) {
                if (outsideView) {
                    if (checking)
                        StartChecking();
                } else {
                    Recheck(r, view, old.errors, old.warnings, lineDelta);
                }
                return;
            }
        }
        r = rec.parent;
    }
    Reset();
}

// Scans the record again from its head; true, with the records replaced, when the form
// closes exactly where it closed before (moved by the lines the edit added), since then the
// text after it reads as it did.
// After record was rescanned: the problems of the view around it again (names of nets and
// instances are only referred to inside their view), or of the record itself when it is not
// inside a view, or a full check.
void TEdifIndex::Impl::Recheck(int32_t record, int32_t view, uint16_t oldErrors, uint16_t oldWarnings,
                               int32_t lineDelta) {
    if (!checking)
        return;
    if (phase_ != Phase::Done) {
        StartChecking();  // a check in progress read text that is gone
        return;
    }
    const int32_t region = view >= 0 ? view : record;
    const TEdifRecord& r = records.items[size_t(region)];
    const TEdifCounts old{oldErrors, oldWarnings};
    if (!checker_->RecheckRecord(region, {r.endLine - lineDelta, r.endColumn}, lineDelta,
                                 view >= 0 ? &old : nullptr))
        StartChecking();
}

// Whether the names of old and fresh differ in a way code outside their view could see:
// any definition other than a net, an instance or a page.
static bool NamesChanged(const TEdifRecords& records, size_t first, size_t count, const TEdifRecords& fresh,
                         bool& outsideView) {
    bool changed = false;
    const size_t common = std::min(count, fresh.items.size());
    size_t i = 0;
    for (; i < common; ++i) {
        const TEdifRecord& a = records.items[first + i];
        const TEdifRecord& b = fresh.items[i];
        if (a.kind != b.kind || records.Name(a) != fresh.Name(b))
            break;
    }
    auto local = [](TEdifKind k) {
        return k == TEdifKind::Net || k == TEdifKind::Instance || k == TEdifKind::Page;
    };
    for (size_t j = i; j < count; ++j) {
        changed = true;
        outsideView |= !local(records.items[first + j].kind);
    }
    for (size_t j = i; j < fresh.items.size(); ++j) {
        changed = true;
        outsideView |= !local(fresh.items[j].kind);
    }
    return changed;
}

bool TEdifIndex::Impl::RescanRecord(int32_t record, int32_t lineDelta, bool& namesChanged,
                                    bool& outsideView) {
    const TEdifRecord& old = records.items[size_t(record)];
    const TEdifPoint expectedEnd{old.endLine + lineDelta, old.endColumn};
    TEdifRecords fresh;
    TEdifRecordBuilder builder(fresh, record, old.parent);
    TEdifScanner scanner(lines, builder);
    scanner.SetStopWhenEmpty(true);
    scanner.Restart(old.Head());
    while (scanner.Run(4096))
        if (scanner.Position() > expectedEnd)
            return false;
    if (scanner.AtEnd() || fresh.items.empty())
        return false;
    const TEdifRecord& top = fresh.items.front();
    if (top.kind != old.kind || top.End() != expectedEnd || !(top.flags & TEdifRecord::kClosed))
        return false;
    namesChanged = NamesChanged(records, size_t(record), size_t(old.subtreeEnd - record), fresh, outsideView);
    SpliceRecords(record, fresh, lineDelta);
    return true;
}

void TEdifIndex::Impl::SpliceRecords(int32_t record, TEdifRecords& fresh, int32_t lineDelta) {
    std::vector<TEdifRecord>& items = records.items;
    const size_t r = size_t(record);
    const size_t oldCount = size_t(items[r].subtreeEnd) - r;
    const size_t newCount = fresh.items.size();
    const int32_t countDelta = int32_t(newCount) - int32_t(oldCount);
    for (size_t i = r; i < r + oldCount; ++i)
        garbageNames_ += items[i].nameLength;
    const uint32_t base = uint32_t(records.names.size());
    records.names.append(fresh.names);
    for (TEdifRecord& f : fresh.items)
        f.nameOffset += base;
    if (countDelta > 0)
        items.insert(items.begin() + std::ptrdiff_t(r + oldCount), size_t(countDelta), TEdifRecord{});
    else if (countDelta < 0)
        items.erase(items.begin() + std::ptrdiff_t(r + newCount),
                    items.begin() + std::ptrdiff_t(r + oldCount));
    std::copy(fresh.items.begin(), fresh.items.end(), items.begin() + std::ptrdiff_t(r));
    if (lineDelta != 0 || countDelta != 0) {
        for (size_t i = r + newCount; i < items.size(); ++i) {
            TEdifRecord& x = items[i];
            x.headLine += lineDelta;
            x.endLine += lineDelta;
            if (x.parent >= record)
                x.parent += countDelta;
            x.subtreeEnd += countDelta;
        }
    }
    // The views replaced get their counts from the recheck that follows.
    const int32_t oldEnd = record + int32_t(oldCount);
    std::erase_if(viewCounts, [&](const TEdifViewCounts& v) { return v.view >= record && v.view < oldEnd; });
    if (countDelta != 0)
        for (TEdifViewCounts& v : viewCounts)
            if (v.view >= oldEnd)
                v.view += countDelta;
    for (int32_t a = items[r].parent; a >= 0; a = items[size_t(a)].parent) {
        items[size_t(a)].endLine += lineDelta;
        items[size_t(a)].subtreeEnd += countDelta;
    }
    if (garbageNames_ > (size_t(1) << 20) && garbageNames_ * 2 > records.names.size()) {
        records.Compact();
        garbageNames_ = 0;
    }
}

TEdifCounts TEdifIndex::Impl::CountsOf(int32_t view) const {
    const auto it = std::lower_bound(viewCounts.begin(), viewCounts.end(), view,
                                     [](const TEdifViewCounts& v, int32_t r) { return v.view < r; });
    return it != viewCounts.end() && it->view == view ? it->counts : TEdifCounts{};
}

TEdifCounts& TEdifIndex::Impl::CountsFor(int32_t view) {
    auto it = std::lower_bound(viewCounts.begin(), viewCounts.end(), view,
                               [](const TEdifViewCounts& v, int32_t r) { return v.view < r; });
    if (it == viewCounts.end() || it->view != view)
        it = viewCounts.insert(it, TEdifViewCounts{view, {}});
    return it->counts;
}

int32_t TEdifIndex::Impl::FirstChild(int32_t parent) const {
    const auto& items = records.items;
    if (parent < 0)
        return items.empty() ? -1 : 0;
    if (size_t(parent) >= items.size())
        return -1;
    return parent + 1 < items[size_t(parent)].subtreeEnd ? parent + 1 : -1;
}

int32_t TEdifIndex::Impl::NextSibling(int32_t index) const {
    const auto& items = records.items;
    if (index < 0 || size_t(index) >= items.size())
        return -1;
    const TEdifRecord& r = items[size_t(index)];
    const int32_t limit = r.parent < 0 ? int32_t(items.size()) : items[size_t(r.parent)].subtreeEnd;
    return r.subtreeEnd < limit ? r.subtreeEnd : -1;
}

int32_t TEdifIndex::Impl::InnermostAt(TEdifPoint at) const {
    const auto& items = records.items;
    auto after = std::upper_bound(items.begin(), items.end(), at,
                                  [](const TEdifPoint& p, const TEdifRecord& r) { return p < r.Head(); });
    int32_t i = int32_t(after - items.begin()) - 1;
    while (i >= 0 && !items[size_t(i)].Holds(at))
        i = items[size_t(i)].parent;
    return i;
}

TEdifDefinition TEdifIndex::Impl::Definition(int32_t index) const {
    TEdifDefinition d;
    if (index < 0 || size_t(index) >= records.items.size())
        return d;
    const TEdifRecord& r = records.items[size_t(index)];
    d.index = index;
    d.kind = r.kind;
    d.name = records.Name(r);
    d.renamed = r.flags & TEdifRecord::kRenamed;
    d.isArray = r.flags & TEdifRecord::kArray;
    d.head = r.Head();
    d.nameAt = r.NameAt();
    d.nameLength = int32_t(r.nameLength);
    d.end = r.End();
    d.closed = r.flags & TEdifRecord::kClosed;
    d.parent = r.parent;
    d.subtreeEnd = r.subtreeEnd;
    return d;
}

// ---- The public face --------------------------------------------------------------------

TEdifIndex::TEdifIndex(const TEdifLines& lines) : impl_(std::make_unique<Impl>(lines)) {}
TEdifIndex::~TEdifIndex() = default;

void TEdifIndex::Reset() { impl_->Reset(); }
bool TEdifIndex::Step(const TEdifBudget& budget) { return impl_->Step(budget); }
void TEdifIndex::BuildAll() {
    while (!impl_->Step({std::chrono::seconds(3600), INT64_MAX})) {
    }
}
bool TEdifIndex::IsIndexCurrent() const { return impl_->indexCurrent; }
bool TEdifIndex::AreProblemsCurrent() const { return impl_->problemsCurrent; }
void TEdifIndex::SetChecking(bool on) {
    if (impl_->checking == on)
        return;
    impl_->checking = on;
    impl_->Reset();
}
void TEdifIndex::Update(int32_t firstLine, int32_t lastLine, int32_t lineDelta) {
    impl_->Update(firstLine, lastLine, lineDelta);
}
int32_t TEdifIndex::DefinitionCount() const { return int32_t(impl_->records.items.size()); }
TEdifDefinition TEdifIndex::Definition(int32_t index) const { return impl_->Definition(index); }
int32_t TEdifIndex::FirstChild(int32_t parent) const { return impl_->FirstChild(parent); }
int32_t TEdifIndex::NextSibling(int32_t index) const { return impl_->NextSibling(index); }
int32_t TEdifIndex::InnermostAt(TEdifPoint at) const { return impl_->InnermostAt(at); }
size_t TEdifIndex::MemoryBytes() const {
    size_t bytes = impl_->records.Bytes() + impl_->problems.capacity() * sizeof(TEdifProblem) +
                   impl_->viewCounts.capacity() * sizeof(TEdifViewCounts);
    for (const TEdifProblem& p : impl_->problems)
        bytes += p.message.capacity() > 15 ? p.message.capacity() : 0;
    return bytes;
}
int64_t TEdifIndex::ProblemCount() const { return impl_->problemCount; }
int64_t TEdifIndex::ErrorCount() const { return impl_->errorCount; }
const std::vector<TEdifProblem>& TEdifIndex::Problems() const { return impl_->problems; }

}  // namespace tarnwick
