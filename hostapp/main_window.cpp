#include "hostapp/main_window.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "hostapp/caret_line.h"
#include "hostapp/common_dialogs.h"
#include "hostapp/disk_change_bar.h"
#include "hostapp/disk_file_system.h"
#include "hostapp/editor_kinds.h"
#include "hostapp/file_drop_target.h"
#include "hostapp/harbinet_state.h"
#include "hostapp/help_viewer_window.h"
#include "hostapp/holder_widget.h"
#include "hostapp/text_commands.h"
#include "hostapp/text_edit_processes.h"

namespace harbinet {

struct TMainWindow::TOpenDocument {
    TComPtr<IServerDocument> document;
    TComPtr<IServerModule> module;
    std::string path;
    QWidget* page = nullptr;  // the tab: the bar above the editing view; owned by the tab widget
    TDiskChangeBar* bar = nullptr;
    THolderWidget* tab = nullptr;        // holds the editing view, on page
    std::vector<THolderWidget*> panels;  // the first in the search dock, the others in the outline dock
};

namespace {

std::string PathOf(IServerDocument& document) {
    const char* name = document.GetFileName();
    return name ? name : "";
}

}  // namespace

TMainWindow::TMainWindow(THostClient& client)
    : client_(client),
      diskWatcher_(TDiskFileSystem::Instance(), [this](const std::string& path, TDiskWatcher::TState state) {
          DiskStateChanged(path, state);
      }) {
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
    new TFileDropTarget(*this, [this](const QStringList& files) { OpenFiles(files); });
    const QString stateProblem = LoadState();
    BuildMenus();
    statusBar()->showMessage(stateProblem.isEmpty() ? "Ready" : stateProblem);
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
        if (open->page == page)
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
                AddDocumentTab(*open, holder);
            } else {
                (open->panels.empty() ? panels_ : outlines_)->addWidget(holder);
                open->panels.push_back(holder);
            }
            holder->Embed(view.Get());
        }
    }
    if (open->page)
        documents_->setCurrentWidget(open->page);
    CurrentTabChanged(documents_->currentIndex());
}

// The tab is the editing view with the bar for changes on disk above it.
void TMainWindow::AddDocumentTab(TOpenDocument& open, THolderWidget* holder) {
    open.tab = holder;
    open.page = new QWidget;
    open.bar = new TDiskChangeBar(open.page);
    TOpenDocument* document = &open;
    connect(open.bar, &TDiskChangeBar::ReloadClicked, this, [this, document] { ReloadFromDisk(*document); });
    connect(open.bar, &TDiskChangeBar::KeepMineClicked, this, [this, document] { KeepMine(*document); });
    auto* column = new QVBoxLayout(open.page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(open.bar);
    column->addWidget(holder, 1);
    const QString path = QString::fromLocal8Bit(open.path.c_str());
    documents_->addTab(open.page, QFileInfo(path).fileName());
    documents_->setTabToolTip(documents_->indexOf(open.page), path);
    diskWatcher_.Watch(open.path);
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
        documents_->setTabText(documents_->indexOf(open->page), modified ? name + "*" : name);
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

void TMainWindow::OpenFiles(const QStringList& paths) {
    for (const QString& path : paths)
        OpenFile(path);
}

void TMainWindow::OpenHandedOver(const QStringList& paths) {
    OpenFiles(paths);
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TMainWindow::ChooseAndOpen() {
    QFileDialog dialog(this, "Open", QString(), "EDIF netlists (*.edf *.edn *.edif *.edo);;All files (*)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        OpenFile(dialog.selectedFiles().front());
}

bool TMainWindow::SaveDocument(TOpenDocument& open) {
    const std::string path = PathOf(*open.document);
    if (!MayReplaceOnDisk(open))
        return false;
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
    diskWatcher_.Check(path);
    UpdateModifiedMarks();
    return true;
}

// Saving over a file that someone else changed since it was read would lose their changes.
bool TMainWindow::MayReplaceOnDisk(const TOpenDocument& open) {
    const std::string path = PathOf(*open.document);
    if (diskWatcher_.StateOf(path) != TDiskWatcher::TState::Changed)
        return true;
    const QString name = QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName();
    return QMessageBox::question(this, "Harbinet",
                                 name +
                                     " has changed on disk since it was loaded.\n\n"
                                     "Save it anyway and replace the file on disk?",
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TMainWindow::DiskStateChanged(const std::string& path, TDiskWatcher::TState state) {
    TOpenDocument* open = FindOpen(path);
    if (!open || !open->bar)
        return;
    const QString name = QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName();
    open->bar->ShowState(name, state, open->document->GetDocumentModified() != kFalse);
}

// Without unsaved changes one click reloads; with them the document asks first. The caret
// stays on its line.
void TMainWindow::ReloadFromDisk(TOpenDocument& open) {
    // Gone since the bar came up: loading nothing would keep the text but call it saved.
    if (diskWatcher_.StateOf(open.path) == TDiskWatcher::TState::Deleted) {
        diskWatcher_.Check(open.path);
        return;
    }
    const auto commands = open.document.As<ITextEditorCommands>();
    const int32_t line = commands ? CaretLineOf(*commands) : 0;
    const bool asks = commands && open.document->GetDocumentModified() != kFalse;
    const bool reloaded = (asks ? commands->Reload() : open.document->LoadDocument()) != kFalse;
    if (!reloaded)
        return;  // declined, or the document has told the user why it could not read the file
    if (commands)
        MoveCaretToLine(*commands, line);
    diskWatcher_.Check(open.path);
    UpdateModifiedMarks();
}

// The text stays as it is. Its file being gone, the text counts as unsaved, so closing asks.
void TMainWindow::KeepMine(TOpenDocument& open) {
    if (diskWatcher_.StateOf(open.path) == TDiskWatcher::TState::Deleted)
        open.document->SetDocumentModified(kTrue);
    open.bar->hide();
    UpdateModifiedMarks();
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
    diskWatcher_.Unwatch(oldPath);
    open->path = newPath;
    diskWatcher_.Watch(newPath);
    const QString shown = QString::fromLocal8Bit(newPath.c_str());
    documents_->setTabText(documents_->indexOf(open->page), QFileInfo(shown).fileName());
    documents_->setTabToolTip(documents_->indexOf(open->page), shown);
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
    diskWatcher_.Unwatch(open->path);
    delete open->page;
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

// Coming back to the window is when the user expects to hear of changes the watches missed.
void TMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        diskWatcher_.CheckAll();
}

// The state is taken while the documents are still open, and kept only when they all closed.
void TMainWindow::closeEvent(QCloseEvent* event) {
    CaptureState();
    if (!CloseAll()) {
        event->ignore();
        return;
    }
    StoreState();
    event->accept();
}

void TMainWindow::AddRecent(const QString& path) {
    QStringList& recent = state_.recentFiles;
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentFileCount)
        recent.removeLast();
    StoreState();
    RefreshRecentMenu();
}

void TMainWindow::RefreshRecentMenu() {
    if (!recentMenu_)
        return;
    recentMenu_->clear();
    for (const QString& path : state_.recentFiles)
        recentMenu_->addAction(path, this, [this, path] { OpenFile(path); });
    recentMenu_->setEnabled(!state_.recentFiles.isEmpty());
}

// The last session's window and recent files; a damaged state file costs them, nothing more.
// What went wrong, or "".
QString TMainWindow::LoadState() {
    QString problem;
    state_ = ReadHarbinetState(HarbinetStatePath(), problem);
    if (!problem.isEmpty())
        std::fprintf(stderr, "harbinet: %s\n", problem.toLocal8Bit().constData());
    while (state_.recentFiles.size() > kRecentFileCount)
        state_.recentFiles.removeLast();
    restoreGeometry(state_.geometry);
    restoreState(state_.windowState);
    panelDock_->hide();  // until a document with a panel is shown
    return problem;
}

void TMainWindow::CaptureState() {
    state_.geometry = saveGeometry();
    state_.windowState = saveState();
    state_.openFiles.clear();
    state_.currentFile = -1;
    for (int i = 0; i < documents_->count(); ++i) {
        const TOpenDocument* open = OpenAtTab(i);
        if (!open)
            continue;
        if (i == documents_->currentIndex())
            state_.currentFile = int(state_.openFiles.size());
        const auto commands = open->document.As<ITextEditorCommands>();
        state_.openFiles.push_back(
            {QString::fromLocal8Bit(open->path.c_str()), commands ? CaretLineOf(*commands) : 0});
    }
}

void TMainWindow::StoreState() {
    QString problem;
    if (WriteHarbinetState(HarbinetStatePath(), state_, problem))
        return;
    std::fprintf(stderr, "harbinet: %s\n", problem.toLocal8Bit().constData());
    statusBar()->showMessage(problem);
}

void TMainWindow::ReopenLastFiles() {
    const std::vector<TSessionFile> files = state_.openFiles;  // opening files stores state_
    const int currentFile = state_.currentFile;
    QWidget* current = nullptr;
    QStringList gone;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QFileInfo file(files[i].path);
        if (!file.isFile()) {
            gone << files[i].path;
            continue;
        }
        OpenFile(files[i].path);
        TOpenDocument* open = FindOpen(file.absoluteFilePath().toLocal8Bit().toStdString());
        if (!open)
            continue;  // the document has said why it could not open the file
        if (const auto commands = open->document.As<ITextEditorCommands>())
            MoveCaretToLine(*commands, files[i].caretLine);
        if (int(i) == currentFile)
            current = open->page;
    }
    if (current)
        documents_->setCurrentWidget(current);
    if (!gone.isEmpty())
        statusBar()->showMessage("Not reopened, no longer there: " + gone.join(", "));
}

}  // namespace harbinet
