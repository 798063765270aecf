#pragma once

#include <string>

#include "languages/code_templates.h"
#include "languages/syntax_scheme.h"

namespace tarnwick {

// The languages that ship in System/Languages/: the content of each file, so that the files
// can be written again after a change here and checked against what is committed.
void MakeEdifScheme(TSyntaxScheme& scheme);
void MakeVerilogScheme(TSyntaxScheme& scheme);
void MakeVhdlScheme(TSyntaxScheme& scheme);
[[nodiscard]] TMemoCodeTemplates MakeEdifTemplates();
// The list file that associates the extensions with the languages.
[[nodiscard]] std::string MakeLanguagesIni();

}  // namespace tarnwick
