#include "editor/implementation_properties_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "editor/latin1_edit.h"
#include "editor/named_control.h"
#include "host/abi/ascii_text.h"
#include "host/abi/parameter_list.h"
#include "host/host_processes.h"
#include "widgets/colors.h"

namespace tarnwick {

namespace {

constexpr char kArchitectureParameter[] = "ARCHITECTURE";
constexpr char kModelFileKind[] = "EDIFLIB";
constexpr char kCommonDialogProcess[] = "Client:RunCommonDialog";
constexpr int32_t kBrowseBufferCapacity = 65535;
constexpr std::size_t kMaxLocationLength = 255;

constexpr uint32_t kWindowTextColor = 0x80000008;
constexpr uint32_t kGrayTextColor = 0x80000011;

constexpr QSize kClientSize{555, 356};
constexpr QSize kButtonSize{75, 25};
constexpr int kEditHeight = 21;
constexpr int kLabelX = 16;

QRadioButton* AddRadio(QWidget* parent, const char* name, const char* caption, QPoint at, int width) {
    auto* radio = MakeNamed<QRadioButton>(parent, name, {at, QSize(width, 17)});
    radio->setText(caption);
    return radio;
}

void AddLabel(QWidget* parent, const char* caption, int controlTop) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(kLabelX, controlTop + 3, 90, 17);
}

// Enabled exactly when on, with window-text colour when enabled and grey text when not.
void EnableWithTextColor(QWidget* control, bool on) {
    control->setEnabled(on);
    QPalette palette = control->palette();
    const QColor text = ResolveColor(on ? kWindowTextColor : kGrayTextColor);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, role, text);
    control->setPalette(palette);
}

// The path a browse reply carries when its "Result" is True.
std::optional<std::string> ChosenPath(const char* reply) {
    TParameterList answer;
    answer.ParseParameters(reply);
    const std::optional<std::string> result = answer.GetParameterValue("Result");
    if (!result || !ascii::EqualIgnoringCase(*result, "True"))
        return std::nullopt;
    return answer.GetParameterValue("Path");  // already cut to a short string
}

}  // namespace

TImplementationPropertiesForm::TImplementationPropertiesForm(const TSchematicFunctions& functions,
                                                             intptr_t implementation, QWidget* owner)
    : TServerDialog(owner), functions_(functions), implementation_(functions, implementation) {
    setObjectName("ImplementationPropertiesForm");
    setWindowTitle("Properties of Model");
    setFixedSize(kClientSize);
    BuildModelGroup();
    BuildInformationGroup();
    BuildButtons();
    LoadControls();
}

bool TImplementationPropertiesForm::Show(intptr_t implementation, QWidget* owner) {
    TSchematicFunctions functions;
    functions.Bind();
    TImplementationPropertiesForm form(functions, implementation, owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    return form.StoreControls();
}

void TImplementationPropertiesForm::BuildModelGroup() {
    auto* group = MakeNamed<QGroupBox>(this, "ModelGroup", {8, 12, 519, 149});
    group->setTitle(" Model");
    AddLabel(group, "Name", 25);
    modelName_ = MakeNamed<TLatin1Edit>(group, "Edit_ModelName", {112, 25, 385, kEditHeight});
    AddLabel(group, "Macro file", 58);
    integrated_ = AddRadio(group, "Radio_Integrated", "From integrated library", {112, 58}, 200);
    other_ = AddRadio(group, "Radio_Other", "Other", {112, 86}, 66);
    location_ = MakeNamed<TLatin1Edit>(group, "Edit_ModelLocation", {184, 85, 313, kEditHeight});
    browse_ = MakeNamed<QPushButton>(group, "Button_Browse", {{428, 114}, kButtonSize});
    browse_->setText("Browse...");
    browse_->setAutoDefault(false);
    OnSelected({integrated_, other_}, &TImplementationPropertiesForm::ApplyModelSourceRule);
    connect(browse_, &QPushButton::clicked, this, &TImplementationPropertiesForm::BrowseForLocation);
}

void TImplementationPropertiesForm::BuildInformationGroup() {
    auto* group = MakeNamed<QGroupBox>(this, "InformationGroup", {8, 172, 519, 121});
    group->setTitle("Information");
    AddLabel(group, "Description", 25);
    description_ = MakeNamed<TLatin1Edit>(group, "Edit_Description", {112, 25, 385, kEditHeight});
    AddLabel(group, "Architecture", 58);
    anyArchitecture_ = AddRadio(group, "TeThemeRadioButton_Arch_Any", "Any Architecture", {112, 58}, 200);
    specificArchitecture_ = AddRadio(group, "TeThemeRadioButton_Arch_Specific", "Specific", {112, 86}, 66);
    architectures_ = MakeNamed<QComboBox>(group, "TeThemeComboBox_Arch", {184, 85, 313, 22});
    architectures_->setMaxVisibleItems(8);
    // Some styles drop a list over the whole screen and ignore the row count.
    architectures_->setStyleSheet("QComboBox { combobox-popup: 0; }");
    for (std::size_t i = 0; i < targets_.Count(); ++i)
        architectures_->addItem(QString::fromLatin1(targets_[i].DisplayName.c_str()));
    OnSelected({anyArchitecture_, specificArchitecture_},
               &TImplementationPropertiesForm::ApplyArchitectureRule);
}

void TImplementationPropertiesForm::OnSelected(std::initializer_list<QRadioButton*> radios,
                                               void (TImplementationPropertiesForm::*rule)()) {
    for (QRadioButton* radio : radios)
        connect(radio, &QRadioButton::toggled, this, [this, rule](bool on) {
            if (on)
                (this->*rule)();
        });
}

void TImplementationPropertiesForm::BuildButtons() {
    auto* ok = MakeNamed<QPushButton>(this, "Button_OK", {{391, 324}, kButtonSize});
    ok->setText("OK");
    ok->setDefault(true);
    auto* cancel = MakeNamed<QPushButton>(this, "Button_Cancel", {{470, 324}, kButtonSize});
    cancel->setText("Cancel");
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TImplementationPropertiesForm::LoadControls() {
    implementation_.Read();
    description_->SetBytes(implementation_.Description);
    modelName_->SetBytes(implementation_.ModelName);
    const auto& links = implementation_.DatafileLinks;
    location_->SetBytes(links.empty() ? std::string() : links.front().Location);

    integrated_->setEnabled(implementation_.IntegratedLibraryAvailable);
    (implementation_.UseIntegratedLibrary ? integrated_ : other_)->setChecked(true);
    ApplyModelSourceRule();

    const auto architecture = implementation_.FindParameter(kArchitectureParameter);
    if (architecture && !architecture->Value.empty()) {
        specificArchitecture_->setChecked(true);
        architectures_->setCurrentIndex(static_cast<int>(targets_.IndexOfArchitecture(architecture->Value)));
    } else {
        anyArchitecture_->setChecked(true);
    }
    ApplyArchitectureRule();
}

void TImplementationPropertiesForm::ApplyModelSourceRule() {
    const bool other = other_->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{location_, modelName_, browse_})
        EnableWithTextColor(control, other);
}

void TImplementationPropertiesForm::ApplyArchitectureRule() {
    EnableWithTextColor(architectures_, specificArchitecture_->isChecked());
}

void TImplementationPropertiesForm::BrowseForLocation() {
    TParameterList request;
    request.AddParameter("Dialog", "DDBBrowser");
    request.AddParameter("Caption", "Choose Model Location");
    request.AddParameter("DocumentKind1", ascii::Upper(implementation_.ModelKind));
    std::vector<char> buffer(kBrowseBufferCapacity, '\0');
    request.FormatParameters(buffer.data(), buffer.size());
    if (!RunHostProcess(kCommonDialogProcess, buffer.data(), kBrowseBufferCapacity, nullptr))
        return;
    buffer.back() = '\0';  // the reply is read no further than the buffer
    if (const auto path = ChosenPath(buffer.data()))
        location_->SetBytes(*path);
}

std::string TImplementationPropertiesForm::ChosenArchitecture() const {
    const int index = architectures_->currentIndex();
    if (!specificArchitecture_->isChecked() || index < 0)
        return {};
    return TDevList::ArchitectureOf(targets_[static_cast<std::size_t>(index)]);
}

bool TImplementationPropertiesForm::StoreControls() {
    // What could not be read is not overwritten with the empty fields shown for it.
    if (!implementation_.WasRead())
        return false;
    implementation_.Description = description_->Bytes();
    implementation_.ModelName = modelName_->Bytes();
    const bool integrated = integrated_->isChecked();
    const std::string location =
        integrated ? std::string() : location_->Bytes().substr(0, kMaxLocationLength);
    implementation_.DatafileLinks = {{implementation_.ModelName, location, kModelFileKind}};
    implementation_.UseIntegratedLibrary = integrated;

    auto architecture = implementation_.FindOrCreateParameter(kArchitectureParameter);
    if (!architecture)
        return false;
    architecture->Value = ChosenArchitecture();
    if (!architecture->Write(functions_))
        return false;
    return implementation_.Write();
}

}  // namespace tarnwick
