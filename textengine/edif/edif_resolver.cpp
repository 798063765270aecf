#include "textengine/edif/edif_resolver.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tarnwick {

namespace {

std::string Quoted(std::string_view name) { return "`" + std::string(name) + "`"; }

// What a frame is, for a message: "net `n1`", "joined"; empty for a form without keyword.
std::string FormWhat(const TEdifFrame& f) {
    std::string what = f.keywordText;
    if (f.hasName)
        what += " " + Quoted(f.name);
    return what;
}

bool IsLibraryKind(TEdifKind k) { return k == TEdifKind::Library || k == TEdifKind::External; }

}  // namespace

std::string EdifScopeName(const TEdifIndex::Impl& index, int32_t record) {
    if (record < 0)
        return "the netlist";
    const TEdifRecord& r = index.records.items[size_t(record)];
    if (r.kind == TEdifKind::Interface || r.kind == TEdifKind::Contents) {
        const int32_t cell = index.EnclosingOfKind(record, TEdifKind::Cell);
        return std::string("the ") + EdifKindName(r.kind) + " of " + EdifScopeName(index, cell);
    }
    return std::string(EdifKindName(r.kind)) + " " + Quoted(index.records.Name(r));
}

// ---- Lookups by name in the records ------------------------------------------------------

int32_t TEdifIndex::Impl::EnclosingOfKind(int32_t record, TEdifKind kind) const {
    for (int32_t i = record; i >= 0; i = records.items[size_t(i)].parent) {
        const TEdifKind k = records.items[size_t(i)].kind;
        if (k == kind || (IsLibraryKind(kind) && IsLibraryKind(k)))
            return i;
    }
    return -1;
}

int32_t TEdifIndex::Impl::FindChild(int32_t scope, TEdifKind kind, std::string_view name) const {
    if (scope < 0)
        return -1;
    for (int32_t c = FirstChild(scope); c >= 0; c = NextSibling(c)) {
        const TEdifRecord& r = records.items[size_t(c)];
        const bool kindMatches = r.kind == kind || (IsLibraryKind(kind) && IsLibraryKind(r.kind));
        if (kindMatches && records.Name(r) == name)
            return c;
    }
    return -1;
}

int32_t TEdifIndex::Impl::FindLibrary(std::string_view name) const {
    for (int32_t t = FirstChild(-1); t >= 0; t = NextSibling(t)) {
        const TEdifRecord& r = records.items[size_t(t)];
        if (r.kind == TEdifKind::Edif) {
            const int32_t found = FindChild(t, TEdifKind::Library, name);
            if (found >= 0)
                return found;
        } else if (IsLibraryKind(r.kind) && records.Name(r) == name) {
            return t;
        }
    }
    return -1;
}

int32_t TEdifIndex::Impl::FindInstance(int32_t view, std::string_view name, TEdifScopeCache* cache) const {
    const auto find = [&](int32_t scope) {
        return cache ? cache->Find(scope, TEdifKind::Instance, name)
                     : FindChild(scope, TEdifKind::Instance, name);
    };
    for (int32_t c = FirstChild(view); c >= 0; c = NextSibling(c)) {
        if (records.items[size_t(c)].kind != TEdifKind::Contents)
            continue;
        int32_t found = find(c);
        for (int32_t page = FirstChild(c); found < 0 && page >= 0; page = NextSibling(page))
            if (records.items[size_t(page)].kind == TEdifKind::Page)
                found = find(page);
        if (found >= 0)
            return found;
    }
    return -1;
}

int32_t TEdifIndex::Impl::FindPort(int32_t view, std::string_view name, TEdifScopeCache* cache) const {
    for (int32_t c = FirstChild(view); c >= 0; c = NextSibling(c))
        if (records.items[size_t(c)].kind == TEdifKind::Interface) {
            const int32_t found =
                cache ? cache->Find(c, TEdifKind::Port, name) : FindChild(c, TEdifKind::Port, name);
            if (found >= 0)
                return found;
        }
    return -1;
}

int32_t TEdifIndex::Impl::InstanceView(int32_t instance) const {
    int32_t view = -1;
    TEdifResolver resolver(*this, instance);
    resolver.SetResolvePortsThroughInstances(false);
    resolver.onInstanceView = [&](int32_t inst, int32_t v) {
        if (inst == instance && view < 0)
            view = v;
    };
    TEdifScanner scanner(lines, resolver);
    resolver.SetScanner(&scanner);
    scanner.SetStopWhenEmpty(true);
    scanner.Restart(records.items[size_t(instance)].Head());
    while (scanner.Run(1 << 16)) {
    }
    return view;
}

void TEdifIndex::Impl::ResolveRecord(int32_t record,
                                     const std::function<void(const TEdifResolved&)>& found) const {
    TEdifResolver resolver(*this, record);
    resolver.onResolved = found;
    TEdifScanner scanner(lines, resolver);
    resolver.SetScanner(&scanner);
    scanner.SetStopWhenEmpty(true);
    scanner.Restart(records.items[size_t(record)].Head());
    while (scanner.Run(1 << 16)) {
    }
}

// ---- The cache ----------------------------------------------------------------------------

const TEdifScopeCache::Names& TEdifScopeCache::NamesOf(int32_t scope, TEdifKind kind) {
    const uint64_t key = (uint64_t(uint32_t(scope)) << 8) | uint64_t(kind);
    if (lastNames_ && lastKey_ == key)
        return *lastNames_;
    auto [it, added] = scopes_.try_emplace(key);
    Names& names = it->second;
    if (added) {
        for (int32_t c = index_.FirstChild(scope); c >= 0; c = index_.NextSibling(c)) {
            const TEdifRecord& r = index_.records.items[size_t(c)];
            if (r.kind == kind || (IsLibraryKind(kind) && IsLibraryKind(r.kind)))
                names.push_back({std::hash<std::string_view>{}(index_.records.Name(r)), c});
        }
        std::stable_sort(names.begin(), names.end(),
                         [](const Named& a, const Named& b) { return a.hash < b.hash; });
    }
    lastKey_ = key;
    lastNames_ = &names;
    return names;
}

int32_t TEdifScopeCache::Find(int32_t scope, TEdifKind kind, std::string_view name) {
    if (scope < 0)
        return -1;
    const Names& names = NamesOf(scope, kind);
    const size_t hash = std::hash<std::string_view>{}(name);
    auto found = std::lower_bound(names.begin(), names.end(), hash,
                                  [](const Named& entry, size_t h) { return entry.hash < h; });
    for (; found != names.end() && found->hash == hash; ++found)
        if (index_.records.Name(found->record) == name)
            return found->record;
    return -1;
}

int32_t& TEdifScopeCache::ViewSlot(int32_t instance) {
    if (instanceViews_.empty())
        instanceViews_.assign(index_.records.items.size(), kUnknown);
    return instanceViews_[size_t(instance)];
}

int32_t TEdifScopeCache::InstanceView(int32_t instance) {
    int32_t& view = ViewSlot(instance);
    if (view == kUnknown)
        view = index_.InstanceView(instance);
    return view;
}

void TEdifScopeCache::SetInstanceView(int32_t instance, int32_t view) { ViewSlot(instance) = view; }

void TJoinedPorts::Clear() {
    listed_.clear();
    if (hashed_.bucket_count() > 64)
        hashed_ = {};  // after a large net, so that clearing does not cost its size each time
    else
        hashed_.clear();
}

bool TJoinedPorts::Insert(std::string_view port, std::string_view instance) {
    std::string key;
    key.reserve(port.size() + 1 + instance.size());
    key.append(port).append(1, '\0').append(instance);
    if (hashed_.empty()) {
        if (std::find(listed_.begin(), listed_.end(), key) != listed_.end())
            return false;
        if (listed_.size() < kListed) {
            listed_.push_back(std::move(key));
            return true;
        }
        hashed_.insert(std::make_move_iterator(listed_.begin()), std::make_move_iterator(listed_.end()));
        listed_.clear();
    }
    return hashed_.insert(std::move(key)).second;
}

// ---- The log of a reading ------------------------------------------------------------------

void TEdifReferenceLog::Add(TEdifSeverity severity, TEdifPoint at, int32_t length, std::string message,
                            int32_t view) {
    problems.push_back({entries.size(), severity, at, length, std::move(message), view});
}

int32_t TEdifReferenceLog::Note(const Entry& entry, std::string_view keyword) {
    if (!entry.usualKeyword)
        unusualKeywords_.emplace_back(entries.size(), std::string(keyword));
    entries.push_back(entry);
    return int32_t(entries.size() - 1);
}

std::string_view TEdifReferenceLog::Keyword(size_t entry) const {
    const Entry& e = entries[entry];
    if (e.usualKeyword)
        return EdifRefKindName(e.kind);
    const auto it = std::lower_bound(unusualKeywords_.begin(), unusualKeywords_.end(), entry,
                                     [](const auto& k, size_t i) { return k.first < i; });
    return it != unusualKeywords_.end() && it->first == entry ? std::string_view(it->second)
                                                              : std::string_view(EdifRefKindName(e.kind));
}

// ---- The resolving scan --------------------------------------------------------------------

TEdifResolver::TEdifResolver(const TEdifIndex::Impl& index, int32_t firstRecord)
    : index_(index), nextRecord_(std::max(firstRecord, 0)) {
    if (firstRecord > 0 && size_t(firstRecord) < index.records.items.size())
        for (int32_t p = index.records.items[size_t(firstRecord)].parent; p >= 0;
             p = index.records.items[size_t(p)].parent)
            enclosing_.push_back(p);
    std::reverse(enclosing_.begin(), enclosing_.end());
}

// The record of a structural form the scan opened: normally the next one in order.
int32_t TEdifResolver::RecordFor(const TEdifFrame& frame) {
    const auto& items = index_.records.items;
    if (size_t(nextRecord_) < items.size() && items[size_t(nextRecord_)].Head() == frame.head)
        return nextRecord_++;
    const auto it = std::lower_bound(items.begin(), items.end(), frame.head,
                                     [](const TEdifRecord& r, const TEdifPoint& p) { return r.Head() < p; });
    if (it == items.end() || it->Head() != frame.head)
        return -1;
    nextRecord_ = int32_t(it - items.begin()) + 1;
    return nextRecord_ - 1;
}

int32_t TEdifResolver::Around(int32_t depth) const {
    for (int32_t i = depth - 1; i >= 0; --i) {
        const int32_t r = scanner_->FrameAt(size_t(i)).record;
        if (r >= 0)
            return r;
    }
    return enclosing_.empty() ? -1 : enclosing_.back();
}

int32_t TEdifResolver::ViewHere() const {
    return scanner_ ? index_.EnclosingOfKind(Around(int32_t(scanner_->Depth())), TEdifKind::View) : -1;
}

int32_t TEdifResolver::Find(int32_t scope, TEdifKind kind, std::string_view name) {
    return cache_ ? cache_->Find(scope, kind, name) : index_.FindChild(scope, kind, name);
}

void TEdifResolver::Report(TEdifSeverity severity, TEdifPoint at, int32_t length, std::string message,
                           int32_t view) {
    if (sink_)
        sink_->Add(severity, at, std::max(length, 1), std::move(message), view);
}

void TEdifResolver::Opened(TEdifFrame& frame, int32_t depth) {
    TEdifKind kind;
    if (frame.record < 0 && EdifKindOf(frame.keyword, kind))  // a record builder may have given it
        frame.record = RecordFor(frame);
    if (depth == 1 && topEnded_ && !topWhat_.empty())
        topEndedEarly_ = true;
    if (frame.keyword == TEdifKeyword::Joined) {
        frame.extra = int32_t(openJoined_);
        if (openJoined_ == joined_.size())
            joined_.emplace_back();
        else
            joined_[openJoined_].Clear();
        ++openJoined_;
    }
    // A form that starts a line no further right than the form around it: that one most
    // likely lacks its closing parenthesis.
    // Only in text that indents its forms at all.
    if (!haveSuspect_ && frame.indent >= 0 && depth >= 2) {
        // The nearest form around that starts a line, looking past a few that do not.
        int32_t k = depth - 2;
        while (k > 0 && k > depth - 10 && scanner_->FrameAt(size_t(k)).indent < 0)
            --k;
        const TEdifFrame& outer = scanner_->FrameAt(size_t(k));
        if (outer.indent >= 0 && outer.indent < frame.indent)
            sawIndentedChild_ = true;
        else if (sawIndentedChild_ && outer.indent >= frame.indent && outer.head.line < frame.head.line) {
            haveSuspect_ = true;
            suspectAt_ = outer.head;
            suspectWhat_ = FormWhat(outer);
        }
    }
}

void TEdifResolver::Atom(TEdifFrame& frame, std::string_view text, TEdifPoint) {
    if (frame.keyword == TEdifKeyword::EdifVersion && frame.childName.size() < 64)
        frame.childName += " " + std::string(text.substr(0, 16));
}

// The target of a reference form; scope is left at the record the name was looked for in, so
// that a message can say where when the name is not there.
int32_t TEdifResolver::Resolve(const TEdifReferenceForm& ref, int32_t& scope) {
    const bool hasInner = ref.inner != -1;
    if (ref.inner == -2)
        return -2;
    switch (ref.kind) {
        case TEdifRefKind::LibraryRef:
            return index_.FindLibrary(ref.name);
        case TEdifRefKind::CellRef:
            scope = hasInner ? ref.inner : index_.EnclosingOfKind(ref.around, TEdifKind::Library);
            return Find(scope, TEdifKind::Cell, ref.name);
        case TEdifRefKind::ViewRef:
            scope = hasInner ? ref.inner : index_.EnclosingOfKind(ref.around, TEdifKind::Cell);
            return Find(scope, TEdifKind::View, ref.name);
        case TEdifRefKind::InstanceRef:
            scope = index_.EnclosingOfKind(ref.around, TEdifKind::View);
            return index_.FindInstance(scope, ref.name, cache_);
        case TEdifRefKind::PortRef:
            scope = index_.EnclosingOfKind(ref.around, TEdifKind::View);
            if (hasInner) {
                if (!portsThroughInstances_)
                    return -2;
                scope = cache_ ? cache_->InstanceView(ref.inner) : index_.InstanceView(ref.inner);
                if (scope < 0)
                    return -2;
            }
            return index_.FindPort(scope, ref.name, cache_);
    }
    return -1;
}

int32_t TEdifResolver::ResolveReference(const TEdifReferenceForm& ref) {
    int32_t scope = -1;
    const int32_t target = Resolve(ref, scope);
    if (target == -1)
        Report(TEdifSeverity::Error, ref.nameAt, ref.nameLength,
               std::string(ref.keyword) + " " + Quoted(ref.name) + " names " + NothingIn(ref.kind, scope),
               index_.EnclosingOfKind(ref.around, TEdifKind::View));
    if (onResolved)
        onResolved({ref.kind, ref.nameAt, ref.nameLength, target});
    return target;
}

// "no cell in library `work`", for a reference that Resolve found nothing for in scope.
std::string TEdifResolver::NothingIn(TEdifRefKind kind, int32_t scope) const {
    switch (kind) {
        case TEdifRefKind::LibraryRef:
            return "no library";
        case TEdifRefKind::CellRef:
            return "no cell in " + EdifScopeName(index_, scope);
        case TEdifRefKind::ViewRef:
            return "no view of " + EdifScopeName(index_, scope);
        case TEdifRefKind::InstanceRef:
            return "no instance in " + EdifScopeName(index_, index_.EnclosingOfKind(scope, TEdifKind::Cell));
        case TEdifRefKind::PortRef:
            return "no port of " + EdifScopeName(index_, index_.EnclosingOfKind(scope, TEdifKind::Cell));
    }
    return {};
}

void TEdifResolver::Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) {
    if (depth == 1 && enclosing_.empty() && !topEnded_) {
        topEnded_ = true;
        topEnd_ = closeAt;
        topWhat_ = FormWhat(frame);
    }
    if (frame.keyword == TEdifKeyword::Joined && frame.extra >= 0) {
        --openJoined_;
        return;
    }
    if (frame.keyword == TEdifKeyword::EdifVersion) {
        const std::string version = frame.name + frame.childName;
        if (version != "2 0 0")
            Report(TEdifSeverity::Warning, frame.head, int32_t(frame.keywordText.size()) + 1,
                   "edifVersion " + version + " is not 2 0 0", ViewHere());
        return;
    }
    TEdifRefKind kind;
    if (!IsEdifReference(frame.keyword, kind) || !frame.hasName)
        return;
    TEdifFrame* parent = depth >= 2 ? &scanner_->FrameAt(size_t(depth - 2)) : nullptr;
    const bool namesInstanceView = parent && parent->keyword == TEdifKeyword::Instance &&
                                   kind == TEdifRefKind::ViewRef && parent->record >= 0;
    const int32_t around = Around(depth);
    // Noted, the target is the entry that the log's reader resolves.
    const int32_t target = log_ ? log_->Note({frame.nameAt, frame.nameLength, around, frame.target, kind,
                                              frame.keywordText == EdifRefKindName(kind), namesInstanceView},
                                             frame.keywordText)
                                : ResolveReference({kind, frame.keywordText, frame.name, frame.nameAt,
                                                    frame.nameLength, around, frame.target});
    if (!parent)
        return;
    TEdifRefKind parentKind;
    if (IsEdifReference(parent->keyword, parentKind)) {
        parent->target = log_ || target >= 0 ? target : -2;
        parent->childName = frame.name;
    } else if (namesInstanceView && !log_) {
        if (onInstanceView)
            onInstanceView(parent->record, target);
        if (cache_)
            cache_->SetInstanceView(parent->record, target);
    } else if (parent->keyword == TEdifKeyword::Joined && kind == TEdifRefKind::PortRef) {
        CheckJoined(frame, depth);
    }
}

void TEdifResolver::CheckJoined(TEdifFrame& portRef, int32_t depth) {
    TEdifFrame& joined = scanner_->FrameAt(size_t(depth - 2));
    if (joined.extra < 0 || size_t(joined.extra) >= openJoined_)
        return;
    if (joined_[size_t(joined.extra)].Insert(portRef.name, portRef.childName))
        return;
    const TEdifFrame* net = depth >= 3 ? &scanner_->FrameAt(size_t(depth - 3)) : nullptr;
    std::string message = "port " + Quoted(portRef.name);
    if (!portRef.childName.empty())
        message += " of instance " + Quoted(portRef.childName);
    message += " is joined twice";
    if (net && net->keyword == TEdifKeyword::Net && net->hasName)
        message += " in net " + Quoted(net->name);
    Report(TEdifSeverity::Error, portRef.nameAt, portRef.nameLength, std::move(message), ViewHere());
}

// When the top form ended early and text went on, that end is where a ')' too many most
// likely stands; the stray one at the end of the text only follows from it.
void TEdifResolver::StrayClose(TEdifPoint at) {
    if (topEndedEarly_) {
        topEndedEarly_ = false;
        Report(TEdifSeverity::Error, topEnd_, 1,
               "')' too many: " + topWhat_ + " ends here but the text goes on", -1);
        return;
    }
    Report(TEdifSeverity::Error, at, 1, "')' closes no form", ViewHere());
}

void TEdifResolver::StringProblem(TEdifStringProblem problem, TEdifPoint at, int32_t length) {
    switch (problem) {
        case TEdifStringProblem::NeverCloses:
            Report(TEdifSeverity::Error, at, 1, "string never closes", -1);
            break;
        case TEdifStringProblem::BadEscape:
            Report(TEdifSeverity::Error, at, length, "bad % escape in string", ViewHere());
            break;
        case TEdifStringProblem::LonePercent:
            Report(TEdifSeverity::Warning, at, 1, "'%' that starts no escape is taken as a percent sign",
                   ViewHere());
            break;
    }
}

void TEdifResolver::FinishAtEnd(const TEdifScanner& scanner) {
    if (scanner.Depth() == 0)
        return;
    const TEdifFrame& outer = scanner.FrameAt(0);
    const TEdifPoint at = haveSuspect_ ? suspectAt_ : outer.head;
    const std::string what = haveSuspect_ ? suspectWhat_ : FormWhat(outer);
    Report(TEdifSeverity::Error, at, 1,
           what.empty() ? "'(' is never closed" : "'(' of " + what + " is never closed", -1);
}

}  // namespace tarnwick
