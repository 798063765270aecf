// One JSON object, keys in the order they were first set; "a.b" sets key b of object a.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarnwick::bench {

class JsonReport {
public:
    using Value = std::variant<int64_t, double, std::string>;

    void Set(const std::string& path, Value value);
    std::string ToJson() const;

private:
    struct Entry {
        std::string key;
        Value value;
        std::vector<Entry> children;
        bool isObject = false;
    };
    static void Write(const std::vector<Entry>& entries, std::string& out, int depth);
    std::vector<Entry> root_;
};

}  // namespace tarnwick::bench
