#include "languages/code_templates.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host/abi/ascii_text.h"
#include "languages/object_stream.h"
#include "languages/text_file.h"

namespace tarnwick {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && ascii::EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string ExpectString(const TStreamValue& value, const std::string& property) {
    if (value.kind != TStreamValue::Kind::String)
        throw TTemplateReadError("Invalid value of property " + property);
    return value.text;
}

void ReadTemplate(TMemoCodeTemplate& item, const std::vector<TStreamProperty>& props) {
    for (const TStreamProperty& prop : props) {
        if (ascii::EqualIgnoringCase(prop.name, "Name")) {
            item.Name = ExpectString(prop.value, prop.name);
        } else if (ascii::EqualIgnoringCase(prop.name, "Description")) {
            item.Description = ExpectString(prop.value, prop.name);
        } else if (ascii::EqualIgnoringCase(prop.name, "Code.Strings") &&
                   prop.value.kind == TStreamValue::Kind::List) {
            item.Code.clear();
            for (const TStreamValue& line : prop.value.list)
                item.Code.push_back(ExpectString(line, prop.name));
        } else {
            throw TTemplateReadError("Unknown property " + prop.name);
        }
    }
}

}  // namespace

void TMemoCodeTemplates::ReadFromText(std::string_view text) {
    if (text.empty())
        return;
    if (text.substr(0, 4) == "TPF0")
        throw TTemplateReadError("Binary template files are not supported");
    TStreamObject holder;
    try {
        holder = ReadObjectStream(text);
    } catch (const TObjectStreamError& e) {
        throw TTemplateReadError(e.what());
    }
    for (const TStreamProperty& prop : holder.properties) {
        if (!ascii::EqualIgnoringCase(prop.name, "P") || prop.value.kind != TStreamValue::Kind::Collection)
            throw TTemplateReadError("Unknown property " + prop.name);
        if (prop.value.items.empty())
            continue;
        items_.clear();
        for (const auto& props : prop.value.items)
            ReadTemplate(Add(), props);
    }
}

std::string TMemoCodeTemplates::WriteToText() const {
    std::vector<std::vector<TStreamProperty>> items;
    for (const TMemoCodeTemplate& t : items_) {
        std::vector<TStreamProperty>& props = items.emplace_back();
        if (!t.Name.empty())
            props.push_back({"Name", TStreamValue::String(t.Name)});
        if (!t.Description.empty())
            props.push_back({"Description", TStreamValue::String(t.Description)});
        if (!t.Code.empty()) {
            std::vector<TStreamValue> lines;
            for (const std::string& line : t.Code)
                lines.push_back(TStreamValue::String(line));
            props.push_back({"Code.Strings", TStreamValue::List(std::move(lines))});
        }
    }
    TStreamObject holder;
    holder.className = "TPersHolder";
    holder.properties.push_back({"P", TStreamValue::Collection(std::move(items))});
    return WriteObjectStream(holder);
}

void TMemoCodeTemplates::LoadFromFile(const std::string& path) { ReadFromText(ReadTextFile(path)); }

void TMemoCodeTemplates::SaveToFile(const std::string& path) const { WriteTextFile(path, WriteToText()); }

void TMemoCodeTemplates::FindTemplates(std::string_view word, std::vector<const TMemoCodeTemplate*>& found,
                                       bool& exactMatch) const {
    found.clear();
    exactMatch = false;
    bool anyStarts = false;
    if (!word.empty()) {
        for (const TMemoCodeTemplate& t : items_) {
            if (!StartsWithIgnoringCase(t.Name, word))
                continue;
            anyStarts = true;
            if (t.Name.size() == word.size()) {
                found.push_back(&t);
                exactMatch = true;
                return;
            }
            break;
        }
    }
    for (const TMemoCodeTemplate& t : items_)
        if (!anyStarts || StartsWithIgnoringCase(t.Name, word))
            found.push_back(&t);
}

}  // namespace tarnwick
