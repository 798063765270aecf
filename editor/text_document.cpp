#include "editor/text_document.h"

#include "editor/preferences_dialog.h"

#include <algorithm>
#include <cstring>

#include "editor/host_byte_stream.h"
#include "editor/printer_setup.h"
#include "editor/text_printing.h"
#include "editor/text_view.h"
#include "host/abi/client_interfaces.h"
#include "host/abstract_server_view.h"
#include "host/client.h"
#include "host/document_notification.h"
#include "host/host_functions.h"
#include "host/host_stream.h"
#include "host/server_document_view.h"
#include "languages/text_file.h"
#include "languages/text_source.h"
#include "textengine/memory_stream.h"

namespace tarnwick {

namespace {

void ShowError(const std::exception& error) { ShowErrorMessage(QString::fromLocal8Bit(error.what())); }

}  // namespace

TTextDocument::TTextDocument(IServerModule* module, std::string fileName, std::string kind)
    : TServerDocument(module, std::move(fileName), std::move(kind)) {}

TTextDocument::~TTextDocument() {
    if (Window)
        Window->EndLink();
}

int32_t TTextDocument::QueryInterface(const TGUID& iid, void** out) {
    if (TServerDocument::QueryInterface(iid, out) == S_OK_)
        return S_OK_;
    const bool found = OfferInterface<ITextContent>(iid, out, this) ||
                       OfferInterface<ITextEditorCommands>(iid, out, this) ||
                       OfferInterface<ITextNavigation>(iid, out, this);
    return QueryResult(found, out);
}

void TTextDocument::BuildViews() {
    Panel = new TTextPanel;
    Window = CreateWindow();
    auto editing = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kEditingViewFlag, Window, this, EditorViewName()));
    Panel->SetBoundView(editing.Get());
    Window->EditingView = editing.Get();
    auto panel = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kPanelViewFlag, Panel, this, PanelViewName()));
    AttachView(panel.Get());
    AttachView(editing.Get());

    Outline = new TOutlinePanel;
    navigator_ = std::make_unique<TEdifNavigator>(Window, Panel, Outline);
    auto outline = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kPanelViewFlag, Outline, this, OutlineViewName()));
    AttachView(outline.Get());
}

void TTextDocument::Navigate(void (TEdifNavigator::*step)()) {
    if (!navigator_)
        return;
    const auto self = TComPtr<IServerDocument>::Share(this);
    try {
        ((*navigator_).*step)();
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
    }
}

bool TTextDocument::RunIdleSlice(TEdifNavigator::TClock::time_point deadline) {
    try {
        return navigator_ && navigator_->RunIdleSlice(deadline);
    } catch (...) {
        return false;  // an index that cannot be built leaves the outline empty, the text untouched
    }
}

TTextWindow* TTextDocument::CreateWindow() {
    TTextWindow* window = TTextWindow::Create(nullptr, Panel);
    window->InitializeForFile(FileName);
    return window;
}

// ---- IServerDocument ----------------------------------------------------------------------

int32_t TTextDocument::LoadDocument() {
    if (!Window)
        return kFalse;
    try {
        return ToBool32(Window->LoadFromFile(FileName));
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
    }
    return kFalse;
}

int32_t TTextDocument::SaveDocument(const char*) {
    if (!Window)
        return kFalse;
    try {
        return ToBool32(Window->SaveToFile({}, FileName));
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
    }
    return kFalse;
}

int32_t TTextDocument::IsUnchanged() { return ToBool32(!Window || !Window->TextSource().Modified()); }

int32_t TTextDocument::GetDocumentModified() { return ToBool32(Window && Window->TextSource().Modified()); }

void TTextDocument::SetDocumentModified(int32_t modified) {
    if (Window)
        Window->TextSource().SetModified(modified != 0);
}

// ---- ITextContent -------------------------------------------------------------------------

int32_t TTextDocument::GetLineCount() { return Window ? Window->TextSource().LineCount() : 0; }

void TTextDocument::GetLine(int32_t index, char* buffer) {
    if (!buffer || index < 0 || index >= GetLineCount())
        return;
    Guarded([&](TTextWindow& w) {
        const std::string line = w.TextSource().GetLineText(index);
        std::memcpy(buffer, line.data(), line.size());
        buffer[line.size()] = '\0';
    });
}

void TTextDocument::SetLine(int32_t index, const char* text) {
    if (text)
        Guarded([&](TTextWindow& w) { w.TextSource().PutLineText(index, text); });
}

void TTextDocument::SaveLinesToFile(const char* path) {
    if (!path)
        return;
    Guarded([&](TTextWindow& w) {
        TMemoryStream bytes;
        w.TextSource().SaveToStream(bytes);
        WriteTextFile(path, bytes.Bytes());
    });
}

void TTextDocument::SaveLinesToStream(IStream* stream) {
    if (!stream)
        return;
    Guarded([&](TTextWindow& w) {
        TIStreamAdapter adapter(stream);
        w.SaveToStream(adapter);
    });
}

void TTextDocument::LoadLinesFromStream(IStream* stream) {
    if (!stream)
        return;
    Guarded([&](TTextWindow& w) {
        if (w.TextSource().ReadOnly())
            return;
        TIStreamAdapter adapter(stream);
        w.LoadFromStream(adapter);
        w.TextSource().SetModified(true);
    });
}

void TTextDocument::ReapplyPreferences() {
    Guarded([](TTextWindow& w) { w.ApplyGlobalPreferences(); });
}

void TTextDocument::AnnouncePreferencesChanged() {
    try {
        BroadcastDocumentNotification(kNotifyPreferencesChanged, this);
    } catch (...) {
    }
}

// ---- ITextEditorCommands carried out here -------------------------------------------------

// ---- Requests of other servers, carried out by the window ----------------------------------

void TTextDocument::QueryCrossProbeTarget(char* params) { Call(&TTextWindow::QueryCrossProbeTarget, params); }

void TTextDocument::CrossProbeTo(char* params) { Call(&TTextWindow::CrossProbeTo, params); }

void TTextDocument::ExternalRequest(char* params) { Call(&TTextWindow::ExternalRequest, params); }

void TTextDocument::GetText(char* params) { Call(&TTextWindow::GetText, params); }

void TTextDocument::GotoLine(char* params) { Call(&TTextWindow::GotoLine, params); }

void TTextDocument::InsertText(const char* text) { Call(&TTextWindow::InsertText, text); }

void TTextDocument::SetLineText(char* params) { Call(&TTextWindow::SetLineText, params); }

// The dialog edits the view's own copy; confirmed, it becomes every editor's preferences.
void TTextDocument::Preferences() {
    Guarded([&](TTextWindow& w) {
        if (TPreferencesDialog::Show(w.View().ViewPreferences))
            StoreViewPreferences(w);
    });
}

// The settings are kept before the printout starts, so a printer that fails loses none of them.
void TTextDocument::Print() {
    Guarded([&](TTextWindow& w) {
        w.PrintTitle = FileName.substr(0, 255);
        const TPrintChoice choice = ChoosePrintOptions(w.View(), w.PrintTitle, ProcessPrinterSetup());
        if (!choice.confirmed)
            return;
        StoreViewPreferences(w);
        if (choice.printNow && Window)
            PrintTextNow(Window->View(), Window->PrintTitle, ProcessPrinterSetup());
    });
}

void TTextDocument::PrintNow() {
    Guarded([&](TTextWindow& w) {
        w.PrintTitle = FileName.substr(0, 255);
        PrintTextNow(w.View(), w.PrintTitle, ProcessPrinterSetup());
    });
}

void TTextDocument::StoreViewPreferences(TTextWindow& w) {
    GlobalPreferences.Assign(w.View().ViewPreferences);
    const TFileResult written = GlobalPreferences.Write();
    if (!written.IsOk())
        ShowErrorMessage(QString::fromLocal8Bit(written.Message().c_str()));
    AnnouncePreferencesChanged();
}

void TTextDocument::OpenFileAtCursor() {
    Guarded([&](TTextWindow& w) {
        const std::string name = w.TextSource().FileNameAtCaret();
        if (name.empty())
            return;
        const std::string path = HostApi::ChangeFileName(FileName, name);
        if (!HostApi::FileExists(path)) {
            ShowInformationMessage(QString::fromLocal8Bit(("Cannot find file named " + path + ".").c_str()));
            return;
        }
        IClient* client = GlobalClient();
        const std::string kind = HostApi::GetFileEditorName(path);
        const auto document = TComPtr<IServerDocument>::Adopt(
            client ? client->OpenDocument(kind.c_str(), path.c_str()) : nullptr);
        if (document)
            client->ShowDocument(document.Get());
        else
            ShowErrorMessage("Could not open file.");
    });
}

int32_t TTextDocument::Reload() {
    try {
        if (ConfirmMessage("Reloading will lose all changes. Continue?"))
            return LoadDocument();
    } catch (...) {
    }
    return kFalse;
}

void TTextDocument::CanCopy(char*, int32_t* r1, int32_t*, int32_t*, int32_t*, int32_t*) {
    Answer(r1, [](TTextWindow& w) { return w.CanCopy(); });
}

void TTextDocument::CanPaste(char*, int32_t* r1, int32_t*, int32_t*, int32_t*, int32_t*) {
    Answer(r1, [](TTextWindow& w) { return w.CanPaste(); });
}

void TTextDocument::CanCut(char*, int32_t* r1, int32_t*, int32_t*, int32_t*, int32_t*) {
    Answer(r1, [](TTextWindow& w) { return w.CanCopy(); });
}

void TTextDocument::CanUndo(char*, int32_t* r1, int32_t*, int32_t*, int32_t*, int32_t*) {
    Answer(r1, [](TTextWindow& w) { return w.CanUndo(); });
}

void TTextDocument::CanRedo(char*, int32_t* r1, int32_t*, int32_t*, int32_t*, int32_t*) {
    Answer(r1, [](TTextWindow& w) { return w.CanRedo(); });
}

void TTextDocument::IsWrapMode(char* params, int32_t*, int32_t* r2, int32_t*, int32_t*, int32_t*) {
    Guarded([&](TTextWindow& w) {
        if (const std::optional<bool> checked = w.IsWrapMode(params); checked && r2)
            *r2 = ToBool32(*checked);
    });
}

}  // namespace tarnwick
