// Helpers for the EDIF tests: editable lines, the index's answers as text to compare, and
// places found by the text at them.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/edif/edif_index.h"

namespace tarnwick::edif_test {

// Lines a test edits in place, as a buffer would.
class EditableLines : public TEdifLines {
public:
    explicit EditableLines(const std::string& text) {
        std::string line;
        std::istringstream in(text);
        while (std::getline(in, line))
            lines.push_back(line);
    }
    int32_t LineCount() const override { return int32_t(lines.size()); }
    std::string_view Line(int32_t line, std::string&) const override {
        return line >= 0 && size_t(line) < lines.size() ? std::string_view(lines[size_t(line)])
                                                        : std::string_view();
    }
    std::string Text() const {
        std::string out;
        for (const std::string& l : lines)
            out += l + "\n";
        return out;
    }
    std::vector<std::string> lines;
};

// Every definition as "kind name head-line name-line:column end-line:column parent".
inline std::string Dump(const TEdifIndex& index) {
    std::string out;
    for (int32_t i = 0; i < index.DefinitionCount(); ++i) {
        const TEdifDefinition d = index.Definition(i);
        out += std::string(EdifKindName(d.kind)) + " " + std::string(d.name) + " " +
               std::to_string(d.head.line) + ":" + std::to_string(d.head.column) + " " +
               std::to_string(d.nameAt.line) + ":" + std::to_string(d.nameAt.column) + " " +
               std::to_string(d.end.line) + ":" + std::to_string(d.end.column) + " p" +
               std::to_string(d.parent) + " e" + std::to_string(d.subtreeEnd) + (d.renamed ? " R" : "") +
               (d.isArray ? " A" : "") + (d.closed ? "" : " open") + "\n";
    }
    return out;
}

inline std::string DumpProblems(const TEdifIndex& index) {
    std::string out = std::to_string(index.ProblemCount()) + " problems, " +
                      std::to_string(index.ErrorCount()) + " errors\n";
    for (const TEdifProblem& p : index.Problems())
        out += std::to_string(p.line) + ":" + std::to_string(p.column) + "+" + std::to_string(p.length) +
               " " + (p.severity == TEdifSeverity::Error ? "error " : "warning ") + p.message + "\n";
    return out;
}

// The place of the n-th (0-based) occurrence of needle, plus offset bytes into it.
inline TEdifPoint Find(const TEdifLines& lines, std::string_view needle, int nth = 0, int offset = 0) {
    std::string scratch;
    for (int32_t l = 0; l < lines.LineCount(); ++l) {
        const std::string_view text = lines.Line(l, scratch);
        for (size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1))
            if (nth-- == 0)
                return {l, int32_t(at) + offset};
    }
    return {-1, -1};
}

inline std::string ReadSample(const std::string& name) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/data/samples/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace tarnwick::edif_test
