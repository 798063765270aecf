#pragma once
// The text engine's input box: a caption, a prompt over a one-line edit, and the request's
// three buttons (OK, Cancel, Help). Help shows the help of the box and leaves it open.

#include <string>

#include "host/server_dialog.h"
#include "textengine/search_dialogs.h"

namespace tarnwick {

class TLatin1Edit;

class TInputBox : public TServerDialog {
    Q_OBJECT
public:
    explicit TInputBox(const TInputBoxRequest& request, QWidget* owner = nullptr);

    [[nodiscard]] std::string Value() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TLatin1Edit* edit_;
};

}  // namespace tarnwick
