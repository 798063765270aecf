// Message boxes in the host's style, and help contexts found through help ID files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "host/help_context_finder.h"
#include "host/message_dialog.h"
#include "host/server_dialog.h"
#include "tests/host/recording_client.h"

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

struct ConfirmCase {
    const char* name;
    std::function<void(QDialog*)> answer;
    bool expected;
};

TEST(ConfirmMessageTest, TrueOnlyForYes) {
    const std::vector<ConfirmCase> cases = {
        {"Yes", [](QDialog* d) { d->findChild<QPushButton*>("Yes")->click(); }, true},
        {"No", [](QDialog* d) { d->findChild<QPushButton*>("No")->click(); }, false},
        {"Escape", [](QDialog* d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(d, &esc);
         }, false},
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
    void PressF1() {
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        keyPressEvent(&f1);
    }
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
        dialog.PressF1();
        ASSERT_EQ(client.processes.size(), 1u);
        EXPECT_EQ(client.processes[0].name, "Client:HelpShowTopic");
        EXPECT_EQ(LookupParameter(client.processes[0].params.c_str(), "Context"), "120");
    }
    client.processes.clear();
    {
        std::ofstream(idFile) << "Dlg_Elsewhere=5\n";
        NamedDialog dialog;
        dialog.PressF1();
        ASSERT_EQ(client.processes.size(), 2u);
        EXPECT_EQ(client.processes[1].name, "Client:HelpShowPopup");
        EXPECT_EQ(LookupParameter(client.processes[1].params.c_str(), "HelpFile"), files.master);
        EXPECT_EQ(LookupParameter(client.processes[1].params.c_str(), "Context"), "1");
    }
    std::filesystem::remove(idFile);
}

}  // namespace
