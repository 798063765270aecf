#include "host/form_with_help.h"

#include <QApplication>
#include <QCursor>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

#include "host/abi/client_interfaces.h"
#include "host/client.h"
#include "host/help_viewer.h"

namespace tarnwick {

namespace {

constexpr const char* kFrameProperty = "tarnwickHelpFrame";

bool IsFrame(const QWidget* w) { return w->property(kFrameProperty).toBool(); }

bool IsTabPage(const QWidget* w) {
    const auto* stack = qobject_cast<const QStackedWidget*>(w->parentWidget());
    return stack && qobject_cast<const QTabWidget*>(stack->parentWidget());
}

// Forms, frames, tab pages and tab controls carry help keys of their own.
bool IsContainer(const QWidget* w, const QWidget* window) {
    return w == window || w->isWindow() || IsFrame(w) || IsTabPage(w) || qobject_cast<const QTabWidget*>(w);
}

std::string KeyOf(const QWidget* w) { return "Dlg_" + w->objectName().toStdString(); }

// A class name without its first letter, the way forms were named by their classes.
std::string ClassDerivedName(const QWidget* w) {
    const std::string cls = w->metaObject()->className();
    return cls.empty() ? cls : cls.substr(1);
}

}  // namespace

void MarkAsHelpFrame(QWidget* widget) { widget->setProperty(kFrameProperty, true); }

void ShowHelpContext(const std::string& helpFile, int context) {
    if (context != 0) {
        ShowHelpTopic(helpFile, context);
        return;
    }
    SetHelpPopupPosition(QCursor::pos());
    ShowHelpPopup(PluginHelpFiles().master, 1);
}

TFormWithHelp::TFormWithHelp()
    : files_(PluginHelpFiles()),
      finder_(std::make_unique<THelpContextFinder>(HostProgramFolder(), ServerFileNameFromHost)) {}

TFormWithHelp::~TFormWithHelp() = default;

int TFormWithHelp::FindHelpContext(const std::string& key, std::string& helpFile) {
    return finder_->FindHelpContext(key, helpFile);
}

std::string TFormWithHelp::HelpFileFor(QWidget* container, QWidget* window) const {
    const bool formOrFrame = container == window || container->isWindow() || IsFrame(container);
    return formOrFrame ? files_.main : files_.context;
}

bool TFormWithHelp::HasContext(QWidget* container, QWidget* window) {
    std::string file = HelpFileFor(container, window);
    return FindHelpContext(KeyOf(container), file) != 0;
}

// The first container among from's children (only the first at each level), descending until
// one has a context; nullptr when there is none.
QWidget* TFormWithHelp::DescendToContainer(QWidget* from, QWidget* window) {
    for (int depth = 0; from && depth < 64; ++depth) {
        QWidget* next = nullptr;
        for (QObject* child : from->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && IsContainer(w, window)) {
                next = w;
                break;
            }
        }
        if (!next || HasContext(next, window))
            return next;
        from = next;
    }
    return nullptr;
}

void TFormWithHelp::ShowHelpForControl(QWidget* window, QWidget* focused) {
    QWidget* container = nullptr;
    for (QWidget* w = focused; w && w != window; w = w->parentWidget())
        if (IsContainer(w, window)) {
            container = w;
            break;
        }
    if (!container)
        container = DescendToContainer(window, window);
    if (auto* tabs = qobject_cast<QTabWidget*>(container))
        container = tabs->currentWidget();
    if (container && !HasContext(container, window))
        container = DescendToContainer(container, window);
    if (!container)
        container = window;

    std::string file = HelpFileFor(container, window);
    int context = FindHelpContext(KeyOf(container), file);
    if (context == 0 && container != window) {
        file = files_.main;
        context = FindHelpContext(KeyOf(window), file);
    }
    ShowHelpContext(file, context);
}

void TFormWithHelp::ShowWhatsThisHelp(QWidget* window, QWidget* control, QPoint globalPosition) {
    if (IClient* client = GlobalClient()) {
        IClientUserInterface* ui = client->GetUserInterface();
        if (ui) {
            ui->SetStatusText(-1, "");
            ui->Release();
        }
    }
    QWidget* container = window;
    for (QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget())
        if (w == window || w->isWindow() || IsFrame(w)) {
            container = w;
            break;
        }
    auto lookup = [&](const QWidget* named) {
        std::string file = files_.context;
        const std::string tail = "_" + named->objectName().toStdString();
        int context = FindHelpContext(KeyOf(container) + tail, file);
        const std::string derived = ClassDerivedName(container);
        if (context == 0 &&
            container->objectName().compare(QString::fromStdString(derived), Qt::CaseInsensitive) != 0) {
            file = files_.context;
            context = FindHelpContext("Dlg_" + derived + tail, file);
        }
        return context;
    };
    int context = control ? lookup(control) : 0;
    if (context == 0 && control && control->parentWidget() && control->parentWidget() != container)
        context = lookup(control->parentWidget());
    SetHelpPopupPosition(globalPosition);
    ShowHelpPopup(files_.context, context);
}

bool TFormWithHelp::HandleHelpKey(QWidget* window, int qtKey) {
    if (qtKey != Qt::Key_F1 || !HelpEnabled || inHelp_)
        return false;
    inHelp_ = true;  // the viewer may pump events; F1 is not handled again meanwhile
    ShowHelpForControl(window, QApplication::focusWidget());
    inHelp_ = false;
    return true;
}

}  // namespace tarnwick
