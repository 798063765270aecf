#pragma once
// The stand-in debugger's window: links to the host's current text document, sends it the
// debugger's requests (breakpoints, the execution line, an error line, the breakpoint list)
// through the host, and logs each request, its reply and each callback received.

#include <QWidget>
#include <string>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"

class IClient;
class QLabel;
class QPlainTextEdit;
class QSpinBox;

namespace tarnwick::debugger {

class TDebuggerWindow final : public QWidget {
public:
    // serverName and callbackProcess are what the link tells the editor to call back.
    TDebuggerWindow(IClient* client, std::string serverName, std::string callbackProcess, QWidget* owner);

    // A callback from the editor; context is the linked document's view.
    void ReceiveCallback(const char* message, IServerView* context);

private:
    void Link();
    void Unlink();
    // Sends a request to the linked document and logs it and its reply; false when no
    // document answered.
    bool Send(const std::string& request);
    void SendForLine(const char* command, const char* action);
    void Log(const QString& line);
    void ShowLinked();

    IClient* client_;  // not counted: the host outlives every server
    std::string serverName_;
    std::string callbackProcess_;
    TComPtr<IServerView> linked_;  // the editor view of the linked document
    QLabel* linkedLabel_ = nullptr;
    QSpinBox* line_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
};

}  // namespace tarnwick::debugger
