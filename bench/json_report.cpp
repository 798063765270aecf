#include "bench/json_report.h"

#include <cmath>
#include <cstdio>

namespace tarnwick::bench {

namespace {

std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string Format(const JsonReport::Value& v) {
    if (const int64_t* i = std::get_if<int64_t>(&v))
        return std::to_string(*i);
    if (const double* d = std::get_if<double>(&v)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3f", std::isfinite(*d) ? *d : 0.0);
        return buf;
    }
    return Quoted(std::get<std::string>(v));
}

}  // namespace

void JsonReport::Set(const std::string& path, Value value) {
    std::vector<Entry>* level = &root_;
    size_t start = 0;
    while (true) {
        const size_t dot = path.find('.', start);
        const std::string key =
            path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        Entry* found = nullptr;
        for (Entry& e : *level)
            if (e.key == key)
                found = &e;
        if (found == nullptr) {
            level->push_back(Entry{key, int64_t(0), {}, false});
            found = &level->back();
        }
        if (dot == std::string::npos) {
            found->value = std::move(value);
            return;
        }
        found->isObject = true;
        level = &found->children;
        start = dot + 1;
    }
}

void JsonReport::Write(const std::vector<Entry>& entries, std::string& out, int depth) {
    out += "{";
    for (size_t i = 0; i < entries.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out.append(size_t(depth + 1) * 2, ' ');
        out += Quoted(entries[i].key) + ": ";
        if (entries[i].isObject)
            Write(entries[i].children, out, depth + 1);
        else
            out += Format(entries[i].value);
    }
    out += "\n";
    out.append(size_t(depth) * 2, ' ');
    out += "}";
}

std::string JsonReport::ToJson() const {
    std::string out;
    Write(root_, out, 0);
    return out + "\n";
}

}  // namespace tarnwick::bench
