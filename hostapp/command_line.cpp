#include "hostapp/command_line.h"

#include <QFileInfo>

namespace harbinet {

namespace {

// An option that takes the next argument as its value; false when it is not one of them.
bool TakeValue(TCommandLine& line, const QString& option, const QString& value) {
    if (option == "--screenshot")
        line.screenshot = value;
    else if (option == "--module")
        line.modules << value;
    else if (option == "--run-process")
        line.process = value;
    else
        return false;
    return true;
}

bool TakesValue(const QString& option) {
    return option == "--screenshot" || option == "--module" || option == "--run-process";
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine line;
    bool optionsEnded = false;  // after "--" every argument is a file, even "--name"
    for (int i = 0; i < arguments.size() && line.error.isEmpty(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            line.help = true;
        } else if (!optionsEnded && (arg == "--version" || arg == "-v")) {
            line.version = true;
        } else if (!optionsEnded && TakesValue(arg)) {
            if (i + 1 >= arguments.size())
                line.error = arg + " needs a value";
            else
                TakeValue(line, arg, arguments[++i]);
        } else if (!optionsEnded && arg.startsWith('-') && arg != "-") {
            line.error = "unknown option " + arg;
        } else if (!line.process.isEmpty() && line.processParams.isEmpty() && line.files.isEmpty()) {
            line.processParams = arg;  // the process's parameter string follows its name
        } else if (!arg.isEmpty()) {
            line.files << QFileInfo(arg).absoluteFilePath();
        }
    }
    if (line.error.isEmpty() && !line.process.isEmpty() && !line.files.isEmpty())
        line.error = "--run-process takes no files";
    return line;
}

QString UsageText() {
    return "Usage: harbinet [OPTION]... [FILE]...\n"
           "Opens each FILE in a tab of its own. When harbinet already runs on this display, the\n"
           "files open there and this start ends.\n"
           "\n"
           "  --screenshot OUT.png      open the files offscreen, write a picture of the window\n"
           "                            to OUT.png and end\n"
           "  --run-process Server:Process [PARAMS]\n"
           "                            run one process and print the parameters it returned\n"
           "  --module LIBRARY          load one more server module (may be repeated)\n"
           "  -h, --help                show this help and end\n"
           "  -v, --version             show the version and end\n"
           "  --                        every argument after this one is a file\n";
}

QString VersionText() { return QStringLiteral("harbinet " HARBINET_VERSION "\n"); }

}  // namespace harbinet
