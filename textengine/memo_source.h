// The text buffer with its properties published; the language-bound buffer derives from it.
#pragma once

#include "textengine/custom_memo_source.h"
#include "textengine/external_strings.h"

namespace tarnwick {

class TMemoSource : public TCustomMemoSource {
public:
    using TCustomMemoSource::TCustomMemoSource;
};

}  // namespace tarnwick
