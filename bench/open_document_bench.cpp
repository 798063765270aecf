// Opening the file as a user does in harbinet: the host's file stream, the plug-in's document
// and window, and the first paint of its view, offscreen. Beside it, on the same file, what
// the buffer alone takes to load and to paint its first screen, the cost the document path adds
// to.
#include <cstdio>
#include <filesystem>
#include <string>

#include <QDir>

#include "bench/bench_steps.h"
#include "bench/file_stream.h"
#include "bench/offscreen_widgets.h"
#include "hostapp/host_client.h"
#include "hostapp/host_exports.h"
#include "hostapp/main_window.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick::bench {

namespace {

// Counts the paint events that reach an editor view anywhere in the application.
class ViewPaintCounter : public QObject {
public:
    ViewPaintCounter() { qApp->installEventFilter(this); }
    ~ViewPaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && dynamic_cast<TCustomDCMemo*>(watched) != nullptr)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Delivers pending events until a view has painted, or gives up after many rounds.
bool FlushUntilPainted(const ViewPaintCounter& counter) {
    for (int round = 0; round < 1000 && counter.paints == 0; ++round)
        Flush();
    return counter.paints > 0;
}

// The buffer loaded from the file and shown in a fresh view of the size harbinet gives it.
double BufferLoadAndFirstPaintMs(const std::string& file) {
    double best = 1e300;
    for (int run = 0; run < 2; ++run) {
        TMemoSource buffer;
        TDCMemo view;
        view.resize(1000, 800);
        ViewPaintCounter counter;
        best = std::min(best, TimeMs([&] {
                            FileStream in(file, FileStream::kRead);
                            buffer.LoadFromStream(in);
                            view.SetMemoSource(&buffer);
                            view.show();
                            FlushUntilPainted(counter);
                        }));
    }
    return best;
}

}  // namespace

void RunOpenDocument(BenchContext& ctx) {
    // harbinet writes its list of recent files; keep it out of the user's settings.
    const std::filesystem::path config = std::filesystem::temp_directory_path() / "tarnwick-bench-config";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.string()));
    const OffscreenApplication app;

    const double bufferMs = BufferLoadAndFirstPaintMs(ctx.file);

    harbinet::THostClient client;
    harbinet::SetExportedClient(&client);
    const std::string plugin =
        QDir(QCoreApplication::applicationDirPath()).filePath("libtarnwick.so").toStdString();
    std::string error;
    if (!client.Modules().Load(plugin, &client, error)) {
        harbinet::SetExportedClient(nullptr);
        throw std::runtime_error("cannot load " + plugin + ": " + error);
    }
    double openMs = 1e300;
    bool painted = true;
    for (int run = 0; run < 2; ++run) {
        harbinet::TMainWindow window(client);
        client.SetShell(&window);
        window.resize(1000, 900);
        window.show();
        QCoreApplication::processEvents();
        ViewPaintCounter counter;
        openMs = std::min(openMs, TimeMs([&] {
                              window.OpenFile(QString::fromStdString(ctx.file));
                              painted = FlushUntilPainted(counter) && painted;
                          }));
        client.SetShell(nullptr);
    }
    harbinet::SetExportedClient(nullptr);
    std::filesystem::remove_all(config);
    if (!painted)
        throw std::runtime_error("the opened document was never painted");
    std::fprintf(stderr, "open document: %.1f ms; buffer load and first paint: %.1f ms (%.2f times)\n",
                 openMs, bufferMs, openMs / bufferMs);
    ctx.report.Set("open_document_ms", openMs);
}

}  // namespace tarnwick::bench
