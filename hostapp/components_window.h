#pragma once
// The schematic editor's component list: every component of the store with its
// implementations. "Model Properties..." on an EDIF implementation asks the loaded server that
// edits model properties to show its dialog, then shows the store as it is afterwards.

#include <QDialog>
#include <cstdint>

#include "hostapp/schematic_editor.h"

class QLabel;
class QMainWindow;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace harbinet {

class TModuleLoader;

class TComponentsWindow final : public QDialog {
    Q_OBJECT
public:
    TComponentsWindow(const TSchematicEditor& schematic, const TModuleLoader& modules, QWidget* owner);

    // Fills the list from the store, keeping the selected implementation selected.
    void Refresh();
    // Opens "Properties of Model" on the selected implementation; reports its own errors.
    void EditSelectedModel();

private:
    [[nodiscard]] QTreeWidgetItem* SelectedImplementation() const;
    void UpdateButtons();

    const TSchematicEditor& schematic_;
    const TModuleLoader& modules_;
    QLabel* status_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QPushButton* properties_ = nullptr;
};

// Adds the "Schematic" menu, with "Components...", before the window's last menu.
void AddSchematicMenu(QMainWindow& window, const TSchematicEditor& schematic, const TModuleLoader& modules);

}  // namespace harbinet
