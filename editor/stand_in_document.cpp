#include "editor/stand_in_document.h"

#include <QLabel>
#include <QVBoxLayout>
#include <fstream>
#include <iterator>
#include <string>

#include "dc_memo.h"
#include "editor/host_byte_stream.h"
#include "widgets/ini_file.h"
#include "host/help_context_finder.h"
#include "host/host_functions.h"
#include "host/host_stream.h"
#include "host/message_dialog.h"
#include "host/server_document_view.h"
#include "host/server_view_form.h"
#include "syntax_parser.h"
#include "syntax_scheme.h"

namespace {

std::string ExtensionOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

// The scheme file of the language Languages.ini associates with the file's extension, or "".
std::string SchemePathFor(const std::string& fileName) {
    const std::string folder = HostProgramFolder();
    std::ifstream in(folder + "System/Languages/Languages.ini", std::ios::binary);
    if (!in)
        return {};
    const TIniFile ini = TIniFile::Parse(std::string(std::istreambuf_iterator<char>(in), {}));
    const auto language = ini.ReadString("FileAssociations", ExtensionOf(fileName));
    if (!language || language->empty())
        return {};
    const auto scheme = ini.ReadString("SyntaxSchemes", *language);
    return scheme && !scheme->empty() ? folder + *scheme : std::string();
}

tarnwick::TFontDesc EditorFont() {
    tarnwick::TFontDesc font;
    font.Name = "DejaVu Sans Mono";
    font.Size = 10;
    return font;
}

}  // namespace

TStandInDocument::TStandInDocument(IServerModule* module, std::string fileName, std::string kind)
    : TServerDocument(module, std::move(fileName), std::move(kind)),
      parser_(std::make_unique<tarnwick::TSyntaxParser>()) {}

TStandInDocument::~TStandInDocument() {
    // The view's buffer must not keep the parser past its end.
    if (view_)
        view_->MemoSource().SetSyntaxParser(nullptr);
}

void TStandInDocument::BuildViews() {
    auto* panel = new TServerViewForm;
    panel->setObjectName("TextPanel");
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(new QLabel("Search", panel));
    panelLayout->addStretch();

    auto* window = new TServerViewForm;
    window->setObjectName("TextWindow");
    view_ = new tarnwick::TDCMemo(window);
    using namespace tarnwick;
    view_->SetOptions(view_->Options().With(moDrawGutter).With(moLineNumbers).With(moLineNumbersOnGutter)
                          .With(moDrawMargin).With(moOverwriteCaret));
    view_->SetScrollBars(ssBoth);
    view_->LineHighlight.Visible = true;
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    window->setFocusProxy(view_);
    ApplyLanguage();

    auto editing = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kEditingViewFlag, window, this, "EDIFEditor"));
    auto panelView = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kPanelViewFlag, panel, this, "EDIFSearchPanel"));
    AttachView(panelView.Get());
    AttachView(editing.Get());
}

// Colours the text by the language of the file's extension; a file without one stays plain.
void TStandInDocument::ApplyLanguage() {
    const tarnwick::TFontDesc font = EditorFont();
    view_->MemoSource().SetSyntaxParser(nullptr);
    const std::string schemePath = SchemePathFor(FileName);
    if (!schemePath.empty()) {
        try {
            tarnwick::TSyntaxScheme scheme;
            scheme.LoadFromFile(schemePath);
            parser_->SetSyntaxScheme(scheme);
            parser_->SetDefaultFont(font);
            view_->MemoSource().SetSyntaxParser(parser_.get());
        } catch (const std::exception& e) {
            ShowErrorMessage(QString::fromLocal8Bit(e.what()));
        }
    }
    view_->SetFont(font);
}

int32_t TStandInDocument::LoadDocument() {
    if (FileName.find('/') == std::string::npos || !HostApi::FileExists(FileName))
        return kTrue;
    TVFS_Stream stream(FileName.c_str(), kStreamOpenRead);
    THostByteStream bytes(stream);
    try {
        view_->MemoSource().LoadFromStream(bytes);
    } catch (const std::exception& e) {
        ShowErrorMessage(QString::fromLocal8Bit(e.what()));
    }
    view_->MemoSource().SetModified(false);
    return kTrue;
}

int32_t TStandInDocument::SaveDocument(const char*) {
    try {
        TVFS_Stream stream(FileName.c_str(), kStreamCreateWrite);
        THostByteStream bytes(stream);
        view_->MemoSource().SaveToStream(bytes);
    } catch (const std::exception&) {
        return kFalse;  // the host reports what its file system refused
    }
    view_->MemoSource().SetModified(false);
    return kTrue;
}

int32_t TStandInDocument::IsUnchanged() { return ToBool32(!view_->MemoSource().Modified()); }

int32_t TStandInDocument::GetDocumentModified() { return ToBool32(view_->MemoSource().Modified()); }

void TStandInDocument::SetDocumentModified(int32_t modified) {
    view_->MemoSource().SetModified(modified != 0);
}
