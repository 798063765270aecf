// Writes the shipped language files into a folder: tarnwick-make-languages data/System/Languages
#include <cstdio>
#include <exception>
#include <string>

#include "languages/shipped/shipped_languages.h"
#include "languages/text_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    try {
        using namespace tarnwick;
        const struct {
            const char* file;
            void (*make)(TSyntaxScheme&);
        } schemes[] = {
            {"EDIF.syn", MakeEdifScheme}, {"Verilog.syn", MakeVerilogScheme}, {"VHDL.syn", MakeVhdlScheme}};
        for (const auto& s : schemes) {
            TSyntaxScheme scheme;
            s.make(scheme);
            scheme.SaveToFile(folder + s.file);
        }
        MakeEdifTemplates().SaveToFile(folder + "EDIF.tpl");
        WriteTextFile(folder + "Languages.ini", MakeLanguagesIni());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
