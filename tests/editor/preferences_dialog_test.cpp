// The preferences dialog driven as a user drives it: clicks, keys and the nested message, colour
// and font dialogs answered from queued calls.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/preferences_dialog.h"
#include "editor/text_editor_preferences.h"
#include "tests/host/recording_client.h"
#include "widgets/colors.h"

namespace tarnwick {
namespace {

using TPrefs = TTextEditorPreferences;

struct TCheckField {
    const char* name;
    const char* caption;
    bool TPrefs::*field;
};

const TCheckField kCheckFields[] = {
    {"AutoIndentCheck", "&Auto indent mode", &TPrefs::AutoIndentMode},
    {"InsertModeCheck", "&Insert mode", &TPrefs::InsertMode},
    {"SmartTabCheck", "S&mart tab", &TPrefs::SmartTab},
    {"BackspaceUnindentsCheck", "Backspace &unindents", &TPrefs::BackspaceUnindents},
    {"UseTabCheck", "Use ta&b character", &TPrefs::UseTabCharacter},
    {"OptimalFillCheck", "Optimal fill", &TPrefs::OptimalFill},
    {"PersistentBlocksCheck", "&Persistent blocks", &TPrefs::PersistentBlocks},
    {"OverwriteBlocksCheck", "Over&write blocks", &TPrefs::OverwriteBlocks},
    {"CursorOnTabsCheck", "Cursor through tabs", &TPrefs::CursorOnTabs},
    {"UseSyntaxHighlightCheck", "Use &syntax highlighting", &TPrefs::SyntaxHighlighting},
    {"VisibleMarginCheck", "&Visible right margin", &TPrefs::VisibleMargin},
    {"UseSpecialSymbolsCheck", "Use special s&ymbols", &TPrefs::UseSpecialSymbols},
    {"CursorBeyondEOLCheck", "Cursor beyond EOL", &TPrefs::CursorBeyondEOL},
    {"CursorBeyondEOFCheck", "Cursor beyond &EOF", &TPrefs::CursorBeyondEOF},
    {"GroupUndoCheck", "&Group undo", &TPrefs::GroupUndo},
    {"OverwriteCursorCheck", "Overwrite cursor as block", &TPrefs::OverwriteCursorAsBlock},
    {"DoubleClickLineCheck", "&Double click line", &TPrefs::DoubleClickLine},
    {"FindTextAtCursorCheck", "Find te&xt at cursor", &TPrefs::FindTextAtCursor},
    {"ShowLineNumbersCheck", "Show &line numbers", &TPrefs::ShowLineNumbers},
    {"DisableDraggingCheck", "Disable dragging", &TPrefs::DisableDragging},
    {"WrapCheck", "Wo&rd wrap", &TPrefs::WordWrap},
};

template <class Widget>
Widget* Control(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Check boxes and radio buttons take clicks on their indicator.
void ClickButton(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void ShowPage(QWidget& dialog, int index) {
    QTabBar* bar = Control<QTabWidget>(dialog, "PageControl")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void TypeInto(QWidget& dialog, const char* field, const QString& text) {
    TypeInto(Control<QLineEdit>(dialog, field), text);
}

// Opens the dialog on record through Show and hands it to drive once it is up. What drive
// leaves open is cancelled, so a failed expectation cannot leave the test waiting.
bool RunDialog(TPrefs& record, const std::function<void(TPreferencesDialog&)>& drive) {
    QTimer::singleShot(0, [&drive] {
        auto* dialog = qobject_cast<TPreferencesDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the preferences dialog is not up";
            return;
        }
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return TPreferencesDialog::Show(record);
}

struct TErrorBox {
    QString caption;
    QString message;
};

// Clicks OK and answers the error box it raises, if any.
TErrorBox ClickOk(TPreferencesDialog& dialog) {
    auto shown = std::make_shared<TErrorBox>();
    QTimer::singleShot(0, &dialog, [shown, &dialog] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || box == &dialog)
            return;
        shown->caption = box->windowTitle();
        if (auto* message = box->findChild<QLabel*>("Message"))
            shown->message = message->text();
        box->reject();
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "OkButton"), Qt::LeftButton);
    return *shown;
}

// The window system hands the activation back to the dialog in its own time.
bool FocusReaches(QWidget* widget) {
    return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; });
}

void ClickOkExpectingNoError(TPreferencesDialog& dialog) {
    EXPECT_EQ(ClickOk(dialog).message, "");
    EXPECT_FALSE(dialog.isVisible());
}

QColor SwatchColor(QWidget& dialog) {
    QWidget* swatch = Control<QWidget>(dialog, "BackgroundPaintBox");
    return swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2);
}

// A record whose every field differs from the built-in defaults.
TPrefs AllChanged() {
    TPrefs r;
    for (const TCheckField& c : kCheckFields)
        r.*c.field = !(r.*c.field);
    r.WrapAtMargin = true;
    r.BlockIndent = 3;
    r.MarginWidth = 72;
    r.TabStops = "3,9";
    r.WindowColor = 0x00123456;
    r.Font.Name = "DejaVu Sans Mono";
    r.Font.Size = 12;
    r.Font.Height = -16;
    r.Font.Style = fsBold;
    r.KeyMapping = "Brief";
    r.PrintHeader = false;
    r.PrintIndent = 0.5;
    return r;
}

// A host whose "Client:RunCommonDialog" answers with a set reply, noting the capacity it was
// given and whether the asking dialog was disabled meanwhile.
struct TColorHost {
    RecordingClient client;
    std::string reply;  // written over the request; none when empty
    int32_t capacity = 0;
    bool dialogEnabledDuringRequest = true;

    TColorHost() {
        client.answer = [this](char* params, int32_t size) {
            capacity = size;
            if (QWidget* modal = QApplication::activeModalWidget())
                dialogEnabledDuringRequest = modal->isEnabled();
            if (reply.empty() || !params || reply.size() >= std::size_t(size))
                return kFalse;
            std::memcpy(params, reply.c_str(), reply.size() + 1);
            return kTrue;
        };
    }
    const std::vector<RecordingClient::Process>& Requests() const { return client.processes; }
};

TEST(PreferencesDialogTest, FormHasItsControlsWhereTheUserExpectsThem) {
    TPrefs record;
    TPreferencesDialog dialog(record);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    EXPECT_EQ(dialog.size(), QSize(468, 421));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    auto* pages = Control<QTabWidget>(dialog, "PageControl");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Options");
    EXPECT_EQ(pages->tabText(1), "General");

    const struct {
        const char* name;
        const char* caption;
        QPoint at;
    } buttons[] = {{"DefaultButton", "Default", {224, 391}},
                   {"OkButton", "OK", {306, 391}},
                   {"CancelButton", "Cancel", {387, 391}}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = Control<QPushButton>(dialog, b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->pos(), b.at);
    }
    EXPECT_TRUE(FocusReaches(Control<QPushButton>(dialog, "DefaultButton")));

    // The left column holds the first twelve check boxes, 25 pixels apart, then the right one.
    for (std::size_t i = 0; i < std::size(kCheckFields); ++i) {
        SCOPED_TRACE(kCheckFields[i].name);
        auto* box = Control<QCheckBox>(dialog, kCheckFields[i].name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), kCheckFields[i].caption);
        const int row = i < 12 ? int(i) : int(i) - 12;
        EXPECT_EQ(box->pos(), QPoint(i < 12 ? 20 : 245, 10 + 25 * row));
    }
    auto* wrap = Control<QCheckBox>(dialog, "WrapCheck");
    for (const char* radio : {"MarginWrapRadio", "WindowWrapRadio"}) {
        auto* button = Control<QRadioButton>(dialog, radio);
        ASSERT_NE(button, nullptr);
        EXPECT_GT(button->x(), wrap->x());
        EXPECT_GT(button->y(), wrap->y());
    }
    EXPECT_EQ(Control<QRadioButton>(dialog, "MarginWrapRadio")->text(), "Wrap at margin");
    EXPECT_EQ(Control<QRadioButton>(dialog, "WindowWrapRadio")->text(), "Wrap at window");
    dialog.grab().save("/tmp/preferences-options.png");

    ShowPage(dialog, 1);
    EXPECT_TRUE(Control<QComboBox>(dialog, "cbKeyMapping")->isEditable());
    for (const char* edit : {"BlockIndentEdit", "MarginEdit", "TabStopEdit"})
        EXPECT_NE(Control<QLineEdit>(dialog, edit), nullptr);
    EXPECT_EQ(Control<QPushButton>(dialog, "ChangeBackButton")->text(), "Change...");
    EXPECT_EQ(Control<QPushButton>(dialog, "ChangeFont")->text(), "Change...");
    EXPECT_EQ(SwatchColor(dialog), QColor(255, 255, 232));
    EXPECT_EQ(Control<QLabel>(dialog, "txtCurrentFont")->text(), "Courier New, 10 pt");
    dialog.grab().save("/tmp/preferences-general.png");

    // No button is a default button: Enter in a field neither closes the dialog nor asks the
    // host for anything.
    TColorHost host;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    QTest::keyClick(Control<QLineEdit>(dialog, "MarginEdit"), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(host.Requests().empty());
}

TEST(PreferencesDialogTest, EveryCheckBoxShowsItsOwnField) {
    for (const TCheckField& changed : kCheckFields) {
        SCOPED_TRACE(changed.name);
        TPrefs record;
        record.*changed.field = !(record.*changed.field);
        TPreferencesDialog dialog(record);
        for (const TCheckField& c : kCheckFields)
            EXPECT_EQ(Control<QCheckBox>(dialog, c.name)->isChecked(), record.*c.field) << c.name;
    }
}

TEST(PreferencesDialogTest, EveryCheckBoxIsStoredIntoItsOwnField) {
    for (const TCheckField& clicked : kCheckFields) {
        SCOPED_TRACE(clicked.name);
        TPrefs record;
        TPrefs expected;
        expected.*clicked.field = !(expected.*clicked.field);
        EXPECT_TRUE(RunDialog(record, [&](TPreferencesDialog& dialog) {
            ClickButton(Control<QCheckBox>(dialog, clicked.name));
            ClickOkExpectingNoError(dialog);
        }));
        EXPECT_EQ(record, expected);
    }
}

TEST(PreferencesDialogTest, GeneralPageShowsTheRecordAndStoresWhatWasTyped) {
    TPrefs record = AllChanged();
    const TPrefs before = record;
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        ShowPage(dialog, 1);
        EXPECT_EQ(Control<QLineEdit>(dialog, "BlockIndentEdit")->text(), "3");
        EXPECT_EQ(Control<QLineEdit>(dialog, "MarginEdit")->text(), "72");
        EXPECT_EQ(Control<QLineEdit>(dialog, "TabStopEdit")->text(), "3,9");
        EXPECT_EQ(Control<QComboBox>(dialog, "cbKeyMapping")->currentText(), "Brief");
        EXPECT_EQ(Control<QLabel>(dialog, "txtCurrentFont")->text(), "DejaVu Sans Mono, 12 pt");
        EXPECT_EQ(SwatchColor(dialog), QColor(0x56, 0x34, 0x12));
        EXPECT_TRUE(Control<QRadioButton>(dialog, "MarginWrapRadio")->isChecked());

        TypeInto(dialog, "BlockIndentEdit", "2");
        TypeInto(dialog, "MarginEdit", "100");
        TypeInto(dialog, "TabStopEdit", "2,5");
        TypeInto(Control<QComboBox>(dialog, "cbKeyMapping")->lineEdit(), "Epsilon");
        ClickOkExpectingNoError(dialog);
    }));
    TPrefs expected = before;
    expected.BlockIndent = 2;
    expected.MarginWidth = 100;
    expected.TabStops = "2,5";
    expected.KeyMapping = "Epsilon";
    EXPECT_EQ(record, expected);
}

// The box lists the registered key maps, so an untouched box keeps the record's name; a name
// that is not listed shows nothing and is stored as the empty name.
TEST(PreferencesDialogTest, KeyMappingBoxListsTheKeyMapsAndKeepsAListedName) {
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {{"Default", "Default"}, {"Visual Studio", "Visual Studio"}, {"Nonesuch", ""}, {"", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPrefs record;
        record.KeyMapping = c.name;
        EXPECT_TRUE(RunDialog(record, [&](TPreferencesDialog& dialog) {
            auto* box = Control<QComboBox>(dialog, "cbKeyMapping");
            EXPECT_EQ(box->count(), 5);
            EXPECT_EQ(box->currentText(), c.shown);
            ClickOkExpectingNoError(dialog);
        }));
        EXPECT_EQ(record.KeyMapping, c.shown);
    }
}

// The texts the record keeps hold at most 255 characters; the fields take no more.
TEST(PreferencesDialogTest, LongTextsAreCutToWhatTheRecordHolds) {
    TPrefs record;
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        ShowPage(dialog, 1);
        TypeInto(Control<QComboBox>(dialog, "cbKeyMapping")->lineEdit(), QString(300, 'k'));
        QString stops;
        for (int stop = 1; stops.size() < 300; ++stop)
            stops += QString::number(stop) + ",";
        TypeInto(dialog, "TabStopEdit", stops);
        EXPECT_EQ(Control<QLineEdit>(dialog, "TabStopEdit")->text(), stops.left(255));
        TypeInto(dialog, "TabStopEdit", "8,16");
        ClickOkExpectingNoError(dialog);
    }));
    EXPECT_EQ(record.KeyMapping, std::string(255, 'k'));
    EXPECT_EQ(record.TabStops, "8,16");
}

struct TValidationCase {
    const char* name;
    const char* blockIndent;
    const char* margin;
    const char* tabStops;
    const char* message;  // empty: accepted
    const char* faultyField;
    int32_t storedBlockIndent = 0;
    int32_t storedMargin = 0;
    const char* storedTabStops = "";
};

constexpr char kBlockIndentMessage[] = "Please enter an integer block indent.";
constexpr char kMarginMessage[] = "Please enter an integer margin greater than or equal to 2.";
constexpr char kNotIntegerMessage[] = "Please enter some integer tab stops seperated by commas.";
constexpr char kOrderMessage[] = "Tab stops must be in ascending order.";

// The record starts with BlockIndent 3, MarginWidth 72 and TabStops "3,9".
const TValidationCase kValidationCases[] = {
    {"MarginOfTwoIsAccepted", "1", "2", "4,7", "", "", 1, 2, "4,7"},
    {"MarginOfOneIsRefused", "1", "1", "4,7", kMarginMessage, "MarginEdit"},
    {"PaddedNumbersAreAccepted", " 5 ", " 80 ", " 4,7 ", "", "", 5, 80, "4,7"},
    {"NegativeBlockIndentIsAnInteger", "-2", "80", "4,7", "", "", -2, 80, "4,7"},
    {"EmptyBlockIndentLeavesItAsItWas", "", "80", "4,7", "", "", 3, 80, "4,7"},
    {"BlankBlockIndentLeavesItAsItWas", "   ", "80", "4,7", "", "", 3, 80, "4,7"},
    {"EmptyTabStopsLeaveThemAsTheyWere", "1", "80", "", "", "", 1, 80, "3,9"},
    {"BlankSeparatedTabStopsAreStoredWithCommas", "1", "80", "4 7", "", "", 1, 80, "4,7"},
    {"QuotedAndSignedTabStopsAreStoredPlain", "1", "80", "\"4\", +9  012", "", "", 1, 80, "4,9,12"},
    {"DescendingTabStops", "1", "80", "7,4", kOrderMessage, "TabStopEdit"},
    {"EqualTabStops", "1", "80", "4,4", kOrderMessage, "TabStopEdit"},
    {"TabStopThatIsNoNumber", "1", "80", "4,x", kNotIntegerMessage, "TabStopEdit"},
    {"FirstTabStopErrorWins", "1", "80", "7,4,x", kOrderMessage, "TabStopEdit"},
    {"EmptyTabStopEntry", "1", "80", "4,,7", kNotIntegerMessage, "TabStopEdit"},
    {"TabStopAtColumnZero", "1", "80", "0,4", kOrderMessage, "TabStopEdit"},
    {"NegativeTabStop", "1", "80", "-4", kOrderMessage, "TabStopEdit"},
    {"HugeTabStop", "1", "80", "4,99999999999", kNotIntegerMessage, "TabStopEdit"},
    {"BlockIndentThatIsNoNumber", "x", "80", "4,7", kBlockIndentMessage, "BlockIndentEdit"},
    {"BlockIndentWithTrailingText", "2abc", "80", "4,7", kBlockIndentMessage, "BlockIndentEdit"},
    {"HugeBlockIndent", "99999999999", "80", "4,7", kBlockIndentMessage, "BlockIndentEdit"},
    {"BlockIndentIsCheckedBeforeMargin", "x", "1", "x", kBlockIndentMessage, "BlockIndentEdit"},
    {"MarginIsCheckedBeforeTabStops", "1", "", "x", kMarginMessage, "MarginEdit"},
    {"MarginThatIsNoNumber", "1", "abc", "4,7", kMarginMessage, "MarginEdit"},
    {"HugeMargin", "1", "99999999999", "4,7", kMarginMessage, "MarginEdit"},
    {"NegativeMargin", "1", "-80", "4,7", kMarginMessage, "MarginEdit"},
};

// Each field is typed on the General page; OK is clicked from the Options page, so a refused
// field must also bring its page back.
TEST(PreferencesDialogTest, OkValidatesTheFieldsInOrder) {
    for (const TValidationCase& c : kValidationCases) {
        SCOPED_TRACE(c.name);
        TPrefs record;
        record.BlockIndent = 3;
        record.MarginWidth = 72;
        record.TabStops = "3,9";
        const TPrefs before = record;
        const bool refused = *c.message != '\0';
        const bool confirmed = RunDialog(record, [&](TPreferencesDialog& dialog) {
            ShowPage(dialog, 1);
            TypeInto(dialog, "BlockIndentEdit", c.blockIndent);
            TypeInto(dialog, "MarginEdit", c.margin);
            TypeInto(dialog, "TabStopEdit", c.tabStops);
            ShowPage(dialog, 0);
            const TErrorBox shown = ClickOk(dialog);
            EXPECT_EQ(shown.message, c.message);
            EXPECT_EQ(dialog.isVisible(), refused);
            if (!refused)
                return;
            EXPECT_EQ(shown.caption, "Harbinet Error");
            EXPECT_EQ(Control<QTabWidget>(dialog, "PageControl")->currentIndex(), 1);
            EXPECT_TRUE(FocusReaches(Control<QLineEdit>(dialog, c.faultyField)));
            QTest::mouseClick(Control<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
        });
        EXPECT_EQ(confirmed, !refused);
        TPrefs expected = before;
        if (!refused) {
            expected.BlockIndent = c.storedBlockIndent;
            expected.MarginWidth = c.storedMargin;
            expected.TabStops = c.storedTabStops;
        }
        EXPECT_EQ(record, expected);
    }
}

TEST(PreferencesDialogTest, WrapRadioButtonsFollowWordWrapAndKeepTheirChoice) {
    TPrefs record;
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        auto* wrap = Control<QCheckBox>(dialog, "WrapCheck");
        auto* atMargin = Control<QRadioButton>(dialog, "MarginWrapRadio");
        auto* atWindow = Control<QRadioButton>(dialog, "WindowWrapRadio");
        EXPECT_FALSE(atMargin->isEnabled() || atWindow->isEnabled());
        EXPECT_TRUE(atWindow->isChecked());

        ClickButton(wrap);
        EXPECT_TRUE(atMargin->isEnabled() && atWindow->isEnabled());
        ClickButton(atMargin);
        EXPECT_TRUE(atMargin->isChecked());
        EXPECT_FALSE(atWindow->isChecked());

        ClickButton(wrap);
        EXPECT_FALSE(atMargin->isEnabled() || atWindow->isEnabled());
        EXPECT_TRUE(atMargin->isChecked());
        ClickOkExpectingNoError(dialog);
    }));
    EXPECT_FALSE(record.WordWrap);
    EXPECT_TRUE(record.WrapAtMargin);

    record.WordWrap = true;
    TPreferencesDialog dialog(record);
    EXPECT_TRUE(Control<QRadioButton>(dialog, "MarginWrapRadio")->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(dialog, "MarginWrapRadio")->isChecked());
}

TEST(PreferencesDialogTest, DefaultLoadsTheBuiltInValuesAndOnlyOkStoresThem) {
    const std::function<void(TPreferencesDialog&)> closers[] = {
        [](TPreferencesDialog& d) {
            QTest::mouseClick(Control<QPushButton>(d, "CancelButton"), Qt::LeftButton);
        },
        [](TPreferencesDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](TPreferencesDialog& d) { d.close(); },  // the title bar's close button
    };
    for (const auto& close : closers) {
        TPrefs record = AllChanged();
        EXPECT_FALSE(RunDialog(record, [&](TPreferencesDialog& dialog) {
            QTest::mouseClick(Control<QPushButton>(dialog, "DefaultButton"), Qt::LeftButton);
            EXPECT_TRUE(Control<QCheckBox>(dialog, "AutoIndentCheck")->isChecked());
            EXPECT_FALSE(Control<QCheckBox>(dialog, "WrapCheck")->isChecked());
            EXPECT_EQ(Control<QLineEdit>(dialog, "MarginEdit")->text(), "80");
            EXPECT_EQ(Control<QLineEdit>(dialog, "TabStopEdit")->text(), "4,7");
            EXPECT_EQ(Control<QComboBox>(dialog, "cbKeyMapping")->currentText(), "Default");
            EXPECT_EQ(Control<QLabel>(dialog, "txtCurrentFont")->text(), "Courier New, 10 pt");
            EXPECT_EQ(SwatchColor(dialog), QColor(255, 255, 232));
            close(dialog);
            EXPECT_FALSE(dialog.isVisible());
        }));
        EXPECT_EQ(record, AllChanged());
    }

    // Confirmed, every field the dialog shows is back to its default; the others are kept.
    TPrefs record = AllChanged();
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        QTest::mouseClick(Control<QPushButton>(dialog, "DefaultButton"), Qt::LeftButton);
        ClickOkExpectingNoError(dialog);
    }));
    TPrefs expected;
    expected.PrintHeader = AllChanged().PrintHeader;
    expected.PrintIndent = AllChanged().PrintIndent;
    EXPECT_EQ(record, expected);
}

TEST(PreferencesDialogTest, ChangeBackAsksTheHostForAColour) {
    constexpr TColorValue kStart = 15269887;  // RGB 255,255,232
    const struct {
        const char* name;
        const char* reply;
        TColorValue stored;
    } cases[] = {
        {"Chosen", "Result=True|Color=255", 255},
        {"AnswerInAnyCase", "result=true|color= 65280 ", 65280},
        {"SystemColour", "Result=TRUE|Color=-2147483643", clWindow},
        {"Cancelled", "Result=False", kStart},
        {"NoColour", "Result=True", kStart},
        {"ColourThatIsNoNumber", "Result=True|Color=red", kStart},
        {"HugeColour", "Result=True|Color=99999999999", kStart},
        {"NoAnswer", "", kStart},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TColorHost host;
        host.reply = c.reply;
        TPrefs record;
        EXPECT_TRUE(RunDialog(record, [&](TPreferencesDialog& dialog) {
            ShowPage(dialog, 1);
            auto* change = Control<QPushButton>(dialog, "ChangeBackButton");
            QTest::mouseClick(change, Qt::LeftButton);
            EXPECT_EQ(SwatchColor(dialog), ResolveColor(c.stored));
            EXPECT_TRUE(dialog.isEnabled());
            EXPECT_TRUE(FocusReaches(change));
            ClickOkExpectingNoError(dialog);
        }));
        ASSERT_EQ(host.Requests().size(), 1u);
        EXPECT_EQ(host.Requests()[0].name, "CLient:RunCommonDialog");
        EXPECT_EQ(host.Requests()[0].params, "Dialog = Color | Color = 15269887");
        EXPECT_EQ(host.capacity, 4048);
        EXPECT_FALSE(host.dialogEnabledDuringRequest);
        EXPECT_EQ(record.WindowColor, c.stored);
    }
}

// The host's colour dialog takes RGB values only: a system colour is sent as what it shows.
TEST(PreferencesDialogTest, ASystemColourIsOfferedAsTheColourItShows) {
    TColorHost host;
    TPrefs record;
    record.WindowColor = clWindow;
    const QColor shown = ResolveColor(clWindow);
    EXPECT_FALSE(RunDialog(record, [](TPreferencesDialog& dialog) {
        ShowPage(dialog, 1);
        QTest::mouseClick(Control<QPushButton>(dialog, "ChangeBackButton"), Qt::LeftButton);
    }));
    ASSERT_EQ(host.Requests().size(), 1u);
    EXPECT_EQ(
        host.Requests()[0].params,
        "Dialog = Color | Color = " + std::to_string(shown.red() | shown.green() << 8 | shown.blue() << 16));
}

TEST(PreferencesDialogTest, ChangeBackWithoutAHostChangesNothing) {
    TPrefs record;
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        ShowPage(dialog, 1);
        QTest::mouseClick(Control<QPushButton>(dialog, "ChangeBackButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isEnabled());
        ClickOkExpectingNoError(dialog);
    }));
    EXPECT_EQ(record, TPrefs{});
}

// Answers the font dialog that the click opens: answer gets it once it is up.
void ClickChangeFont(TPreferencesDialog& dialog, const std::function<void(QFontDialog&)>& answer) {
    QTimer::singleShot(0, &dialog, [&dialog, answer] {
        auto* fonts = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!fonts) {
            ADD_FAILURE() << "no font dialog";
            return;
        }
        EXPECT_EQ(fonts->parentWidget(), &dialog);
        answer(*fonts);
    });
    QTest::mouseClick(Control<QPushButton>(dialog, "ChangeFont"), Qt::LeftButton);
}

TEST(PreferencesDialogTest, ChangeFontTakesTheChosenFontAndKeepsItsColourAndPitch) {
    TPrefs record;
    record.Font.Name = "DejaVu Sans Mono";
    record.Font.Color = 0x000000FF;
    record.Font.Pitch = fpFixed;
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        ShowPage(dialog, 1);
        ClickChangeFont(dialog, [](QFontDialog& fonts) {
            EXPECT_EQ(fonts.currentFont().family(), "DejaVu Sans Mono");
            EXPECT_EQ(fonts.currentFont().pointSize(), 10);
            QFont chosen("DejaVu Serif", 14, QFont::Bold, true);
            fonts.setCurrentFont(chosen);
            fonts.accept();
        });
        EXPECT_EQ(Control<QLabel>(dialog, "txtCurrentFont")->text(), "DejaVu Serif, 14 pt");
        ClickOkExpectingNoError(dialog);
    }));
    EXPECT_EQ(record.Font.Name, "DejaVu Serif");
    EXPECT_EQ(record.Font.Size, 14);
    EXPECT_EQ(record.Font.Height, -19);
    EXPECT_EQ(record.Font.Style, fsBold | fsItalic);
    EXPECT_EQ(record.Font.Color, 0x000000FFu);
    EXPECT_EQ(record.Font.Pitch, fpFixed);
}

TEST(PreferencesDialogTest, CancelledFontDialogKeepsTheFont) {
    TPrefs record;
    record.Font.Name = "DejaVu Sans Mono";
    const TPrefs before = record;
    EXPECT_TRUE(RunDialog(record, [](TPreferencesDialog& dialog) {
        ShowPage(dialog, 1);
        ClickChangeFont(dialog, [](QFontDialog& fonts) {
            fonts.setCurrentFont(QFont("DejaVu Serif", 20));
            fonts.reject();
        });
        EXPECT_EQ(Control<QLabel>(dialog, "txtCurrentFont")->text(), "DejaVu Sans Mono, 10 pt");
        ClickOkExpectingNoError(dialog);
    }));
    EXPECT_EQ(record, before);
}

}  // namespace
}  // namespace tarnwick
