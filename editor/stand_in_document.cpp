#include "editor/stand_in_document.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <string>

#include "host/host_functions.h"
#include "host/host_stream.h"
#include "host/server_document_view.h"
#include "host/server_view_form.h"

void TStandInDocument::BuildViews() {
    auto* panel = new TServerViewForm;
    panel->setObjectName("TextPanel");
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(new QLabel("Search", panel));
    panelLayout->addStretch();

    auto* window = new TServerViewForm;
    window->setObjectName("TextWindow");
    editor_ = new QPlainTextEdit(window);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setFont(QFont("Monospace"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);

    auto editing = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kEditingViewFlag, window, this, "EDIFEditor"));
    auto panelView = TComPtr<IServerDocumentView>::Share(
        new TServerDocumentView(kPanelViewFlag, panel, this, "EDIFSearchPanel"));
    AttachView(panelView.Get());
    AttachView(editing.Get());
}

int32_t TStandInDocument::LoadDocument() {
    if (FileName.find('/') == std::string::npos || !HostApi::FileExists(FileName))
        return kTrue;
    TVFS_Stream stream(FileName.c_str(), kStreamOpenRead);
    std::string text;
    char chunk[65536];
    for (int64_t n; (n = stream.Read(chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(n));
    editor_->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    editor_->document()->setModified(false);
    return kTrue;
}

int32_t TStandInDocument::SaveDocument(const char*) {
    const QByteArray bytes = editor_->toPlainText().toLatin1();
    bool complete = false;
    {
        TVFS_Stream stream(FileName.c_str(), kStreamCreateWrite);
        complete = stream.Write(bytes.constData(), bytes.size()) == bytes.size();
    }
    if (complete)
        editor_->document()->setModified(false);
    return ToBool32(complete);
}

int32_t TStandInDocument::IsUnchanged() { return ToBool32(!editor_->document()->isModified()); }

int32_t TStandInDocument::GetDocumentModified() { return ToBool32(editor_->document()->isModified()); }

void TStandInDocument::SetDocumentModified(int32_t modified) {
    editor_->document()->setModified(modified != 0);
}
