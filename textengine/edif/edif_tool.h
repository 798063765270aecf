// The command-line tool over the EDIF index: outline, refs and check, for scripts and CI.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tarnwick {

// Runs one command; returns the exit status: 0 fine, 1 problems found (check) or the name
// defines nothing (refs), 2 a wrong command line or a file that cannot be read.
int RunEdifTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tarnwick
