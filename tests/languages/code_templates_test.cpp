#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "languages/code_template_expander.h"
#include "languages/code_templates.h"
#include "textengine/memo_source.h"
#include "textengine/memory_stream.h"

namespace tarnwick {
namespace {

TMemoCodeTemplates Templates(std::initializer_list<TMemoCodeTemplate> items) {
    TMemoCodeTemplates templates;
    for (const TMemoCodeTemplate& item : items)
        templates.Add() = item;
    return templates;
}

std::vector<std::string> Names(const std::vector<const TMemoCodeTemplate*>& found) {
    std::vector<std::string> names;
    for (const TMemoCodeTemplate* t : found)
        names.push_back(t->Name);
    return names;
}

TEST(CodeTemplatesTest, FindsTemplatesByTypedWord) {
    const TMemoCodeTemplates templates =
        Templates({{"forx", "", {}}, {"fo", "", {}}, {"IFB", "", {}}, {"if", "", {}}});
    struct Case {
        const char* name;
        std::string word;
        std::vector<std::string> found;
        bool exact;
    };
    const Case cases[] = {
        {"Exact name ignoring case", "ifb", {"IFB"}, true},
        {"Exact name that is not the first match offers all matches", "fo", {"forx", "fo"}, false},
        {"Prefix", "f", {"forx", "fo"}, false},
        {"Empty word offers everything", "", {"forx", "fo", "IFB", "if"}, false},
        {"No match offers everything", "zz", {"forx", "fo", "IFB", "if"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<const TMemoCodeTemplate*> found;
        bool exact = true;
        templates.FindTemplates(c.word, found, exact);
        EXPECT_EQ(Names(found), c.found);
        EXPECT_EQ(exact, c.exact);
    }
    EXPECT_EQ(templates[2].ChoiceText(), "|~IFB~");
}

TEST(CodeTemplatesTest, TextFormRoundTripsAndLoadingReplacesOnlyWithItems) {
    const TMemoCodeTemplates templates =
        Templates({{"cell", "A cell's view", {"(cell |", "\t(cellType GENERIC)", std::string(70, '-'), ""}},
                   {"empty", "", {}}});
    const std::string text = templates.WriteToText();
    EXPECT_EQ(text.rfind("object TPersHolder\r\n  P = <\r\n    item\r\n      Name = 'cell'\r\n", 0), 0u);
    EXPECT_NE(text.find("      Code.Strings = (\r\n        '(cell |'\r\n        #9'(cellType GENERIC)'\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("        ''"), std::string::npos);
    TMemoCodeTemplates read;
    read.ReadFromText(text);
    EXPECT_EQ(read, templates);
    EXPECT_EQ(read.WriteToText(), text);

    read.ReadFromText("");
    read.ReadFromText("object TPersHolder\r\n  P = <>\r\nend\r\n");
    EXPECT_EQ(read, templates);
}

TEST(CodeTemplatesTest, BadFilesFailAndKeepWhatWasRead) {
    const char* bad[] = {
        "object TPersHolder\r\n  P = <\r\n    item\r\n      Name = 'a'\r\n    end\r\n"
        "    item\r\n      Colour = 'red'\r\n    end>\r\nend\r\n",
        "object TPersHolder\r\n  Q = 1\r\nend\r\n",
        "object TPersHolder\r\n  P = <\r\n    item\r\n      Name = 5\r\n    end>\r\nend\r\n",
        "object TPersHolder\r\n  P = <\r\n    item\r\n",
        "TPF0\x0BTPersHolder",
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        TMemoCodeTemplates templates;
        EXPECT_THROW(templates.ReadFromText(text), TTemplateReadError);
    }
    TMemoCodeTemplates templates;
    EXPECT_THROW(templates.ReadFromText(bad[0]), TTemplateReadError);
    ASSERT_EQ(templates.Count(), 2u);
    EXPECT_EQ(templates[0].Name, "a");
}

// A buffer with one line and the caret where the test puts it.
class ExpansionTest : public testing::Test {
protected:
    void Load(const std::string& text, int32_t column, int32_t line = 0) {
        TMemoryStream stream(text);
        buffer_.LoadFromStream(stream);
        buffer_.SetTemplatesType("Custom");
        buffer_.SetDelimeters("{}+-/*():=,;><$.#[]^@&~|%'\"");
        buffer_.SetCaret(column, line);
    }

    // Expands and records which templates the choice list was offered.
    void Expand(int choice = -1) {
        offered_.clear();
        ShowCodeTemplates(buffer_, templates_, [&](const std::vector<const TMemoCodeTemplate*>& found) {
            offered_ = Names(found);
            return choice;
        });
    }

    TMemoSource buffer_;
    TMemoCodeTemplates templates_ = Templates({{"IFB", "if block", {"if | then", "end if;"}},
                                               {"begin", "block", {"begin |", "end"}},
                                               {"plain", "no marker", {"abc"}}});
    std::vector<std::string> offered_;
};

TEST_F(ExpansionTest, ExactNameExpandsAtOnce) {
    Load("x ifb", 5);
    Expand();
    EXPECT_TRUE(offered_.empty());
    EXPECT_EQ(buffer_.LineText(0), "x if  then");
    EXPECT_EQ(buffer_.LineText(1), "  end if;");
    EXPECT_EQ(buffer_.Caret(), (TPosition{0, 5}));
    EXPECT_FALSE(buffer_.HasSelection());
}

TEST_F(ExpansionTest, LaterLinesAreIndentedToTheCaretColumn) {
    Load("    ", 4);
    Expand(1);
    EXPECT_EQ(offered_, (std::vector<std::string>{"IFB", "begin", "plain"}));
    EXPECT_EQ(buffer_.LineText(0), "    begin ");
    EXPECT_EQ(buffer_.LineText(1), "    end");
    EXPECT_EQ(buffer_.Caret(), (TPosition{0, 10}));
}

TEST_F(ExpansionTest, WithoutMarkerTheCaretStaysAtTheStart) {
    Load("pl", 2);
    Expand(0);
    EXPECT_EQ(offered_, (std::vector<std::string>{"plain"}));
    EXPECT_EQ(buffer_.LineText(0), "abc");
    EXPECT_EQ(buffer_.Caret(), (TPosition{0, 0}));
}

TEST_F(ExpansionTest, ExpansionIsOneUndoStepAndCancelKeepsTheText) {
    Load("x ifb", 5);
    Expand();
    buffer_.Undo();
    EXPECT_EQ(buffer_.LineCount(), 1);
    EXPECT_EQ(buffer_.LineText(0), "x ifb");

    Load("x pl", 4);
    Expand(7);  // not an index of the list
    EXPECT_EQ(buffer_.LineText(0), "x pl");
    EXPECT_FALSE(buffer_.HasSelection());

    buffer_.SetTemplatesType("None");
    Expand(0);
    EXPECT_TRUE(offered_.empty());
    EXPECT_EQ(buffer_.LineText(0), "x pl");
}

// A hook that throws ends the expansion half done; the undo block it opened closes all the same,
// so the next command is an undo step of its own.
TEST_F(ExpansionTest, ThrowingHookLeavesNoUndoBlockOpen) {
    Load("x ifb", 5);
    buffer_.SetOptions(kDefaultStringsOptions.Without(soGroupUndo));
    const auto throwing = [](std::vector<std::string>&) { throw std::runtime_error("hook failed"); };
    EXPECT_THROW(ShowCodeTemplates(buffer_, templates_, {}, throwing), std::runtime_error);
    ASSERT_EQ(buffer_.LineText(0), "x ");
    buffer_.TypeChar('a');
    EXPECT_FALSE(buffer_.UndoList().Last().InBlock);
    buffer_.Undo();
    EXPECT_EQ(buffer_.LineText(0), "x ") << "only the typed character goes";
}

TEST(CodeTemplatesFileTest, SavedFileLoadsBack) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tarnwick-templates-" + std::to_string(::getpid()) + ".tpl"))
                                 .string();
    const TMemoCodeTemplates templates = Templates({{"net", "net", {"(net |", "  (joined)", ")"}}});
    templates.SaveToFile(path);
    TMemoCodeTemplates loaded;
    loaded.LoadFromFile(path);
    std::filesystem::remove(path);
    EXPECT_EQ(loaded, templates);
}

}  // namespace
}  // namespace tarnwick
