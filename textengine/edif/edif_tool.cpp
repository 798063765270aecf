#include "textengine/edif/edif_tool.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "textengine/edif/edif_index.h"

namespace tarnwick {

namespace {

constexpr const char* kUsage =
    "usage: tarnwick-edif outline FILE\n"
    "       tarnwick-edif refs FILE NAME\n"
    "       tarnwick-edif check [--quiet] FILE...\n"
    "outline prints one line per definition: kind, name, line, indented by nesting.\n"
    "refs prints FILE:LINE:COLUMN of every reference to the definitions called NAME.\n"
    "check prints FILE:LINE:COLUMN: error|warning: message per problem and exits 1 on any\n"
    "error; --quiet prints only the number of problems.\n";

bool ReadFile(const std::string& path, std::string& text, std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "tarnwick-edif: cannot read " << path << ": " << std::strerror(errno) << "\n";
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        err << "tarnwick-edif: cannot read " << path << "\n";
        return false;
    }
    text = std::move(bytes).str();
    return true;
}

// The file loaded and indexed, checks included or not.
struct IndexedFile {
    explicit IndexedFile(std::string text, bool checking) : lines(std::move(text)), index(lines) {
        index.SetChecking(checking);
        index.BuildAll();
    }
    TEdifTextLines lines;
    TEdifIndex index;
};

bool ShownInOutline(TEdifKind kind) { return kind != TEdifKind::Interface && kind != TEdifKind::Contents; }

int Outline(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!ReadFile(path, text, err))
        return 2;
    IndexedFile file(std::move(text), false);
    const TEdifIndex& index = file.index;
    // Depth in the printed tree: interfaces and contents are not printed, so their children
    // take their place. Parents come before children, so one pass fills it.
    std::vector<int32_t> depth(size_t(index.DefinitionCount()), 0);
    for (int32_t i = 0; i < index.DefinitionCount(); ++i) {
        const TEdifDefinition d = index.Definition(i);
        const bool shown = ShownInOutline(d.kind);
        int32_t level = 0;
        if (d.parent >= 0)
            level = depth[size_t(d.parent)] + (ShownInOutline(index.Definition(d.parent).kind) ? 1 : 0);
        depth[size_t(i)] = level;
        if (!shown)
            continue;
        out << std::string(size_t(level) * 2, ' ') << EdifKindName(d.kind) << ' '
            << (d.name.empty() ? std::string_view("-") : d.name) << ' ' << d.head.line + 1 << '\n';
    }
    return 0;
}

int Refs(const std::string& path, const std::string& name, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!ReadFile(path, text, err))
        return 2;
    IndexedFile file(std::move(text), false);
    const TEdifIndex& index = file.index;
    bool defined = false;
    for (int32_t i = 0; i < index.DefinitionCount(); ++i) {
        const TEdifDefinition d = index.Definition(i);
        if (d.name != name)
            continue;
        defined = true;
        for (const TEdifReference& ref : index.References(i))
            out << path << ':' << ref.nameAt.line + 1 << ':' << ref.nameAt.column + 1 << ": "
                << EdifRefKindName(ref.kind) << ' ' << name << " -> " << EdifKindName(d.kind) << " at line "
                << d.nameAt.line + 1 << '\n';
    }
    if (!defined) {
        err << "tarnwick-edif: " << path << " defines nothing called " << name << "\n";
        return 1;
    }
    return 0;
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool quiet = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--quiet")
            quiet = true;
        else
            files.push_back(a);
    }
    if (files.empty()) {
        err << kUsage;
        return 2;
    }
    int64_t problems = 0;
    bool anyError = false;
    bool unreadable = false;
    for (const std::string& path : files) {
        std::string text;
        if (!ReadFile(path, text, err)) {
            unreadable = true;
            continue;
        }
        IndexedFile file(std::move(text), true);
        const TEdifIndex& index = file.index;
        problems += index.ProblemCount();
        anyError |= index.ErrorCount() > 0;
        if (quiet)
            continue;
        for (const TEdifProblem& p : index.Problems())
            out << path << ':' << p.line + 1 << ':' << p.column + 1 << ": "
                << (p.severity == TEdifSeverity::Error ? "error" : "warning") << ": " << p.message << '\n';
        const int64_t unshown = index.ProblemCount() - int64_t(index.Problems().size());
        if (unshown > 0)
            err << path << ": " << unshown << " more problems not shown\n";
    }
    if (quiet)
        out << problems << '\n';
    if (unreadable)
        return 2;
    return anyError ? 1 : 0;
}

}  // namespace

int RunEdifTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "outline")
        return Outline(args[1], out, err);
    if (args.size() == 3 && args[0] == "refs")
        return Refs(args[1], args[2], out, err);
    if (!args.empty() && args[0] == "check")
        return Check({args.begin() + 1, args.end()}, out, err);
    err << kUsage;
    return 2;
}

}  // namespace tarnwick
