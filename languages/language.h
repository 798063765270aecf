#pragma once

#include <string>

namespace tarnwick {

// A language of the catalogue: a name with its scheme file and, optionally, its template file.
struct TLanguage {
    std::string Name;
    std::string SyntaxFile;    // full path of the scheme file
    std::string TemplateFile;  // full path of the template file; empty when there is none
};

}  // namespace tarnwick
