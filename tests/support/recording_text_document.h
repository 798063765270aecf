#pragma once
// A text document double for host tests: it offers ITextEditorCommands and records the name of
// every operation called, with its parameter text. State queries answer from the two sets a
// test fills: enabled names, and checked parameter texts.

#include <set>
#include <string>
#include <vector>

#include "host/abi/text_interfaces.h"
#include "tests/support/null_server_document.h"

class RecordingTextDocument : public NullServerDocument, public ITextEditorCommands {
public:
    std::vector<std::string> calls;           // operation names, in order
    std::vector<std::string> params;          // parameter text of each call ("" when none)
    std::set<std::string> enabledQueries;     // e.g. "CanCopy"
    std::set<std::string> checkedParameters;  // IsWrapMode answers checked for these texts

    int32_t QueryInterface(const TGUID& iid, void** out) override {
        const bool found =
            OfferInterface<IServerDocument>(iid, out, static_cast<IServerDocument*>(this)) ||
            OfferInterface<ITextEditorCommands>(iid, out, static_cast<ITextEditorCommands*>(this));
        return QueryResult(found, out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }

    // clang-format off
    void DeleteSelection() override { Record("DeleteSelection"); }
    void ClearBookmark1() override { Record("ClearBookmark1"); }
    void ClearBookmark10() override { Record("ClearBookmark10"); }
    void ClearBookmark2() override { Record("ClearBookmark2"); }
    void ClearBookmark3() override { Record("ClearBookmark3"); }
    void ClearBookmark4() override { Record("ClearBookmark4"); }
    void ClearBookmark5() override { Record("ClearBookmark5"); }
    void ClearBookmark6() override { Record("ClearBookmark6"); }
    void ClearBookmark7() override { Record("ClearBookmark7"); }
    void ClearBookmark8() override { Record("ClearBookmark8"); }
    void ClearBookmark9() override { Record("ClearBookmark9"); }
    void Copy() override { Record("Copy"); }
    void QueryCrossProbeTarget(char* params) override { Record("QueryCrossProbeTarget", params); }
    void CrossProbeTo(char* params) override { Record("CrossProbeTo", params); }
    void Cut() override { Record("Cut"); }
    void DeleteChar() override { Record("DeleteChar"); }
    void BackSpace() override { Record("BackSpace"); }
    void DeleteLine() override { Record("DeleteLine"); }
    void DeleteWordLeft() override { Record("DeleteWordLeft"); }
    void DeleteToLineEnd() override { Record("DeleteToLineEnd"); }
    void DeleteWordRight() override { Record("DeleteWordRight"); }
    void DuplicateSelection() override { Record("DuplicateSelection"); }
    void EditSyntaxScheme() override { Record("EditSyntaxScheme"); }
    void ExternalRequest(char* params) override { Record("ExternalRequest", params); }
    void ColumnPageDown() override { Record("ColumnPageDown"); }
    void ColumnPageUp() override { Record("ColumnPageUp"); }
    void ColumnWordLeft() override { Record("ColumnWordLeft"); }
    void ColumnWordRight() override { Record("ColumnWordRight"); }
    void ColumnWindowBottom() override { Record("ColumnWindowBottom"); }
    void ColumnTextStart() override { Record("ColumnTextStart"); }
    void ColumnTextEnd() override { Record("ColumnTextEnd"); }
    void ColumnLineStart() override { Record("ColumnLineStart"); }
    void ColumnLineEnd() override { Record("ColumnLineEnd"); }
    void ColumnWindowTop() override { Record("ColumnWindowTop"); }
    void SelectCharLeft() override { Record("SelectCharLeft"); }
    void SelectWordLeft() override { Record("SelectWordLeft"); }
    void ColumnDown() override { Record("ColumnDown"); }
    void ColumnCharLeft() override { Record("ColumnCharLeft"); }
    void ColumnCharRight() override { Record("ColumnCharRight"); }
    void ColumnUp() override { Record("ColumnUp"); }
    void SelectPageDown() override { Record("SelectPageDown"); }
    void SelectCharRight() override { Record("SelectCharRight"); }
    void SelectWordRight() override { Record("SelectWordRight"); }
    void SelectTextStart() override { Record("SelectTextStart"); }
    void SelectLineStart() override { Record("SelectLineStart"); }
    void SelectWindowBottom() override { Record("SelectWindowBottom"); }
    void SelectTextEnd() override { Record("SelectTextEnd"); }
    void SelectLineEnd() override { Record("SelectLineEnd"); }
    void SelectPageUp() override { Record("SelectPageUp"); }
    void SelectDown() override { Record("SelectDown"); }
    void SelectUp() override { Record("SelectUp"); }
    void SelectWindowTop() override { Record("SelectWindowTop"); }
    void Find() override { Record("Find"); }
    void Replace() override { Record("Replace"); }
    void FindNext() override { Record("FindNext"); }
    void GetText(char* params) override { Record("GetText", params); }
    void GotoLine(char* params) override { Record("GotoLine", params); }
    void IndentBlock() override { Record("IndentBlock"); }
    void InsertLineBreak() override { Record("InsertLineBreak"); }
    void NewLine() override { Record("NewLine"); }
    void TabBack() override { Record("TabBack"); }
    void Tab() override { Record("Tab"); }
    void InsertText(const char* text) override { Record("InsertText", text); }
    void GotoBookmark1() override { Record("GotoBookmark1"); }
    void GotoBookmark10() override { Record("GotoBookmark10"); }
    void GotoBookmark2() override { Record("GotoBookmark2"); }
    void GotoBookmark3() override { Record("GotoBookmark3"); }
    void GotoBookmark4() override { Record("GotoBookmark4"); }
    void GotoBookmark5() override { Record("GotoBookmark5"); }
    void GotoBookmark6() override { Record("GotoBookmark6"); }
    void GotoBookmark7() override { Record("GotoBookmark7"); }
    void GotoBookmark8() override { Record("GotoBookmark8"); }
    void GotoBookmark9() override { Record("GotoBookmark9"); }
    void HelpOnWord() override { Record("HelpOnWord"); }
    void JumpToLineFromPanel() override { Record("JumpToLineFromPanel"); }
    void CaretDown() override { Record("CaretDown"); }
    void CaretLeft() override { Record("CaretLeft"); }
    void CaretWordLeft() override { Record("CaretWordLeft"); }
    void CaretRight() override { Record("CaretRight"); }
    void CaretWordRight() override { Record("CaretWordRight"); }
    void CaretLineStart() override { Record("CaretLineStart"); }
    void CaretTextEnd() override { Record("CaretTextEnd"); }
    void CaretWindowBottom() override { Record("CaretWindowBottom"); }
    void CaretLineEnd() override { Record("CaretLineEnd"); }
    void CaretDocumentEnd() override { Record("CaretDocumentEnd"); }
    void CaretTextStart() override { Record("CaretTextStart"); }
    void CaretWindowTop() override { Record("CaretWindowTop"); }
    void CaretUp() override { Record("CaretUp"); }
    void OpenFileAtCursor() override { Record("OpenFileAtCursor"); }
    void PageDown() override { Record("PageDown"); }
    void PageUp() override { Record("PageUp"); }
    void Paste() override { Record("Paste"); }
    void PrintNow() override { Record("PrintNow"); }
    void QuoteLines() override { Record("QuoteLines"); }
    void NoOperation97() override { Record("NoOperation97"); }
    void Redo() override { Record("Redo"); }
    int32_t Reload() override { Record("Reload"); return kFalse; }
    void ScrollLineDown() override { Record("ScrollLineDown"); }
    void ScrollLineUp() override { Record("ScrollLineUp"); }
    void SelectAll() override { Record("SelectAll"); }
    void SelectLine() override { Record("SelectLine"); }
    void SelectWord() override { Record("SelectWord"); }
    void NoOperation105() override { Record("NoOperation105"); }
    void ToggleBookmark1() override { Record("ToggleBookmark1"); }
    void ToggleBookmark10() override { Record("ToggleBookmark10"); }
    void ToggleBookmark2() override { Record("ToggleBookmark2"); }
    void ToggleBookmark3() override { Record("ToggleBookmark3"); }
    void ToggleBookmark4() override { Record("ToggleBookmark4"); }
    void ToggleBookmark5() override { Record("ToggleBookmark5"); }
    void ToggleBookmark6() override { Record("ToggleBookmark6"); }
    void ToggleBookmark7() override { Record("ToggleBookmark7"); }
    void ToggleBookmark8() override { Record("ToggleBookmark8"); }
    void ToggleBookmark9() override { Record("ToggleBookmark9"); }
    void LowerCaseSelection() override { Record("LowerCaseSelection"); }
    void UpperCaseSelection() override { Record("UpperCaseSelection"); }
    void SetLineText(char* params) override { Record("SetLineText", params); }
    void Preferences() override { Record("Preferences"); }
    void Print() override { Record("Print"); }
    void SetupLanguage() override { Record("SetupLanguage"); }
    void LowerCaseWord() override { Record("LowerCaseWord"); }
    void UpperCaseWord() override { Record("UpperCaseWord"); }
    void ShowCodeTemplates() override { Record("ShowCodeTemplates"); }
    void ToggleAutoIndent() override { Record("ToggleAutoIndent"); }
    void ToggleInsertMode() override { Record("ToggleInsertMode"); }
    void Undo() override { Record("Undo"); }
    void UnindentBlock() override { Record("UnindentBlock"); }
    void UpdateFoundInstanceList() override { Record("UpdateFoundInstanceList"); }
    void NoOperation130() override { Record("NoOperation130"); }
    void RefreshSearchPanel() override { Record("RefreshSearchPanel"); }
    void SetWrapMode(char* params) override { Record("SetWrapMode", params); }
    void NoOperation133() override { Record("NoOperation133"); }
    void CanCopy(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4, int32_t* r5) override { Answer("CanCopy", params, r1, r2); }
    void CanPaste(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4, int32_t* r5) override { Answer("CanPaste", params, r1, r2); }
    void CanCut(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4, int32_t* r5) override { Answer("CanCut", params, r1, r2); }
    void CanUndo(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4, int32_t* r5) override { Answer("CanUndo", params, r1, r2); }
    void CanRedo(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4, int32_t* r5) override { Answer("CanRedo", params, r1, r2); }
    void IsWrapMode(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4, int32_t* r5) override { Answer("IsWrapMode", params, r1, r2); }
    // clang-format on

private:
    void Record(const char* name, const char* text = nullptr) {
        calls.emplace_back(name);
        params.emplace_back(text ? text : "");
    }
    void Answer(const char* name, const char* text, int32_t* enabled, int32_t* checked) {
        Record(name, text);
        if (std::string(name) == "IsWrapMode")
            *checked = ToBool32(checkedParameters.count(text ? text : "") > 0);
        else
            *enabled = ToBool32(enabledQueries.count(name) > 0);
    }
};
