#pragma once
// Harbinet's main window: menus, the document area (one tab per document's editing view), the
// side panel area (its panel views), the status bar and the help viewer.

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <vector>

#include "host/abi/text_interfaces.h"
#include "hostapp/disk_watcher.h"
#include "hostapp/harbinet_state.h"
#include "hostapp/host_client.h"

class QTabWidget;
class QDockWidget;
class QStackedWidget;
class QMenu;
class QTimer;

namespace harbinet {

class THolderWidget;
class THelpViewerWindow;

class TMainWindow final : public QMainWindow, public THostShell {
    Q_OBJECT
public:
    static constexpr int kStatusPanelCount = 4;
    static constexpr int kRecentFileCount = 8;
    static constexpr int kIdlePulseMs = 15;

    explicit TMainWindow(THostClient& client);
    ~TMainWindow() override;

    // THostShell
    IServerDocument* OpenDocument(const std::string& kind, const std::string& path) override;
    void ShowDocument(IServerDocument* document) override;
    IServerView* CurrentView() override;
    intptr_t OwnerWindow() override { return reinterpret_cast<intptr_t>(static_cast<QWidget*>(this)); }

    // Menu commands; each reports its own errors to the user.
    void OpenFile(const QString& path);
    void OpenFiles(const QStringList& paths);  // each in a tab, in this order
    // Files another start of harbinet handed over: opened, and the window comes to the front.
    void OpenHandedOver(const QStringList& paths);
    bool SaveCurrent();
    bool SaveCurrentAs(const QString& path);
    bool CloseDocument(int tabIndex);  // false when the user kept it open
    bool CloseAll();
    // Opens the files that were open when Harbinet last closed, on their caret lines; files
    // that are gone are named in the status bar.
    void ReopenLastFiles();

    [[nodiscard]] QTabWidget* DocumentArea() const noexcept { return documents_; }
    [[nodiscard]] QStackedWidget* PanelArea() const noexcept { return panels_; }
    // The further side panels of documents (the outline).
    [[nodiscard]] QStackedWidget* OutlineArea() const noexcept { return outlines_; }
    [[nodiscard]] THelpViewerWindow* HelpViewer() const noexcept { return helpViewer_; }
    // The command interface of the document in the current tab, or empty.
    TComPtr<ITextEditorCommands> CurrentCommands();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct TOpenDocument;

    void BuildMenus();
    // A hidden dock in area holding a new stack of panels, one page per document.
    QDockWidget* AddPanelDock(const QString& title, const char* name, Qt::DockWidgetArea area,
                              QStackedWidget*& stack);
    void ChooseAndOpen();
    void ChooseAndSaveAs();
    void CurrentTabChanged(int index);
    void AddDocumentTab(TOpenDocument& open, THolderWidget* holder);
    bool SaveDocument(TOpenDocument& open);
    bool MayReplaceOnDisk(const TOpenDocument& open);
    void DiskStateChanged(const std::string& path, TDiskWatcher::TState state);
    void ReloadFromDisk(TOpenDocument& open);
    void KeepMine(TOpenDocument& open);
    void AddRecent(const QString& path);
    void RefreshRecentMenu();
    QString LoadState();
    void CaptureState();
    void StoreState();
    TOpenDocument* FindOpen(IServerDocument* document);
    TOpenDocument* FindOpen(const std::string& path);
    TOpenDocument* OpenAtTab(int index);
    void UpdateTitle();
    void UpdateModifiedMarks();

    THostClient& client_;
    QTabWidget* documents_ = nullptr;
    QDockWidget* panelDock_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    QDockWidget* outlineDock_ = nullptr;
    QStackedWidget* outlines_ = nullptr;
    QTimer* idlePulse_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    THelpViewerWindow* helpViewer_ = nullptr;
    std::vector<std::unique_ptr<TOpenDocument>> open_;
    TDiskWatcher diskWatcher_;  // gone before open_, so no report finds the documents gone
    THarbinetState state_;      // as last read or written
    std::string openFailure_;   // why the last OpenDocument gave nothing; "" when already told
};

}  // namespace harbinet
