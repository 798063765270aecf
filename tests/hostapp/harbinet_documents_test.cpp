// Harbinet with the real plug-in loaded: a file opens in a tab with its panel, saves through
// the host's safe write stream, and closes.

#include <gtest/gtest.h>

#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(HarbinetDocumentsTest, OpensSavesAndClosesAnEdifFile) {
    const std::string path = testing::TempDir() + "harbinet-doc.edf";
    const std::string original = "(edif doc\n  (edifVersion 2 0 0)\n  (status \"\xE9t\xE9\")\n)\n";
    std::ofstream(path, std::ios::binary) << original;

    // The recent-files list and the preferences land in a folder of the test's own.
    const std::string config = testing::TempDir() + "harbinet-documents-config";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    THostClient client;
    SetExportedClient(&client);
    std::string error;
    ASSERT_TRUE(client.Modules().Load(TARNWICK_BIN_DIR "/libtarnwick.so", &client, error)) << error;
    {
        TMainWindow window(client);
        client.SetShell(&window);
        window.OpenFile(QString::fromStdString(path));
        ASSERT_EQ(window.DocumentArea()->count(), 1);
        EXPECT_EQ(window.DocumentArea()->tabText(0), "harbinet-doc.edf");
        EXPECT_EQ(window.PanelArea()->count(), 1);
        auto view = TComPtr<IServerView>::Adopt(client.GetCurrentView());
        ASSERT_TRUE(view);
        EXPECT_STREQ(view->GetViewName(), "EDIFEditor");

        window.OpenFile(QString::fromStdString(path));  // already open: the same tab
        EXPECT_EQ(window.DocumentArea()->count(), 1);

        // Typing into the embedded editor changes the document.
        QWidget* editor = window.DocumentArea()->widget(0)->findChild<QWidget*>("TextWindow")->focusProxy();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "x1");
        auto document = TComPtr<IServerDocument>::Adopt(TComPtr<IServerView>(view).As<IServerDocumentView>()->GetOwnerDocument());
        EXPECT_NE(document->GetDocumentModified(), 0);

        ASSERT_TRUE(window.SaveCurrent());
        EXPECT_EQ(document->GetDocumentModified(), 0);
        // Saved with the file's own line ends, every other byte as it was.
        EXPECT_EQ(ReadAll(path), "x1" + original);

        EXPECT_TRUE(window.CloseDocument(0));
        EXPECT_EQ(window.DocumentArea()->count(), 0);
        client.SetShell(nullptr);
    }
    SetExportedClient(nullptr);
    EXPECT_TRUE(std::filesystem::exists(config + "/Harbinet/recent-files"));
    std::filesystem::remove_all(config);
}

}  // namespace
