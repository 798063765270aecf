// Harbinet's own state from one session to the next: window, open files on their caret lines,
// recent files; and a state file that is damaged or not ours costs that state, nothing more.

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <random>

#include "tests/hostapp/harbinet_window_fixture.h"

namespace harbinet {

namespace {

class HarbinetStateTest : public HarbinetWindowTest {
protected:
    std::string StateFile() const { return config + "/Harbinet/harbinet-state.json"; }
    void Restart() {
        CloseWindow();
        StartWindow();
    }
    QStringList RecentFiles() {
        for (QAction* action : window->menuBar()->actions())
            for (QAction* item : action->menu() ? action->menu()->actions() : QList<QAction*>())
                if (item->menu() && item->text() == "&Recent Files") {
                    QStringList paths;
                    for (QAction* recent : item->menu()->actions())
                        paths << recent->text();
                    return paths;
                }
        return {};
    }
    QDockWidget* PanelDock() { return window->findChild<QDockWidget*>("PanelDock"); }
    int CaretLineOfTab(int tab) {
        window->DocumentArea()->setCurrentIndex(tab);
        return CaretLineOf(*Commands());
    }
    static std::string Lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "(line " + std::to_string(i) + ")\n";
        return text;
    }
};

TEST_F(HarbinetStateTest, WindowOpenFilesAndRecentFilesSurviveARestart) {
    const std::string first = OpenNew("first.edf", Lines(10));
    MoveCaretToLine(*Commands(), 4);
    const std::string second = OpenNew("second \xC3\xBC.edf", Lines(20));
    MoveCaretToLine(*Commands(), 17);
    const std::string gone = OpenNew("gone.edf", Lines(3));
    window->DocumentArea()->setCurrentIndex(1);
    window->resize(830, 610);
    window->addDockWidget(Qt::LeftDockWidgetArea, PanelDock());
    ASSERT_TRUE(window->close());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config + "/Harbinet"),
                            std::filesystem::directory_iterator()),
              1)
        << "the state file alone, no temporary file beside it";
    std::filesystem::remove(gone);

    Restart();
    EXPECT_EQ(window->size(), QSize(830, 610));
    EXPECT_EQ(window->dockWidgetArea(PanelDock()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(RecentFiles(), (QStringList{QString::fromStdString(gone), QString::fromStdString(second),
                                          QString::fromStdString(first)}));
    EXPECT_EQ(window->DocumentArea()->count(), 0) << "nothing opens before it is asked to";
    window->ReopenLastFiles();
    ASSERT_EQ(window->DocumentArea()->count(), 2);
    EXPECT_EQ(window->DocumentArea()->currentIndex(), 1);
    EXPECT_EQ(window->DocumentArea()->tabText(0), "first.edf");
    EXPECT_EQ(window->DocumentArea()->tabText(1), QString::fromUtf8("second \xC3\xBC.edf"));
    EXPECT_EQ(CaretLineOfTab(0), 4);
    EXPECT_EQ(CaretLineOfTab(1), 17);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("gone.edf"))
        << window->statusBar()->currentMessage().toStdString();
}

struct DamagedStateCase {
    const char* name;
    std::string bytes;
    bool told;  // whether the user hears that the file was ignored
};

std::string RandomBytes() {
    std::mt19937 random(23);
    std::string bytes(3000, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

TEST_F(HarbinetStateTest, ADamagedStateFileIsIgnoredWithAMessageAndReplacedOnClose) {
    const DamagedStateCase cases[] = {
        {"RandomBytes", RandomBytes(), true},
        {"CutShort", "{\"openFiles\": [{\"path\": \"/tmp/x.edf\", \"caret", true},
        {"NotAnObject", "[\"/tmp/x.edf\"]", true},
        {"EntriesOfTheWrongKind",
         R"({"geometry": 5, "windowState": "%%%", "openFiles": [7, {"path": 3}, {"caretLine": 2}],
             "currentFile": "a", "recentFiles": [1, {}, null]})",
         false},
    };
    for (const DamagedStateCase& c : cases) {
        SCOPED_TRACE(c.name);
        CloseWindow();
        std::filesystem::create_directories(config + "/Harbinet");
        std::ofstream(StateFile(), std::ios::binary | std::ios::trunc) << c.bytes;
        StartWindow();
        const QString message = window->statusBar()->currentMessage();
        EXPECT_EQ(message.startsWith("Ignored Harbinet's saved state in"), c.told) << message.toStdString();
        window->ReopenLastFiles();
        EXPECT_EQ(window->DocumentArea()->count(), 0);
        EXPECT_TRUE(RecentFiles().isEmpty());
        ASSERT_TRUE(window->close());
        QString problem;
        ReadHarbinetState(QString::fromStdString(StateFile()), problem);
        EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    }
}

}  // namespace

}  // namespace harbinet
