#pragma once
// What the outline panel reads of a netlist's index: its definitions as a tree, and its
// problems. Each question is answered in constant or logarithmic time, since the panel asks
// only about the rows in sight.

#include <cstdint>
#include <string>

#include "textengine/memo_types.h"
#include "textengine/text_problems.h"

namespace tarnwick {

enum class TOutlineKind : uint8_t { Library, External, Cell, View, Port, Instance, Net };

struct TOutlineEntry {
    TOutlineKind Kind = TOutlineKind::Library;
    std::string Name;
    TPosition Place;  // the definition's name: 0-based line and byte of the stored line
};

struct TProblemEntry {
    TProblemSeverity Severity = TProblemSeverity::Error;
    TPosition Place;  // 0-based line and byte of the stored line
    std::string Message;
};

class TNetlistOutline {
public:
    using TNode = int32_t;
    static constexpr TNode kRoot = -1;  // the parent of the libraries
    static constexpr TNode kNoNode = -2;

    virtual ~TNetlistOutline() = default;

    [[nodiscard]] virtual int32_t ChildCount(TNode parent) const = 0;
    [[nodiscard]] virtual TNode Child(TNode parent, int32_t row) const = 0;
    [[nodiscard]] virtual TNode Parent(TNode node) const = 0;
    // The place of node among its parent's children.
    [[nodiscard]] virtual int32_t RowOf(TNode node) const = 0;
    [[nodiscard]] virtual TOutlineEntry Entry(TNode node) const = 0;
    // Every definition the outline shows, in the order of the text: NodeAt(0 .. NodeCount()-1).
    [[nodiscard]] virtual int32_t NodeCount() const = 0;
    [[nodiscard]] virtual TNode NodeAt(int32_t i) const = 0;

    // Every problem found, in the order of the text, though fewer may be kept to be listed.
    [[nodiscard]] virtual int64_t ProblemCount() const = 0;
    [[nodiscard]] virtual int32_t ListedProblemCount() const = 0;
    [[nodiscard]] virtual TProblemEntry Problem(int32_t i) const = 0;
};

}  // namespace tarnwick
