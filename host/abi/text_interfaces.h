#pragma once
// What a text document offers besides IServerDocument: line access for other servers, and the
// editing commands the host routes to it. Returned interfaces carry a reference the caller
// releases; arguments are lent for the call.

#include "host/abi/unknown.h"

class IStream;

class ITextContent : public IUnknownBase {
public:
    virtual int32_t GetLineCount() = 0;  // slot 3
    // No capacity: the caller's buffer must hold the longest line.
    virtual void GetLine(int32_t index, char* buffer) = 0;      // slot 4
    virtual void SetLine(int32_t index, const char* text) = 0;  // slot 5
    virtual void SaveLinesToFile(const char* path) = 0;         // slot 6
    virtual void SaveLinesToStream(IStream* stream) = 0;        // slot 7
    virtual void LoadLinesFromStream(IStream* stream) = 0;      // slot 8
    virtual void ReapplyPreferences() = 0;                      // slot 9
    virtual void AnnouncePreferencesChanged() = 0;              // slot 10
};

// 137 operations in slots 3 to 139. "params" is a parameter string in a buffer of at least
// 64000 bytes that the operation may rewrite with a reply. The state queries (slots 134 to 139)
// write -1 or 0 into r1 (enabled) or, for IsWrapMode, r2 (checked), and leave the rest alone.
class ITextEditorCommands : public IUnknownBase {
public:
    virtual void DeleteSelection() = 0;                    // slot 3
    virtual void ClearBookmark1() = 0;                     // slot 4
    virtual void ClearBookmark10() = 0;                    // slot 5
    virtual void ClearBookmark2() = 0;                     // slot 6
    virtual void ClearBookmark3() = 0;                     // slot 7
    virtual void ClearBookmark4() = 0;                     // slot 8
    virtual void ClearBookmark5() = 0;                     // slot 9
    virtual void ClearBookmark6() = 0;                     // slot 10
    virtual void ClearBookmark7() = 0;                     // slot 11
    virtual void ClearBookmark8() = 0;                     // slot 12
    virtual void ClearBookmark9() = 0;                     // slot 13
    virtual void Copy() = 0;                               // slot 14
    virtual void QueryCrossProbeTarget(char* params) = 0;  // slot 15
    virtual void CrossProbeTo(char* params) = 0;           // slot 16
    virtual void Cut() = 0;                                // slot 17
    virtual void DeleteChar() = 0;                         // slot 18
    virtual void BackSpace() = 0;                          // slot 19
    virtual void DeleteLine() = 0;                         // slot 20
    virtual void DeleteWordLeft() = 0;                     // slot 21
    virtual void DeleteToLineEnd() = 0;                    // slot 22
    virtual void DeleteWordRight() = 0;                    // slot 23
    virtual void DuplicateSelection() = 0;                 // slot 24
    virtual void EditSyntaxScheme() = 0;                   // slot 25
    virtual void ExternalRequest(char* params) = 0;        // slot 26
    virtual void ColumnPageDown() = 0;                     // slot 27
    virtual void ColumnPageUp() = 0;                       // slot 28
    virtual void ColumnWordLeft() = 0;                     // slot 29
    virtual void ColumnWordRight() = 0;                    // slot 30
    virtual void ColumnWindowBottom() = 0;                 // slot 31
    virtual void ColumnTextStart() = 0;                    // slot 32
    virtual void ColumnTextEnd() = 0;                      // slot 33
    virtual void ColumnLineStart() = 0;                    // slot 34
    virtual void ColumnLineEnd() = 0;                      // slot 35
    virtual void ColumnWindowTop() = 0;                    // slot 36
    virtual void SelectCharLeft() = 0;                     // slot 37
    virtual void SelectWordLeft() = 0;                     // slot 38
    virtual void ColumnDown() = 0;                         // slot 39
    virtual void ColumnCharLeft() = 0;                     // slot 40
    virtual void ColumnCharRight() = 0;                    // slot 41
    virtual void ColumnUp() = 0;                           // slot 42
    virtual void SelectPageDown() = 0;                     // slot 43
    virtual void SelectCharRight() = 0;                    // slot 44
    virtual void SelectWordRight() = 0;                    // slot 45
    virtual void SelectTextStart() = 0;                    // slot 46
    virtual void SelectLineStart() = 0;                    // slot 47
    virtual void SelectWindowBottom() = 0;                 // slot 48
    virtual void SelectTextEnd() = 0;                      // slot 49
    virtual void SelectLineEnd() = 0;                      // slot 50
    virtual void SelectPageUp() = 0;                       // slot 51
    virtual void SelectDown() = 0;                         // slot 52
    virtual void SelectUp() = 0;                           // slot 53
    virtual void SelectWindowTop() = 0;                    // slot 54
    virtual void Find() = 0;                               // slot 55
    virtual void Replace() = 0;                            // slot 56
    virtual void FindNext() = 0;                           // slot 57
    virtual void GetText(char* params) = 0;                // slot 58
    virtual void GotoLine(char* params) = 0;               // slot 59
    virtual void IndentBlock() = 0;                        // slot 60
    virtual void InsertLineBreak() = 0;                    // slot 61
    virtual void NewLine() = 0;                            // slot 62
    virtual void TabBack() = 0;                            // slot 63
    virtual void Tab() = 0;                                // slot 64
    virtual void InsertText(const char* text) = 0;         // slot 65
    virtual void GotoBookmark1() = 0;                      // slot 66
    virtual void GotoBookmark10() = 0;                     // slot 67
    virtual void GotoBookmark2() = 0;                      // slot 68
    virtual void GotoBookmark3() = 0;                      // slot 69
    virtual void GotoBookmark4() = 0;                      // slot 70
    virtual void GotoBookmark5() = 0;                      // slot 71
    virtual void GotoBookmark6() = 0;                      // slot 72
    virtual void GotoBookmark7() = 0;                      // slot 73
    virtual void GotoBookmark8() = 0;                      // slot 74
    virtual void GotoBookmark9() = 0;                      // slot 75
    virtual void HelpOnWord() = 0;                         // slot 76
    virtual void JumpToLineFromPanel() = 0;                // slot 77
    virtual void CaretDown() = 0;                          // slot 78
    virtual void CaretLeft() = 0;                          // slot 79
    virtual void CaretWordLeft() = 0;                      // slot 80
    virtual void CaretRight() = 0;                         // slot 81
    virtual void CaretWordRight() = 0;                     // slot 82
    virtual void CaretLineStart() = 0;                     // slot 83
    virtual void CaretTextEnd() = 0;                       // slot 84
    virtual void CaretWindowBottom() = 0;                  // slot 85
    virtual void CaretLineEnd() = 0;                       // slot 86
    virtual void CaretDocumentEnd() = 0;                   // slot 87
    virtual void CaretTextStart() = 0;                     // slot 88
    virtual void CaretWindowTop() = 0;                     // slot 89
    virtual void CaretUp() = 0;                            // slot 90
    virtual void OpenFileAtCursor() = 0;                   // slot 91
    virtual void PageDown() = 0;                           // slot 92
    virtual void PageUp() = 0;                             // slot 93
    virtual void Paste() = 0;                              // slot 94
    virtual void PrintNow() = 0;                           // slot 95
    virtual void QuoteLines() = 0;                         // slot 96
    virtual void NoOperation97() = 0;                      // slot 97
    virtual void Redo() = 0;                               // slot 98
    virtual int32_t Reload() = 0;                          // slot 99
    virtual void ScrollLineDown() = 0;                     // slot 100
    virtual void ScrollLineUp() = 0;                       // slot 101
    virtual void SelectAll() = 0;                          // slot 102
    virtual void SelectLine() = 0;                         // slot 103
    virtual void SelectWord() = 0;                         // slot 104
    virtual void NoOperation105() = 0;                     // slot 105
    virtual void ToggleBookmark1() = 0;                    // slot 106
    virtual void ToggleBookmark10() = 0;                   // slot 107
    virtual void ToggleBookmark2() = 0;                    // slot 108
    virtual void ToggleBookmark3() = 0;                    // slot 109
    virtual void ToggleBookmark4() = 0;                    // slot 110
    virtual void ToggleBookmark5() = 0;                    // slot 111
    virtual void ToggleBookmark6() = 0;                    // slot 112
    virtual void ToggleBookmark7() = 0;                    // slot 113
    virtual void ToggleBookmark8() = 0;                    // slot 114
    virtual void ToggleBookmark9() = 0;                    // slot 115
    virtual void LowerCaseSelection() = 0;                 // slot 116
    virtual void UpperCaseSelection() = 0;                 // slot 117
    virtual void SetLineText(char* params) = 0;            // slot 118
    virtual void Preferences() = 0;                        // slot 119
    virtual void Print() = 0;                              // slot 120
    virtual void SetupLanguage() = 0;                      // slot 121
    virtual void LowerCaseWord() = 0;                      // slot 122
    virtual void UpperCaseWord() = 0;                      // slot 123
    virtual void ShowCodeTemplates() = 0;                  // slot 124
    virtual void ToggleAutoIndent() = 0;                   // slot 125
    virtual void ToggleInsertMode() = 0;                   // slot 126
    virtual void Undo() = 0;                               // slot 127
    virtual void UnindentBlock() = 0;                      // slot 128
    virtual void UpdateFoundInstanceList() = 0;            // slot 129
    virtual void NoOperation130() = 0;                     // slot 130
    virtual void RefreshSearchPanel() = 0;                 // slot 131
    virtual void SetWrapMode(char* params) = 0;            // slot 132
    virtual void NoOperation133() = 0;                     // slot 133
    virtual void CanCopy(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                         int32_t* r5) = 0;  // slot 134
    virtual void CanPaste(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                          int32_t* r5) = 0;  // slot 135
    virtual void CanCut(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                        int32_t* r5) = 0;  // slot 136
    virtual void CanUndo(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                         int32_t* r5) = 0;  // slot 137
    virtual void CanRedo(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                         int32_t* r5) = 0;  // slot 138
    virtual void IsWrapMode(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                            int32_t* r5) = 0;  // slot 139
};

// Moving through a netlist by its structure: the name at the caret to its definition or its
// references (listed in the search panel's found list), back and forward through those jumps,
// and from problem to problem. Each does nothing where it has nowhere to go.
class ITextNavigation : public IUnknownBase {
public:
    virtual void GotoDefinition() = 0;   // slot 3
    virtual void FindReferences() = 0;   // slot 4
    virtual void NavigateBack() = 0;     // slot 5
    virtual void NavigateForward() = 0;  // slot 6
    virtual void NextProblem() = 0;      // slot 7
    virtual void PreviousProblem() = 0;  // slot 8
    // -1 when there is a jump to go back or forward to, else 0.
    virtual int32_t CanNavigateBack() = 0;     // slot 9
    virtual int32_t CanNavigateForward() = 0;  // slot 10
};

TARNWICK_INTERFACE_ID(ITextContent, 0x69AC64DC, 0x4D50, 0x48F9, 0x9D, 0x70, 0x59, 0x0F, 0x20, 0xFC, 0xED,
                      0x70);
TARNWICK_INTERFACE_ID(ITextEditorCommands, 0x457AA429, 0x3ACA, 0x471D, 0xAF, 0x83, 0xEC, 0x28, 0x6D, 0x5C,
                      0x8B, 0x80);
TARNWICK_INTERFACE_ID(ITextNavigation, 0x281852B7, 0x6EB9, 0x40B8, 0xBB, 0xCD, 0x13, 0x9A, 0x7F, 0xD6, 0xBC,
                      0x10);
