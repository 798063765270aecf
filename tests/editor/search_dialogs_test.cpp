// The find, replace and go-to dialogs, driven offscreen through their controls: alone, and as
// the buffer opens them for its search commands, with every message box they lead to answered.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "editor/editor_search_dialogs.h"
#include "editor/goto_line_dialog.h"
#include "editor/replace_dialog.h"
#include "editor/search_dialog.h"
#include "languages/text_source.h"
#include "tests/support/dialog_driving.h"
#include "widgets/radio_group.h"

namespace tarnwick {

void PrintTo(const TSearchOptions& o, std::ostream* out) {
    *out << "{TextToFind \"" << o.TextToFind << "\", ReplaceWith \"" << o.ReplaceWith << "\", CaseSensitive "
         << o.CaseSensitive << ", WholeWordsOnly " << o.WholeWordsOnly << ", RegularExpr " << o.RegularExpr
         << ", Direction " << int(o.Direction) << ", Scope " << int(o.Scope) << ", Origin " << int(o.Origin)
         << ", PromptOnReplace " << o.PromptOnReplace << ", ReplaceAll " << o.ReplaceAll << "}";
}

namespace {

void Type(QWidget& dialog, const char* edit, const QString& text) {
    QTest::keyClicks(Find<QLineEdit>(dialog, edit), text);
}

// As a user pastes a text that holds characters no keyboard types.
void Paste(QWidget& dialog, const char* edit, const std::string& bytes) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
    QTest::keyClick(Find<QLineEdit>(dialog, edit), Qt::Key_V, Qt::ControlModifier);
}

void ShowAndWait(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

enum TDialogKind { kFind = 1, kReplace = 2, kBoth = 3 };

std::unique_ptr<TSearchDialog> MakeDialog(TDialogKind kind, TSearchOptions& shared) {
    if (kind == kReplace)
        return std::make_unique<TReplaceDialog>(shared);
    return std::make_unique<TSearchDialog>(shared);
}

const char* KindName(TDialogKind kind) { return kind == kReplace ? "replace" : "find"; }

// The shared options are process-wide: every test starts and ends with the defaults. The buffer
// options start cleared, as in the text window, so opening a dialog leaves the search text alone.
class SearchDialogsTest : public testing::Test {
protected:
    SearchDialogsTest() {
        TSearchOptions::Shared() = {};
        source.SetOptions(TStringsOptions{});
        InstallSearchDialogs(source);
    }
    ~SearchDialogsTest() override { TSearchOptions::Shared() = {}; }

    void SetLines(const std::vector<std::string>& lines) { source.Lines().Assign(lines); }

    TTextSource source;
};

// ---- The controls: loading, storing, showing, keys --------------------------------------------

using Setter = void (*)(TSearchOptions&);

struct ControlCase {
    const char* name;
    int dialogs;          // TDialogKind bits
    const char* control;  // its object name
    int item;             // the radio group item that stands for the change
    Setter base;          // the options before (nullptr: the defaults)
    Setter change;        // what the control changes
};

const QString kTypedReplaceText = QStringLiteral("with");

// clang-format off
const ControlCase kControlCases[] = {
    {"CaseSens", kBoth, "CaseSens", -1, nullptr, [](TSearchOptions& o) { o.CaseSensitive = true; }},
    {"WholeWord", kBoth, "WholeWord", -1, nullptr, [](TSearchOptions& o) { o.WholeWordsOnly = true; }},
    {"RegExpr", kBoth, "RegExpr", -1, nullptr, [](TSearchOptions& o) { o.RegularExpr = true; }},
    {"dirBackward", kBoth, "dirBackward", -1, nullptr, [](TSearchOptions& o) { o.Direction = sdBackward; }},
    {"dirForward", kBoth, "dirForward", -1, [](TSearchOptions& o) { o.Direction = sdBackward; },
     [](TSearchOptions& o) { o.Direction = sdForward; }},
    {"ScopeSelectedText", kBoth, "ScopeGroup", 1, nullptr, [](TSearchOptions& o) { o.Scope = ssSelectedText; }},
    {"ScopeGlobal", kBoth, "ScopeGroup", 0, [](TSearchOptions& o) { o.Scope = ssSelectedText; },
     [](TSearchOptions& o) { o.Scope = ssGlobal; }},
    {"OriginFromCursor", kBoth, "OriginGroup", 0, nullptr, [](TSearchOptions& o) { o.Origin = soFromCursor; }},
    {"OriginEntireScope", kBoth, "OriginGroup", 1, [](TSearchOptions& o) { o.Origin = soFromCursor; },
     [](TSearchOptions& o) { o.Origin = soEntireScope; }},
    {"ReplText", kReplace, "ReplText", -1, nullptr, [](TSearchOptions& o) { o.ReplaceWith = "with"; }},
    {"PromptRepl", kReplace, "PromptRepl", -1, nullptr, [](TSearchOptions& o) { o.PromptOnReplace = true; }},
    {"ReplaceAllButtonStoresReplaceAll", kReplace, "ReplaceAllButton", -1, nullptr,
     [](TSearchOptions& o) { o.ReplaceAll = true; }},
    {"OkStoresReplaceAllOff", kReplace, "OkButton", -1, [](TSearchOptions& o) { o.ReplaceAll = true; },
     [](TSearchOptions& o) { o.ReplaceAll = false; }},
    {"FindOkLeavesReplaceAll", kFind, "OkButton", -1, [](TSearchOptions& o) { o.ReplaceAll = true; },
     [](TSearchOptions&) {}},
};
// clang-format on

// Whether the control shows the changed option.
bool ShowsChange(QWidget* control, int item) {
    if (auto* group = qobject_cast<TRadioGroup*>(control))
        return group->ItemIndex() == item;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text() == kTypedReplaceText;
    return static_cast<QAbstractButton*>(control)->isChecked();
}

// What a user does to make the change; a push button also closes the dialog.
void MakeChange(QWidget* control, int item) {
    if (auto* group = qobject_cast<TRadioGroup*>(control))
        ClickButton(group->Button(item));
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        QTest::keyClicks(edit, kTypedReplaceText);
    else
        ClickButton(static_cast<QAbstractButton*>(control));
}

// Each row: a dialog over options with the change shows it in its control; a dialog over the
// options before, after the user makes the change and confirms, stores exactly the change.
TEST(SearchDialogControlsTest, EachControlLoadsAndStoresItsOption) {
    for (const ControlCase& c : kControlCases) {
        for (const TDialogKind kind : {kFind, kReplace}) {
            if (!(c.dialogs & kind))
                continue;
            SCOPED_TRACE(std::string(c.name) + " in the " + KindName(kind) + " dialog");
            TSearchOptions shared;
            if (c.base)
                c.base(shared);
            TSearchOptions changed = shared;
            c.change(changed);

            TSearchOptions loaded = changed;
            const auto loading = MakeDialog(kind, loaded);
            QWidget* shown = Find(*loading, c.control);
            ASSERT_NE(shown, nullptr);
            const bool isButton = qobject_cast<QPushButton*>(shown) != nullptr;
            if (!isButton) {
                EXPECT_TRUE(ShowsChange(shown, c.item));
            }

            const auto storing = MakeDialog(kind, shared);
            ShowAndWait(*storing);
            Type(*storing, "SearText", "x");
            MakeChange(Find(*storing, c.control), c.item);
            if (!isButton)
                Click(*storing, "OkButton");
            EXPECT_EQ(storing->result(), QDialog::Accepted);
            changed.TextToFind = "x";
            EXPECT_EQ(shared, changed);
        }
    }
}

TEST(SearchDialogControlsTest, ShowingEmptiesTheSearchTextButKeepsTheReplaceText) {
    TSearchOptions shared;
    shared.TextToFind = "word";
    shared.ReplaceWith = "other";
    TReplaceDialog dialog(shared);
    auto* searText = Find<QLineEdit>(dialog, "SearText");
    EXPECT_EQ(searText->text(), "word");  // loaded at creation
    for (int showing = 0; showing < 2; ++showing) {
        ShowAndWait(dialog);
        EXPECT_EQ(searText->text(), "");
        EXPECT_EQ(Find<QLineEdit>(dialog, "ReplText")->text(), "other");
        EXPECT_EQ(dialog.focusWidget(), searText);
        QTest::keyClicks(searText, "typed");
        dialog.hide();
    }
}

struct RefusalCase {
    const char* name;
    TDialogKind kind;
    const char* button;
};

TEST(SearchDialogControlsTest, AnEmptySearchTextKeepsTheDialogOpenWithTheFocusThere) {
    const RefusalCase cases[] = {
        {"FindOk", kFind, "OkButton"},
        {"ReplaceOk", kReplace, "OkButton"},
        {"ReplaceAll", kReplace, "ReplaceAllButton"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSearchOptions shared;
        shared.TextToFind = "old";
        const TSearchOptions before = shared;
        const auto dialog = MakeDialog(c.kind, shared);
        ShowAndWait(*dialog);
        Click(*dialog, "CaseSens");  // the focus leaves the search text
        Click(*dialog, c.button);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(QApplication::focusWidget(), Find(*dialog, "SearText"));
        EXPECT_EQ(shared, before);
    }
}

TEST(SearchDialogControlsTest, EnterInTheSearchTextConfirmsOnlyWithAText) {
    TSearchOptions shared;
    TSearchDialog dialog(shared);
    ShowAndWait(dialog);
    auto* searText = Find<QLineEdit>(dialog, "SearText");
    QTest::keyClick(searText, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClicks(searText, "net");
    QTest::keyClick(searText, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(shared.TextToFind, "net");
}

struct MnemonicCase {
    TDialogKind kind;
    Qt::Key key;
    const char* control;
};

// A label's key moves the focus to its edit; a check box's key toggles it.
TEST(SearchDialogControlsTest, AltKeysReachTheirControls) {
    const MnemonicCase cases[] = {
        {kFind, Qt::Key_T, "SearText"},      {kFind, Qt::Key_C, "CaseSens"},
        {kFind, Qt::Key_W, "WholeWord"},     {kFind, Qt::Key_R, "RegExpr"},
        {kReplace, Qt::Key_R, "ReplText"},   {kReplace, Qt::Key_X, "RegExpr"},
        {kReplace, Qt::Key_P, "PromptRepl"}, {kReplace, Qt::Key_T, "SearText"},
    };
    for (const MnemonicCase& c : cases) {
        SCOPED_TRACE(std::string(KindName(c.kind)) + " Alt+" + char(c.key) + " " + c.control);
        TSearchOptions shared;
        const auto dialog = MakeDialog(c.kind, shared);
        ShowAndWait(*dialog);
        Find(*dialog, "CancelButton")->setFocus();
        QWidget* control = Find(*dialog, c.control);
        QTest::keyClick(dialog.get(), c.key, Qt::AltModifier);
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            EXPECT_TRUE(QTest::qWaitFor([box] { return box->isChecked(); }));
        } else {
            EXPECT_EQ(QApplication::focusWidget(), control);
        }
    }
}

struct LookCase {
    const char* file;
    std::function<std::unique_ptr<QDialog>()> make;
    const char* caption;
    QSize clientSize;
};

// Saves each dialog's picture for a person to look at.
TEST(SearchDialogControlsTest, DialogsHaveTheirCaptionsAndFixedSizes) {
    TSearchOptions shared;
    shared.ReplaceWith = "net_2";
    shared.CaseSensitive = true;
    const LookCase cases[] = {
        {"/tmp/tarnwick-find-dialog.png",
         [&] { return std::make_unique<TSearchDialog>(shared); },
         " Find Text",
         {318, 265}},
        {"/tmp/tarnwick-replace-dialog.png",
         [&] { return std::make_unique<TReplaceDialog>(shared); },
         " Replace Text",
         {315, 360}},
        {"/tmp/tarnwick-goto-dialog.png",
         [] { return std::make_unique<TSearchgotoLineNumber>(1207); },
         "Go to Line Number",
         {277, 117}},
    };
    for (const LookCase& c : cases) {
        SCOPED_TRACE(c.caption);
        const std::unique_ptr<QDialog> dialog = c.make();
        ShowAndWait(*dialog);
        if (auto* searText = dialog->findChild<QLineEdit*>("SearText"))
            QTest::keyClicks(searText, "portRef");
        EXPECT_EQ(dialog->windowTitle(), c.caption);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        EXPECT_GE(dialog->width(), c.clientSize.width());
        EXPECT_GE(dialog->height(), c.clientSize.height());
        EXPECT_TRUE(dialog->grab().save(QString::fromLatin1(c.file)));
    }
}

// ---- Through the buffer's search commands -------------------------------------------------

struct CancelCase {
    const char* name;
    std::function<void(QDialog&)> close;
};

TEST_F(SearchDialogsTest, CancelKeepsTheOldOptionsForFindNext) {
    const CancelCase cases[] = {
        {"CancelButton", [](QDialog& d) { Click(d, "CancelButton"); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"CloseButton", [](QDialog& d) { d.close(); }},
    };
    for (const CancelCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSearchOptions::Shared() = {};
        SetLines({"one two", "two three two"});
        source.SetCaret(0, 0);
        {
            ModalScript script({[](QDialog& d) {
                Type(d, "SearText", "two");
                Click(d, "OkButton");
            }});
            source.FindDialog();
            EXPECT_TRUE(script.Finished());
        }
        EXPECT_EQ(source.FoundRect(), (TFoundRect{0, 4, 7}));
        const TSearchOptions afterSearch = TSearchOptions::Shared();

        ModalScript script({[&c](QDialog& d) {
            Type(d, "SearText", "three");
            Click(d, "dirBackward");
            Click(d, "RegExpr");
            c.close(d);
        }});
        source.FindDialog();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(script.unexpected.empty());
        EXPECT_EQ(source.Caret(), (TPosition{0, 7}));  // no search ran
        EXPECT_EQ(TSearchOptions::Shared(), afterSearch);

        source.SearchAgain();
        EXPECT_EQ(source.FoundRect(), (TFoundRect{1, 0, 3}));
    }
}

struct PromptCase {
    const char* name;
    const char* dialogButton;          // closes the replace dialog
    bool prompt;                       // PromptRepl checked
    std::vector<const char*> answers;  // the prompt's button, each time it asks
    bool searchAgain;                  // then the search-again command
    std::vector<const char*> againAnswers;
    const char* text;
};

void PrintTo(const PromptCase& c, std::ostream* out) { *out << c.name; }

class ReplacePromptTest : public SearchDialogsTest, public testing::WithParamInterface<PromptCase> {};

TEST_P(ReplacePromptTest, PromptAnswersDecideWhatIsReplaced) {
    const PromptCase& c = GetParam();
    SetLines({"cat cat", "cat"});
    source.SetCaret(0, 0);
    std::vector<QString> questions;
    const auto answer = [&questions](const char* button) {
        return [&questions, button](QDialog& box) {
            questions.push_back(MessageOf(box));
            for (const char* name : {"Yes", "No", "Cancel", "All"})
                EXPECT_NE(box.findChild<QPushButton*>(name), nullptr) << name;
            if (std::string_view(button) == "Escape")
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                Click(box, button);
        };
    };
    std::vector<ModalScript::Step> steps{[&c](QDialog& d) {
        Type(d, "SearText", "cat");
        Type(d, "ReplText", "dog");
        if (c.prompt)
            Click(d, "PromptRepl");
        Click(d, c.dialogButton);
    }};
    for (const char* button : c.answers)
        steps.push_back(answer(button));
    {
        ModalScript script(std::move(steps));
        source.ReplaceDialog();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(script.unexpected.empty());
    }
    if (c.searchAgain) {
        std::vector<ModalScript::Step> again;
        for (const char* button : c.againAnswers)
            again.push_back(answer(button));
        ModalScript script(std::move(again));
        source.SearchAgain();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(script.unexpected.empty());
    }
    EXPECT_EQ(source.Text(), c.text);
    for (const QString& question : questions)
        EXPECT_EQ(question, "Replace this occurence of 'cat'?");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, ReplacePromptTest, testing::Values(
    PromptCase{"YesReplacesOne", "OkButton", true, {"Yes"}, false, {}, "dog cat\r\ncat"},
    PromptCase{"NoThenSearchAgainAsksAboutTheNext", "OkButton", true, {"No"}, true, {"Yes"},
               "cat dog\r\ncat"},
    PromptCase{"AllReplacesTheRestWithoutAsking", "OkButton", true, {"No"}, true, {"All"},
               "cat dog\r\ndog"},
    PromptCase{"CancelReplacesNothing", "OkButton", true, {"Cancel"}, false, {}, "cat cat\r\ncat"},
    PromptCase{"EscapeCancels", "OkButton", true, {"Escape"}, false, {}, "cat cat\r\ncat"},
    PromptCase{"ReplaceAllButtonWithPromptAsksEach", "ReplaceAllButton", true, {"Yes", "No", "Yes"},
               false, {}, "dog cat\r\ndog"},
    PromptCase{"ReplaceAllButtonWithoutPrompt", "ReplaceAllButton", false, {}, false, {},
               "dog dog\r\ndog"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(SearchDialogsTest, TheReplacePromptIsAConfirmationBox) {
    SetLines({"a&b"});
    source.SetCaret(0, 0);
    QString title;
    QString question;
    ModalScript script({[](QDialog& d) {
                            Type(d, "SearText", "a&b");
                            Click(d, "PromptRepl");
                            Click(d, "OkButton");
                        },
                        [&](QDialog& box) {
                            title = box.windowTitle();
                            question = MessageOf(box);
                            EXPECT_TRUE(box.grab().save("/tmp/tarnwick-replace-prompt.png"));
                            Click(box, "No");
                        }});
    source.ReplaceDialog();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(title, "Confirm");
    EXPECT_EQ(question, "Replace this occurence of 'a&b'?");
}

TEST_F(SearchDialogsTest, AReadOnlyBufferOpensNoReplaceDialog) {
    SetLines({"cat"});
    source.SetReadOnly(true);
    TEditorSearchDialogs dialogs;
    EXPECT_EQ(dialogs.CreateReplaceDialog(source), nullptr);
    ModalScript script({});
    source.ReplaceDialog();
    QTest::qWait(20);
    EXPECT_TRUE(script.titles.empty());
    EXPECT_EQ(source.Text(), "cat");
}

// ---- Bad input ----------------------------------------------------------------------------

struct TextCase {
    const char* name;
    std::string text;
};

// Texts no keyboard types arrive by pasting; each is searched for and replaced whole, and the
// replace text loaded from the options goes back to them unchanged.
TEST_F(SearchDialogsTest, AnyBytesAreSearchedAndReplacedWhole) {
    const TextCase cases[] = {
        {"255Characters", std::string(255, 'n')},
        {"256Characters", std::string(256, 'n')},
        {"BeyondTheEditsDefaultLimit", std::string(40000, 'n')},
        {"ControlCharacters",
         "a\x01\x1b\x7f"
         "b"},
        {"Nul", std::string("a\0b", 3)},
        {"BytesAbove127", "\xE9\xFC\x80\xFF"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSearchOptions::Shared() = {};
        TSearchOptions::Shared().ReplaceWith = "[" + c.text + "]";
        SetLines({"<" + c.text + ">"});
        source.SetCaret(0, 0);
        ModalScript script({[&c](QDialog& d) {
            Paste(d, "SearText", c.text);
            Click(d, "ReplaceAllButton");
        }});
        source.ReplaceDialog();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(script.unexpected.empty());  // no "not found"
        EXPECT_EQ(TSearchOptions::Shared().TextToFind, c.text);
        EXPECT_EQ(source.LineText(0), "<[" + c.text + "]>");
    }
}

TEST(SearchDialogControlsTest, CharactersBeyondLatin1CannotBeTyped) {
    TSearchOptions shared;
    TSearchDialog dialog(shared);
    ShowAndWait(dialog);
    auto* searText = Find<QLineEdit>(dialog, "SearText");
    for (const QChar c : QString::fromUtf8("a\u20ACb\u00E9")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(searText, &key);
    }
    EXPECT_EQ(searText->text(), QString::fromUtf8("ab\u00E9"));
    Click(dialog, "OkButton");
    EXPECT_EQ(shared.TextToFind, "ab\xE9");
}

TEST_F(SearchDialogsTest, APatternThatDoesNotCompileShowsItsMessageAndChangesNothing) {
    for (const char* dialogButton : {"find", "replace"}) {
        SCOPED_TRACE(dialogButton);
        const bool replace = std::string_view(dialogButton) == "replace";
        TSearchOptions::Shared() = {};
        SetLines({"a{b ab", "x"});
        source.SetCaret(1, 0);
        QString message;
        ModalScript script({[replace](QDialog& d) {
                                Type(d, "SearText", "a{b");
                                if (replace)
                                    Type(d, "ReplText", "z");
                                Click(d, "RegExpr");
                                Click(d, "OkButton");
                            },
                            [&message](QDialog& box) {
                                message = MessageOf(box);
                                Click(box, "OK");
                            }});
        if (replace)
            source.ReplaceDialog();
        else
            source.FindDialog();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(script.unexpected.empty());  // and no "not found" after it
        EXPECT_TRUE(TSearchOptions::Shared().RegularExpr);
        ASSERT_EQ(script.titles.size(), 2u);
        EXPECT_EQ(script.titles[1], "Information");
        EXPECT_EQ(message, "a{b is invalid mask at (4)");
        EXPECT_EQ(source.Text(), "a{b ab\r\nx");
        EXPECT_EQ(source.Caret(), (TPosition{0, 1}));
        EXPECT_EQ(TSearchOptions::Shared().TextToFind, "a{b");
        EXPECT_TRUE(TSearchOptions::Shared().RegularExpr);
    }
}

TEST_F(SearchDialogsTest, ATextThatIsNotFoundIsReported) {
    SetLines({"one"});
    QString message;
    ModalScript script({[](QDialog& d) {
                            Type(d, "SearText", "t&o");
                            Click(d, "OkButton");
                        },
                        [&message](QDialog& box) {
                            message = MessageOf(box);
                            Click(box, "OK");
                        }});
    source.FindDialog();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(message, "Search string 't&o' not found");
}

// ---- The go-to dialog ---------------------------------------------------------------------

struct GotoCase {
    const char* name;
    std::vector<std::optional<QString>> typed;  // per dialog shown; nullopt: Cancel
    std::vector<QString> shown;                 // the number each dialog opened with
    int32_t caretLine;
};

void PrintTo(const GotoCase& c, std::ostream* out) { *out << c.name; }

class GotoLineTest : public SearchDialogsTest, public testing::WithParamInterface<GotoCase> {};

TEST_P(GotoLineTest, AsksUntilALineExistsOrCancel) {
    const GotoCase& c = GetParam();
    SetLines({"one", "two", "three", "four"});
    source.SetCaret(2, 1);
    std::vector<QString> shown;
    std::vector<ModalScript::Step> steps;
    for (const std::optional<QString>& typed : c.typed)
        steps.push_back([&shown, typed](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Go to Line Number");
            shown.push_back(Find<QLineEdit>(d, "LineNumberEdit")->text());
            if (!typed) {
                Click(d, "CancelButton");
                return;
            }
            Type(d, "LineNumberEdit", *typed);  // over the selected number
            Click(d, "OkButton");
        });
    ModalScript script(std::move(steps));
    source.AskGotoLine();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.unexpected.empty());
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(source.Caret(), (TPosition{c.caretLine, 2}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Entries, GotoLineTest, testing::Values(
    GotoCase{"ALineThatExists", {"4"}, {"2"}, 3},
    GotoCase{"ZeroGoesToTheFirstLine", {"0"}, {"2"}, 0},
    GotoCase{"NegativeGoesToTheFirstLine", {"-7"}, {"2"}, 0},
    GotoCase{"PastTheEndAsksAgainWithThatNumber", {"99", "3"}, {"2", "99"}, 2},
    GotoCase{"ElevenDigitsArePastTheEnd", {"99999999999", std::nullopt}, {"2", "99999999999"}, 1},
    GotoCase{"NotANumberStaysOnTheLine", {"abc"}, {"2"}, 1},
    GotoCase{"CancelChangesNothing", {std::nullopt}, {"2"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(SearchDialogsTest, ANumberTooLongForAnyLineIsRefusedWithAMessage) {
    SetLines({"one", "two", "three", "four"});
    const QString digits = QStringLiteral("123456789012345678901234567890");
    QString message;
    ModalScript script({[&](QDialog& d) {
                            auto* edit = Find<QLineEdit>(d, "LineNumberEdit");
                            QTest::keyClicks(edit, digits);
                            Click(d, "OkButton");  // the message box opens and is answered
                            EXPECT_TRUE(d.isVisible());
                            EXPECT_EQ(edit->text(), digits);
                            EXPECT_EQ(edit->selectedText(), digits);
                            QTest::keyClicks(edit, "4");
                            Click(d, "OkButton");
                        },
                        [&](QDialog& box) {
                            EXPECT_EQ(box.windowTitle(), "Harbinet Error");
                            message = MessageOf(box);
                            Click(box, "OK");
                        }});
    source.AskGotoLine();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.unexpected.empty());
    EXPECT_EQ(message, "The line number " + digits + " is out of range.");
    EXPECT_EQ(source.Caret().LinePos, 3);
}

TEST_F(SearchDialogsTest, TheEnginesInputBoxGoesToTheLineEntered) {
    SetLines({"one", "two", "three"});
    source.SetCaret(2, 0);
    QString shown;
    ModalScript script({[&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Go to line Number");
        shown = Find<QLineEdit>(d, "InputEdit")->text();
        Type(d, "InputEdit", "3");
        Click(d, "OkButton");
    }});
    EXPECT_TRUE(source.GotoLineDialog());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown, "1");
    EXPECT_EQ(source.Caret(), (TPosition{2, 0}));
}

}  // namespace
}  // namespace tarnwick
