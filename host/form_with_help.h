#pragma once
// What every plug-in window shares: F1 and the title-bar help button look up help contexts
// («Dlg_<name>» keys) in the help ID files beside the host's help files.

#include <QPoint>
#include <memory>
#include <string>

#include "host/help_context_finder.h"

class QWidget;

namespace tarnwick {

class TFormWithHelp {
public:
    TFormWithHelp();
    virtual ~TFormWithHelp();

    bool HelpEnabled = true;

    int FindHelpContext(const std::string& key, std::string& helpFile);
    // F1: help for the container around the focused control of window.
    void ShowHelpForControl(QWidget* window, QWidget* focused);
    // The title-bar help button, clicked on control at a global position.
    void ShowWhatsThisHelp(QWidget* window, QWidget* control, QPoint globalPosition);

protected:
    // Call from the window's key handling; true when F1 was taken.
    bool HandleHelpKey(QWidget* window, int qtKey);

private:
    QWidget* DescendToContainer(QWidget* from, QWidget* window);
    bool HasContext(QWidget* container, QWidget* window);
    std::string HelpFileFor(QWidget* container, QWidget* window) const;

    THelpFiles files_;
    std::unique_ptr<THelpContextFinder> finder_;
    bool inHelp_ = false;
};

// Marks a widget as a frame: a reusable group of controls with its own help key.
void MarkAsHelpFrame(QWidget* widget);

// Opens the help viewer on a context of a help file; without a context (0), the master help
// file's popup topic 1 at the mouse position.
void ShowHelpContext(const std::string& helpFile, int context);

}  // namespace tarnwick
