// Harbinet with the schematic editor (libgrivel.so) and the real plug-in loaded: the component
// list opens "Properties of Model" through the plug-in's IModelPropertiesEditor, the model file
// is chosen in harbinet's "DDBBrowser" file chooser, and the list shows what was written back.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "hostapp/common_dialogs.h"
#include "hostapp/components_window.h"
#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/schematic_editor.h"

namespace harbinet {
namespace {

const std::string kChosenModel = TARNWICK_SOURCE_DIR "/data/samples/yosys-counter.edf";

// Runs action on the modal dialog of type D once it is up, whatever runs the modal loop.
template <class D>
void WhenModal(std::function<void(D&)> action, int triesLeft = 200) {
    QTimer::singleShot(10, [action, triesLeft] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog)
            action(*dialog);
        else if (triesLeft > 0)
            WhenModal<D>(action, triesLeft - 1);
        else
            ADD_FAILURE() << "no modal dialog came up";
    });
}

// The model properties dialog: the plug-in's own class, known here only as a QDialog.
bool IsModelProperties(QDialog& dialog) { return dialog.windowTitle() == "Properties of Model"; }

void ChooseInFileDialog(QFileDialog& chooser, const std::string& path) {
    chooser.selectFile(QString::fromStdString(path));
    static_cast<QDialog&>(chooser).accept();  // QFileDialog::accept checks the file
}

class SchematicComponentsTest : public testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        SetExportedClient(&client);
        std::string error;
        ASSERT_TRUE(client.Modules().Load(TARNWICK_BIN_DIR "/libtarnwick.so", &client, error)) << error;
        RegisterCommonDialogs(client, &owner);
    }
    void TearDown() override {
        SetExportedClient(nullptr);
        std::filesystem::remove_all(config);
    }

    // The sample store in a loaded schematic editor, and the window listing it.
    std::unique_ptr<TComponentsWindow> OpenWindow() {
        std::string error;
        EXPECT_TRUE(schematic.Load(TARNWICK_BIN_DIR "/libgrivel.so", error)) << error;
        EXPECT_TRUE(schematic.LoadStore(TARNWICK_SOURCE_DIR "/data/samples/components.grv", error)) << error;
        auto window = std::make_unique<TComponentsWindow>(schematic, client.Modules(), &owner);
        window->show();
        return window;
    }

    QTreeWidgetItem* Row(QWidget& window, int component, int implementation) {
        auto* tree = window.findChild<QTreeWidget*>("ComponentTree");
        return tree->topLevelItem(component)->child(implementation);
    }

    void Select(QWidget& window, QTreeWidgetItem* row) {
        auto* tree = window.findChild<QTreeWidget*>("ComponentTree");
        tree->setCurrentItem(row);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(row).center());
    }

    QPushButton* PropertiesButton(QWidget& window) {
        return window.findChild<QPushButton*>("ModelPropertiesButton");
    }

    // A folder per case: ctest runs the cases side by side.
    const std::string config = testing::TempDir() + "harbinet-schematic-config-" +
                               testing::UnitTest::GetInstance()->current_test_info()->name();
    THostClient client;
    QMainWindow owner;
    TSchematicEditor schematic;  // unloaded after the plug-in lets go of it
};

TEST_F(SchematicComponentsTest, ListsTheComponentsAndOffersPropertiesForEdifModelsOnly) {
    auto window = OpenWindow();
    auto* tree = window->findChild<QTreeWidget*>("ComponentTree");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "U1 ALU");
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(Row(*window, 0, 0)->text(3), "xilinx virtex2");
    EXPECT_EQ(Row(*window, 2, 0)->text(2), "(integrated library)");

    Select(*window, Row(*window, 0, 1));  // a simulation model
    EXPECT_FALSE(PropertiesButton(*window)->isEnabled());
    Select(*window, tree->topLevelItem(1));  // a component
    EXPECT_FALSE(PropertiesButton(*window)->isEnabled());
    Select(*window, Row(*window, 1, 0));
    EXPECT_TRUE(PropertiesButton(*window)->isEnabled());
}

TEST_F(SchematicComponentsTest, ChosenTargetAndModelFileAreWrittenBackAndShownOnReopening) {
    auto window = OpenWindow();
    Select(*window, Row(*window, 0, 0));

    WhenModal<QDialog>([](QDialog& dialog) {
        ASSERT_TRUE(IsModelProperties(dialog));
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("TeThemeRadioButton_Arch_Specific")->isChecked());
        auto* targets = dialog.findChild<QComboBox*>("TeThemeComboBox_Arch");
        EXPECT_EQ(targets->currentText().trimmed(), "Xilinx Virtex II Series");
        targets->setFocus();
        QTest::keyClick(targets, Qt::Key_Home);
        QTest::keyClick(targets, Qt::Key_Down);  // Actel, 42MX Series (Designer98)
        WhenModal<QFileDialog>([](QFileDialog& chooser) {
            EXPECT_EQ(chooser.windowTitle(), "Choose Model Location");
            EXPECT_EQ(chooser.nameFilters().value(0), "EDIF Netlists (*.edf *.edn *.edif *.edo)");
            ChooseInFileDialog(chooser, kChosenModel);
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button_Browse"), Qt::LeftButton);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit_ModelLocation")->text().toStdString(), kChosenModel);
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button_OK"), Qt::LeftButton);
    });
    QTest::mouseClick(PropertiesButton(*window), Qt::LeftButton);

    EXPECT_EQ(Row(*window, 0, 0)->text(3), "actel98 act42");
    EXPECT_EQ(Row(*window, 0, 0)->text(2).toStdString(), kChosenModel);
    EXPECT_TRUE(Row(*window, 0, 0)->isSelected());

    bool reopened = false;
    WhenModal<QDialog>([&reopened](QDialog& dialog) {
        reopened = true;
        EXPECT_EQ(dialog.findChild<QComboBox*>("TeThemeComboBox_Arch")->currentText().trimmed(),
                  "Actel, 42MX Series (Designer98)");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit_ModelLocation")->text().toStdString(), kChosenModel);
        dialog.reject();
    });
    QTest::mouseClick(PropertiesButton(*window), Qt::LeftButton);
    EXPECT_TRUE(reopened);
}

// The plug-in's entry called as the schematic editor calls it, with no schematic editor loaded.
TEST_F(SchematicComponentsTest, WithoutTheSchematicEditorTheEntryShowsAnEmptyDialogAndAppliesNothing) {
    ASSERT_EQ(::dlopen(kSchematicModuleName, RTLD_NOW | RTLD_NOLOAD), nullptr);
    const auto editor = client.Modules().Modules().front().module.As<IModelPropertiesEditor>();
    ASSERT_TRUE(editor);
    WhenModal<QDialog>([](QDialog& dialog) {
        EXPECT_TRUE(IsModelProperties(dialog));
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit_ModelName")->text(), "");
        EXPECT_FALSE(dialog.findChild<QRadioButton*>("Radio_Integrated")->isEnabled());
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button_OK"), Qt::LeftButton);
    });
    int32_t applied = 123;
    EXPECT_EQ(editor->EditModelProperties(5, 4, 0, &applied), S_OK_);
    EXPECT_EQ(applied, kFalse);

    TComponentsWindow window(schematic, client.Modules(), &owner);
    EXPECT_EQ(window.findChild<QLabel*>("ComponentsStatus")->text(),
              "The schematic editor (libgrivel.so) is not loaded.");
}

TEST_F(SchematicComponentsTest, AStoreThatCannotBeReadIsNamedInTheWindowAndTheStoreKept) {
    auto window = OpenWindow();
    const std::string broken = testing::TempDir() + "broken-components.grv";
    std::ofstream(broken) << "[Component] X\nModelName=before any implementation\n";
    std::string error;
    for (const std::string& path : {broken, testing::TempDir() + "no-such-store.grv"}) {
        EXPECT_FALSE(schematic.LoadStore(path, error));
        window->Refresh();
        EXPECT_EQ(window->findChild<QLabel*>("ComponentsStatus")->text().toStdString(), error);
        EXPECT_EQ(window->findChild<QTreeWidget*>("ComponentTree")->topLevelItemCount(), 3);
    }
    EXPECT_EQ(error.rfind("Cannot read the component store", 0), 0u) << error;
}

// "Client:RunCommonDialog" with "Dialog=DDBBrowser", answered in a buffer of the given capacity.
std::string Browse(THostClient& client, int32_t capacity, std::function<void(QFileDialog&)> answer) {
    std::vector<char> params(std::size_t(capacity) + 16, '#');  // bytes past the capacity must stay
    const std::string request = "Dialog=DDBBrowser|Caption=Pick|DocumentKind1=edif";
    std::copy(request.begin(), request.end() + 1, params.begin());
    WhenModal<QFileDialog>(std::move(answer));
    client.RunProcess("Client:RunCommonDialog", params.data(), capacity, nullptr);
    EXPECT_EQ(std::string(params.begin() + capacity, params.end()), std::string(16, '#'));
    return std::string(params.data(), ::strnlen(params.data(), std::size_t(capacity)));
}

TEST_F(SchematicComponentsTest, DocumentBrowserAnswersResultAndPathWithinTheBuffer) {
    const auto choose = [](QFileDialog& chooser) { ChooseInFileDialog(chooser, kChosenModel); };
    EXPECT_EQ(Browse(client, 4000, choose), "Result=True|Path=" + kChosenModel);
    EXPECT_EQ(Browse(client, 4000, [](QFileDialog& chooser) { chooser.reject(); }), "Result=False");
    // A path that does not fit is no answer, rather than a cut one.
    const int32_t tooSmall = int32_t(("Result=True|Path=" + kChosenModel).size());
    EXPECT_EQ(Browse(client, tooSmall, choose), "Result=False");
}

}  // namespace
}  // namespace harbinet
