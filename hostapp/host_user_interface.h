#pragma once
// Harbinet's user-interface services for plug-ins: the shortcut table that key strokes are
// offered to first, and the status bar.

#include <QObject>
#include <functional>
#include <map>
#include <tuple>

#include "host/abi/client_interfaces.h"

class QStatusBar;
class QLabel;

namespace harbinet {

struct THostShortcut {
    int32_t key = 0;  // Windows virtual key code
    bool alt = false;
    bool shift = false;
    bool ctrl = false;
    friend auto operator<=>(const THostShortcut&, const THostShortcut&) = default;
};

class THostUserInterface final : public IClientUserInterface {
public:
    THostUserInterface() = default;

    void AddShortcut(THostShortcut keys, std::function<void()> action);
    // The status bar whose panels SetStatusText fills; panel -1 is the message area.
    void AttachStatusBar(QStatusBar* bar, int panelCount);
    [[nodiscard]] QString StatusText(int panel) const;
    // Called after every status text a plug-in sets, so the shell can follow the document's state.
    void SetStatusListener(std::function<void()> listener) { statusListener_ = std::move(listener); }

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return 1; }  // lives as long as the host
    int32_t Release() override { return 1; }
    void LaunchCurrentHotkey() override;
    int32_t AddKeyStroke(int32_t key, int32_t alt, int32_t shift, int32_t ctrl) override;
    void SetStatusText(int32_t panel, const char* text) override;

private:
    std::map<THostShortcut, std::function<void()>> shortcuts_;
    std::function<void()> pending_;
    QStatusBar* statusBar_ = nullptr;
    std::vector<QLabel*> panels_;
    std::function<void()> statusListener_;
};

}  // namespace harbinet
