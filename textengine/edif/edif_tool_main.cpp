// tarnwick-edif: see RunEdifTool.
#include <iostream>

#include "textengine/edif/edif_tool.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        return tarnwick::RunEdifTool({argv + 1, argv + argc}, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "tarnwick-edif: " << e.what() << "\n";
        return 2;
    }
}
