#include "languages/object_stream.h"

namespace tarnwick {

namespace {

constexpr std::size_t kStringLineLength = 64;
constexpr const char* kLineEnd = "\r\n";

std::string Indent(int level) { return std::string(static_cast<std::size_t>(level) * 2, ' '); }

// Quoted runs for printable characters, #code for control characters and the quote itself.
std::string QuotePieces(std::string_view bytes) {
    if (bytes.empty())
        return "''";
    std::string out;
    bool inQuotes = false;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        const bool literal = c >= ' ' && c != '\'';
        if (literal != inQuotes) {
            out += '\'';
            inQuotes = literal;
        }
        if (literal)
            out += ch;
        else
            out += '#' + std::to_string(c);
    }
    if (inQuotes)
        out += '\'';
    return out;
}

class TObjectStreamWriter {
public:
    std::string Write(const TStreamObject& object) {
        WriteObject(object, 0);
        return std::move(out_);
    }

private:
    void WriteObject(const TStreamObject& object, int level) {
        out_ += Indent(level) + "object ";
        if (!object.objectName.empty())
            out_ += object.objectName + ": ";
        out_ += object.className + kLineEnd;
        for (const TStreamProperty& property : object.properties)
            WriteProperty(property, level + 1);
        for (const TStreamObject& child : object.children)
            WriteObject(child, level + 1);
        out_ += Indent(level) + "end" + kLineEnd;
    }

    void WriteProperty(const TStreamProperty& property, int level) {
        out_ += Indent(level) + property.name + " = ";
        WriteValue(property.value, level);
        out_ += kLineEnd;
    }

    // Writes the value after " = " and leaves the last line open for the caller's line end.
    void WriteValue(const TStreamValue& value, int level) {
        switch (value.kind) {
            case TStreamValue::Kind::Integer:
                out_ += std::to_string(value.integer);
                break;
            case TStreamValue::Kind::Float:
            case TStreamValue::Kind::Identifier:
                out_ += value.text;
                break;
            case TStreamValue::Kind::String:
                if (value.text.size() > kStringLineLength) {
                    out_ += kLineEnd;
                    WriteLongString(value.text, level + 1);
                } else {
                    out_ += QuotePieces(value.text);
                }
                break;
            case TStreamValue::Kind::Set:
                WriteSet(value.names);
                break;
            case TStreamValue::Kind::Collection:
                WriteCollection(value.items, level);
                break;
            case TStreamValue::Kind::List:
                WriteList(value.list, level);
                break;
            case TStreamValue::Kind::Binary:
                out_ += '{' + value.text + '}';
                break;
        }
    }

    void WriteLongString(std::string_view bytes, int level) {
        out_ += Indent(level);
        for (std::size_t start = 0; start < bytes.size(); start += kStringLineLength) {
            if (start > 0)
                out_ += std::string(" +") + kLineEnd + Indent(level);
            out_ += QuotePieces(bytes.substr(start, kStringLineLength));
        }
    }

    void WriteSet(const std::vector<std::string>& names) {
        out_ += '[';
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i > 0)
                out_ += ", ";
            out_ += names[i];
        }
        out_ += ']';
    }

    void WriteCollection(const std::vector<std::vector<TStreamProperty>>& items, int level) {
        out_ += '<';
        for (std::size_t i = 0; i < items.size(); ++i) {
            out_ += kLineEnd + Indent(level + 1) + "item" + kLineEnd;
            for (const TStreamProperty& property : items[i])
                WriteProperty(property, level + 2);
            out_ += Indent(level + 1) + "end";
        }
        out_ += '>';
    }

    void WriteList(const std::vector<TStreamValue>& entries, int level) {
        out_ += '(';
        for (const TStreamValue& entry : entries) {
            out_ += kLineEnd;
            if (entry.kind == TStreamValue::Kind::String && entry.text.size() > kStringLineLength) {
                WriteLongString(entry.text, level + 1);
            } else {
                out_ += Indent(level + 1);
                WriteValue(entry, level + 1);
            }
        }
        out_ += ')';
    }

    std::string out_;
};

}  // namespace

TStreamValue TStreamValue::Integer(std::int64_t v) {
    TStreamValue value;
    value.kind = Kind::Integer;
    value.integer = v;
    return value;
}

TStreamValue TStreamValue::Identifier(std::string name) {
    TStreamValue value;
    value.kind = Kind::Identifier;
    value.text = std::move(name);
    return value;
}

TStreamValue TStreamValue::String(std::string bytes) {
    TStreamValue value;
    value.kind = Kind::String;
    value.text = std::move(bytes);
    return value;
}

TStreamValue TStreamValue::Set(std::vector<std::string> members) {
    TStreamValue value;
    value.kind = Kind::Set;
    value.names = std::move(members);
    return value;
}

TStreamValue TStreamValue::Collection(std::vector<std::vector<TStreamProperty>> items) {
    TStreamValue value;
    value.kind = Kind::Collection;
    value.items = std::move(items);
    return value;
}

TStreamValue TStreamValue::List(std::vector<TStreamValue> entries) {
    TStreamValue value;
    value.kind = Kind::List;
    value.list = std::move(entries);
    return value;
}

std::string WriteObjectStream(const TStreamObject& object) { return TObjectStreamWriter().Write(object); }

}  // namespace tarnwick
