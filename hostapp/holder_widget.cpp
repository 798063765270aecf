#include "hostapp/holder_widget.h"

#include "host/abi/interfaced_object.h"

namespace harbinet {

THolderWidget::THolderWidget(QWidget* parent) : QWidget(parent) {}

THolderWidget::~THolderWidget() { ReleaseView(); }

int32_t THolderWidget::QueryInterface(const TGUID& iid, void** out) {
    return QueryResult(OfferInterface<IExternalFormHolder>(iid, out, this, TAnswersUnknown::Yes), out);
}

void THolderWidget::Embed(IServerView* view) {
    view_ = TComPtr<IServerView>::Share(view);
    if (!view_)
        return;
    view_->SetHolder(this);
    view_->AttachToHolder();
    FitView();
}

void THolderWidget::ReleaseView() {
    if (!view_)
        return;
    view_->SetHolder(nullptr);
    view_.Reset();
}

void THolderWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitView();
}

void THolderWidget::FitView() {
    if (view_)
        view_->SetBounds(0, 0, width(), height());
}

}  // namespace harbinet
