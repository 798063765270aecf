#pragma once
// Harbinet's main window: menus, the document area, the side panel area and the status bar.

#include <QMainWindow>

#include "hostapp/host_client.h"

class QTabWidget;
class QDockWidget;
class QStackedWidget;

class TMainWindow final : public QMainWindow, public THostShell {
    Q_OBJECT
public:
    static constexpr int kStatusPanelCount = 4;

    explicit TMainWindow(THostClient& client);

    // THostShell
    IServerDocument* OpenDocument(const std::string& kind, const std::string& path) override;
    void ShowDocument(IServerDocument* document) override;
    IServerView* CurrentView() override;
    intptr_t OwnerWindow() override { return reinterpret_cast<intptr_t>(static_cast<QWidget*>(this)); }

    [[nodiscard]] QTabWidget* DocumentArea() const noexcept { return documents_; }
    [[nodiscard]] QStackedWidget* PanelArea() const noexcept { return panels_; }

private:
    void BuildMenus();

    THostClient& client_;
    QTabWidget* documents_ = nullptr;
    QDockWidget* panelDock_ = nullptr;
    QStackedWidget* panels_ = nullptr;
};
