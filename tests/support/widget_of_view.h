#pragma once
// The widget of a document's view, found through the view's window handle as the host would
// embed it, or nullptr when the view is missing or its window is of another class.

#include <QWidget>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"

namespace tarnwick {

template <class Widget>
Widget* WidgetOfView(IServerDocument& document, int32_t index) {
    const auto view = TComPtr<IServerDocumentView>::Adopt(document.GetView(index));
    return view ? dynamic_cast<Widget*>(reinterpret_cast<QWidget*>(view->GetWindowHandle())) : nullptr;
}

}  // namespace tarnwick
