#include "hostapp/disk_change_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace harbinet {

TDiskChangeBar::TDiskChangeBar(QWidget* parent) : QFrame(parent) {
    setObjectName("DiskChangeBar");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xCE));
    colours.setColor(QPalette::WindowText, QColor(0x3A, 0x2E, 0x00));
    setPalette(colours);

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    // A pixmap for the screen's pixel ratio, so the icon stays sharp on high-density screens.
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this)
                        .pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
    message_ = new QLabel(this);
    message_->setObjectName("DiskChangeMessage");
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    reload_ = new QPushButton("Reload", this);
    reload_->setObjectName("ReloadButton");
    auto* keepMine = new QPushButton("Keep mine", this);
    keepMine->setObjectName("KeepMineButton");
    connect(reload_, &QPushButton::clicked, this, &TDiskChangeBar::ReloadClicked);
    connect(keepMine, &QPushButton::clicked, this, &TDiskChangeBar::KeepMineClicked);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->addWidget(icon);
    row->addWidget(message_, 1);
    row->addWidget(reload_);
    row->addWidget(keepMine);
    hide();
}

void TDiskChangeBar::ShowState(const QString& fileName, TDiskWatcher::TState state, bool hasUnsavedChanges) {
    using TState = TDiskWatcher::TState;
    if (state == TState::Unchanged) {
        hide();
        return;
    }
    QString text;
    if (state == TState::Deleted)
        text = fileName + " was deleted on disk. Save it to write the file again.";
    else if (hasUnsavedChanges)
        text = fileName + " has changed on disk. Reloading it discards your unsaved changes.";
    else
        text = fileName + " has changed on disk.";
    message_->setText(text);
    reload_->setVisible(state == TState::Changed);  // a deleted file has nothing to reload
    show();
}

}  // namespace harbinet
