#pragma once
// A text document: one open text file, shown to the host as three views (index 0 the search
// panel, index 1 the editor window, index 2 the outline panel), read and written through the
// host's streams, offered to other servers line by line (ITextContent), driven by the host's
// editing commands (ITextEditorCommands), which its window carries out, and moved through by
// the netlist's structure (ITextNavigation).
//
// Every operation the host or another server calls catches what the editor raises; a failure
// the user must see is shown in the host's error box.

#include <QPointer>
#include <string>

#include "editor/edif_navigator.h"
#include "editor/outline_panel.h"
#include "editor/text_panel.h"
#include "editor/text_window.h"
#include "host/abi/text_interfaces.h"
#include "host/message_dialog.h"
#include "host/server_document.h"

namespace tarnwick {

class TTextDocument : public TServerDocument,
                      public ITextContent,
                      public ITextEditorCommands,
                      public ITextNavigation {
public:
    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return TServerDocument::AddRef(); }
    int32_t Release() override { return TServerDocument::Release(); }

    // ---- IServerDocument --------------------------------------------------------------------
    // False, with the reason shown, when the file exists but cannot be read.
    int32_t LoadDocument() override;
    // Writes to FileName whatever the name; false, with the reason shown, when any step of
    // the write failed: the modified flag then stays set.
    int32_t SaveDocument(const char* name) override;
    int32_t IsUnchanged() override;
    int32_t GetDocumentModified() override;
    void SetDocumentModified(int32_t modified) override;

    // ---- ITextContent -----------------------------------------------------------------------
    int32_t GetLineCount() override;
    // Writes the line and its terminator, nothing more; nothing for an index outside the text.
    void GetLine(int32_t index, char* buffer) override;
    // Nothing for an index outside the text, or a read-only text or line.
    void SetLine(int32_t index, const char* text) override;
    void SaveLinesToFile(const char* path) override;
    void SaveLinesToStream(IStream* stream) override;
    // Nothing on a read-only text. The text no longer is the file's, so it counts as modified.
    void LoadLinesFromStream(IStream* stream) override;
    void ReapplyPreferences() override;
    void AnnouncePreferencesChanged() override;

    // ---- ITextEditorCommands, in slot order -------------------------------------------------
    // Up and Down (and their selections) move by the view's rows, as the view's own keys do:
    // over wrapped rows and past folded forms. Column moves go line by line.
    // The empty ones (printing) answer nothing.
    void DeleteSelection() override { Engine(C::DeleteSelection); }                        // 3
    void ClearBookmark1() override { Call(&TTextWindow::ClearBookmark, 1); }               // 4
    void ClearBookmark10() override { Call(&TTextWindow::ClearBookmark, 10); }             // 5
    void ClearBookmark2() override { Call(&TTextWindow::ClearBookmark, 2); }               // 6
    void ClearBookmark3() override { Call(&TTextWindow::ClearBookmark, 3); }               // 7
    void ClearBookmark4() override { Call(&TTextWindow::ClearBookmark, 4); }               // 8
    void ClearBookmark5() override { Call(&TTextWindow::ClearBookmark, 5); }               // 9
    void ClearBookmark6() override { Call(&TTextWindow::ClearBookmark, 6); }               // 10
    void ClearBookmark7() override { Call(&TTextWindow::ClearBookmark, 7); }               // 11
    void ClearBookmark8() override { Call(&TTextWindow::ClearBookmark, 8); }               // 12
    void ClearBookmark9() override { Call(&TTextWindow::ClearBookmark, 9); }               // 13
    void Copy() override { Engine(C::CopyToClipboard); }                                   // 14
    void QueryCrossProbeTarget(char* params) override;                                     // 15
    void CrossProbeTo(char* params) override;                                              // 16
    void Cut() override { Engine(C::CutToClipboard); }                                     // 17
    void DeleteChar() override { Engine(C::DeleteChar); }                                  // 18
    void BackSpace() override { Engine(C::BackSpace); }                                    // 19
    void DeleteLine() override { Engine(C::DeleteLine); }                                  // 20
    void DeleteWordLeft() override { Engine(C::DeleteWordLeft); }                          // 21
    void DeleteToLineEnd() override { Engine(C::DeleteToLineEnd); }                        // 22
    void DeleteWordRight() override { Engine(C::DeleteWordRight); }                        // 23
    void DuplicateSelection() override { Engine(C::CopyBlock); }                           // 24
    void EditSyntaxScheme() override { CallAndAnnounce(&TTextWindow::EditSyntaxScheme); }  // 25
    void ExternalRequest(char* params) override;                                           // 26
    void ColumnPageDown() override { Column(C::PageDown); }                                // 27
    void ColumnPageUp() override { Column(C::PageUp); }                                    // 28
    void ColumnWordLeft() override { Column(C::WordLeft); }                                // 29
    void ColumnWordRight() override { Column(C::WordRight); }                              // 30
    void ColumnWindowBottom() override { Column(C::WindowBottom); }                        // 31
    void ColumnTextStart() override { Column(C::TextStart); }                              // 32
    void ColumnTextEnd() override { Column(C::TextEnd); }                                  // 33
    void ColumnLineStart() override { Column(C::LineStart); }                              // 34
    void ColumnLineEnd() override { Column(C::LineEnd); }                                  // 35
    void ColumnWindowTop() override { Column(C::WindowTop); }                              // 36
    void SelectCharLeft() override { Stream(C::CaretLeft); }                               // 37
    void SelectWordLeft() override { Stream(C::WordLeft); }                                // 38
    void ColumnDown() override { Column(C::CaretDown); }                                   // 39
    void ColumnCharLeft() override { Column(C::CaretLeft); }                               // 40
    void ColumnCharRight() override { Column(C::CaretRight); }                             // 41
    void ColumnUp() override { Column(C::CaretUp); }                                       // 42
    void SelectPageDown() override { Stream(C::PageDown); }                                // 43
    void SelectCharRight() override { Stream(C::CaretRight); }                             // 44
    void SelectWordRight() override { Stream(C::WordRight); }                              // 45
    void SelectTextStart() override { Stream(C::TextStart); }                              // 46
    void SelectLineStart() override { Stream(C::LineStart); }                              // 47
    void SelectWindowBottom() override { Stream(C::WindowBottom); }                        // 48
    void SelectTextEnd() override { Stream(C::TextEnd); }                                  // 49
    void SelectLineEnd() override { Stream(C::LineEnd); }                                  // 50
    void SelectPageUp() override { Stream(C::PageUp); }                                    // 51
    void SelectDown() override { Stream(C::ViewDown); }                                    // 52
    void SelectUp() override { Stream(C::ViewUp); }                                        // 53
    void SelectWindowTop() override { Stream(C::WindowTop); }                              // 54
    void Find() override { Engine(C::FindDialog); }                                        // 55
    void Replace() override { Engine(C::ReplaceDialog); }                                  // 56
    void FindNext() override { Engine(C::SearchAgain); }                                   // 57
    void GetText(char* params) override;                                                   // 58
    void GotoLine(char* params) override;                                                  // 59
    void IndentBlock() override { Engine(C::IndentBlock); }                                // 60
    void InsertLineBreak() override { Engine(C::SplitLine); }                              // 61
    void NewLine() override { Engine(C::NewLine); }                                        // 62
    void TabBack() override { Engine(C::BackTab); }                                        // 63
    void Tab() override { Engine(C::TabKey); }                                             // 64
    void InsertText(const char* text) override;                                            // 65
    void GotoBookmark1() override { Call(&TTextWindow::GotoBookmark, 1); }                 // 66
    void GotoBookmark10() override { Call(&TTextWindow::GotoBookmark, 10); }               // 67
    void GotoBookmark2() override { Call(&TTextWindow::GotoBookmark, 2); }                 // 68
    void GotoBookmark3() override { Call(&TTextWindow::GotoBookmark, 3); }                 // 69
    void GotoBookmark4() override { Call(&TTextWindow::GotoBookmark, 4); }                 // 70
    void GotoBookmark5() override { Call(&TTextWindow::GotoBookmark, 5); }                 // 71
    void GotoBookmark6() override { Call(&TTextWindow::GotoBookmark, 6); }                 // 72
    void GotoBookmark7() override { Call(&TTextWindow::GotoBookmark, 7); }                 // 73
    void GotoBookmark8() override { Call(&TTextWindow::GotoBookmark, 8); }                 // 74
    void GotoBookmark9() override { Call(&TTextWindow::GotoBookmark, 9); }                 // 75
    void HelpOnWord() override { Call(&TTextWindow::HelpOnWord); }                         // 76
    void JumpToLineFromPanel() override { Call(&TTextWindow::JumpToLineFromPanel); }       // 77
    void CaretDown() override { Engine(C::ViewDown); }                                     // 78
    void CaretLeft() override { Engine(C::CaretLeft); }                                    // 79
    void CaretWordLeft() override { Engine(C::WordLeft); }                                 // 80
    void CaretRight() override { Engine(C::CaretRight); }                                  // 81
    void CaretWordRight() override { Engine(C::WordRight); }                               // 82
    void CaretLineStart() override { Engine(C::LineStart); }                               // 83
    void CaretTextEnd() override { Engine(C::TextEnd); }                                   // 84
    void CaretWindowBottom() override { Engine(C::WindowBottom); }                         // 85
    void CaretLineEnd() override { Engine(C::LineEnd); }                                   // 86
    void CaretDocumentEnd() override { Engine(C::TextEnd); }                               // 87
    void CaretTextStart() override { Engine(C::TextStart); }                               // 88
    void CaretWindowTop() override { Engine(C::WindowTop); }                               // 89
    void CaretUp() override { Engine(C::ViewUp); }                                         // 90
    void OpenFileAtCursor() override;                                                      // 91
    void PageDown() override { Engine(C::PageDown); }                                      // 92
    void PageUp() override { Engine(C::PageUp); }                                          // 93
    void Paste() override { Engine(C::PasteFromClipboard); }                               // 94
    void PrintNow() override;                                                              // 95
    void QuoteLines() override { Engine(C::QuoteBlock); }                                  // 96
    void NoOperation97() override {}                                                       // 97
    void Redo() override { Call(&TTextWindow::Redo); }                                     // 98
    int32_t Reload() override;                                                             // 99
    void ScrollLineDown() override { Engine(C::ScrollLineDown); }                          // 100
    void ScrollLineUp() override { Engine(C::ScrollLineUp); }                              // 101
    void SelectAll() override { Engine(C::SelectAll); }                                    // 102
    void SelectLine() override { Engine(C::SelectLine); }                                  // 103
    void SelectWord() override { Engine(C::SelectWord); }                                  // 104
    void NoOperation105() override {}                                                      // 105
    void ToggleBookmark1() override { Call(&TTextWindow::ToggleBookmark, 1); }             // 106
    void ToggleBookmark10() override { Call(&TTextWindow::ToggleBookmark, 10); }           // 107
    void ToggleBookmark2() override { Call(&TTextWindow::ToggleBookmark, 2); }             // 108
    void ToggleBookmark3() override { Call(&TTextWindow::ToggleBookmark, 3); }             // 109
    void ToggleBookmark4() override { Call(&TTextWindow::ToggleBookmark, 4); }             // 110
    void ToggleBookmark5() override { Call(&TTextWindow::ToggleBookmark, 5); }             // 111
    void ToggleBookmark6() override { Call(&TTextWindow::ToggleBookmark, 6); }             // 112
    void ToggleBookmark7() override { Call(&TTextWindow::ToggleBookmark, 7); }             // 113
    void ToggleBookmark8() override { Call(&TTextWindow::ToggleBookmark, 8); }             // 114
    void ToggleBookmark9() override { Call(&TTextWindow::ToggleBookmark, 9); }             // 115
    void LowerCaseSelection() override { Engine(C::LowerCaseBlock); }                      // 116
    void UpperCaseSelection() override { Engine(C::UpperCaseBlock); }                      // 117
    void SetLineText(char* params) override;                                               // 118
    void Preferences() override;                                                           // 119
    void Print() override;                                                                 // 120
    void SetupLanguage() override { CallAndAnnounce(&TTextWindow::SetupLanguage); }        // 121
    void LowerCaseWord() override { Engine(C::LowerCaseWord); }                            // 122
    void UpperCaseWord() override { Engine(C::UpperCaseWord); }                            // 123
    void ShowCodeTemplates() override { Call(&TTextWindow::ShowCodeTemplates); }           // 124
    void ToggleAutoIndent() override { CallAndAnnounce(&TTextWindow::ToggleAutoIndent); }  // 125
    void ToggleInsertMode() override { CallAndAnnounce(&TTextWindow::ToggleInsertMode); }  // 126
    void Undo() override { Call(&TTextWindow::Undo); }                                     // 127
    void UnindentBlock() override { Engine(C::UnindentBlock); }                            // 128
    void UpdateFoundInstanceList() override {                                              // 129
        Call(&TTextWindow::UpdateFoundInstanceList);
    }
    void NoOperation130() override {}                                               // 130
    void RefreshSearchPanel() override { Call(&TTextWindow::RefreshSearchPanel); }  // 131
    void SetWrapMode(char* params) override {                                       // 132
        CallAndAnnounce(&TTextWindow::SetWrapMode, static_cast<const char*>(params));
    }
    void NoOperation133() override {}  // 133
    void CanCopy(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                 int32_t* r5) override;  // 134
    void CanPaste(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                  int32_t* r5) override;  // 135
    void CanCut(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                int32_t* r5) override;  // 136
    void CanUndo(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                 int32_t* r5) override;  // 137
    void CanRedo(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                 int32_t* r5) override;  // 138
    void IsWrapMode(char* params, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4,
                    int32_t* r5) override;  // 139

    // ---- ITextNavigation -------------------------------------------------------------------
    void GotoDefinition() override { Navigate(&TEdifNavigator::GotoDefinition); }
    void FindReferences() override { Navigate(&TEdifNavigator::FindReferences); }
    void NavigateBack() override { Navigate(&TEdifNavigator::NavigateBack); }
    void NavigateForward() override { Navigate(&TEdifNavigator::NavigateForward); }
    void NextProblem() override { Navigate(&TEdifNavigator::NextProblem); }
    void PreviousProblem() override { Navigate(&TEdifNavigator::PreviousProblem); }
    int32_t CanNavigateBack() override { return ToBool32(navigator_ && navigator_->CanNavigateBack()); }
    int32_t CanNavigateForward() override { return ToBool32(navigator_ && navigator_->CanNavigateForward()); }

    // The module's idle time: indexes the netlist until the deadline. True while work is left.
    bool RunIdleSlice(TEdifNavigator::TClock::time_point deadline);

protected:
    TTextDocument(IServerModule* module, std::string fileName, std::string kind);
    // Ends the debugger link while the views it names still stand.
    ~TTextDocument() override;

    // Panel, window, outline, and the three views: the panel's first, then the editor's, then
    // the outline's.
    void BuildViews() override;
    virtual TTextWindow* CreateWindow();
    [[nodiscard]] virtual std::string EditorViewName() const = 0;
    [[nodiscard]] virtual std::string PanelViewName() const = 0;
    [[nodiscard]] virtual std::string OutlineViewName() const = 0;

    // Owned by their views, which the host's holder may destroy first.
    QPointer<TTextPanel> Panel;
    QPointer<TTextWindow> Window;
    QPointer<TOutlinePanel> Outline;

private:
    using C = TKeyCommand;

    // Runs f on the window, if it still exists, catching and reporting what it raises.
    template <class F>
    void Guarded(F&& f);
    void Engine(TKeyCommand command) {
        Guarded([&](TTextWindow& w) { w.Execute({command}); });
    }
    void Stream(TKeyCommand movement) {
        Guarded([&](TTextWindow& w) { w.Execute({C::SelectMove, movement}); });
    }
    void Column(TKeyCommand movement) {
        Guarded([&](TTextWindow& w) { w.Execute({C::ColumnMove, movement}); });
    }
    template <class... Params, class... Args>
    void Call(void (TTextWindow::*operation)(Params...), Args... args) {
        Guarded([&](TTextWindow& w) { (w.*operation)(args...); });
    }
    template <class... Params, class... Args>
    void CallAndAnnounce(void (TTextWindow::*operation)(Params...), Args... args) {
        Call(operation, args...);
        AnnouncePreferencesChanged();
    }
    // ViewPreferences become GlobalPreferences, are written and announced.
    void StoreViewPreferences(TTextWindow& w);
    // Runs a navigation step, catching and reporting what it raises.
    void Navigate(void (TEdifNavigator::*step)());
    // Writes the query's answer into result as -1 or 0; no window leaves it as it was.
    template <class Query>
    void Answer(int32_t* result, Query&& query);

    std::unique_ptr<TEdifNavigator> navigator_;
};

template <class F>
void TTextDocument::Guarded(F&& f) {
    if (!Window)
        return;
    const auto self = TComPtr<IServerDocument>::Share(this);  // a command may close the document
    try {
        f(*Window);
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromLocal8Bit(error.what()));
    } catch (...) {
    }
}

template <class Query>
void TTextDocument::Answer(int32_t* result, Query&& query) {
    if (result)
        Guarded([&](TTextWindow& w) { *result = ToBool32(query(w)); });
}

// The document the module makes for every file.
class TEDIFDocument final : public TTextDocument {
private:
    friend class TServerDocument;
    using TTextDocument::TTextDocument;
    [[nodiscard]] std::string EditorViewName() const override { return "EDIFEditor"; }
    [[nodiscard]] std::string PanelViewName() const override { return "EDIFSearchPanel"; }
    [[nodiscard]] std::string OutlineViewName() const override { return "EDIFOutline"; }
};

}  // namespace tarnwick
