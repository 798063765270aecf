#pragma once
// The host's help viewer, reached through its processes: show a topic, set where popups
// appear, show a popup topic.

#include <QPoint>
#include <string>

namespace tarnwick {

void ShowHelpTopic(const std::string& helpFile, int context);
void SetHelpPopupPosition(QPoint globalPosition);
void ShowHelpPopup(const std::string& helpFile, int context);

}  // namespace tarnwick
