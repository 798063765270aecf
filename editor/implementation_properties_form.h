#pragma once
// "Properties of Model": edits the EDIF model a schematic component uses as an implementation
// (name, description, where the model file comes from, the target architecture) and writes the
// choices back to the schematic editor. Nothing is written unless the dialog closes with OK
// and the implementation could be read when it opened.

#include <cstdint>
#include <initializer_list>

#include "editor/component_implementation.h"
#include "editor/dev_list.h"
#include "editor/schematic_functions.h"
#include "host/server_dialog.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace tarnwick {

class TLatin1Edit;

class TImplementationPropertiesForm final : public TServerDialog {
    Q_OBJECT
public:
    // Builds the dialog for the implementation and loads its controls through functions,
    // which must outlive the dialog.
    TImplementationPropertiesForm(const TSchematicFunctions& functions, intptr_t implementation,
                                  QWidget* owner = nullptr);

    // Binds the schematic editor's functions afresh and shows the dialog modally. True when it
    // closed with OK and every change was written back.
    static bool Show(intptr_t implementation, QWidget* owner = nullptr);

    // Writes the controls back to the schematic editor; false when something was not written.
    bool StoreControls();

private:
    void BuildModelGroup();
    void BuildInformationGroup();
    void BuildButtons();
    // Runs rule whenever one of the radios becomes selected.
    void OnSelected(std::initializer_list<QRadioButton*> radios,
                    void (TImplementationPropertiesForm::*rule)());
    void LoadControls();
    void ApplyModelSourceRule();
    void ApplyArchitectureRule();
    void BrowseForLocation();
    [[nodiscard]] std::string ChosenArchitecture() const;

    const TSchematicFunctions& functions_;
    TComponentImplementation implementation_;
    TDevList targets_;

    TLatin1Edit* modelName_ = nullptr;
    QRadioButton* integrated_ = nullptr;
    QRadioButton* other_ = nullptr;
    TLatin1Edit* location_ = nullptr;
    QPushButton* browse_ = nullptr;
    TLatin1Edit* description_ = nullptr;
    QRadioButton* anyArchitecture_ = nullptr;
    QRadioButton* specificArchitecture_ = nullptr;
    QComboBox* architectures_ = nullptr;
};

}  // namespace tarnwick
