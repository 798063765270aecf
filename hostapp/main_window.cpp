#include "hostapp/main_window.h"

#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>

TMainWindow::TMainWindow(THostClient& client) : client_(client) {
    setWindowTitle("Harbinet");
    resize(1100, 750);

    documents_ = new QTabWidget(this);
    documents_->setDocumentMode(true);
    documents_->setTabsClosable(true);
    setCentralWidget(documents_);

    panelDock_ = new QDockWidget("Panels", this);
    panelDock_->setObjectName("PanelDock");
    panels_ = new QStackedWidget(panelDock_);
    panelDock_->setWidget(panels_);
    addDockWidget(Qt::RightDockWidgetArea, panelDock_);
    panelDock_->hide();

    client_.UserInterface().AttachStatusBar(statusBar(), kStatusPanelCount);
    BuildMenus();
    statusBar()->showMessage("Ready");
}

void TMainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("E&xit", this, &QWidget::close);
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&About Harbinet", this, [this] {
        QString modules;
        for (const TLoadedModule& m : client_.Modules().Modules())
            modules += "\n  " + QString::fromStdString(m.Name());
        QMessageBox::about(this, "About Harbinet",
                           "Harbinet, an electronic-design host.\nLoaded server modules:" + modules);
    });
}

IServerDocument* TMainWindow::OpenDocument(const std::string&, const std::string&) { return nullptr; }

void TMainWindow::ShowDocument(IServerDocument*) {}

IServerView* TMainWindow::CurrentView() { return nullptr; }
