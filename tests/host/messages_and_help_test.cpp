// Message boxes in the host's style, and help contexts found through help ID files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "host/help_context_finder.h"
#include "host/help_id_file.h"
#include "host/message_dialog.h"
#include "host/server_dialog.h"
#include "tests/host/recording_client.h"

namespace tarnwick {

namespace {

// Runs action on the next modal dialog as soon as it is up.
void OnNextDialog(std::function<void(QDialog*)> action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(dialog);
    });
}

TEST(MessageDialogTest, AnAmpersandShowsAsItself) {
    OnNextDialog([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Harbinet Error");
        EXPECT_EQ(d->findChild<QLabel*>("Message")->text(), "Cut & Paste && more");
        d->grab().save(QString::fromStdString(testing::TempDir() + "error-box.png"));
        d->findChild<QPushButton*>("OK")->click();
    });
    ShowErrorMessage("Cut & Paste && more");
}

TEST(MessageDialogTest, ButtonsComeInTheirOrderWithDefaultAndCancel) {
    auto d = CreateMessageDialog("Text", "Caption", mtConfirmation, Buttons({mbHelp, mbNo, mbYes, mbCancel}));
    QList<QPushButton*> buttons = d->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    std::vector<QString> names;
    for (auto* b : buttons)
        names.push_back(b->objectName());
    EXPECT_EQ(names, (std::vector<QString>{"Yes", "No", "Cancel", "Help"}));
    EXPECT_TRUE(d->findChild<QPushButton*>("Yes")->isDefault());
    EXPECT_EQ(d->findChild<QPushButton*>("Yes")->text(), "&Yes");
    // The row is centred.
    const int left = buttons.front()->x();
    const int right = d->width() - buttons.back()->geometry().right() - 1;
    EXPECT_LE(std::abs(left - right), 1);
}

TEST(MessageDialogTest, HelpShowsTheDialogsContextAndKeepsItOpen) {
    const THelpFiles files = PluginHelpFiles();
    const struct {
        const char* name;
        int context;
        const char* process;
        std::string helpFile;
        const char* shownContext;
    } cases[] = {
        {"WithContext", 42, "Client:HelpShowTopic", files.main, "42"},
        {"WithoutContext", 0, "Client:HelpShowPopup", files.master, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingClient client;
        auto d = CreateMessageDialog("Text", "Caption", mtInformation, Buttons({mbOK, mbHelp}), nullptr,
                                     c.context);
        d->show();
        d->findChild<QPushButton*>("Help")->click();
        ASSERT_FALSE(client.processes.empty());
        const RecordingClient::Process& shown = client.processes.back();
        EXPECT_EQ(shown.name, c.process);
        EXPECT_EQ(LookupParameter(shown.params.c_str(), "HelpFile"), c.helpFile);
        EXPECT_EQ(LookupParameter(shown.params.c_str(), "Context"), c.shownContext);
        EXPECT_TRUE(d->isVisible());
    }
}

// Two monitors side by side: the primary one wide, the other narrow (the offscreen display
// orders its monitors by name and makes the first one primary).
constexpr int kPrimaryWidth = 1600, kSecondWidth = 700;
const char* const kTwoMonitors = R"({"screens": [
    {"name": "Main", "x": 0, "y": 0, "width": 1600, "height": 1000, "logicalDpi": 96, "dpr": 1},
    {"name": "Side", "x": 1600, "y": 0, "width": 700, "height": 500, "logicalDpi": 96, "dpr": 1}]})";

// A message is wrapped at half the width of the monitor the user works on, and the box is
// centred there. The offscreen display has one monitor unless told otherwise, so the test runs
// itself again on a display of two.
TEST(MessageDialogTest, WrapsAndCentresOnTheActiveMonitor) {
    if (QGuiApplication::screens().size() < 2) {
        const std::string config = testing::TempDir() + "two-monitors.json";
        std::ofstream(config) << kTwoMonitors;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", QString::fromStdString("offscreen:configfile=" + config));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=MessageDialogTest.WrapsAndCentresOnTheActiveMonitor"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }
    QScreen* narrow = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().width() == kSecondWidth)
            narrow = screen;
    ASSERT_NE(narrow, nullptr);
    ASSERT_NE(narrow, QGuiApplication::primaryScreen());
    QWidget window;
    window.setGeometry(narrow->geometry().left() + 50, 50, 300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(QApplication::activeWindow()->screen(), narrow);

    const QString text = QString("word ").repeated(200);
    auto d = CreateMessageDialog(text, "Caption", mtInformation, Buttons({mbOK}));
    const int labelWidth = d->findChild<QLabel*>("Message")->width();
    EXPECT_LE(labelWidth, kSecondWidth / 2 + 1);
    EXPECT_GT(labelWidth, kSecondWidth / 2 - 60);  // it does use the width it has
    EXPECT_LT(d->width(), kPrimaryWidth / 2);

    QRect placed;
    OnNextDialog([&](QDialog* shown) {
        placed = shown->geometry();
        shown->grab().save(QString::fromStdString(testing::TempDir() + "wrapped-box.png"));
        shown->findChild<QPushButton*>("OK")->click();
    });
    ShowInformationMessage(text);
    EXPECT_TRUE(narrow->geometry().contains(placed.center())) << placed.x() << "," << placed.y();
}

struct ConfirmCase {
    const char* name;
    std::function<void(QDialog*)> answer;
    bool expected;
};

TEST(ConfirmMessageTest, TrueOnlyForYes) {
    const std::vector<ConfirmCase> cases = {
        {"Yes", [](QDialog* d) { d->findChild<QPushButton*>("Yes")->click(); }, true},
        {"No", [](QDialog* d) { d->findChild<QPushButton*>("No")->click(); }, false},
        {"Escape",
         [](QDialog* d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(d, &esc);
         },
         false},
        {"CloseButton", [](QDialog* d) { d->close(); }, false},
    };
    for (const ConfirmCase& c : cases) {
        SCOPED_TRACE(c.name);
        OnNextDialog(c.answer);
        EXPECT_EQ(ConfirmMessage("Go?"), c.expected);
    }
}

class HelpFilesTest : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::path(testing::TempDir()) / "helphost";
        std::filesystem::create_directories(folder / "Help");
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder / "Help" / name, std::ios::binary) << text;
    }
    std::string HostFolder() const { return folder.string() + "/"; }
    std::filesystem::path folder;
};

TEST_F(HelpFilesTest, AContextAndARedirectToAnotherServersFile) {
    Write("plugin.id", "Dlg_Main=120\nDlg_Other=0,Srv:Topic\nDlg_Lost=0,Gone:Topic\n");
    Write("server.hlp", "");
    Write("server.id", "Srv_Topic=77\n");
    THelpContextFinder finder(HostFolder(), [](const std::string& name) {
        return name == "Srv:Topic" ? std::string("/opt/servers/server.so") : std::string();
    });
    std::string file = HostFolder() + "Help/plugin.hlp";
    EXPECT_EQ(finder.FindHelpContext("dlg_main", file), 120);
    EXPECT_EQ(finder.FindHelpContext("Dlg_Other", file), 77);
    EXPECT_EQ(file, HostFolder() + "Help/server.hlp");
    file = HostFolder() + "Help/plugin.hlp";
    EXPECT_EQ(finder.FindHelpContext("Dlg_Lost", file), 0);
    EXPECT_EQ(finder.FindHelpContext("Dlg_Missing", file), 0);
}

TEST(HelpIdFileTest, ReadsAnyBytesAndKeepsTheGoodLines) {
    std::string text = "no equals here\n\n=5\nBig=99999999999999999999\n";
    text += std::string("Bin\0ary=\xff\x01", 11) + "\r\nGood=12\rAlso=x,\n";
    text += std::string(100000, 'k') + "=3\n";
    const THelpIdFile file = THelpIdFile::Parse(text);
    ASSERT_NE(file.Find("Good"), nullptr);
    EXPECT_EQ(file.Find("GOOD")->context, 12);
    EXPECT_EQ(file.Find("Big")->context, 0);  // out of range is no number
    EXPECT_EQ(file.Find("Also")->redirect, "");
    EXPECT_EQ(THelpIdFile::Read("/no/such/file.id").Size(), 0u);
}

class NamedDialog final : public TServerDialog {
public:
    NamedDialog() { setObjectName("Main"); }
};

// The plug-in's help files sit beside the running program, named after the library (here the
// test program itself).
TEST(FormHelpTest, F1OpensTheFormsContextOrTheMasterPopup) {
    const THelpFiles files = PluginHelpFiles();
    std::filesystem::create_directories(std::filesystem::path(files.main).parent_path());
    const std::string idFile = HelpIdFileFor(files.main);
    RecordingClient client;
    {
        std::ofstream(idFile) << "Dlg_Main=120\n";
        NamedDialog dialog;
        QTest::keyClick(&dialog, Qt::Key_F1);
        ASSERT_EQ(client.processes.size(), 1u);
        EXPECT_EQ(client.processes[0].name, "Client:HelpShowTopic");
        EXPECT_EQ(LookupParameter(client.processes[0].params.c_str(), "Context"), "120");
    }
    client.processes.clear();
    {
        std::ofstream(idFile) << "Dlg_Elsewhere=5\n";
        NamedDialog dialog;
        QTest::keyClick(&dialog, Qt::Key_F1);
        ASSERT_EQ(client.processes.size(), 2u);
        EXPECT_EQ(client.processes[1].name, "Client:HelpShowPopup");
        EXPECT_EQ(LookupParameter(client.processes[1].params.c_str(), "HelpFile"), files.master);
        EXPECT_EQ(LookupParameter(client.processes[1].params.c_str(), "Context"), "1");
    }
    std::filesystem::remove(idFile);
}

// "What's this?" help reaches every control of a dialog, also one added after the dialog was
// first shown (pages filled later, controls made on demand).
TEST(FormHelpTest, WhatsThisReachesControlsAddedAfterTheFirstShow) {
    const THelpFiles files = PluginHelpFiles();
    std::filesystem::create_directories(std::filesystem::path(files.context).parent_path());
    const std::string idFile = HelpIdFileFor(files.context);
    std::ofstream(idFile) << "Dlg_Main_Early=33\nDlg_Main_Late=34\n";
    RecordingClient client;
    NamedDialog dialog;
    auto* early = new QPushButton("Early", &dialog);
    early->setObjectName("Early");
    dialog.resize(300, 200);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* late = new QPushButton("Late", &dialog);
    late->setObjectName("Late");
    late->move(0, 40);
    late->show();
    for (const auto& [control, context] : {std::pair{early, "33"}, std::pair{late, "34"}}) {
        SCOPED_TRACE(control->objectName().toStdString());
        client.processes.clear();
        QHelpEvent query(QEvent::QueryWhatsThis, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(control, &query);
        EXPECT_TRUE(query.isAccepted());  // the what's-this cursor, not the forbidden one
        QHelpEvent click(QEvent::WhatsThis, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(control, &click);
        ASSERT_FALSE(client.processes.empty());
        const RecordingClient::Process& shown = client.processes.back();
        EXPECT_EQ(shown.name, "Client:HelpShowPopup");
        EXPECT_EQ(LookupParameter(shown.params.c_str(), "HelpFile"), files.context);
        EXPECT_EQ(LookupParameter(shown.params.c_str(), "Context"), context);
    }
    std::filesystem::remove(idFile);
}

}  // namespace

}  // namespace tarnwick
