#include "textengine/search_options.h"

namespace tarnwick {

TSearchOptions& TSearchOptions::Shared() {
    static TSearchOptions shared;
    return shared;
}

}  // namespace tarnwick
