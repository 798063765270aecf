// Value types shared by the text buffer, its undo list, the editing commands and the views.
#pragma once

#include <cstdint>
#include <limits>

#include "textengine/option_set.h"

namespace tarnwick {

// A place in the text: 0-based line and 0-based column counted in expanded characters
// (tab characters expanded to the tab stops).
struct TPosition {
    int32_t LinePos = 0;
    int32_t CharPos = 0;

    friend bool operator==(const TPosition&, const TPosition&) = default;
    // Line first, then column: the order of the text.
    friend bool operator<(const TPosition& a, const TPosition& b) {
        return a.LinePos != b.LinePos ? a.LinePos < b.LinePos : a.CharPos < b.CharPos;
    }
    friend bool operator<=(const TPosition& a, const TPosition& b) { return !(b < a); }
};

// Editing behaviours of a buffer; the set is stored as a 32-bit mask, bit n = value n.
enum TStringsOption : uint8_t {
    soBackUnindents = 0,
    soGroupUndo = 1,
    soBeyondFileEnd = 2,
    soForceCutCopy = 3,
    soAutoIndent = 4,
    soSmartTab = 5,
    soFindTextAtCursor = 6,
    soCreateBackups = 7,
    soPersistentBlocks = 8,
    soOverwriteBlocks = 9,
    soLimitEOL = 10,
    soUseTabCharacter = 11,
    soCursorOnTabs = 12,
    soOptimalFill = 13,
    soSelectFoundText = 14,
    soExcludeReadOnlyLines = 15,
    soCursorAlwaysOnTabs = 16,
    soUsePrevIndent = 17,
    soRetainColumn = 18,
};

using TStringsOptions = TOptionSet<TStringsOption, 19>;

inline constexpr TStringsOptions kDefaultStringsOptions{soBackUnindents,  soGroupUndo, soForceCutCopy,
                                                        soAutoIndent,     soSmartTab,  soFindTextAtCursor,
                                                        soOverwriteBlocks};

enum TSelectionType : uint8_t { stNone, stStream, stColumn };
enum TBlockOption : uint8_t { bkStreamSel, bkBlockSel, bkNone, bkBoth };
enum TOutFormatType : uint8_t { ofWindows, ofMac, ofUnix };
// Whether saving puts a line end after the last line: as OutFormat has it (ofWindows without
// soExcludeReadOnlyLines: no; otherwise yes), or as the file that was loaded had it.
enum TFinalLineEnd : uint8_t { feByOutFormat, feWritten, feOmitted };

// Change-state mask handed to the views after each outermost change.
using TMemoStates = uint16_t;
inline constexpr TMemoStates msCaretMoved = 0x0001;
inline constexpr TMemoStates msTextChanged = 0x0002;
inline constexpr TMemoStates msUndoRedo = 0x0004;
inline constexpr TMemoStates msRepaint = 0x0008;  // selection or line decoration changed
inline constexpr TMemoStates msInsertMode = 0x0010;
inline constexpr TMemoStates msLineCount = 0x0020;
inline constexpr TMemoStates msModified = 0x0040;
inline constexpr TMemoStates msFound = 0x0080;
inline constexpr TMemoStates msObjectName = 0x0100;
inline constexpr TMemoStates msHighlightReset = 0x0400;
inline constexpr TMemoStates msReadOnly = 0x0800;
inline constexpr TMemoStates msHiddenLines = 0x1000;  // lines were folded or unfolded
// After loading and when a view is attached: the view rebuilds everything.
inline constexpr TMemoStates msFullUpdate = msCaretMoved | msUndoRedo | msRepaint | msInsertMode |
                                            msLineCount | msModified | msObjectName | msHighlightReset;

// The code a change bracket records; undo groups steps by it.
enum TChangeCode : uint8_t {
    ccNone = 0,
    ccCaretMove = 2,
    ccJoinLines = 3,
    ccSplitLine = 4,
    ccInsert = 5,  // InsertString and typing
    ccDeleteChars = 6,
    ccBackSpace = 8,
    ccDeleteLine = 9,
    ccDeleteToLineStart = 10,
    ccMarkBlockBegin = 11,
    ccMarkBlockEnd = 12,
    ccSelectionKind = 13,
    ccExtendSelection = 16,
    ccSetSelection = 17,
    ccSelectAll = 18,
    ccSelectLine = 19,
    ccCut = 20,
    ccPaste = 21,
    ccMoveBlock = 23,
    ccUpperCaseBlock = 25,
    ccLowerCaseBlock = 26,
    ccToggleCaseBlock = 27,
    ccSelectWord = 30,
    ccDeleteWordRight = 33,
    ccDeleteWordLeft = 34,
    ccLowerCaseWord = 35,
    ccUpperCaseWord = 36,
    ccLinesInsert = 39,
    ccNewLine = 40,
    ccInsertMode = 41,
    ccSetBookmark = 45,
    ccClearBookmark = 46,
    ccLoad = 48,
    ccSetModified = 49,
    ccAddView = 50,
    ccTabKey = 52,
    ccLineMark = 53,
    ccReplace = 54,
    ccSearch = 55,
    ccLinesClear = 58,
    ccLinesPut = 59,
    ccLinesAssign = 60,
    ccIndentBlock = 65,
    ccUnindentBlock = 66,
    ccLineStyle = 68,
    ccCopyBlock = 69,
    ccReadOnly = 70,
};

// The largest line or column a position takes; deltas between positions stay in range.
inline constexpr int32_t kMaxPosition = std::numeric_limits<int32_t>::max() / 2;

}  // namespace tarnwick
