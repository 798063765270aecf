// An index of an EDIF 2 0 0 netlist: its structural forms (the edif root, libraries and
// externals, cells, views, interfaces, contents, pages, ports, instances, nets, the design)
// with their names and extents, the references between them, and the problems in the text.
//
// Only structural forms are kept (about 40 bytes and a name each, in document order); every
// other form is small and lies inside one of them, so the lookups rescan the text of the
// innermost structural form around a place instead of storing every form.
//
// Lines and columns are 0-based; a column is a byte offset into the stored line.
//
// Building runs in slices (Step), so a host can drive it from its idle time; after an edit
// Update rescans only the innermost structural form around the changed lines and falls back to
// a rebuild in slices when the edit changed the nesting around it.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/edif/edif_lines.h"

namespace tarnwick {

// The kinds of form the index keeps. Interface and Contents hold ports and instances/nets;
// Edif is the root. The outline shows the other kinds.
enum class TEdifKind : uint8_t {
    Edif,
    Library,
    External,
    Cell,
    View,
    Interface,
    Contents,
    Page,
    Port,
    Instance,
    Net,
    Design,
};
const char* EdifKindName(TEdifKind kind);  // "library", "cell", ...

enum class TEdifRefKind : uint8_t { LibraryRef, CellRef, ViewRef, InstanceRef, PortRef };
const char* EdifRefKindName(TEdifRefKind kind);  // "libraryRef", ...

struct TEdifPoint {
    int32_t line = 0;
    int32_t column = 0;
    friend auto operator<=>(const TEdifPoint&, const TEdifPoint&) = default;
};

// One structural form. name and originalName are valid until the index changes.
struct TEdifDefinition {
    int32_t index = -1;
    TEdifKind kind = TEdifKind::Edif;
    std::string_view name;  // the identifier; of a rename its first element; empty if none
    bool renamed = false;   // the name came from a (rename id "original") form
    bool isArray = false;   // the name came from an (array id n) form
    TEdifPoint head;        // the opening parenthesis
    TEdifPoint nameAt;      // the identifier's first byte (head when there is no name)
    int32_t nameLength = 0;
    TEdifPoint end;  // the closing parenthesis; for a form never closed, the end of the text
    bool closed = true;
    int32_t parent = -1;      // index of the enclosing structural form, -1 at the top
    int32_t subtreeEnd = -1;  // one past the index of the last form inside this one
};

// Any form, found by rescanning a stretch of text (FormsOnLines, FormPathAt).
struct TEdifForm {
    std::string keyword;       // as written
    std::string name;          // identifier (of a rename or array, its identifier)
    std::string originalName;  // the string of a rename, without quotes or escapes undone
    TEdifPoint head;
    TEdifPoint nameAt;
    int32_t nameLength = 0;
    TEdifPoint end;
    bool closed = true;
    int32_t parent = -1;  // index into the same answer, -1 when the parent is not in it
};

// A reference form (cellRef, portRef, ...) by the place of its name.
struct TEdifReference {
    TEdifRefKind kind = TEdifRefKind::CellRef;
    TEdifPoint nameAt;
    int32_t nameLength = 0;
};

enum class TEdifSeverity : uint8_t { Error, Warning };

struct TEdifProblem {
    TEdifSeverity severity = TEdifSeverity::Error;
    int32_t line = 0;
    int32_t column = 0;
    int32_t length = 1;  // bytes to underline
    std::string message;
    friend bool operator==(const TEdifProblem&, const TEdifProblem&) = default;
};

// A form that spans more than one line.
struct TEdifFoldRange {
    int32_t firstLine = 0;
    int32_t lastLine = 0;
    friend bool operator==(const TEdifFoldRange&, const TEdifFoldRange&) = default;
};

// How much one Step may do before it returns.
struct TEdifBudget {
    std::chrono::microseconds time{10000};
    int64_t bytes = INT64_MAX;
};

class TEdifIndex {
public:
    // At most this many problems are kept for display; ProblemCount counts all of them.
    static constexpr size_t kMaxKeptProblems = 100000;

    explicit TEdifIndex(const TEdifLines& lines);
    ~TEdifIndex();
    TEdifIndex(const TEdifIndex&) = delete;
    TEdifIndex& operator=(const TEdifIndex&) = delete;

    // ---- Building ------------------------------------------------------------------------
    // Forgets everything and starts over (after a load).
    void Reset();
    // Does some of the outstanding work within the budget; true when the index and the
    // problems are current.
    bool Step(const TEdifBudget& budget = {});
    // Runs Step until everything is current (the command-line tool, tests).
    void BuildAll();
    bool IsIndexCurrent() const;  // definitions and lookups answer for the current text
    bool AreProblemsCurrent() const;
    // Whether problems are looked for at all (on by default).
    void SetChecking(bool on);

    // The buffer changed lines [firstLine, lastLine] (numbered after the change) and the
    // line count by lineDelta (lines inserted > 0). A change with firstLine > lastLine that
    // kept the line count is no change of text.
    void Update(int32_t firstLine, int32_t lastLine, int32_t lineDelta);

    // ---- Definitions ---------------------------------------------------------------------
    int32_t DefinitionCount() const;
    TEdifDefinition Definition(int32_t index) const;
    // Children in document order: FirstChild(-1) is the first form at the top.
    int32_t FirstChild(int32_t parent) const;  // -1 when none
    int32_t NextSibling(int32_t index) const;  // -1 when none
    // The innermost structural form whose extent holds the place, -1 when none.
    int32_t InnermostAt(TEdifPoint at) const;

    // ---- Lookups -------------------------------------------------------------------------
    // The definition the name at the place means: a reference's target, or the definition
    // whose own name it is. -1 when there is no name there or it resolves to nothing.
    int32_t DefinitionAt(TEdifPoint at) const;
    // Every reference that resolves to the definition, in document order. For a net, the
    // port references it joins. Costs a scan of the scope the definition can be named in.
    std::vector<TEdifReference> References(int32_t definition) const;
    // Forms spanning more than one line that overlap [firstLine, lastLine], by first line.
    std::vector<TEdifFoldRange> FoldRanges(int32_t firstLine, int32_t lastLine) const;
    // Every form whose head lies on lines [firstLine, lastLine], in document order.
    std::vector<TEdifForm> FormsOnLines(int32_t firstLine, int32_t lastLine) const;
    // The forms open at the place, outermost first (parent links within the answer).
    std::vector<TEdifForm> FormPathAt(TEdifPoint at) const;

    // Bytes the index holds (records, names, kept problems), for measurements.
    size_t MemoryBytes() const;

    // ---- Problems ------------------------------------------------------------------------
    int64_t ProblemCount() const;
    int64_t ErrorCount() const;
    // The first kMaxKeptProblems problems in document order.
    const std::vector<TEdifProblem>& Problems() const;

    // The state behind this face; declared here so the index's own files can share it.
    class Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace tarnwick
