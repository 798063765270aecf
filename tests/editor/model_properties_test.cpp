// "Properties of Model" over the stand-in schematic editor loaded into the test program, driven
// through its controls; what reaches the schematic editor is read back through its functions.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "editor/dev_list.h"
#include "editor/implementation_properties_form.h"
#include "editor/latin1_edit.h"
#include "tests/host/recording_client.h"
#include "tests/support/loaded_grivel.h"
#include "widgets/colors.h"

namespace tarnwick {
namespace {

std::string StoreWith(const std::string& implementationKeys) {
    return "[Component] U1\n[Implementation]\nModelName=alu\nModelKind=edif\nDescription=ALU model\n"
           "PortMap=A=A1\nIsCurrent=True\nIntegratedLibraryAvailable=True\n" +
           implementationKeys + "\n[Component] U2\n[Implementation]\nModelName=other\n";
}

template <class Widget>
Widget* Control(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Click(QAbstractButton* button) {
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(6, button->height() / 2) : button->rect().center());
}

void Click(QWidget& dialog, const char* name) { Click(Control<QAbstractButton>(dialog, name)); }

bool Checked(QWidget& dialog, const char* name) { return Control<QRadioButton>(dialog, name)->isChecked(); }

std::string Bytes(QWidget& dialog, const char* name) { return Control<TLatin1Edit>(dialog, name)->Bytes(); }

void TypeInto(QWidget& dialog, const char* name, const QString& text) {
    QWidget* field = Control<QWidget>(dialog, name);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

QString ChosenTarget(QWidget& dialog) {
    return Control<QComboBox>(dialog, "TeThemeComboBox_Arch")->currentText().trimmed();
}

// Picks the target from the drop-down list with the keyboard, as a user would.
void ChooseTarget(QWidget& dialog, const QString& name) {
    auto* list = Control<QComboBox>(dialog, "TeThemeComboBox_Arch");
    const int wanted = list->findText(name, Qt::MatchStartsWith);
    ASSERT_GE(wanted, 0) << name.toStdString();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < wanted; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), wanted);
}

// Opens the dialog through Show and hands it to drive once it is up; what drive leaves open
// is cancelled, so a failed expectation cannot leave the test waiting.
bool RunDialog(intptr_t implementation, const std::function<void(QDialog&)>& drive) {
    QTimer::singleShot(0, [&drive] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the dialog is not up";
            return;
        }
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return TImplementationPropertiesForm::Show(implementation);
}

void ClickOk(QDialog& dialog) { Click(dialog, "Button_OK"); }

class ModelPropertiesTest : public testing::Test {
protected:
    // Loads the store and answers its first implementation.
    intptr_t Open(const std::string& keys) {
        grivel.Load(StoreWith(keys));
        return grivel.FirstImplementation();
    }

    RecordingClient host;  // answers the browse request
    LoadedGrivel grivel;
};

TEST(DevListTest, HoldsTheTargetsSortedWithPaddedNames) {
    const TDevList targets;
    ASSERT_EQ(targets.Count(), 41u);
    EXPECT_EQ(targets[0].DisplayName, "Actel, 40MX Series (Designer98)    ");
    for (std::size_t i = 0; i < targets.Count(); ++i) {
        EXPECT_EQ(targets[i].DisplayName.size(), 35u) << targets[i].DisplayName;
        if (i > 0) {
            EXPECT_TRUE(ascii::LessIgnoringCase()(targets[i - 1].DisplayName, targets[i].DisplayName));
        }
    }
}

struct OpeningCase {
    const char* name;
    const char* parameters;  // the implementation's Parameter= lines
    bool specific;
    const char* selected;  // the entry shown when specific
};

class OpeningTest : public ModelPropertiesTest, public testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningTest, TheArchitectureParameterSelectsItsTarget) {
    const OpeningCase& c = GetParam();
    const intptr_t implementation =
        Open(std::string("Datafile=alu|/models/alu.edf|EDIFLIB\n") + c.parameters);
    RunDialog(implementation, [&](QDialog& dialog) {
        EXPECT_EQ(Checked(dialog, "TeThemeRadioButton_Arch_Specific"), c.specific);
        EXPECT_EQ(Checked(dialog, "TeThemeRadioButton_Arch_Any"), !c.specific);
        EXPECT_EQ(Control<QComboBox>(dialog, "TeThemeComboBox_Arch")->isEnabled(), c.specific);
        if (c.specific) {
            EXPECT_EQ(ChosenTarget(dialog), c.selected);
        }
        EXPECT_EQ(Bytes(dialog, "Edit_ModelName"), "alu");
        EXPECT_EQ(Bytes(dialog, "Edit_Description"), "ALU model");
        EXPECT_EQ(Bytes(dialog, "Edit_ModelLocation"), "/models/alu.edf");
        EXPECT_TRUE(Checked(dialog, "Radio_Other"));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Values, OpeningTest,
    testing::Values(
        OpeningCase{"VendorAndFamily", "Parameter=ARCHITECTURE=xilinx virtex2", true,
                    "Xilinx Virtex II Series"},
        OpeningCase{"CaseIgnored", "Parameter=ARCHITECTURE=XILINX Virtex2", true, "Xilinx Virtex II Series"},
        OpeningCase{"SharedFamilyTakesFirstSorted", "Parameter=ARCHITECTURE=xilinx 4kex", true,
                    "Xilinx 4000ex Series"},
        OpeningCase{"UnknownFamilyTakesVendorsFirst", "Parameter=ARCHITECTURE=xilinx 99k", true,
                    "Xilinx 3000 Series"},
        OpeningCase{"UnknownVendorTakesFirstEntry", "Parameter=ARCHITECTURE=nobody", true,
                    "Actel, 40MX Series (Designer98)"},
        OpeningCase{"VendorWithoutFamily", "Parameter=ARCHITECTURE=altera", true, "Altera, all devices"},
        OpeningCase{"NameMatchesExactly", "Parameter=architecture=altera", false, ""},
        OpeningCase{"FirstOfTwoCounts", "Parameter=ARCHITECTURE=\nParameter=ARCHITECTURE=altera", false, ""},
        OpeningCase{"NoParameter", "", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct StoringCase {
    const char* name;
    const char* target;  // chosen in the list
    const char* stored;
};

class StoringTest : public ModelPropertiesTest, public testing::WithParamInterface<StoringCase> {};

TEST_P(StoringTest, TheChosenTargetIsStoredAsVendorAndFamily) {
    const StoringCase& c = GetParam();
    const intptr_t implementation = Open("Parameter=ARCHITECTURE=xilinx virtex2");
    EXPECT_TRUE(RunDialog(implementation, [&](QDialog& dialog) {
        ChooseTarget(dialog, c.target);
        ClickOk(dialog);
    }));
    EXPECT_EQ(grivel.Read(implementation).parameters,
              (std::vector<LoadedGrivel::Parameter>{{"ARCHITECTURE", c.stored}}));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoringTest,
    testing::Values(StoringCase{"NoTrailingBlank", "Altera, all devices", "altera"},
                    StoringCase{"WithFamily", "Xilinx Spartan 2E Series", "xilinx spartan2e"},
                    StoringCase{"MixedCaseFamily", "Xilinx Coolrunner XPLA3", "xilinx coolrunnerXPLA3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelPropertiesTest, AnyArchitectureKeepsTheParameterWithAnEmptyValue) {
    const intptr_t implementation = Open("Parameter=Speed=fast\nParameter=ARCHITECTURE=xilinx virtex2");
    EXPECT_TRUE(RunDialog(implementation, [](QDialog& dialog) {
        Click(dialog, "TeThemeRadioButton_Arch_Any");
        EXPECT_FALSE(Control<QComboBox>(dialog, "TeThemeComboBox_Arch")->isEnabled());
        ClickOk(dialog);
    }));
    EXPECT_EQ(grivel.Read(implementation).parameters,
              (std::vector<LoadedGrivel::Parameter>{{"Speed", "fast"}, {"ARCHITECTURE", ""}}));
}

TEST_F(ModelPropertiesTest, OkCreatesTheMissingParameterAndWritesTheFields) {
    const intptr_t implementation = Open("Parameter=Speed=fast");
    EXPECT_TRUE(RunDialog(implementation, [](QDialog& dialog) {
        TypeInto(dialog, "Edit_ModelName", "alu2");
        TypeInto(dialog, "Edit_Description", "wider");
        TypeInto(dialog, "Edit_ModelLocation", "/m/alu2.edf");
        ClickOk(dialog);
    }));
    const LoadedGrivel::Implementation after = grivel.Read(implementation);
    EXPECT_EQ(after.parameters,
              (std::vector<LoadedGrivel::Parameter>{{"Speed", "fast"}, {"ARCHITECTURE", ""}}));
    EXPECT_EQ(after.datafiles, (std::vector<LoadedGrivel::Datafile>{{"alu2", "/m/alu2.edf", "EDIFLIB"}}));
    EXPECT_EQ(std::tuple(after.modelName, after.description, after.useIntegrated),
              std::tuple("alu2", "wider", 0));
    // What the dialog does not show comes back as it was.
    EXPECT_EQ(std::tuple(after.modelKind, after.portMap, after.isCurrent, after.integratedAvailable),
              std::tuple("edif", "A=A1", -1, -1));
}

TEST_F(ModelPropertiesTest, TheIntegratedLibraryStoresAnEmptyLocation) {
    const intptr_t implementation = Open("Datafile=alu|/models/alu.edf|EDIFLIB\nDatafile=b|/b.edf|EDIFLIB");
    EXPECT_TRUE(RunDialog(implementation, [](QDialog& dialog) {
        Click(dialog, "Radio_Integrated");
        for (const char* name : {"Edit_ModelName", "Edit_ModelLocation", "Button_Browse"})
            EXPECT_FALSE(Control<QWidget>(dialog, name)->isEnabled()) << name;
        const QColor text = Control<QWidget>(dialog, "Edit_ModelLocation")->palette().color(QPalette::Text);
        EXPECT_EQ(text, ResolveColor(0x80000011));
        EXPECT_EQ(Bytes(dialog, "Edit_ModelLocation"), "/models/alu.edf");  // still shown
        ClickOk(dialog);
    }));
    const LoadedGrivel::Implementation after = grivel.Read(implementation);
    EXPECT_EQ(after.datafiles, (std::vector<LoadedGrivel::Datafile>{{"alu", "", "EDIFLIB"}}));
    EXPECT_EQ(after.useIntegrated, -1);
}

TEST_F(ModelPropertiesTest, ReopeningShowsTheIntegratedChoiceWithTheEditsDisabled) {
    const intptr_t implementation = Open("UseIntegratedLibrary=True");
    RunDialog(implementation, [](QDialog& dialog) {
        EXPECT_TRUE(Checked(dialog, "Radio_Integrated"));
        EXPECT_FALSE(Control<QWidget>(dialog, "Edit_ModelName")->isEnabled());
        Click(dialog, "Radio_Other");
        EXPECT_TRUE(Control<QWidget>(dialog, "Edit_ModelName")->isEnabled());
        EXPECT_EQ(Control<QWidget>(dialog, "Edit_ModelName")->palette().color(QPalette::Text),
                  ResolveColor(0x80000008));
    });
}

TEST_F(ModelPropertiesTest, CancelWritesNothing) {
    const intptr_t implementation =
        Open("Datafile=alu|/models/alu.edf|EDIFLIB\nParameter=ARCHITECTURE=altera");
    const LoadedGrivel::Implementation before = grivel.Read(implementation);
    EXPECT_FALSE(RunDialog(implementation, [](QDialog& dialog) {
        TypeInto(dialog, "Edit_ModelName", "changed");
        Click(dialog, "TeThemeRadioButton_Arch_Any");
        Click(dialog, "Button_Cancel");
    }));
    EXPECT_EQ(grivel.Read(implementation), before);
}

TEST_F(ModelPropertiesTest, BrowseAsksForTheModelKindAndTakesTheChosenPath) {
    const intptr_t implementation = Open("Datafile=alu|/models/alu.edf|EDIFLIB");
    struct Reply {
        const char* text;
        const char* location;
    };
    const std::string longPath = "/" + std::string(300, 'p');
    const Reply replies[] = {{"Result= true |Path=/chosen/alu.edf", "/chosen/alu.edf"},
                             {"Result=False|Path=/not/taken.edf", "/models/alu.edf"},
                             {"Path=/no/result.edf", "/models/alu.edf"}};
    for (const Reply& reply : replies) {
        SCOPED_TRACE(reply.text);
        int32_t capacity = 0;
        host.processes.clear();
        host.answer = [&](char* params, int32_t given) {
            capacity = given;
            std::snprintf(params, given, "%s", reply.text);
            return kTrue;
        };
        RunDialog(implementation, [&](QDialog& dialog) {
            Click(dialog, "Button_Browse");
            EXPECT_EQ(Bytes(dialog, "Edit_ModelLocation"), reply.location);
        });
        ASSERT_EQ(host.processes.size(), 1u);
        EXPECT_EQ(host.processes[0].name, "Client:RunCommonDialog");
        EXPECT_EQ(host.processes[0].params,
                  "Dialog=DDBBrowser|Caption=Choose Model Location|DocumentKind1=EDIF");
        EXPECT_EQ(capacity, 65535);
    }
    host.answer = [&](char* params, int32_t given) {
        std::snprintf(params, given, "Result=True|Path=%s", longPath.c_str());
        return kTrue;
    };
    RunDialog(implementation, [&](QDialog& dialog) {
        Click(dialog, "Button_Browse");
        EXPECT_EQ(Bytes(dialog, "Edit_ModelLocation"), longPath.substr(0, 255));
    });
}

TEST_F(ModelPropertiesTest, AnUnknownHandleOpensEmptyAndWritesNothing) {
    const intptr_t implementation = Open("Parameter=ARCHITECTURE=altera");
    const LoadedGrivel::Implementation before = grivel.Read(implementation);
    const intptr_t component =
        grivel.Members(grivel.Function<TGrivelGetLibrary>("GrivelAPI_GetLibrary")())[0];
    for (const intptr_t unknown : {intptr_t(0), intptr_t(987654), component}) {
        EXPECT_FALSE(RunDialog(unknown, [](QDialog& dialog) {
            EXPECT_EQ(Bytes(dialog, "Edit_ModelName"), "");
            EXPECT_FALSE(Control<QWidget>(dialog, "Radio_Integrated")->isEnabled());
            EXPECT_TRUE(Checked(dialog, "TeThemeRadioButton_Arch_Any"));
            TypeInto(dialog, "Edit_ModelName", "typed");
            ClickOk(dialog);
        }));
    }
    EXPECT_EQ(grivel.Read(implementation), before);
    EXPECT_EQ(grivel.Members(implementation).size(), 1u);  // no parameter made on the side
}

TEST_F(ModelPropertiesTest, TextsOfAKilobyteAndMoreAreReadAndWrittenWithinTheBuffers) {
    const std::string huge(5000, 'n');
    const intptr_t implementation =
        Open("Datafile=" + huge + "|/" + huge + "|EDIFLIB\nParameter=ARCHITECTURE=xilinx " + huge +
             "\nDescription=" + huge);
    EXPECT_TRUE(RunDialog(implementation, [&](QDialog& dialog) {
        EXPECT_EQ(Bytes(dialog, "Edit_Description"), huge.substr(0, 1023));
        EXPECT_EQ(Bytes(dialog, "Edit_ModelLocation"), "/" + huge.substr(0, 1022));
        EXPECT_EQ(ChosenTarget(dialog), "Xilinx 3000 Series");
        ClickOk(dialog);
    }));
    const LoadedGrivel::Implementation after = grivel.Read(implementation);
    EXPECT_EQ(after.description, huge.substr(0, 1023));
    ASSERT_EQ(after.datafiles.size(), 1u);
    EXPECT_EQ(after.datafiles[0].location, "/" + huge.substr(0, 254));
}

// Grivel is loaded by the fixture; this test must run without it.
TEST(ModelPropertiesWithoutGrivelTest, TheDialogOpensEmptyAndOkWritesNothing) {
    ASSERT_EQ(::dlopen(kSchematicModuleName, RTLD_NOW | RTLD_NOLOAD), nullptr);
    RecordingClient host;
    EXPECT_FALSE(RunDialog(1, [](QDialog& dialog) {
        for (const char* name : {"Edit_ModelName", "Edit_Description", "Edit_ModelLocation"})
            EXPECT_EQ(Bytes(dialog, name), "") << name;
        EXPECT_FALSE(Control<QWidget>(dialog, "Radio_Integrated")->isEnabled());
        EXPECT_TRUE(Checked(dialog, "Radio_Other"));
        EXPECT_TRUE(Checked(dialog, "TeThemeRadioButton_Arch_Any"));
        EXPECT_EQ(dialog.windowTitle(), "Properties of Model");
        EXPECT_EQ(dialog.size(), QSize(555, 356));
        ClickOk(dialog);
        EXPECT_FALSE(dialog.isVisible());
    }));
}

}  // namespace
}  // namespace tarnwick
