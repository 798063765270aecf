#pragma once

#include <string>

namespace tarnwick {

// A file-name extension mapped to a language.
struct TLanguageAssociation {
    std::string Extension;  // without the dot
    std::string Language;   // the language's name
};

}  // namespace tarnwick
