#include "hostapp/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "hostapp/common_dialogs.h"
#include "hostapp/disk_file_system.h"
#include "hostapp/editor_kinds.h"
#include "hostapp/help_viewer_window.h"
#include "hostapp/holder_widget.h"
#include "hostapp/text_commands.h"
#include "hostapp/text_edit_processes.h"

namespace harbinet {

struct TMainWindow::TOpenDocument {
    TComPtr<IServerDocument> document;
    TComPtr<IServerModule> module;
    std::string path;
    THolderWidget* tab = nullptr;  // holds the editing view; owned by the tab widget
    std::vector<THolderWidget*> panels;  // the first in the search dock, the others in the outline dock
};

namespace {

std::string PathOf(IServerDocument& document) {
    const char* name = document.GetFileName();
    return name ? name : "";
}

QString RecentFilesPath() {
    const QString config = qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")
                               ? QDir::homePath() + "/.config"
                               : qEnvironmentVariable("XDG_CONFIG_HOME");
    return config + "/Harbinet/recent-files";
}

}  // namespace

TMainWindow::TMainWindow(THostClient& client) : client_(client) {
    setWindowTitle("Harbinet");
    resize(1100, 750);

    documents_ = new QTabWidget(this);
    documents_->setDocumentMode(true);
    documents_->setTabsClosable(true);
    documents_->setMovable(true);
    setCentralWidget(documents_);
    connect(documents_, &QTabWidget::tabCloseRequested, this, [this](int i) { CloseDocument(i); });
    connect(documents_, &QTabWidget::currentChanged, this, &TMainWindow::CurrentTabChanged);

    panelDock_ = AddPanelDock("Search", "PanelDock", Qt::RightDockWidgetArea, panels_);
    outlineDock_ = AddPanelDock("Outline", "OutlineDock", Qt::LeftDockWidgetArea, outlines_);

    // Modules do their background work (such as indexing a netlist) when the host is idle. The
    // pulse is timed rather than continuous, so an idle Harbinet does not spin a core.
    idlePulse_ = new QTimer(this);
    idlePulse_->setInterval(kIdlePulseMs);
    connect(idlePulse_, &QTimer::timeout, this, [this] {
        for (const TLoadedModule& m : client_.Modules().Modules())
            if (m.module)
                m.module->ApplicationIdle();
    });
    idlePulse_->start();

    helpViewer_ = new THelpViewerWindow(this);
    helpViewer_->RegisterProcesses(client_);
    RegisterTextEditProcesses(client_);
    RegisterCommonDialogs(client_, this);

    client_.UserInterface().AttachStatusBar(statusBar(), kStatusPanelCount);
    client_.UserInterface().SetStatusListener([this] { UpdateModifiedMarks(); });
    LoadRecent();
    BuildMenus();
    statusBar()->showMessage("Ready");
}

TMainWindow::~TMainWindow() {
    // Documents hold their modules; give every one back before the modules go.
    while (!open_.empty()) {
        TOpenDocument& open = *open_.back();
        if (open.tab)
            open.tab->ReleaseView();
        for (THolderWidget* panel : open.panels)
            panel->ReleaseView();
        if (open.module)
            open.module->DestroyDocument(open.document.Get());
        open_.pop_back();
    }
}

void TMainWindow::BuildMenus() {
    const TCurrentCommands current = [this] { return CurrentCommands(); };
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Open...", QKeySequence::Open, this, &TMainWindow::ChooseAndOpen);
    file->addAction("&Save", QKeySequence::Save, this, [this] { SaveCurrent(); });
    file->addAction("Save &As...", QKeySequence::SaveAs, this, &TMainWindow::ChooseAndSaveAs);
    file->addAction("&Close", QKeySequence::Close, this,
                    [this] { CloseDocument(documents_->currentIndex()); });
    file->addSeparator();
    AddTextPrintMenu(file, current);
    file->addSeparator();
    recentMenu_ = file->addMenu("&Recent Files");
    RefreshRecentMenu();
    file->addSeparator();
    file->addAction("E&xit", this, &QWidget::close);

    AddTextMenus(menuBar(), current);
    RegisterTextShortcuts(client_.UserInterface(), current);

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(panelDock_->toggleViewAction());
    view->addAction(outlineDock_->toggleViewAction());
    view->addSeparator();
    AddTextViewMenu(view, current);

    // The stand-in debugger is a server of its own (libdebugger.so beside harbinet).
    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->addAction("&Debugger...", this, [this] {
        if (client_.RunProcess("Debugger:ShowWindow", nullptr, 0, nullptr) == kFalse)
            QMessageBox::information(
                this, "Harbinet",
                "The debugger server is not loaded: libdebugger.so is not beside harbinet.");
    });

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&About Harbinet", this, [this] {
        QString modules;
        for (const TLoadedModule& m : client_.Modules().Modules())
            modules += "\n  " + QString::fromStdString(m.Name());
        QMessageBox::about(this, "About Harbinet",
                           "Harbinet, an electronic-design host.\nLoaded server modules:" + modules);
    });
}

TMainWindow::TOpenDocument* TMainWindow::FindOpen(IServerDocument* document) {
    for (auto& open : open_)
        if (open->document.Get() == document)
            return open.get();
    return nullptr;
}

TMainWindow::TOpenDocument* TMainWindow::FindOpen(const std::string& path) {
    for (auto& open : open_)
        if (open->path == path)
            return open.get();
    return nullptr;
}

TMainWindow::TOpenDocument* TMainWindow::OpenAtTab(int index) {
    QWidget* page = documents_->widget(index);
    for (auto& open : open_)
        if (open->tab == page)
            return open.get();
    return nullptr;
}

IServerDocument* TMainWindow::OpenDocument(const std::string& requestedKind, const std::string& path) {
    if (TOpenDocument* open = FindOpen(path))
        return TComPtr<IServerDocument>(open->document).Detach();
    const std::string kind = requestedKind.empty() ? TDiskFileSystem::EditorKindOf(path) : requestedKind;
    const TLoadedModule* server = client_.Modules().Find(ServerForEditorKind(kind));
    if (!server) {
        openFailure_ = "No server module serves the editor kind \"" + kind + "\".";
        return nullptr;
    }
    auto document =
        TComPtr<IServerDocument>::Adopt(server->module->CreateDocument(kind.c_str(), path.c_str()));
    if (!document) {
        openFailure_ = "The server module " + server->Name() + " made no document.";
        return nullptr;
    }
    if (document->LoadDocument() == kFalse) {
        // The document has told the user why it could not read the file; it is not shown.
        server->module->DestroyDocument(document.Get());
        openFailure_.clear();
        return nullptr;
    }
    auto open = std::make_unique<TOpenDocument>();
    open->document = document;
    open->module = server->module;
    open->path = path;
    open_.push_back(std::move(open));
    AddRecent(QString::fromLocal8Bit(path.c_str()));
    return document.Detach();
}

void TMainWindow::ShowDocument(IServerDocument* document) {
    TOpenDocument* open = FindOpen(document);
    if (!open)
        return;
    if (!open->tab) {
        for (int32_t i = 0; i < document->GetViewCount(); ++i) {
            auto view = TComPtr<IServerDocumentView>::Adopt(document->GetView(i));
            if (!view)
                continue;
            auto* holder = new THolderWidget;
            if (view->IsPanel() == 0 && !open->tab) {
                open->tab = holder;
                const QString name = QFileInfo(QString::fromLocal8Bit(open->path.c_str())).fileName();
                documents_->addTab(holder, name);
                documents_->setTabToolTip(documents_->indexOf(holder),
                                          QString::fromLocal8Bit(open->path.c_str()));
            } else {
                (open->panels.empty() ? panels_ : outlines_)->addWidget(holder);
                open->panels.push_back(holder);
            }
            holder->Embed(view.Get());
        }
    }
    if (open->tab)
        documents_->setCurrentWidget(open->tab);
    CurrentTabChanged(documents_->currentIndex());
}

TComPtr<ITextEditorCommands> TMainWindow::CurrentCommands() {
    TOpenDocument* open = OpenAtTab(documents_->currentIndex());
    return open ? open->document.As<ITextEditorCommands>() : TComPtr<ITextEditorCommands>();
}

IServerView* TMainWindow::CurrentView() {
    TOpenDocument* open = OpenAtTab(documents_->currentIndex());
    if (!open || !open->tab || !open->tab->View())
        return nullptr;
    return TComPtr<IServerView>::Share(open->tab->View()).Detach();
}

QDockWidget* TMainWindow::AddPanelDock(const QString& title, const char* name, Qt::DockWidgetArea area,
                                       QStackedWidget*& stack) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    stack = new QStackedWidget(dock);
    stack->setMinimumWidth(240);
    dock->setWidget(stack);
    addDockWidget(area, dock);
    dock->hide();
    return dock;
}

void TMainWindow::CurrentTabChanged(int index) {
    TOpenDocument* open = OpenAtTab(index);
    if (open && !open->panels.empty()) {
        panels_->setCurrentWidget(open->panels.front());
        panelDock_->show();
    } else if (!open) {
        panelDock_->hide();
    }
    if (open && open->panels.size() > 1) {
        outlines_->setCurrentWidget(open->panels[1]);
        outlineDock_->show();
    } else if (!open) {
        outlineDock_->hide();
    }
    if (open && open->tab && open->tab->View())
        open->tab->View()->SetFocus();
    UpdateTitle();
}

// A modified document shows "*" after its name on its tab and in the window title.
void TMainWindow::UpdateTitle() {
    TOpenDocument* open = OpenAtTab(documents_->currentIndex());
    if (!open) {
        setWindowTitle("Harbinet");
        return;
    }
    const QString mark = open->document->GetDocumentModified() != kFalse ? "*" : "";
    setWindowTitle(QString::fromLocal8Bit(open->path.c_str()) + mark + " - Harbinet");
}

void TMainWindow::UpdateModifiedMarks() {
    for (const auto& open : open_) {
        if (!open->tab)
            continue;
        const bool modified = open->document->GetDocumentModified() != kFalse;
        const QString name = QFileInfo(QString::fromLocal8Bit(open->path.c_str())).fileName();
        documents_->setTabText(documents_->indexOf(open->tab), modified ? name + "*" : name);
    }
    UpdateTitle();
}

void TMainWindow::OpenFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo(absolute).isFile()) {
        QMessageBox::warning(this, "Harbinet", "Cannot open " + absolute + ": no such file.");
        return;
    }
    const std::string native = absolute.toLocal8Bit().toStdString();
    openFailure_.clear();
    auto document = TComPtr<IServerDocument>::Adopt(client_.OpenDocument("", native.c_str()));
    if (!document) {
        if (!openFailure_.empty())
            QMessageBox::warning(this, "Harbinet",
                                 "Cannot open " + absolute + ": " + QString::fromStdString(openFailure_));
        return;
    }
    client_.ShowDocument(document.Get());
}

void TMainWindow::ChooseAndOpen() {
    QFileDialog dialog(this, "Open", QString(), "EDIF netlists (*.edf *.edn *.edif *.edo);;All files (*)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        OpenFile(dialog.selectedFiles().front());
}

bool TMainWindow::SaveDocument(TOpenDocument& open) {
    const std::string path = PathOf(*open.document);
    const bool saved = open.document->SaveDocument(path.c_str()) != 0;
    std::string failure;
    const bool streamFailed = TDiskFileSystem::Instance().TakeFailure(path, failure);
    if (!saved)
        return false;  // the document has told the user why
    if (streamFailed) {
        // A failure the document did not hear of: the user still must not believe it saved.
        QMessageBox::critical(this, "Harbinet",
                              "The file was not saved; the copy on disk is unchanged.\n\n" +
                                  QString::fromLocal8Bit(failure.c_str()));
        return false;
    }
    statusBar()->showMessage("Saved " + QString::fromLocal8Bit(path.c_str()), 3000);
    UpdateModifiedMarks();
    return true;
}

bool TMainWindow::SaveCurrent() {
    TOpenDocument* open = OpenAtTab(documents_->currentIndex());
    return open && SaveDocument(*open);
}

bool TMainWindow::SaveCurrentAs(const QString& path) {
    TOpenDocument* open = OpenAtTab(documents_->currentIndex());
    if (!open)
        return false;
    const std::string newPath = QFileInfo(path).absoluteFilePath().toLocal8Bit().toStdString();
    const std::string oldPath = open->path;
    open->document->SetFileName(newPath.c_str());
    if (!SaveDocument(*open)) {
        open->document->SetFileName(oldPath.c_str());
        return false;
    }
    open->path = newPath;
    const QString shown = QString::fromLocal8Bit(newPath.c_str());
    documents_->setTabText(documents_->indexOf(open->tab), QFileInfo(shown).fileName());
    documents_->setTabToolTip(documents_->indexOf(open->tab), shown);
    AddRecent(shown);
    UpdateModifiedMarks();
    return true;
}

void TMainWindow::ChooseAndSaveAs() {
    TOpenDocument* open = OpenAtTab(documents_->currentIndex());
    if (!open)
        return;
    const QString path =
        QFileDialog::getSaveFileName(this, "Save As", QString::fromLocal8Bit(open->path.c_str()));
    if (!path.isEmpty())
        SaveCurrentAs(path);
}

bool TMainWindow::CloseDocument(int tabIndex) {
    TOpenDocument* open = OpenAtTab(tabIndex);
    if (!open)
        return true;
    if (open->document->GetDocumentModified() != 0) {
        const QString name = QFileInfo(QString::fromLocal8Bit(open->path.c_str())).fileName();
        const auto answer =
            QMessageBox::question(this, "Harbinet", "Save changes to " + name + "?",
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !SaveDocument(*open)))
            return false;
    }
    if (open->tab)
        open->tab->ReleaseView();
    for (THolderWidget* panel : open->panels)
        panel->ReleaseView();
    open->module->DestroyDocument(open->document.Get());
    delete open->tab;
    for (THolderWidget* panel : open->panels)
        delete panel;
    const auto it =
        std::find_if(open_.begin(), open_.end(), [open](const auto& o) { return o.get() == open; });
    open_.erase(it);
    CurrentTabChanged(documents_->currentIndex());
    return true;
}

bool TMainWindow::CloseAll() {
    while (documents_->count() > 0)
        if (!CloseDocument(documents_->count() - 1))
            return false;
    return true;
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (CloseAll())
        event->accept();
    else
        event->ignore();
}

void TMainWindow::AddRecent(const QString& path) {
    recent_.removeAll(path);
    recent_.prepend(path);
    while (recent_.size() > kRecentFileCount)
        recent_.removeLast();
    StoreRecent();
    RefreshRecentMenu();
}

void TMainWindow::RefreshRecentMenu() {
    if (!recentMenu_)
        return;
    recentMenu_->clear();
    for (const QString& path : recent_)
        recentMenu_->addAction(path, this, [this, path] { OpenFile(path); });
    recentMenu_->setEnabled(!recent_.isEmpty());
}

void TMainWindow::LoadRecent() {
    QFile file(RecentFilesPath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd() && recent_.size() < kRecentFileCount) {
        const QString line = QString::fromLocal8Bit(file.readLine(8192)).trimmed();
        if (!line.isEmpty())
            recent_.append(line);
    }
}

void TMainWindow::StoreRecent() const {
    QDir().mkpath(QFileInfo(RecentFilesPath()).path());
    QFile file(RecentFilesPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;  // the list is a convenience; losing it costs nothing
    for (const QString& path : recent_)
        file.write(path.toLocal8Bit() + "\n");
}

}  // namespace harbinet
