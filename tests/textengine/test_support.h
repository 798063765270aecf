// Helpers shared by the text engine's tests.
#pragma once

#include <string>
#include <vector>

#include "memo_source.h"
#include "memory_stream.h"

namespace tarnwick::testing_support {

// Loads lines (joined by LF) as a file would come in, then clears the modified flag.
inline void LoadLines(TCustomMemoSource& source, const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    if (!lines.empty() && lines.back().empty())
        text += '\n';
    TMemoryStream stream(text);
    source.LoadFromStream(stream);
}

// Every line in stored form.
inline std::vector<std::string> StoredLines(const TCustomMemoSource& source) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < source.LineCount(); ++i)
        lines.emplace_back(source.StoredLine(i));
    return lines;
}

inline std::string Saved(const TCustomMemoSource& source) {
    TMemoryStream stream;
    source.SaveToStream(stream);
    return stream.Bytes();
}

}  // namespace tarnwick::testing_support
