// Harbinet's text-editing service against a recording document: which key runs which command,
// the menus' state from the document's queries, the TextEdit processes routed through the
// context view, and the common colour dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/abi/parameter_list.h"
#include "host/abi/virtual_key_codes.h"
#include "hostapp/common_dialogs.h"
#include "hostapp/host_client.h"
#include "hostapp/host_user_interface.h"
#include "hostapp/text_commands.h"
#include "hostapp/text_edit_processes.h"
#include "tests/support/null_server_view.h"
#include "tests/support/recording_text_document.h"

namespace harbinet {

namespace {

TCurrentCommands CommandsOf(RecordingTextDocument& document) {
    return [&document] { return TComPtr<ITextEditorCommands>::Share(&document); };
}

TEST(TextEditServiceTest, KeysLaunchTheirCommands) {
    RecordingTextDocument document;
    THostUserInterface ui;
    RegisterTextShortcuts(ui, CommandsOf(document));
    struct Row {
        int32_t key;
        bool alt, shift, ctrl;
        const char* command;
    };
    const Row rows[] = {
        {'3', false, true, true, "ToggleBookmark3"},      {'0', false, true, true, "ToggleBookmark10"},
        {'1', false, false, true, "GotoBookmark1"},       {'0', false, false, true, "GotoBookmark10"},
        {'U', false, true, true, "UpperCaseSelection"},   {'U', false, false, true, "LowerCaseSelection"},
        {'L', true, false, true, "LowerCaseWord"},        {vk::Tab, false, true, false, "TabBack"},
        {vk::End, false, false, false, "CaretLineEnd"},   {vk::End, false, false, true, "CaretDocumentEnd"},
        {vk::Home, true, true, false, "ColumnLineStart"}, {'G', false, false, true, "GotoLine"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        document.calls.clear();
        ASSERT_NE(ui.AddKeyStroke(r.key, ToBool32(r.alt), ToBool32(r.shift), ToBool32(r.ctrl)), 0);
        ui.LaunchCurrentHotkey();
        ASSERT_EQ(document.calls.size(), 1u);
        EXPECT_EQ(document.calls[0], r.command);
    }
}

QAction* FindAction(QMenuBar& bar, const QString& text) {
    for (QAction* action : bar.findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST(TextEditServiceTest, MenusAskTheDocumentsStateEachTimeTheyOpen) {
    RecordingTextDocument document;
    QMenuBar bar;
    AddTextMenus(&bar, CommandsOf(document));
    QMenu* view = bar.addMenu("&View");
    AddTextViewMenu(view, CommandsOf(document));
    QMenu* edit = bar.findChildren<QMenu*>().front();
    ASSERT_EQ(edit->title(), "&Edit");

    document.enabledQueries = {"CanUndo"};
    document.checkedParameters = {"Limit=Window"};
    emit edit->aboutToShow();
    emit view->aboutToShow();
    EXPECT_TRUE(FindAction(bar, "&Undo")->isEnabled());
    EXPECT_FALSE(FindAction(bar, "&Copy")->isEnabled());
    EXPECT_FALSE(FindAction(bar, "Wrap at &Margin")->isChecked());
    EXPECT_TRUE(FindAction(bar, "Wrap at &Window")->isChecked());

    document.enabledQueries = {"CanCopy"};
    document.checkedParameters = {"Limit=None"};
    emit edit->aboutToShow();
    emit view->aboutToShow();
    EXPECT_FALSE(FindAction(bar, "&Undo")->isEnabled());
    EXPECT_TRUE(FindAction(bar, "&Copy")->isEnabled());
    EXPECT_FALSE(FindAction(bar, "Wrap at &Window")->isChecked());
    EXPECT_TRUE(FindAction(bar, "&No Wrapping")->isChecked());

    document.calls.clear();
    document.params.clear();
    FindAction(bar, "Wrap at &Margin")->trigger();
    ASSERT_EQ(document.calls.size(), 1u);
    EXPECT_EQ(document.calls[0], "SetWrapMode");
    EXPECT_EQ(document.params[0], "Limit=Margin");
}

TEST(TextEditServiceTest, PanelRequestsReachTheDocumentOfTheirContextView) {
    RecordingTextDocument document;
    NullServerView panel("EDIFSearchPanel", &document, kTrue);  // as the panel names its requests
    THostClient client;
    RegisterTextEditProcesses(client);

    EXPECT_EQ(client.RunProcess("TextEdit:JumpToLineFromPanel", nullptr, 0, &panel), kTrue);
    EXPECT_EQ(client.RunProcess("textedit:updatefoundinstancelist", nullptr, 0, &panel), kTrue);
    EXPECT_EQ(client.RunProcess("TextEdit:UpdateLocationMarks", nullptr, 0, &panel), kTrue);
    EXPECT_EQ(document.calls, (std::vector<std::string>{"JumpToLineFromPanel", "UpdateFoundInstanceList"}));

    EXPECT_EQ(client.RunProcess("TextEdit:JumpToLineFromPanel", nullptr, 0, nullptr), kFalse);
    EXPECT_EQ(client.RunProcess("TextEdit:NoSuchProcess", nullptr, 0, &panel), kFalse);
    EXPECT_EQ(document.calls.size(), 2u);
}

// A document that answers every control request with a long reply, and says how much room
// its buffer had.
class ReplyingDocument final : public RecordingTextDocument {
public:
    std::size_t room = 0;
    void ExternalRequest(char* params) override {
        RecordingTextDocument::ExternalRequest(params);
        room = kParameterStringLimit;
        std::strcpy(params, "LineNumber1=10|LineNumber2=20|TotalBreakPoints=2");
    }
};

TEST(TextEditServiceTest, ControlRequestsReachTheDocumentAndTheirRepliesFitTheCallersBuffer) {
    ReplyingDocument document;
    NullServerView editor("EDIFEditor", &document, kFalse);
    THostClient client;
    RegisterTextEditProcesses(client);
    struct Case {
        int32_t capacity;
        const char* reply;
    };
    for (const Case& c :
         {Case{64000, "LineNumber1=10|LineNumber2=20|TotalBreakPoints=2"},
          Case{40, "LineNumber1=10|LineNumber2=20"}, Case{30, "LineNumber1=10|LineNumber2=20"},
          Case{29, "LineNumber1=10"}, Case{10, ""}}) {
        SCOPED_TRACE(c.capacity);
        std::vector<char> buffer(std::size_t(c.capacity), 'x');  // no terminator: read within it
        EXPECT_EQ(client.RunProcess("TextEdit:ExternalRequest", buffer.data(), c.capacity, &editor), kTrue);
        EXPECT_STREQ(buffer.data(), c.reply);
        EXPECT_EQ(document.params.back(),
                  std::string(std::min<std::size_t>(c.capacity, kParameterStringLimit - 1), 'x'));
    }
    std::vector<char> buffer(100, '\0');
    EXPECT_EQ(client.RunProcess("TextEdit:ExternalRequest", buffer.data(), 100, nullptr), kFalse);
    EXPECT_EQ(client.RunProcess("TextEdit:ExternalRequest", nullptr, 0, &editor), kFalse);
}

// Runs RunCommonDialog with request; answer handles the modal dialog it opens, if any.
std::string RunCommonDialog(const char* request, std::function<void(QDialog&)> answer,
                            std::size_t capacity = 4048) {
    QWidget owner;
    THostClient client;
    RegisterCommonDialogs(client, &owner);
    std::vector<char> params(capacity, '\0');
    std::strncpy(params.data(), request, params.size() - 1);
    // The poll ends with the call, so a request that opens no dialog leaves nothing behind.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            answer(*dialog);
            if (dialog->isVisible())
                dialog->reject();  // an answer that did not close it fails the test instead of hanging it
        }
    });
    poll.start(5);
    client.RunProcess("CLient:RunCommonDialog", params.data(), int32_t(params.size()), nullptr);
    return params.data();
}

TEST(TextEditServiceTest, ColourDialogAnswersInTheRequestBuffer) {
    const std::string chosen = RunCommonDialog("Dialog = Color | Color = 255", [](QDialog& dialog) {
        auto* colours = qobject_cast<QColorDialog*>(&dialog);
        ASSERT_NE(colours, nullptr);
        EXPECT_EQ(colours->currentColor(), QColor(255, 0, 0));  // 0x0000FF is red as BBGGRR
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        colours->accept();
    });
    EXPECT_EQ(chosen, "Result=True|Color=" + std::to_string(0x563412));

    EXPECT_EQ(RunCommonDialog("Dialog=Color|Color=0", [](QDialog& d) { d.reject(); }), "Result=False");
    EXPECT_EQ(RunCommonDialog("Dialog=Color|Color=red", [](QDialog& d) { d.reject(); }), "Result=False");
    EXPECT_EQ(RunCommonDialog("Dialog=Telescope", [](QDialog& d) { d.reject(); }), "Result=False");
}

struct FileDialogCase {
    const char* name;
    const char* request;
    QFileDialog::AcceptMode mode;
    QFileDialog::FileMode fileMode;
    QString caption;
};

class FileOpenSaveTest : public testing::TestWithParam<FileDialogCase> {};

// The caption is the prompt, the filters the file types (*.* meaning every file), and the reply
// the path chosen.
TEST_P(FileOpenSaveTest, AnswersTheChosenPath) {
    // A file of each case's own: the cases run side by side under ctest.
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("harbinet-file-dialog-" + std::string(GetParam().name) + ".txt"))
                                 .string();
    std::filesystem::remove(path);
    if (GetParam().mode == QFileDialog::AcceptOpen)  // a file saved over would be asked about
        std::ofstream(path) << "x";
    const std::string reply = RunCommonDialog(GetParam().request, [&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->windowTitle(), GetParam().caption);
        EXPECT_EQ(files->acceptMode(), GetParam().mode);
        EXPECT_EQ(files->fileMode(), GetParam().fileMode);
        EXPECT_EQ(files->nameFilters(), QStringList({"Text File (*.txt)", "All Files (*)"}));
        files->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(files)->accept();  // protected in QFileDialog
    });
    EXPECT_EQ(reply, "Result=True|Path=" + path);
    std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FileOpenSaveTest,
    testing::Values(
        FileDialogCase{"Open",
                       "Dialog=FileOpenSave|Mode=0|Prompt=Load Keyword Text File|DocumentType=All|"
                       "FileType1=Text File (*.txt)|FileType2=All Files (*.*)",
                       QFileDialog::AcceptOpen, QFileDialog::ExistingFile, "Load Keyword Text File"},
        FileDialogCase{"Save",
                       "Dialog = FileOpenSave | Mode = 1 | Prompt = Save Keyword Text File | "
                       "FileType1=Text File (*.txt)|FileType2=All Files (*.*)",
                       QFileDialog::AcceptSave, QFileDialog::AnyFile, "Save Keyword Text File"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextEditServiceTest, AFileDialogThatIsCancelledOrCannotAnswerInTheBufferSaysFalse) {
    EXPECT_EQ(RunCommonDialog("Dialog=FileOpenSave|Mode=0", [](QDialog& d) { d.reject(); }), "Result=False");
    // A path cut to the caller's buffer would name another file.
    const std::string path =
        (std::filesystem::temp_directory_path() / "harbinet-a-long-file-name.txt").string();
    std::ofstream(path) << "x";
    const std::string reply = RunCommonDialog(
        "Dialog=FileOpenSave|Mode=0",
        [&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr);
            files->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(files)->accept();  // protected in QFileDialog
        },
        30);
    EXPECT_EQ(reply, "Result=False");
    std::filesystem::remove(path);
}

}  // namespace

}  // namespace harbinet
