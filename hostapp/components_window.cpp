#include "hostapp/components_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "host/abi/ascii_text.h"
#include "host/abi/com_ptr.h"
#include "host/abi/server_interfaces.h"
#include "hostapp/module_loader.h"

namespace harbinet {

namespace {

constexpr int kHandleRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;

enum TColumn { colName, colKind, colLocation, colArchitecture, colDescription };

QString Latin1(const std::string& text) { return QString::fromLatin1(text.c_str()); }

// The first loaded server that edits model properties, or empty.
TComPtr<IModelPropertiesEditor> ModelPropertiesEditor(const TModuleLoader& modules) {
    for (const TLoadedModule& loaded : modules.Modules())
        if (auto editor = loaded.module.As<IModelPropertiesEditor>())
            return editor;
    return {};
}

QTreeWidgetItem* ImplementationItem(const TImplementationRow& row) {
    auto* item = new QTreeWidgetItem;
    item->setText(colName, Latin1(row.modelName));
    item->setText(colKind, Latin1(row.modelKind));
    item->setText(colLocation,
                  row.useIntegratedLibrary ? QString("(integrated library)") : Latin1(row.location));
    item->setText(colArchitecture, row.architecture.empty() ? QString("(any)") : Latin1(row.architecture));
    item->setText(colDescription, Latin1(row.description));
    item->setData(colName, kHandleRole, QVariant::fromValue<qlonglong>(row.handle));
    item->setData(colName, kKindRole, Latin1(row.modelKind));
    return item;
}

}  // namespace

TComponentsWindow::TComponentsWindow(const TSchematicEditor& schematic, const TModuleLoader& modules,
                                     QWidget* owner)
    : QDialog(owner), schematic_(schematic), modules_(modules) {
    setObjectName("ComponentsWindow");
    setWindowTitle("Components");
    resize(760, 360);

    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(this);
    status_->setObjectName("ComponentsStatus");
    layout->addWidget(status_);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName("ComponentTree");
    tree_->setHeaderLabels({"Component / Model", "Kind", "Model file", "Architecture", "Description"});
    tree_->setRootIsDecorated(true);
    layout->addWidget(tree_);

    auto* buttons = new QDialogButtonBox(this);
    properties_ = buttons->addButton("Model &Properties...", QDialogButtonBox::ActionRole);
    properties_->setObjectName("ModelPropertiesButton");
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(properties_, &QPushButton::clicked, this, &TComponentsWindow::EditSelectedModel);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &TComponentsWindow::UpdateButtons);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->parent())
            EditSelectedModel();
    });
    Refresh();
}

void TComponentsWindow::Refresh() {
    const QTreeWidgetItem* selected = SelectedImplementation();
    const qlonglong keep = selected ? selected->data(colName, kHandleRole).toLongLong() : 0;
    tree_->clear();
    const std::vector<TComponentRow> components = schematic_.Components();
    if (!schematic_.Problem().empty())
        status_->setText(QString::fromLocal8Bit(schematic_.Problem().c_str()));
    else if (!schematic_.IsLoaded())
        status_->setText("The schematic editor (libgrivel.so) is not loaded.");
    else
        status_->setText(QString("%1 components. Choose an EDIF model and \"Model Properties...\".")
                             .arg(components.size()));
    for (const TComponentRow& component : components) {
        auto* parent = new QTreeWidgetItem(tree_, {Latin1(component.name)});
        parent->setData(colName, kHandleRole, QVariant::fromValue<qlonglong>(component.handle));
        for (const TImplementationRow& row : component.implementations) {
            QTreeWidgetItem* item = ImplementationItem(row);
            parent->addChild(item);
            if (row.handle == keep)
                tree_->setCurrentItem(item);
        }
        parent->setExpanded(true);
    }
    for (int column = 0; column < tree_->columnCount(); ++column)
        tree_->resizeColumnToContents(column);
    UpdateButtons();
}

QTreeWidgetItem* TComponentsWindow::SelectedImplementation() const {
    QTreeWidgetItem* item = tree_->currentItem();
    return item && item->parent() && item->isSelected() ? item : nullptr;
}

void TComponentsWindow::UpdateButtons() {
    const QTreeWidgetItem* item = SelectedImplementation();
    properties_->setEnabled(
        item && item->data(colName, kKindRole).toString().compare("EDIF", Qt::CaseInsensitive) == 0);
}

void TComponentsWindow::EditSelectedModel() {
    QTreeWidgetItem* item = SelectedImplementation();
    if (!item)
        return;
    if (item->data(colName, kKindRole).toString().compare("EDIF", Qt::CaseInsensitive) != 0) {
        QMessageBox::information(this, "Harbinet", "Only EDIF models have model properties.");
        return;
    }
    const auto editor = ModelPropertiesEditor(modules_);
    if (!editor) {
        QMessageBox::warning(this, "Harbinet", "No loaded server edits model properties.");
        return;
    }
    const intptr_t implementation = item->data(colName, kHandleRole).toLongLong();
    const intptr_t component = item->parent()->data(colName, kHandleRole).toLongLong();
    int32_t applied = kFalse;
    if (editor->EditModelProperties(implementation, component, kFalse, &applied) != S_OK_)
        QMessageBox::warning(this, "Harbinet", "The model properties could not be edited.");
    Refresh();
}

void AddSchematicMenu(QMainWindow& window, const TSchematicEditor& schematic, const TModuleLoader& modules) {
    auto* menu = new QMenu("&Schematic", &window);
    menu->addAction("&Components...", &window, [&window, &schematic, &modules] {
        auto* components = window.findChild<TComponentsWindow*>("ComponentsWindow");
        if (!components)
            components = new TComponentsWindow(schematic, modules, &window);
        components->Refresh();
        components->show();
        components->raise();
        components->activateWindow();
    });
    const QList<QAction*> menus = window.menuBar()->actions();
    window.menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.back(), menu);
}

}  // namespace harbinet
