// Harbinet's window with the plug-in loaded takes files from its command line, from a drop and
// from a later start of harbinet, each file in a tab of its own, whatever its name.

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>

#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"
#include "hostapp/single_instance.h"

namespace harbinet {

namespace {

class HarbinetStartTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder + "/net files");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder + "/config"));
        SetExportedClient(&client);
        std::string error;
        ASSERT_TRUE(client.Modules().Load(TARNWICK_BIN_DIR "/libtarnwick.so", &client, error)) << error;
        window = std::make_unique<TMainWindow>(client);
        client.SetShell(window.get());
    }
    void TearDown() override {
        client.SetShell(nullptr);
        window.reset();
        SetExportedClient(nullptr);
        std::filesystem::remove_all(folder);
    }

    // Three netlists whose names are hard on a program: blanks, non-ASCII letters, and a
    // symbolic link that opens under its own name.
    QStringList ThreeAwkwardFiles() {
        const std::string nets = folder + "/net files/";
        std::ofstream(nets + "with blanks.edf") << "(edif blanks)\n";
        std::ofstream(nets + "\xC3\xA9t\xC3\xA9.edn") << "(edif ete)\n";
        std::ofstream(nets + "target.edif") << "(edif target)\n";
        std::filesystem::create_symlink(nets + "target.edif", nets + "link.edo");
        const QString q = QString::fromStdString(nets);
        return {q + "with blanks.edf", q + QString::fromUtf8("été.edn"), q + "link.edo"};
    }
    QStringList TabTexts() const {
        QStringList texts;
        for (int i = 0; i < window->DocumentArea()->count(); ++i)
            texts << window->DocumentArea()->tabText(i);
        return texts;
    }
    const QStringList kTabs = {"with blanks.edf", QString::fromUtf8("été.edn"), "link.edo"};

    // A folder per case: ctest runs the cases side by side.
    const std::string folder = testing::TempDir() + "harbinet-start-" +
                               testing::UnitTest::GetInstance()->current_test_info()->name();
    THostClient client;
    std::unique_ptr<TMainWindow> window;
};

TEST_F(HarbinetStartTest, SeveralFilesOpenAsTabsInTheirOrder) {
    window->OpenFiles(ThreeAwkwardFiles());
    EXPECT_EQ(TabTexts(), kTabs);
    EXPECT_EQ(window->DocumentArea()->currentIndex(), 2);
}

TEST_F(HarbinetStartTest, DroppedFilesOpenAndOtherDropsAreLeftAlone) {
    const QStringList files = ThreeAwkwardFiles();
    const auto drop = [&](QMimeData& data) {
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &dropped);
        QCoreApplication::processEvents();  // files open once the drop has ended
        return enter.isAccepted();
    };

    QMimeData text;
    text.setText("just words");
    text.setUrls({QUrl("https://example.org/a.edf")});
    EXPECT_FALSE(drop(text));
    EXPECT_EQ(window->DocumentArea()->count(), 0);

    QMimeData nets;
    nets.setUrls(
        {QUrl::fromLocalFile(files[0]), QUrl::fromLocalFile(files[1]), QUrl::fromLocalFile(files[2])});
    EXPECT_TRUE(drop(nets));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->DocumentArea()->count() == 3; }));
    EXPECT_EQ(TabTexts(), kTabs);
}

// A real second start of harbinet hands its files to this window and ends with success.
TEST_F(HarbinetStartTest, ASecondHarbinetHandsItsFilesToTheRunningOne) {
    const QStringList files = ThreeAwkwardFiles();
    const QString runtime = QString::fromStdString(folder);  // stands in for the user's runtime folder
    TSingleInstance instance(runtime + "/harbinet");
    QString error;
    ASSERT_TRUE(instance.Listen(error)) << error.toStdString();
    QObject::connect(&instance, &TSingleInstance::FilesReceived, window.get(), &TMainWindow::OpenHandedOver);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("XDG_CONFIG_HOME", runtime + "/config");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    second.setProcessEnvironment(env);
    // Relative names mean the second start's own folder.
    second.setWorkingDirectory(runtime + "/net files");
    second.start(TARNWICK_BIN_DIR "/harbinet", {"with blanks.edf", QString::fromUtf8("été.edn"), files[2]});
    ASSERT_TRUE(second.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000));
    if (second.state() != QProcess::NotRunning) {
        second.kill();  // it opened a window of its own instead
        second.waitForFinished();
    }
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(TabTexts(), kTabs);
}

}  // namespace

}  // namespace harbinet
