#include <charconv>
#include <limits>

#include "host/abi/ascii_text.h"
#include "languages/object_stream.h"

namespace tarnwick {

namespace {

// Deep enough for any file we write (a collection inside an item inside a collection) with a
// wide margin, shallow enough that hostile nesting cannot exhaust the stack.
constexpr int kMaxNesting = 64;

bool IsIdentStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

bool IsIdentChar(unsigned char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Recursive-descent reader over the raw bytes. Every loop advances the position or throws,
// and every index is checked against the end, so any input terminates.
class TObjectStreamReader {
public:
    explicit TObjectStreamReader(std::string_view text) : text_(text) {}

    TStreamObject ReadRoot() {
        TStreamObject object = ReadObject(0);
        SkipBlanks();
        if (!AtEnd())
            Fail("Text after the final end");
        return object;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw TObjectStreamError(line_, message); }

    bool AtEnd() const { return pos_ >= text_.size(); }
    unsigned char Peek() const { return AtEnd() ? 0 : static_cast<unsigned char>(text_[pos_]); }

    void SkipBlanks() {
        while (!AtEnd()) {
            const auto c = Peek();
            if (c == '\n')
                ++line_;
            else if (c == 0 || c > ' ')
                return;
            ++pos_;
        }
    }

    std::string_view ReadName() {
        SkipBlanks();
        if (!IsIdentStart(Peek()))
            Fail("Identifier expected");
        const std::size_t start = pos_;
        while (!AtEnd() && (IsIdentChar(Peek()) || Peek() == '.'))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void Expect(char symbol) {
        SkipBlanks();
        if (Peek() != static_cast<unsigned char>(symbol))
            Fail(std::string("'") + symbol + "' expected");
        ++pos_;
    }

    bool NextWordIs(std::string_view word) {
        SkipBlanks();
        const std::size_t save = pos_;
        if (!IsIdentStart(Peek()))
            return false;
        const std::string_view name = ReadName();
        pos_ = save;
        return ascii::EqualIgnoringCase(name, word);
    }

    TStreamObject ReadObject(int depth) {
        if (depth > kMaxNesting)
            Fail("Objects nested too deeply");
        const std::string_view keyword = ReadName();
        if (!ascii::EqualIgnoringCase(keyword, "object") && !ascii::EqualIgnoringCase(keyword, "inherited") &&
            !ascii::EqualIgnoringCase(keyword, "inline"))
            Fail("'object' expected");
        TStreamObject object;
        object.className = std::string(ReadName());
        SkipBlanks();
        if (Peek() == ':') {
            ++pos_;
            object.objectName = std::move(object.className);
            object.className = std::string(ReadName());
        }
        while (!NextWordIs("end")) {
            if (AtEnd())
                Fail("'end' expected");
            if (NextWordIs("object") || NextWordIs("inherited") || NextWordIs("inline"))
                object.children.push_back(ReadObject(depth + 1));
            else
                object.properties.push_back(ReadProperty(depth));
        }
        ReadName();
        return object;
    }

    TStreamProperty ReadProperty(int depth) {
        TStreamProperty property;
        property.name = std::string(ReadName());
        Expect('=');
        property.value = ReadValue(depth + 1);
        return property;
    }

    TStreamValue ReadValue(int depth) {
        if (depth > kMaxNesting)
            Fail("Values nested too deeply");
        SkipBlanks();
        const auto c = Peek();
        if (c == '\'' || c == '#')
            return TStreamValue::String(ReadString());
        if (IsDigit(c) || c == '-' || c == '+' || c == '$')
            return ReadNumber();
        if (IsIdentStart(c))
            return TStreamValue::Identifier(std::string(ReadName()));
        if (c == '[')
            return ReadSet();
        if (c == '<')
            return ReadCollection(depth);
        if (c == '(')
            return ReadList(depth);
        if (c == '{')
            return ReadBinary();
        Fail(AtEnd() ? "Value expected" : "Invalid character in a value");
    }

    // Pieces 'text' and #code, and further strings after " +".
    std::string ReadString() {
        std::string bytes;
        for (;;) {
            ReadStringPieces(bytes);
            const std::size_t save = pos_;
            const int saveLine = line_;
            SkipBlanks();
            if (Peek() != '+') {
                pos_ = save;
                line_ = saveLine;
                return bytes;
            }
            ++pos_;
            SkipBlanks();
            if (Peek() != '\'' && Peek() != '#')
                Fail("String expected after '+'");
        }
    }

    void ReadStringPieces(std::string& bytes) {
        for (;;) {
            const auto c = Peek();
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (AtEnd() || Peek() == '\n' || Peek() == '\r')
                        Fail("Unterminated string");
                    if (Peek() == '\'') {
                        ++pos_;
                        if (Peek() != '\'')
                            break;
                    }
                    bytes += text_[pos_++];
                }
            } else if (c == '#') {
                ++pos_;
                bytes += static_cast<char>(ReadCharCode());
            } else {
                return;
            }
        }
    }

    unsigned ReadCharCode() {
        unsigned code = 0;
        const bool hex = Peek() == '$';
        if (hex)
            ++pos_;
        const std::size_t start = pos_;
        while (!AtEnd() && (hex ? IsHexDigit(Peek()) : IsDigit(Peek()))) {
            const auto c = Peek();
            const unsigned digit = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
            code = code * (hex ? 16 : 10) + digit;
            if (code > 255)
                Fail("Character code out of range");
            ++pos_;
        }
        if (pos_ == start)
            Fail("Character code expected");
        return code;
    }

    TStreamValue ReadNumber() {
        const std::size_t start = pos_;
        if (Peek() == '$') {
            ++pos_;
            std::uint64_t value = 0;
            const std::size_t digits = pos_;
            while (!AtEnd() && IsHexDigit(Peek())) {
                const auto c = Peek();
                value = value * 16 + (IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
                if (value > 0xFFFFFFFFu)
                    Fail("Number out of range");
                ++pos_;
            }
            if (pos_ == digits)
                Fail("Hexadecimal digits expected");
            return TStreamValue::Integer(static_cast<std::int64_t>(value));
        }
        if (Peek() == '-' || Peek() == '+')
            ++pos_;
        if (!IsDigit(Peek()))
            Fail("Number expected");
        while (IsDigit(Peek()))
            ++pos_;
        bool isFloat = false;
        if (Peek() == '.') {
            isFloat = true;
            ++pos_;
            while (IsDigit(Peek()))
                ++pos_;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            isFloat = true;
            ++pos_;
            if (Peek() == '-' || Peek() == '+')
                ++pos_;
            if (!IsDigit(Peek()))
                Fail("Exponent expected");
            while (IsDigit(Peek()))
                ++pos_;
        }
        const std::string_view digits = text_.substr(start, pos_ - start);
        if (isFloat) {
            TStreamValue value;
            value.kind = TStreamValue::Kind::Float;
            value.text = std::string(digits);
            return value;
        }
        std::int64_t value = 0;
        const char* first = digits.data() + (digits.front() == '+' ? 1 : 0);
        const auto [end, error] = std::from_chars(first, digits.data() + digits.size(), value);
        if (error != std::errc() || end != digits.data() + digits.size())
            Fail("Number out of range");
        return TStreamValue::Integer(value);
    }

    TStreamValue ReadSet() {
        Expect('[');
        std::vector<std::string> names;
        SkipBlanks();
        if (Peek() != ']') {
            for (;;) {
                names.emplace_back(ReadName());
                SkipBlanks();
                if (Peek() != ',')
                    break;
                ++pos_;
            }
        }
        Expect(']');
        return TStreamValue::Set(std::move(names));
    }

    TStreamValue ReadCollection(int depth) {
        Expect('<');
        std::vector<std::vector<TStreamProperty>> items;
        for (;;) {
            SkipBlanks();
            if (Peek() == '>')
                break;
            if (!NextWordIs("item"))
                Fail("'item' expected");
            ReadName();
            SkipBlanks();
            if (Peek() == '[') {  // an item may carry an explicit order index
                ++pos_;
                ReadValue(depth + 1);
                Expect(']');
            }
            std::vector<TStreamProperty> item;
            while (!NextWordIs("end")) {
                if (AtEnd())
                    Fail("'end' expected");
                item.push_back(ReadProperty(depth + 1));
            }
            ReadName();
            items.push_back(std::move(item));
        }
        ++pos_;
        return TStreamValue::Collection(std::move(items));
    }

    TStreamValue ReadList(int depth) {
        Expect('(');
        std::vector<TStreamValue> entries;
        for (;;) {
            SkipBlanks();
            if (Peek() == ')')
                break;
            if (AtEnd())
                Fail("')' expected");
            entries.push_back(ReadValue(depth + 1));
        }
        ++pos_;
        return TStreamValue::List(std::move(entries));
    }

    TStreamValue ReadBinary() {
        Expect('{');
        TStreamValue value;
        value.kind = TStreamValue::Kind::Binary;
        for (;;) {
            SkipBlanks();
            if (Peek() == '}')
                break;
            if (!IsHexDigit(Peek()))
                Fail("Hexadecimal digit expected");
            value.text += text_[pos_++];
        }
        ++pos_;
        return value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

TStreamObject ReadObjectStream(std::string_view text) { return TObjectStreamReader(text).ReadRoot(); }

}  // namespace tarnwick
