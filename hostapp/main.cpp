// harbinet: the host program. Loads the plug-ins beside it and opens the files it is given.
//
//   harbinet [FILE]                      open FILE (or what was open last time) in the main window
//   harbinet --screenshot OUT.png [FILE] render the main window offscreen into OUT.png
//   harbinet --run-process Server:Process [PARAMS]
//                                        run one process and print the buffer it returned
//   --module LIBRARY                     load one more server module (may be repeated)

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/abi/parameter_list.h"
#include "hostapp/components_window.h"
#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"
#include "hostapp/schematic_editor.h"

namespace harbinet {

namespace {

struct TOptions {
    QString screenshot;
    QString process;
    QString processParams;
    QString file;
    QStringList modules;
    bool valid = true;
};

TOptions ParseOptions(int argc, char** argv) {
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "--screenshot" && i + 1 < argc)
            o.screenshot = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--module" && i + 1 < argc)
            o.modules << QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--run-process" && i + 1 < argc)
            o.process = QString::fromLocal8Bit(argv[++i]);
        else if (!o.process.isEmpty() && o.processParams.isEmpty() && !arg.startsWith("--"))
            o.processParams = arg;
        else if (!arg.startsWith("--") && o.file.isEmpty())
            o.file = arg;
        else
            o.valid = false;
    }
    return o;
}

bool HasDisplay() {
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// Every lib*.so beside the program that exports ServerFactory is a server module; so is
// every library named with --module.
void LoadModules(THostClient& client, const QString& folder, const QStringList& extra) {
    struct TCandidate {
        QString path;
        bool named;
    };
    std::vector<TCandidate> candidates;
    for (const QString& name : QDir(folder).entryList({"lib*.so"}, QDir::Files, QDir::Name))
        candidates.push_back({QDir(folder).filePath(name), false});
    for (const QString& path : extra)
        candidates.push_back({QFileInfo(path).absoluteFilePath(), true});
    for (const TCandidate& c : candidates) {
        std::string error;
        // A library beside the program that is no server module is simply not one of ours.
        if (!client.Modules().Load(c.path.toLocal8Bit().toStdString(), &client, error) &&
            (c.named || error.find("ServerFactory") == std::string::npos))
            std::fprintf(stderr, "harbinet: %s\n", error.c_str());
    }
}

// The schematic editor beside the program, with the sample component store.
void LoadSchematicEditor(harbinet::TSchematicEditor& schematic, const QString& folder) {
    const std::string dir = folder.toLocal8Bit().toStdString();
    std::string error;
    if (!schematic.Load(dir + "/" + kSchematicModuleName, error) ||
        !schematic.LoadStore(dir + "/samples/components.grv", error))
        std::fprintf(stderr, "harbinet: %s\n", error.c_str());
}

int RunProcessAndPrint(THostClient& client, const TOptions& o) {
    std::vector<char> buffer(kParameterStringLimit, '\0');
    const QByteArray params = o.processParams.toLocal8Bit();
    std::copy_n(params.constData(), std::min<std::size_t>(params.size(), buffer.size() - 1), buffer.begin());
    const int32_t ok = client.RunProcess(o.process.toLocal8Bit().constData(), buffer.data(),
                                         static_cast<int32_t>(buffer.size()), nullptr);
    std::printf("%s\n", buffer.data());
    return ok ? 0 : 1;
}

}  // namespace

int Main(int argc, char** argv) {
    const TOptions options = ParseOptions(argc, argv);
    if (!options.valid) {
        std::fprintf(stderr,
                     "usage: harbinet [FILE]\n"
                     "       harbinet --screenshot OUT.png [FILE]\n"
                     "       harbinet --run-process Server:Process [PARAMS]\n");
        return 2;
    }
    const bool headless = !options.screenshot.isEmpty() || !options.process.isEmpty();
    if (!HasDisplay()) {
        if (!headless) {
            std::fprintf(stderr,
                         "harbinet: no display. Run it under a virtual one with\n"
                         "  xvfb-run -a harbinet [FILE]\n"
                         "or write a picture of the window with\n"
                         "  harbinet --screenshot OUT.png [FILE]\n");
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Harbinet");

    harbinet::TSchematicEditor schematic;  // outlives the modules and the window that use it
    THostClient client;
    SetExportedClient(&client);
    TMainWindow window(client);
    client.SetShell(&window);
    LoadSchematicEditor(schematic, QCoreApplication::applicationDirPath());
    LoadModules(client, QCoreApplication::applicationDirPath(), options.modules);
    harbinet::AddSchematicMenu(window, schematic, client.Modules());

    if (!options.process.isEmpty())
        return RunProcessAndPrint(client, options);

    if (!options.file.isEmpty())
        window.OpenFile(options.file);
    else
        window.ReopenLastFiles();

    window.show();
    if (!options.screenshot.isEmpty()) {
        QCoreApplication::processEvents();
        const bool saved = window.grab().save(options.screenshot);
        std::fprintf(saved ? stdout : stderr, saved ? "wrote %s\n" : "harbinet: cannot write %s\n",
                     options.screenshot.toLocal8Bit().constData());
        return saved ? 0 : 1;
    }
    return app.exec();
}

}  // namespace harbinet

int main(int argc, char** argv) { return harbinet::Main(argc, argv); }
