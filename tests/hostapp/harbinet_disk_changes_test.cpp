// Files that other programs change while Harbinet has them open: the bar in the document's tab,
// its Reload and Keep mine, and the question before a save would replace someone else's file.

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "tests/hostapp/harbinet_window_fixture.h"
#include "tests/support/dialog_driving.h"

namespace harbinet {

namespace {

using tarnwick::Click;
using tarnwick::MessageOf;
using tarnwick::ModalScript;

// Another program saving as most editors do: a new file renamed over the old one.
constexpr const char* kReplaceByRename = "printf '%s' \"$1\" > \"$2.new\" && mv \"$2.new\" \"$2\"";
// Another program writing into the same file.
constexpr const char* kRewriteInPlace = "printf '%s' \"$1\" > \"$2\"";

void AnswerQuestion(QDialog& dialog, QMessageBox::StandardButton answer) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr);
    box->button(answer)->click();
}

class HarbinetDiskChangesTest : public HarbinetWindowTest {
protected:
    TDiskChangeBar* Bar() { return BarOf(window->DocumentArea()->currentIndex()); }
    bool BarShown() { return !Bar()->isHidden(); }
    QString BarMessage() { return Bar()->findChild<QLabel*>("DiskChangeMessage")->text(); }
    QPushButton* ReloadButton() { return Bar()->findChild<QPushButton*>("ReloadButton"); }
    void ClickBar(const char* button) {
        QTest::mouseClick(Bar()->findChild<QPushButton*>(button), Qt::LeftButton);
    }
};

TEST_F(HarbinetDiskChangesTest, AReplacedFileShowsTheBarAndReloadBringsItsTextOnTheSameCaretLine) {
    const std::string path = OpenNew("replaced.edf", "(edif a\n  (one)\n  (two)\n  (three)\n)\n");
    ASSERT_EQ(window->DocumentArea()->count(), 1);
    EXPECT_FALSE(BarShown());
    MoveCaretToLine(*Commands(), 3);
    // Twice: the first rename ends the watch on the file that was opened.
    for (const std::string name : {"b", "c"}) {
        SCOPED_TRACE(name);
        const std::string theirs = "(edif " + name + "\n  (1)\n  (2)\n  (3)\n  (4)\n)\n";
        RunShell(kReplaceByRename, theirs, path);
        ASSERT_TRUE(WaitFor([&] { return BarShown(); }));
        EXPECT_EQ(BarMessage(), "replaced.edf has changed on disk.");
        ClickBar("ReloadButton");  // no unsaved changes: nothing to ask
        EXPECT_EQ(Text(), theirs);
        EXPECT_EQ(CaretLineOf(*Commands()), 3);
        EXPECT_FALSE(Modified());
        EXPECT_FALSE(BarShown());
    }
}

TEST_F(HarbinetDiskChangesTest, KeepMineKeepsTheTextAndTheNextSaveAsksBeforeReplacingTheirs) {
    const std::string path = OpenNew("kept.edf", "(edif mine)\n");
    QTest::keyClicks(EditorOf(0), "x");
    RunShell(kRewriteInPlace, "(edif theirs)\n", path);
    ASSERT_TRUE(WaitFor([&] { return BarShown(); }));
    EXPECT_TRUE(BarMessage().contains("unsaved changes")) << BarMessage().toStdString();
    window->grab().save(QString::fromStdString(testing::TempDir() + "harbinet-disk-change-bar.png"));

    {  // with unsaved changes Reload asks first; No keeps them
        ModalScript script({[](QDialog& d) { Click(d, "No"); }});
        ClickBar("ReloadButton");
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.titles, std::vector<QString>{"Confirm"});
    }
    EXPECT_EQ(Text(), "x(edif mine)\n");
    EXPECT_TRUE(BarShown());

    ClickBar("KeepMineButton");
    EXPECT_FALSE(BarShown());
    EXPECT_EQ(Text(), "x(edif mine)\n");
    EXPECT_TRUE(Modified());

    QString question;
    {
        ModalScript script({[&](QDialog& d) {
            question = qobject_cast<QMessageBox*>(&d)->text();
            AnswerQuestion(d, QMessageBox::No);
        }});
        EXPECT_FALSE(window->SaveCurrent());
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_TRUE(question.startsWith("kept.edf has changed on disk")) << question.toStdString();
    EXPECT_EQ(ReadAll(path), "(edif theirs)\n");
    EXPECT_TRUE(Modified());
    {
        ModalScript script({[](QDialog& d) { AnswerQuestion(d, QMessageBox::Yes); }});
        EXPECT_TRUE(window->SaveCurrent());
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(ReadAll(path), "x(edif mine)\n");
    EXPECT_FALSE(Modified());

    // Saved, the file is ours again: the next save asks nothing and no bar comes back.
    ModalScript none({});
    QTest::keyClicks(EditorOf(0), "y");
    EXPECT_TRUE(window->SaveCurrent());
    EXPECT_EQ(ReadAll(path), "xy(edif mine)\n");
    QTest::qWait(300);  // past the watcher's settling time
    EXPECT_FALSE(BarShown());
    EXPECT_TRUE(none.titles.empty());
}

TEST_F(HarbinetDiskChangesTest, ADeletedFileIsReportedAndSaveWritesItAgain) {
    const std::string path = OpenNew("deleted.edf", "(edif mine)\n");
    RunShell("rm \"$1\"", path);
    ASSERT_TRUE(WaitFor([&] { return BarShown(); }));
    EXPECT_TRUE(BarMessage().startsWith("deleted.edf was deleted on disk")) << BarMessage().toStdString();
    EXPECT_TRUE(ReloadButton()->isHidden());

    ClickBar("KeepMineButton");
    EXPECT_FALSE(BarShown());
    EXPECT_TRUE(Modified()) << "its file gone, the text is unsaved work";

    ModalScript none({});
    EXPECT_TRUE(window->SaveCurrent());
    EXPECT_TRUE(none.titles.empty()) << "writing a file that is not there replaces nobody's";
    EXPECT_EQ(ReadAll(path), "(edif mine)\n");

    // The file written again is watched again.
    RunShell(kReplaceByRename, "(edif theirs)\n", path);
    ASSERT_TRUE(WaitFor([&] { return BarShown(); }));
    EXPECT_EQ(BarMessage(), "deleted.edf has changed on disk.");
}

// Loading a file that is not there keeps the text and calls it saved: Reload must not do it.
TEST_F(HarbinetDiskChangesTest, ReloadOfAFileDeletedSinceTheBarCameUpKeepsTheUnsavedText) {
    const std::string path = OpenNew("short-lived.edf", "(edif mine)\n");
    QTest::keyClicks(EditorOf(0), "x");
    RunShell(kRewriteInPlace, "(edif theirs)\n", path);
    ASSERT_TRUE(WaitFor([&] { return BarShown(); }));
    RunShell("rm \"$1\"", path);
    ModalScript none({});
    ClickBar("ReloadButton");
    EXPECT_TRUE(none.titles.empty());
    EXPECT_EQ(Text(), "x(edif mine)\n");
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(BarMessage().startsWith("short-lived.edf was deleted on disk")) << BarMessage().toStdString();
}

// Running as root, no file mode stops a read; a folder put in the file's place fails the read
// the same way.
TEST_F(HarbinetDiskChangesTest, AReloadThatCannotReadTheFileKeepsTheTextAndTheBar) {
    const std::string path = OpenNew("unreadable.edf", "(edif mine)\n");
    RunShell("rm \"$1\" && mkdir \"$1\" && chmod 000 \"$1\"", path);
    ASSERT_TRUE(WaitFor([&] { return BarShown(); }));
    QString error;
    {
        ModalScript script({[&](QDialog& d) {
            error = MessageOf(d);
            Click(d, "OK");
        }});
        ClickBar("ReloadButton");
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.titles, std::vector<QString>{"Harbinet Error"});
    }
    EXPECT_TRUE(error.startsWith("Cannot read")) << error.toStdString();
    EXPECT_EQ(Text(), "(edif mine)\n");
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(BarShown());
}

// No watch sees a symbolic link pointed at another file; coming back to the window does. Saving
// then writes through the link into the file it points to now.
TEST_F(HarbinetDiskChangesTest, ALinkPointedElsewhereIsSeenOnActivationAndSavedThrough) {
    std::ofstream(files + "/a.edf", std::ios::binary) << "(edif a)\n";
    std::ofstream(files + "/b.edf", std::ios::binary) << "(edif b)\n";
    const std::string link = files + "/current.edf";
    std::filesystem::create_symlink("a.edf", link);
    window->OpenFile(QString::fromStdString(link));
    ASSERT_EQ(window->DocumentArea()->count(), 1);

    RunShell("ln -sfn b.edf \"$1\"", link);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(BarShown());

    ClickBar("ReloadButton");
    EXPECT_EQ(Text(), "(edif b)\n");
    QTest::keyClicks(EditorOf(0), "x");
    ModalScript none({});
    EXPECT_TRUE(window->SaveCurrent());
    EXPECT_TRUE(none.titles.empty());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(files + "/b.edf"), "x(edif b)\n");
    EXPECT_EQ(ReadAll(files + "/a.edf"), "(edif a)\n");
}

}  // namespace

}  // namespace harbinet
