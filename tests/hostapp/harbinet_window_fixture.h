#pragma once
// Harbinet's main window with the real plug-in loaded, in folders of the test case's own: its
// configuration (settings, preferences) and the files it opens, under a name with a blank and
// a non-ASCII letter.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "hostapp/caret_line.h"
#include "hostapp/disk_change_bar.h"
#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"

namespace harbinet {

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Spins the event loop until the condition holds, for at most five seconds; whether it held.
template <class Condition>
bool WaitFor(Condition condition) {
    QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired())
        QTest::qWait(10);
    return condition();
}

// Runs a shell command line in a process of its own, as another program changing files would;
// $1, $2 are the arguments.
inline void RunShell(const char* script, const std::string& arg1, const std::string& arg2 = {}) {
    QProcess shell;
    shell.start("/bin/sh", {"-c", script, "sh", QString::fromStdString(arg1), QString::fromStdString(arg2)});
    ASSERT_TRUE(shell.waitForFinished(10000));
    ASSERT_EQ(shell.exitCode(), 0) << script;
}

class HarbinetWindowTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(files);
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        SetExportedClient(&client);
        std::string error;
        ASSERT_TRUE(client.Modules().Load(TARNWICK_BIN_DIR "/libtarnwick.so", &client, error)) << error;
        StartWindow();
    }
    void TearDown() override {
        CloseWindow();
        SetExportedClient(nullptr);
        std::filesystem::remove_all(root);
    }
    void StartWindow() {
        window = std::make_unique<TMainWindow>(client);
        client.SetShell(window.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void CloseWindow() {
        client.SetShell(nullptr);
        window.reset();
    }

    // Writes a file in the case's folder and opens it in a tab; its path.
    std::string OpenNew(const std::string& name, const std::string& text) {
        const std::string path = files + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        window->OpenFile(QString::fromStdString(path));
        return path;
    }
    TComPtr<ITextEditorCommands> Commands() { return window->CurrentCommands(); }
    TDiskChangeBar* BarOf(int tab) const {
        return window->DocumentArea()->widget(tab)->findChild<TDiskChangeBar*>("DiskChangeBar");
    }
    QWidget* EditorOf(int tab) const {
        return window->DocumentArea()->widget(tab)->findChild<QWidget*>("TextWindow")->focusProxy();
    }
    // The text of the current document, lines joined by "\n".
    std::string Text() {
        const auto content = Commands().As<ITextContent>();
        std::string text;
        std::vector<char> line(4096);
        for (int32_t i = 0; i < content->GetLineCount(); ++i) {
            content->GetLine(i, line.data());
            text += std::string(line.data()) + "\n";
        }
        return text;
    }
    bool Modified() { return Commands().As<IServerDocument>()->GetDocumentModified() != kFalse; }

    const std::string root = testing::TempDir() + "harbinet-" +
                             testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string config = root + "/config";
    const std::string files = root + "/net lists \xC3\xA9t\xC3\xA9";
    THostClient client;
    std::unique_ptr<TMainWindow> window;
};

}  // namespace harbinet
