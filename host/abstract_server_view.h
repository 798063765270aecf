#pragma once
// A window shown as a view: the editing view of a document (panel flag 0) or a side panel
// (panel flag -1), known to the host by its name.

#include <string>

#include "host/external_form.h"

namespace tarnwick {

constexpr int32_t kEditingViewFlag = 0;
constexpr int32_t kPanelViewFlag = -1;

class TAbstractServerView : public TExternalForm {
public:
    int32_t IsPanel() override { return PanelFlag; }
    const char* GetViewName() override { return ViewName.c_str(); }
    void ReceiveViewNotification(INotification*) override {}

protected:
    TAbstractServerView(int32_t panelFlag, QWidget* form, std::string viewName)
        : TExternalForm(form), PanelFlag(panelFlag), ViewName(std::move(viewName)) {}

    int32_t PanelFlag;
    std::string ViewName;
};

}  // namespace tarnwick
