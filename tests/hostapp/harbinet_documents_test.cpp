// Harbinet with the real plug-in loaded: a file opens in a tab with its panel, saves through
// the host's safe write stream, and closes; the editor expands the language's code templates.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"

namespace harbinet {

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Harbinet with the plug-in loaded. The recent-files list and the preferences land in a folder
// of the test's own.
class HarbinetDocumentsTest : public testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        SetExportedClient(&client);
        std::string error;
        ASSERT_TRUE(client.Modules().Load(TARNWICK_BIN_DIR "/libtarnwick.so", &client, error)) << error;
        window = std::make_unique<TMainWindow>(client);
        client.SetShell(window.get());
    }
    void TearDown() override {
        CloseWindow();
        SetExportedClient(nullptr);
        std::filesystem::remove_all(config);
    }
    void CloseWindow() {
        client.SetShell(nullptr);
        window.reset();
    }
    // The editor embedded in the document of a tab.
    QWidget* EditorOf(int tab) const {
        return window->DocumentArea()->widget(tab)->findChild<QWidget*>("TextWindow")->focusProxy();
    }

    // A folder per case: ctest runs the cases side by side.
    const std::string config = testing::TempDir() + "harbinet-documents-config-" +
                               testing::UnitTest::GetInstance()->current_test_info()->name();
    THostClient client;
    std::unique_ptr<TMainWindow> window;
};

TEST_F(HarbinetDocumentsTest, OpensSavesAndClosesAnEdifFile) {
    const std::string path = testing::TempDir() + "harbinet-doc.edf";
    const std::string original = "(edif doc\n  (edifVersion 2 0 0)\n  (status \"\xE9t\xE9\")\n)\n";
    std::ofstream(path, std::ios::binary) << original;

    window->OpenFile(QString::fromStdString(path));
    ASSERT_EQ(window->DocumentArea()->count(), 1);
    EXPECT_EQ(window->DocumentArea()->tabText(0), "harbinet-doc.edf");
    EXPECT_EQ(window->PanelArea()->count(), 1);
    auto view = TComPtr<IServerView>::Adopt(client.GetCurrentView());
    ASSERT_TRUE(view);
    EXPECT_STREQ(view->GetViewName(), "EDIFEditor");

    window->OpenFile(QString::fromStdString(path));  // already open: the same tab
    EXPECT_EQ(window->DocumentArea()->count(), 1);

    // Typing into the embedded editor changes the document.
    QWidget* editor = EditorOf(0);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "x1");
    auto document = TComPtr<IServerDocument>::Adopt(
        TComPtr<IServerView>(view).As<IServerDocumentView>()->GetOwnerDocument());
    EXPECT_NE(document->GetDocumentModified(), 0);

    ASSERT_TRUE(window->SaveCurrent());
    EXPECT_EQ(document->GetDocumentModified(), 0);
    // Saved with the file's own line ends, every other byte as it was.
    EXPECT_EQ(ReadAll(path), "x1" + original);

    EXPECT_TRUE(window->CloseDocument(0));
    EXPECT_EQ(window->DocumentArea()->count(), 0);
    CloseWindow();
    EXPECT_TRUE(std::filesystem::exists(config + "/Harbinet/harbinet-state.json"));
}

// Ctrl+J in the editor of an EDIF document expands the language's code template named by the
// word before the caret, with the caret where the template's marker was.
TEST_F(HarbinetDocumentsTest, CtrlJExpandsAnEdifCodeTemplate) {
    const std::string path = testing::TempDir() + "harbinet-templates.edf";
    std::ofstream(path, std::ios::binary) << "\n";
    window->OpenFile(QString::fromStdString(path));
    ASSERT_EQ(window->DocumentArea()->count(), 1);
    QWidget* editor = EditorOf(0);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "  port");
    QTest::keyClick(editor, Qt::Key_J, Qt::ControlModifier);
    QTest::keyClicks(editor, "A");  // typed where the marker was
    editor->grab().save(QString::fromStdString(testing::TempDir() + "harbinet-template.png"));
    ASSERT_TRUE(window->SaveCurrent());
    EXPECT_EQ(ReadAll(path), "  (port A (direction INPUT))\n");
    EXPECT_TRUE(window->CloseDocument(0));
    std::filesystem::remove(path);
}

// The navigation keys in the editor of an EDIF document, after the host's idle pulse indexed it:
// F12 to a cell's definition, Alt+Left back, Alt+Right forward, F8 to the problem; the outline
// shows in a dock of its own.
TEST_F(HarbinetDocumentsTest, NavigationKeysJumpThroughTheNetlistOnceIdleTimeIndexedIt) {
    const std::string path = testing::TempDir() + "harbinet-navigation-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + ".edf";
    std::ofstream(path, std::ios::binary) << "(edif e (library work\n"
                                             "  (cell inv (view v (interface (port A))))\n"
                                             "  (cell top (view v (contents\n"
                                             "    (instance u1 (viewRef v (cellRef inv)))\n"
                                             "    (instance u2 (viewRef v (cellRef nand))))))))\n";
    window->OpenFile(QString::fromStdString(path));
    ASSERT_EQ(window->DocumentArea()->count(), 1);
    ASSERT_EQ(window->OutlineArea()->count(), 1) << "the third view is the outline";
    QWidget* editor = EditorOf(0);
    ASSERT_NE(editor, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(10 * TMainWindow::kIdlePulseMs);  // a few idle pulses index the small netlist
    const auto caret = [this] { return client.UserInterface().StatusText(1).toStdString(); };

    for (int down = 0; down < 3; ++down)
        QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_End);
    for (int left = 0; left < 6; ++left)
        QTest::keyClick(editor, Qt::Key_Left);
    ASSERT_EQ(caret(), "4: 38") << "on inv of the cellRef";
    QTest::keyClick(editor, Qt::Key_F12);
    EXPECT_EQ(caret(), "2: 9") << "the cell inv";
    QTest::keyClick(editor, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(caret(), "4: 38");
    QTest::keyClick(editor, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(caret(), "2: 9");
    QTest::keyClick(editor, Qt::Key_F8);
    EXPECT_EQ(caret().substr(0, 3), "5: ") << "the cellRef to nand, which names no cell";
    EXPECT_TRUE(window->CloseDocument(0));
    std::filesystem::remove(path);
}

// A shipped sample with its outline beside it, the references of a net in the search panel
// (Shift+F12) and a cell folded (Ctrl+Shift+[), all reached with keys; the picture of the window
// is kept for review.
TEST_F(HarbinetDocumentsTest, ASampleShowsItsOutlineANetsReferencesAndAFoldedCell) {
    window->OpenFile(TARNWICK_SOURCE_DIR "/data/samples/yosys-counter.edf");
    ASSERT_EQ(window->DocumentArea()->count(), 1);
    window->resize(1100, 750);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWidget* editor = EditorOf(0);
    const auto* outline = window->OutlineArea()->widget(0)->findChild<QAbstractItemView*>("tvOutline");
    ASSERT_NE(outline, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return outline->model()->rowCount() > 0; }, 10000));
    const auto caret = [this] { return client.UserInterface().StatusText(1).toStdString(); };
    const auto goToLine = [&](int line1) {
        QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
        for (int down = 1; down < line1; ++down)
            QTest::keyClick(editor, Qt::Key_Down);
    };

    goToLine(300);  // (net (rename id00084 "din[0]") (joined
    for (int right = 0; right < 23; ++right)
        QTest::keyClick(editor, Qt::Key_Right);
    ASSERT_EQ(caret(), "300: 24") << "on the net's name";
    QTest::keyClick(editor, Qt::Key_F12, Qt::ShiftModifier);
    const auto* found =
        window->findChild<QWidget*>("TextPanel")->findChild<QAbstractItemView*>("lbFoundInstanceList");
    ASSERT_NE(found, nullptr);
    EXPECT_GE(found->model()->rowCount(), 2) << "the net and the ports it joins";

    goToLine(140);  // then up to the cell, so that it stands mid-view
    for (int up = 0; up < 18; ++up)
        QTest::keyClick(editor, Qt::Key_Up);
    ASSERT_EQ(caret().substr(0, 5), "122: ") << "(cell (rename id00010 \"$_SDFFE_PP0P_\")";
    QTest::keyClick(editor, Qt::Key_BracketLeft, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(caret().substr(0, 5), "135: ") << "past the folded cell's lines";
    QTest::keyClick(editor, Qt::Key_Up);
    window->OutlineArea()->widget(0)->findChild<QTreeView*>("tvOutline")->expandToDepth(0);
    window->grab().save(QString::fromStdString(testing::TempDir() + "harbinet-netlist-tools.png"));
    EXPECT_TRUE(window->CloseDocument(0));
}

}  // namespace

}  // namespace harbinet
