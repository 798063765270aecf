// harbinet: the host program. Loads the plug-ins beside it and opens the files it is given
// (see UsageText for the command line), or hands them to the harbinet that already runs.

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
#include "hostapp/command_line.h"
#include "hostapp/components_window.h"
#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"
#include "hostapp/schematic_editor.h"
#include "hostapp/single_instance.h"

namespace harbinet {

namespace {

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

int RunProcessAndPrint(THostClient& client, const TCommandLine& o) {
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
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TCommandLine options = ParseCommandLine(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "harbinet: %s\n%s", options.error.toLocal8Bit().constData(),
                     UsageText().toLocal8Bit().constData());
        return 2;
    }
    if (options.help || options.version) {
        std::fputs((options.help ? UsageText() : VersionText()).toLocal8Bit().constData(), stdout);
        return 0;
    }
    const bool headless = options.RunsOnce();
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
    QApplication::setApplicationVersion(HARBINET_VERSION);
    QGuiApplication::setDesktopFileName("harbinet");

    TSingleInstance instance(TSingleInstance::DefaultName());
    if (!options.RunsOnce()) {
        if (instance.HandOver(options.files))
            return 0;
        QString error;
        if (!instance.Listen(error))
            std::fprintf(stderr, "harbinet: later starts will open their own window: %s\n",
                         error.toLocal8Bit().constData());
    }

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

    QObject::connect(&instance, &TSingleInstance::FilesReceived, &window, &TMainWindow::OpenHandedOver);
    if (options.files.isEmpty())
        window.ReopenLastFiles();
    else
        window.OpenFiles(options.files);

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
