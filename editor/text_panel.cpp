#include "editor/text_panel.h"

namespace tarnwick {

TTextPanel::TTextPanel(QWidget* owner) : QWidget(owner) {
    setObjectName("TextPanel");
    setWindowTitle("Search");
    resize(288, 564);
}

void TTextPanel::SetBoundView(IServerDocumentView* view) {
    boundView_ = TComPtr<IServerDocumentView>::Share(view);
}

}  // namespace tarnwick
