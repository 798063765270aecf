#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick {

// The tree of an object-stream text: an object with its properties, each property a name and
// a value. Readers of particular classes walk this tree and skip what they do not know, so
// unknown properties never stop a file from loading.
struct TStreamProperty;

struct TStreamValue {
    enum class Kind { Integer, Float, Identifier, String, Set, Collection, List, Binary };

    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    std::string text;                                 // identifier, string bytes, float or hex digits
    std::vector<std::string> names;                   // set members
    std::vector<std::vector<TStreamProperty>> items;  // collection items
    std::vector<TStreamValue> list;                   // list entries

    static TStreamValue Integer(std::int64_t v);
    static TStreamValue Identifier(std::string name);
    static TStreamValue String(std::string bytes);
    static TStreamValue Boolean(bool v);
    static TStreamValue Set(std::vector<std::string> members);
    static TStreamValue Collection(std::vector<std::vector<TStreamProperty>> items);
    static TStreamValue List(std::vector<TStreamValue> entries);

    // Defined below TStreamProperty, which comparing the collection items needs whole.
    friend bool operator==(const TStreamValue&, const TStreamValue&);
};

struct TStreamProperty {
    std::string name;
    TStreamValue value;
    friend bool operator==(const TStreamProperty&, const TStreamProperty&) = default;
};

// Out of the class, as the comparison below: the value's destructor needs TStreamProperty whole.
inline TStreamValue TStreamValue::Boolean(bool v) { return Identifier(v ? "True" : "False"); }

inline bool operator==(const TStreamValue& a, const TStreamValue& b) {
    return a.kind == b.kind && a.integer == b.integer && a.text == b.text && a.names == b.names &&
           a.items == b.items && a.list == b.list;
}

struct TStreamObject {
    std::string objectName;  // optional "name: " before the class
    std::string className;
    std::vector<TStreamProperty> properties;
    std::vector<TStreamObject> children;
    friend bool operator==(const TStreamObject&, const TStreamObject&) = default;
};

// A fault in the text itself (as opposed to a property its reader does not know).
class TObjectStreamError : public std::runtime_error {
public:
    TObjectStreamError(int line, const std::string& message)
        : std::runtime_error("Line " + std::to_string(line) + ": " + message), line_(line) {}
    [[nodiscard]] int Line() const noexcept { return line_; }

private:
    int line_;
};

// Parses one object from its text form; throws TObjectStreamError on a syntax fault.
[[nodiscard]] TStreamObject ReadObjectStream(std::string_view text);

// Writes the text form with CR LF line ends, two spaces of indent per level, and strings
// longer than 64 characters split over lines joined by " +".
[[nodiscard]] std::string WriteObjectStream(const TStreamObject& object);

}  // namespace tarnwick
