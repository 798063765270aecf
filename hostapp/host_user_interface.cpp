#include "hostapp/host_user_interface.h"

#include <QLabel>
#include <QStatusBar>

#include "host/abi/interfaced_object.h"

namespace harbinet {

void THostUserInterface::AddShortcut(THostShortcut keys, std::function<void()> action) {
    shortcuts_[keys] = std::move(action);
}

void THostUserInterface::AttachStatusBar(QStatusBar* bar, int panelCount) {
    statusBar_ = bar;
    panels_.clear();
    for (int i = 0; i < panelCount; ++i) {
        auto* label = new QLabel(bar);
        label->setMinimumWidth(90);
        label->hide();  // shown from the first text a plug-in puts there
        bar->addPermanentWidget(label);
        panels_.push_back(label);
    }
}

QString THostUserInterface::StatusText(int panel) const {
    if (panel < 0)
        return statusBar_ ? statusBar_->currentMessage() : QString();
    return panel < static_cast<int>(panels_.size()) ? panels_[panel]->text() : QString();
}

int32_t THostUserInterface::QueryInterface(const TGUID& iid, void** out) {
    return QueryResult(OfferInterface<IClientUserInterface>(iid, out, this, TAnswersUnknown::Yes), out);
}

void THostUserInterface::LaunchCurrentHotkey() {
    auto action = std::exchange(pending_, {});
    if (action)
        action();
}

int32_t THostUserInterface::AddKeyStroke(int32_t key, int32_t alt, int32_t shift, int32_t ctrl) {
    const auto it = shortcuts_.find({key, alt != 0, shift != 0, ctrl != 0});
    if (it == shortcuts_.end())
        return 0;
    pending_ = it->second;
    return 1;
}

void THostUserInterface::SetStatusText(int32_t panel, const char* text) {
    const QString value = QString::fromLatin1(text ? text : "");
    if (panel < 0) {
        if (statusBar_)
            statusBar_->showMessage(value);
        return;
    }
    if (panel < static_cast<int32_t>(panels_.size())) {
        panels_[panel]->setText(value);
        panels_[panel]->show();
    }
    if (statusListener_)
        statusListener_();
}

}  // namespace harbinet
