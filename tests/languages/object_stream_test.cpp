#include <gtest/gtest.h>

#include "languages/object_stream.h"

namespace tarnwick {
namespace {

TStreamObject HolderWith(std::string name, TStreamValue value) {
    TStreamObject object;
    object.className = "TPersHolder";
    object.properties.push_back({std::move(name), std::move(value)});
    return object;
}

TEST(ObjectStreamTest, WritesControlCharactersAndQuotesAsCodes) {
    const std::string text = WriteObjectStream(HolderWith("S", TStreamValue::String("a\tb'c")));
    EXPECT_EQ(text, "object TPersHolder\r\n  S = 'a'#9'b'#39'c'\r\nend\r\n");
    EXPECT_EQ(WriteObjectStream(HolderWith("S", TStreamValue::String(""))),
              "object TPersHolder\r\n  S = ''\r\nend\r\n");
}

TEST(ObjectStreamTest, SplitsStringsLongerThan64Characters) {
    const std::string exactly64(64, 'x');
    EXPECT_EQ(WriteObjectStream(HolderWith("S", TStreamValue::String(exactly64))),
              "object TPersHolder\r\n  S = '" + exactly64 + "'\r\nend\r\n");

    const std::string hundred = std::string(64, 'a') + std::string(36, 'b');
    const std::string text = WriteObjectStream(HolderWith("S", TStreamValue::String(hundred)));
    EXPECT_EQ(text, "object TPersHolder\r\n  S = \r\n    '" + std::string(64, 'a') + "' +\r\n    '" +
                        std::string(36, 'b') + "'\r\nend\r\n");
    EXPECT_EQ(ReadObjectStream(text).properties.at(0).value.text, hundred);
}

TEST(ObjectStreamTest, WritesCollectionsSetsAndLists) {
    TStreamObject object;
    object.className = "TPersHolder";
    object.properties.push_back({"C", TStreamValue::Collection({{{"A", TStreamValue::Integer(-3)}}, {}})});
    object.properties.push_back({"E", TStreamValue::Collection({})});
    object.properties.push_back({"F", TStreamValue::Set({"fsBold", "fsItalic"})});
    object.properties.push_back(
        {"L", TStreamValue::List({TStreamValue::String("x"), TStreamValue::String("y")})});
    const std::string text = WriteObjectStream(object);
    EXPECT_EQ(text,
              "object TPersHolder\r\n"
              "  C = <\r\n"
              "    item\r\n"
              "      A = -3\r\n"
              "    end\r\n"
              "    item\r\n"
              "    end>\r\n"
              "  E = <>\r\n"
              "  F = [fsBold, fsItalic]\r\n"
              "  L = (\r\n"
              "    'x'\r\n"
              "    'y')\r\n"
              "end\r\n");
    EXPECT_EQ(ReadObjectStream(text), object);
}

TEST(ObjectStreamTest, ReadsTheOtherSpellingsOfTheFormat) {
    const TStreamObject object = ReadObjectStream(
        "object Holder: TPersHolder\n"
        "  A = $1F\n"
        "  B = 'it''s'#$41\n"
        "  C = 1.5e3\n"
        "  D = {0A1b}\n"
        "  E = <\n    item [0]\n      X = True\n    end>\n"
        "  object Child: TOther\n  end\n"
        "END");
    EXPECT_EQ(object.objectName, "Holder");
    EXPECT_EQ(object.className, "TPersHolder");
    ASSERT_EQ(object.properties.size(), 5u);
    EXPECT_EQ(object.properties[0].value.integer, 31);
    EXPECT_EQ(object.properties[1].value.text, "it'sA");
    EXPECT_EQ(object.properties[2].value.kind, TStreamValue::Kind::Float);
    EXPECT_EQ(object.properties[3].value.kind, TStreamValue::Kind::Binary);
    EXPECT_EQ(object.properties[4].value.items.size(), 1u);
    EXPECT_EQ(object.children.size(), 1u);
}

TEST(ObjectStreamTest, RejectsBrokenTextWithItsLine) {
    struct BadCase {
        const char* name;
        std::string text;
        int line;
    };
    const BadCase cases[] = {
        {"Empty", "", 1},
        {"NoEnd", "object T\n  A = 1\n", 3},
        {"Truncated collection", "object T\n  A = <\n    item\n      B = 1\n", 5},
        {"Unterminated string", "object T\n  A = 'abc\nend", 2},
        {"Missing value", "object T\n  A =\nend", 3},
        {"Code above 255", "object T\n  A = #256\nend", 2},
        {"Dangling plus", "object T\n  A = 'a' +\nend", 3},
        {"Text after end", "object T\nend\nx", 3},
        {"NUL byte", std::string("object T\n  A = 1\n\0end", 20), 3},
        {"Integer too large", "object T\n  A = 99999999999999999999\nend", 2},
        {"Wrong nesting", "object T\n  A = <\n    item\n    >\nend", 4},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)ReadObjectStream(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const TObjectStreamError& e) {
            EXPECT_EQ(e.Line(), c.line) << e.what();
        }
    }
}

TEST(ObjectStreamTest, DeepNestingFailsInsteadOfExhaustingTheStack) {
    std::string text = "object T\n  A = ";
    for (int i = 0; i < 100000; ++i)
        text += "(";
    EXPECT_THROW((void)ReadObjectStream(text), TObjectStreamError);
}

}  // namespace
}  // namespace tarnwick
