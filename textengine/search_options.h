// The settings of the search commands. One object is shared by every buffer of the process and
// by the find and replace dialogs, so a search keeps its settings between dialogs and buffers;
// the search panel uses an object of its own.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

enum TSearchDirection : uint8_t { sdForward, sdBackward };
enum TSearchScope : uint8_t { ssGlobal, ssSelectedText };
enum TSearchOrigin : uint8_t { soFromCursor, soEntireScope };
// Targets of a search over many files; kept for the dialogs, no search here uses them.
enum TSearchWhere : uint8_t { swProjectFiles, swOpenFiles, swDirectories, swOther };

struct TSearchOptions {
    bool CaseSensitive = false;
    bool WholeWordsOnly = false;
    bool RegularExpr = false;
    TSearchDirection Direction = sdForward;
    TSearchScope Scope = ssGlobal;
    TSearchOrigin Origin = soEntireScope;
    bool PromptOnReplace = false;
    std::string TextToFind;
    std::string ReplaceWith;
    bool FirstSearch = false;  // the next search is the first one after a dialog
    bool InReplace = false;    // search again repeats a replace
    bool ReplaceAll = false;
    bool ShowNotFound = false;  // a failed search reports "not found"
    TSearchWhere Where = swDirectories;
    std::string FileMask;
    bool IncludeSubDirs = false;

    bool operator==(const TSearchOptions&) const = default;

    // The object shared by all buffers, created on first use.
    static TSearchOptions& Shared();
};

}  // namespace tarnwick
