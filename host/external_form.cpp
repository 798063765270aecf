#include "host/external_form.h"

namespace tarnwick {

QWidget* WidgetFromHandle(intptr_t handle) noexcept { return reinterpret_cast<QWidget*>(handle); }

intptr_t HandleOfWidget(QWidget* widget) noexcept { return reinterpret_cast<intptr_t>(widget); }

TExternalForm::TExternalForm(QWidget* form) : Form(form) {
    if (Form)
        Caption = Form->windowTitle().toStdString();
}

TExternalForm::~TExternalForm() {
    Holder.Reset();
    delete Form.data();
}

void TExternalForm::SetHolder(IExternalFormHolder* holder) {
    Holder = TComPtr<IExternalFormHolder>::Share(holder);
    if (Form && !Holder)
        Detach();
}

void TExternalForm::AttachToHolder() {
    if (!Form)
        return;
    const QPoint origin = Form->pos();
    if (Holder) {
        Form->setParent(WidgetFromHandle(Holder->GetHolderWindow()));
        Form->show();
    } else {
        Form->hide();
    }
    Form->setGeometry(origin.x(), origin.y(), Form->width(), Form->height());
}

void TExternalForm::Detach() {
    if (!Form)
        return;
    Form->hide();
    Form->setParent(nullptr);
}

void TExternalForm::GetBounds(int32_t* left, int32_t* top, int32_t* width, int32_t* height) {
    const QRect r = Form ? Form->geometry() : QRect();
    if (left)
        *left = r.left();
    if (top)
        *top = r.top();
    if (width)
        *width = r.width();
    if (height)
        *height = r.height();
}

void TExternalForm::Hide() {
    if (Form)
        Form->hide();
}

void TExternalForm::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (Form)
        Form->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void TExternalForm::SetFocus() {
    if (Form && Form->isVisible() && Form->isEnabled() && Form->focusPolicy() != Qt::NoFocus)
        Form->setFocus();
}

void TExternalForm::Show() {
    if (Form)
        Form->show();
}

}  // namespace tarnwick
