#include "debugger/debugger_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <vector>

#include "host/abi/client_interfaces.h"
#include "host/abi/parameter_list.h"

namespace tarnwick::debugger {

namespace {

QString Latin1(const std::string& text) { return QString::fromLatin1(text.c_str()); }

// The linked document's file name, or the view's name when its document cannot say.
std::string DocumentName(IServerView& view) {
    const auto documentView = TComPtr<IServerView>::Share(&view).As<IServerDocumentView>();
    const auto document =
        TComPtr<IServerDocument>::Adopt(documentView ? documentView->GetOwnerDocument() : nullptr);
    const char* name = document ? document->GetFileName() : view.GetViewName();
    return name ? name : "";
}

}  // namespace

TDebuggerWindow::TDebuggerWindow(IClient* client, std::string serverName, std::string callbackProcess,
                                 QWidget* owner)
    : QWidget(owner, Qt::Tool),
      client_(client),
      serverName_(std::move(serverName)),
      callbackProcess_(std::move(callbackProcess)) {
    setObjectName("DebuggerWindow");
    setWindowTitle("Debugger");
    auto* layout = new QVBoxLayout(this);
    linkedLabel_ = new QLabel(this);
    layout->addWidget(linkedLabel_);

    auto* buttons = new QGridLayout;
    const auto add = [&](const char* caption, int row, int column, auto&& onClick) {
        auto* button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, onClick);
        buttons->addWidget(button, row, column);
    };
    add("Link to current document", 0, 0, [this] { Link(); });
    add("Unlink", 0, 1, [this] { Unlink(); });
    buttons->addWidget(new QLabel("Line (0 = the caret's line):", this), 1, 0);
    line_ = new QSpinBox(this);
    line_->setRange(0, 1 << 30);
    buttons->addWidget(line_, 1, 1);
    add("Toggle breakpoint", 2, 0, [this] { SendForLine("BreakPoint", "Toggle"); });
    add("List breakpoints", 2, 1, [this] { Send("Command=BreakPoint|Action=GetAllBreakPoints"); });
    add("Execution line here", 3, 0, [this] { SendForLine("HiLightLine", "HiLight"); });
    add("Clear execution line", 3, 1, [this] { Send("Command=HiLightLine|Action=UnHiLight"); });
    add("Mark error line", 4, 0, [this] { SendForLine("ErrorLine", "HiLight"); });
    add("Clear error line", 4, 1, [this] { Send("Command=ErrorLine|Action=UnHiLight"); });
    add("Cursor position", 5, 0, [this] { Send("Command=GetCurrentCursorPosition"); });
    add("Remove all breakpoints", 5, 1, [this] { Send("Command=BreakPoint|Action=RemoveAll"); });
    layout->addLayout(buttons);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName("DebuggerLog");
    log_->setReadOnly(true);
    log_->setMinimumSize(420, 220);
    layout->addWidget(log_);
    ShowLinked();
}

void TDebuggerWindow::Link() {
    Unlink();
    linked_ = TComPtr<IServerView>::Adopt(client_ ? client_->GetCurrentView() : nullptr);
    if (!linked_) {
        Log("No document is open to link to.");
        return;
    }
    const std::string request = "Command=LinkWithDebugger|Action=Link|ServerName=" + serverName_ +
                                "|CallBackProcess=" + callbackProcess_;
    if (!Send(request)) {
        Log("The current view is no text editor.");
        linked_.Reset();
    }
    ShowLinked();
}

void TDebuggerWindow::Unlink() {
    if (!linked_)
        return;
    Send("Command=LinkWithDebugger|Action=UnLink|ServerName=" + serverName_ +
         "|CallBackProcess=" + callbackProcess_);
    linked_.Reset();
    ShowLinked();
}

bool TDebuggerWindow::Send(const std::string& request) {
    if (!linked_) {
        Log("Not linked: link to a document first.");
        return false;
    }
    auto launcher = TComPtr<IClient>::Share(client_).As<IProcessLauncher>();
    std::vector<char> buffer(kParameterStringLimit, '\0');
    std::copy_n(request.begin(), std::min(request.size(), buffer.size() - 1), buffer.begin());
    Log("> " + Latin1(request));
    const bool answered = launcher && launcher->RunProcess("TextEdit:ExternalRequest", buffer.data(),
                                                           int32_t(buffer.size()), linked_.Get()) != 0;
    if (answered && request != buffer.data())
        Log("< " + QString::fromLatin1(buffer.data()));
    return answered;
}

void TDebuggerWindow::SendForLine(const char* command, const char* action) {
    Send(std::string("Command=") + command + "|Action=" + action +
         "|LineNumber=" + std::to_string(line_->value()));
}

void TDebuggerWindow::ReceiveCallback(const char* message, IServerView* context) {
    const std::string text = message ? message : "";
    Log("Callback: " + Latin1(text));
    // The document is closing: its view is about to go, so the link goes first.
    if (text == "Command=ShutDown" && context && context == linked_.Get()) {
        linked_.Reset();
        ShowLinked();
    }
}

void TDebuggerWindow::Log(const QString& line) { log_->appendPlainText(line); }

void TDebuggerWindow::ShowLinked() {
    linkedLabel_->setText(linked_ ? "Linked to " + Latin1(DocumentName(*linked_)) : QString("Not linked"));
}

}  // namespace tarnwick::debugger
