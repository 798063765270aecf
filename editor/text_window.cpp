#include "editor/text_window.h"

#include <QVBoxLayout>
#include <cstdio>

#include "editor/editor_search_dialogs.h"
#include "editor/host_byte_stream.h"
#include "editor/text_editor_preferences.h"
#include "editor/text_panel.h"
#include "editor/text_view.h"
#include "host/abi/client_interfaces.h"
#include "host/client.h"
#include "host/host_functions.h"
#include "host/host_stream.h"
#include "host/message_dialog.h"
#include "languages/dialogs/language_dialogs.h"
#include "languages/syntax_parser.h"
#include "languages/text_source.h"
#include "textengine/edif/edif_buffer_index.h"
#include "textengine/edif/edif_view_sources.h"

namespace tarnwick {

namespace {

// The word delimiters of the editor; the last two are an apostrophe and a double quote.
constexpr const char* kWordDelimiters = "{}+-/*():=,;><$.#[]^@&~|%'\"";
constexpr const char* kLanguagesFolder = "System/Languages/";
constexpr int32_t kUndoLimit = 10000;
constexpr TColorValue kBlack = 0x000000;
constexpr TColorValue kYellow = 0x00FFFF;  // RGB 255,255,0

// The host's status panels the window writes.
constexpr int32_t kProblemsPanel = 0, kCaretPanel = 1, kInsertModePanel = 2, kStatePanel = 3;

void SetStatusText(int32_t panel, const std::string& text) {
    IClient* client = GlobalClient();
    if (!client)
        return;
    if (const auto ui = TComPtr<IClientUserInterface>::Adopt(client->GetUserInterface()))
        ui->SetStatusText(panel, text.c_str());
}

bool HasFolderPart(const std::string& path) { return path.find('/') != std::string::npos; }

}  // namespace

TTextWindow::TTextWindow(QWidget* owner, TTextPanel* panel) : TServerViewForm(owner), Panel(panel) {
    BookmarkLines.fill(-1);
    setObjectName("TextWindow");
    setWindowTitle("Text");
    resize(595, 449);
}

TTextWindow::~TTextWindow() {
    EndLink();
    // The view and the buffer refer to each other and to the highlighter: the view goes first.
    delete view_;
    if (textSource_)
        textSource_->SetSyntaxParser(nullptr);
}

void TTextWindow::BuildEditor() {
    textSource_ = NewTextSource();
    edifIndex_ = std::make_unique<TEdifBufferIndex>(*textSource_);
    syntaxParser_ = NewSyntaxParser();
    edifFolds_ = std::make_unique<TEdifFoldSource>(edifIndex_->Index());
    edifProblems_ = std::make_unique<TEdifProblemSource>(edifIndex_->Index());
    view_ = NewTextView();
    view_->SetFoldRanges(edifFolds_.get());
    SetupView();
    setFocusProxy(view_);
}

const TProblemSource& TTextWindow::EdifProblems() const noexcept { return *edifProblems_; }

bool TTextWindow::IsNetlist() const {
    const TTextSource& source = TextSource();
    const std::string language = source.LanguageManager().LanguageOf(source.LanguageKey());
    if (QString::fromStdString(language).compare("EDIF", Qt::CaseInsensitive) == 0)
        return true;
    // The beginning of the text, read without assembling a long first line.
    constexpr size_t kLookAhead = 4096;
    std::string head;
    for (int32_t line = 0; line < source.LineCount() && head.size() < kLookAhead; ++line) {
        source.Store().CopyText(line, 0, kLookAhead - head.size(), head);
        head += '\n';
    }
    return StartsWithEdifForm(head);
}

std::string TTextWindow::MapExtensionToLanguage(const std::string& extension) { return extension; }

std::unique_ptr<TTextSource> TTextWindow::NewTextSource() { return std::make_unique<TTextSource>(); }

std::unique_ptr<TSyntaxParser> TTextWindow::NewSyntaxParser() { return std::make_unique<TSyntaxParser>(); }

TTextView* TTextWindow::NewTextView() { return new TTextView(this); }

void TTextWindow::SetupView() {
    TTextView& view = View();
    TTextSource& source = TextSource();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&view);
    view.SetMemoSource(&source);
    view.SetUseMonoFont(false);
    source.SetUndoLimit(kUndoLimit);
    view.SelColor = kBlack;
    view.SelBackColor = kYellow;
    view.SetScrollBars(ssBoth);
    view.SetTemplatesType("Custom");
    // Options no preference sets stay off: a search marks its match without selecting it,
    // and Copy without a selection leaves the clipboard alone.
    source.SetOptions(TStringsOptions{});
    source.SetBlockOption(bkBoth);
    view.OnStateChange = [this](TCustomDCMemo& sender, TMemoStates changes) {
        StateChanged(sender, changes);
    };
    // A key or mouse command that fails tells the user in the host's error box.
    view.OnError = [](TCustomDCMemo&, const std::string& message) {
        ShowErrorMessage(QString::fromLatin1(message.c_str()));
    };
    // A folded form's lines are left out of the rows; without it a fold would only mark them.
    view.SetOptions(TMemoOptions{moDrawGutter, moThumbTracking, moHideInvisibleLines});

    TAttrItem defaultAttr = SyntaxParser().DefaultAttr();
    defaultAttr.FontID = 0;
    SyntaxParser().SetDefaultAttr(defaultAttr);
    source.SetSyntaxParser(&SyntaxParser());
    source.SetTemplatesType("Custom");
    source.SetUndoLimit(kUndoLimit);
    view.SetCodeTemplates(&source.CodeTemplates());

    TLanguageManager& languages = source.LanguageManager();
    languages.SyntaxDirectory = kLanguagesFolder;
    languages.TemplateDirectory = kLanguagesFolder;
    languages.SyntaxFileExtension = "syn";
    languages.TemplateFileExtension = "tpl";
    languages.IniFileName = "Languages.ini";
    InstallSearchDialogs(source);
    InstallLanguageDialogs(source);
    source.Dialogs.ShowErrorMessage = [](const std::string& message) {
        ShowErrorMessage(QString::fromLocal8Bit(message.c_str()));
    };

    source.SetDelimeters(kWordDelimiters);
    UseLineEnds(TLineEndForm{});
}

// ---- Files --------------------------------------------------------------------------------

bool TTextWindow::InitializeForFile(const std::string& fileName) {
    std::string extension = HostApi::ExtractFileExt(fileName);
    if (!extension.empty())
        extension.erase(0, 1);  // the dot
    TextSource().SetLanguageKey(MapExtensionToLanguage(extension));
    ApplyGlobalPreferences();
    View().SetTemplatesType("Custom");
    BookmarkLines.fill(-1);
    TextSource().SetModified(false);
    return true;
}

void TTextWindow::ApplyGlobalPreferences() {
    SyntaxParser().SetDefaultBackColor(GlobalPreferences.WindowColor);
    SyntaxParser().SetDefaultFont(GlobalPreferences.Font);
    View().ApplyPreferences(GlobalPreferences);
    ReloadLanguage();
}

// A scheme that is not a scheme was shown to the user by the text source already.
void TTextWindow::ReloadLanguage() {
    const auto report = [](const std::exception& error) {
        ShowErrorMessage(QString::fromLocal8Bit(error.what()));
    };
    try {
        TextSource().LoadLanguageScheme(&SyntaxParser());
    } catch (const TSchemeReadError&) {
    } catch (const std::exception& error) {
        report(error);
    }
    try {
        TextSource().LoadLanguageTemplates();
    } catch (const std::exception& error) {
        report(error);
    }
}

bool TTextWindow::LoadFromFile(const std::string& fileName) {
    if (HasFolderPart(fileName)) {
        try {
            ReadFile(fileName);
        } catch (const EFileError&) {
            if (!hasOwnText_) {
                mayReplaceFile_ = false;
                TextSource().SetReadOnly(true);
            }
            throw;
        }
        if (!mayReplaceFile_)
            TextSource().SetReadOnly(false);
        hasOwnText_ = true;
        mayReplaceFile_ = true;
    }
    return InitializeForFile(fileName);
}

// The host may say a path does not exist that it can still open (a folder): what it can open
// is read, so that a failure there refuses the file instead of opening it empty.
void TTextWindow::ReadFile(const std::string& path) {
    TVFS_Stream stream(path.c_str(), kStreamOpenRead);
    if (stream.Handle == 0) {
        if (HostApi::FileExists(path))
            throw EFileError("Cannot read " + path + ": the file system refused to open it.");
        return;  // a new file
    }
    try {
        UseLineEnds(LoadFromStream(stream));
    } catch (const ETextLimitError& limit) {
        throw EFileError("Cannot read " + path + ": " + limit.what());
    } catch (const EStreamError&) {
        throw EFileError("Cannot read " + path + ": reading it failed.");
    }
}

TLineEndForm TTextWindow::LoadFromStream(THostStream& stream) {
    THostByteStream bytes(stream);
    TLineEndSniffer sniffer(bytes);
    TextSource().LoadFromStream(sniffer);
    return sniffer.Form();
}

bool TTextWindow::SaveToFile(const std::string&, const std::string& documentFileName) {
    const std::string& path = documentFileName;
    if (!mayReplaceFile_)
        throw EFileError("Not saved: " + path + " could not be read, and saving would replace it.");
    TVFS_Stream stream(path.c_str(), kStreamCreateWrite);
    if (stream.Handle == 0)
        throw EFileError("Cannot save " + path + ": the file system refused to create it.");
    try {
        SaveToStream(stream);
    } catch (const EStreamError&) {
        throw EFileError("Cannot save " + path + ": Stream write error.");
    }
    if (!stream.Close())
        throw EFileError("Cannot save " + path + ": the file system could not finish writing it.");
    TextSource().SetModified(false);
    return true;
}

void TTextWindow::SaveToStream(THostStream& stream) {
    THostByteStream bytes(stream);
    TextSource().SaveToStream(bytes);
}

void TTextWindow::UseLineEnds(const TLineEndForm& form) {
    TextSource().SetOutFormat(form.Format);
    TextSource().SetFinalLineEnd(form.FinalLineEnd ? feWritten : feOmitted);
}

// ---- Status line --------------------------------------------------------------------------

void TTextWindow::StateChanged(TCustomDCMemo&, TMemoStates changes) {
    const TTextSource& source = TextSource();
    if (changes & msCaretMoved) {
        char position[32];
        std::snprintf(position, sizeof position, "%d: %d", source.Caret().LinePos + 1,
                      source.Caret().CharPos + 1);
        SetStatusText(kCaretPanel, position);
    }
    if (changes & msInsertMode)
        SetStatusText(kInsertModePanel, TTextSource::InsertMode() ? "Insert" : "Overwrite");
    SetStatusText(kStatePanel, source.ReadOnly() ? "Read Only" : source.Modified() ? "Modified" : "");
}

void TTextWindow::ShowProblems(const TProblemSource* problems) {
    View().SetProblems(problems);
    SetStatusText(kProblemsPanel, problems != nullptr ? ProblemCountText(*problems) : "");
}

// ---- Bookmarks ----------------------------------------------------------------------------

void TTextWindow::ToggleBookmark(int32_t n) {
    if (n < 1 || n > kBookmarkCount)
        return;
    if (TextSource().Caret().LinePos == BookmarkLines[n - 1]) {
        ClearBookmark(n);
        return;
    }
    TextSource().SetBookmark(n);
    BookmarkLines[n - 1] = TextSource().Caret().LinePos;
    setFocus();
}

void TTextWindow::ClearBookmark(int32_t n) {
    if (n < 1 || n > kBookmarkCount)
        return;
    TextSource().ClearBookmark(n);
    BookmarkLines[n - 1] = -1;
    setFocus();
}

void TTextWindow::GotoBookmark(int32_t n) {
    if (n < 1 || n > kBookmarkCount)
        return;
    setFocus();
    TextSource().GotoBookmark(n);
    TextSource().SelectLine();
}

}  // namespace tarnwick
