// Helpers shared by the text engine's tests.
#pragma once

#include <string>
#include <vector>

#include "textengine/external_strings.h"
#include "textengine/memo_source.h"
#include "textengine/memory_stream.h"

namespace tarnwick::testing_support {

// Fills the buffer as a loaded file would be, with the modified flag cleared.
inline void LoadLines(TCustomMemoSource& source, const std::vector<std::string>& lines) {
    source.Lines().Assign(lines);
    source.SetModified(false);
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
