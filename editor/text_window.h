#pragma once
// The editor window of a text document: it owns the buffer (bound to the file's language), the
// highlighter and the view, loads and saves the file through the host's streams, keeps the
// host's status bar current, and carries out the host's editing commands.
//
// Loading and saving keep the file's line ends: the form of the first line end and whether the
// file ended with one are noted at load and written back. A failed read never leaves text that
// a save could write over the file; a failed save leaves the modified flag set.

#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "editor/line_end_form.h"
#include "editor/text_panel.h"
#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/server_view_form.h"
#include "textengine/key_mapping.h"
#include "textengine/memo_types.h"

namespace tarnwick {

class TCustomDCMemo;
class TEdifBufferIndex;
class TEdifFoldSource;
class TEdifProblemSource;
class THostStream;
class TProblemSource;
class TSyntaxParser;
class TTextSource;
class TTextView;

// A file the window could not read or write; the message names the file and says why.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TTextWindow : public TServerViewForm {
public:
    // Makes a window of class W and its editor: the form, then the buffer, the highlighter and
    // the view from W's class operations, set up.
    template <class W = TTextWindow>
    static W* Create(QWidget* owner, TTextPanel* panel) {
        auto* window = new W(owner, panel);
        window->BuildEditor();
        return window;
    }
    ~TTextWindow() override;

    static constexpr int kBookmarkCount = 10;

    QPointer<TTextPanel> Panel;  // not owned
    // Line at which bookmark n was last set through this window, at [n - 1]; -1 = not set.
    std::array<int32_t, kBookmarkCount> BookmarkLines;
    // The debugger link: callbacks run LinkServerName:LinkCallbackProcess with LinkTarget as
    // context, and only while all three are set. "Link" makes the target this window's own
    // view in the host (EditingView): the view the linked server reaches the document by,
    // which tells it whose callback arrived. Neither is counted: that view owns this window.
    std::string LinkServerName;
    std::string LinkCallbackProcess;
    IServerView* LinkTarget = nullptr;
    IServerView* EditingView = nullptr;  // given by the document
    std::string PrintTitle;

    [[nodiscard]] TTextSource& TextSource() const noexcept { return *textSource_; }
    [[nodiscard]] TSyntaxParser& SyntaxParser() const noexcept { return *syntaxParser_; }
    [[nodiscard]] TTextView& View() const noexcept { return *view_; }
    // The netlist index of the text, which follows every change of the buffer.
    [[nodiscard]] TEdifBufferIndex& EdifIndex() const noexcept { return *edifIndex_; }
    // The netlist's problems as the view marks them.
    [[nodiscard]] const TProblemSource& EdifProblems() const noexcept;
    // Whether the text is a netlist, which the index, its outline, folds and problems serve: a
    // file whose extension the language list gives to EDIF, or a text that opens with an edif
    // form. Other text (Verilog, notes) gets none of them.
    [[nodiscard]] bool IsNetlist() const;

    // The language key of a file-name extension (without its dot).
    virtual std::string MapExtensionToLanguage(const std::string& extension);
    virtual std::unique_ptr<TTextSource> NewTextSource();
    virtual std::unique_ptr<TSyntaxParser> NewSyntaxParser();
    virtual TTextView* NewTextView();

    // Reads a full path into the buffer, then InitializeForFile. A file that does not exist
    // leaves the text as it was and answers true. A path the host can open but not read
    // throws EFileError with the text and the modified flag as they were; if nothing was read
    // into this window before, it then refuses to save over that file.
    virtual bool LoadFromFile(const std::string& fileName);
    // Writes the text to documentFileName (requestedName is not used) with the line ends the
    // file was read with, and clears the modified flag. Throws EFileError when the host refuses
    // the file, accepts fewer bytes, or reports at the close that the bytes did not land.
    virtual bool SaveToFile(const std::string& requestedName, const std::string& documentFileName);
    // Throws EStreamError when the stream accepts fewer bytes.
    virtual void SaveToStream(THostStream& stream);
    // Replaces the text; a failed read throws EStreamError and keeps the old text. Answers the
    // line ends the stream was written with.
    virtual TLineEndForm LoadFromStream(THostStream& stream);
    virtual void SetupView();
    // The view's change handler: the caret position, the insert mode and the modified or
    // read-only state on the host's status bar.
    virtual void StateChanged(TCustomDCMemo& sender, TMemoStates changes);
    // Marks the problems in the view and counts them on the host's status bar; null shows none.
    // The owner calls it again whenever the problems change.
    void ShowProblems(const TProblemSource* problems);
    // Bookmarks n = 1..10; other numbers are ignored.
    virtual void ToggleBookmark(int32_t n);
    virtual void GotoBookmark(int32_t n);
    virtual void ClearBookmark(int32_t n);

    // Takes the file's extension as the language key, applies the preferences, forgets the
    // bookmark lines and clears the modified flag.
    bool InitializeForFile(const std::string& fileName);
    // GlobalPreferences to the highlighter's default attribute and to the view, then the
    // language's scheme and templates. A scheme or template file that cannot be read is
    // reported and leaves the text uncoloured or without templates.
    void ApplyGlobalPreferences();

    // ---- The host's editing commands (those the document does not carry out itself) ------
    // One command of the engine, as a key binding would run it.
    void Execute(const TKeyAction& action);
    // Undo and redo with the hourglass shown meanwhile.
    void Undo();
    void Redo();
    void EditSyntaxScheme();
    void SetupLanguage();
    void HelpOnWord();
    void ShowCodeTemplates();
    // Invert the preference in GlobalPreferences; the document then announces the change.
    void ToggleAutoIndent();
    void ToggleInsertMode();
    // "Limit" = "Margin", "Window" or "None" (any case) in GlobalPreferences; nothing else changes.
    void SetWrapMode(const char* params);

    // ---- Requests of other servers, in parameter strings --------------------------------
    // Each reads params and answers in the same buffer, which holds kParameterStringLimit
    // bytes; no reply writes more. A reply that would not fit leaves out its last pairs.
    void ExternalRequest(char* params);
    void QueryCrossProbeTarget(char* params);
    void CrossProbeTo(char* params);
    // A line's text is cut to the buffer.
    void GetText(char* params);
    // Without "NewLineNumber", the go-to dialog.
    void GotoLine(char* params);
    // Plain text, not parameters; at most kParameterStringLimit bytes of it are read.
    void InsertText(const char* text);
    void SetLineText(char* params);
    // Runs the linked server's callback process with the message, cut to 255 characters.
    void RunLinkCallback(const std::string& message);
    // The "Command=ShutDown" callback, then no target: later callbacks go nowhere.
    void EndLink();
    // ---- The search panel's requests --------------------------------------------------------
    // Lists in the panel every line that holds its search text. Throws ERegExprError for a bad
    // pattern.
    void UpdateFoundInstanceList();
    // Enables the panel's history, then lists the lines as above.
    void RefreshSearchPanel();
    // Selects the line of the panel's selected found entry, with the caret at its start, and
    // gives the focus back to the found list; nothing without a selected entry.
    void JumpToLineFromPanel();

    // State queries of the host's menus.
    [[nodiscard]] bool CanCopy() const;
    [[nodiscard]] bool CanPaste() const;
    [[nodiscard]] bool CanUndo() const;
    [[nodiscard]] bool CanRedo() const;
    // Whether the wrap mode "Limit" names is on; nullopt without a "Limit" of those three.
    [[nodiscard]] std::optional<bool> IsWrapMode(const char* params) const;

protected:
    TTextWindow(QWidget* owner, TTextPanel* panel);

private:
    void BuildEditor();
    void ReadFile(const std::string& path);
    void UseLineEnds(const TLineEndForm& form);
    void ReloadLanguage();

    std::unique_ptr<TTextSource> textSource_;
    std::unique_ptr<TSyntaxParser> syntaxParser_;
    std::unique_ptr<TEdifBufferIndex> edifIndex_;  // listens to the buffer: goes before it
    // The view's fold ranges and problem marks, read from the index.
    std::unique_ptr<TEdifFoldSource> edifFolds_;
    std::unique_ptr<TEdifProblemSource> edifProblems_;
    TTextView* view_ = nullptr;  // a child widget; deleted first in the destructor
    // The text is the file's, or the user's own when the file did not exist. A read that fails
    // before either leaves the window without a text that may replace the file.
    bool hasOwnText_ = false;
    bool mayReplaceFile_ = true;
};

}  // namespace tarnwick
