#pragma once
// A plug-in window that the host embeds into one of its own (a document tab or a side panel).
// The object owns the window; the host positions it through the holder.

#include <QPointer>
#include <QWidget>
#include <string>

#include "host/abi/client_interfaces.h"
#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"

namespace tarnwick {

// The window behind an interface handle: a QWidget* of this process.
QWidget* WidgetFromHandle(intptr_t handle) noexcept;
intptr_t HandleOfWidget(QWidget* widget) noexcept;

// Implements the IExternalForm slots of a view; the view classes add the rest.
class TExternalForm : public TInterfacedObject, public IServerDocumentView {
public:
    ~TExternalForm() override;

    int32_t AddRef() override { return AddReference(); }
    int32_t Release() override { return ReleaseReference(); }

    void SetHolder(IExternalFormHolder* holder) override;
    void AttachToHolder() override;
    void Detach() override;
    void GetBounds(int32_t* left, int32_t* top, int32_t* width, int32_t* height) override;
    const char* GetCaption() override { return Caption.c_str(); }
    intptr_t GetWindowHandle() override { return HandleOfWidget(Form); }
    void Hide() override;
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void SetFocus() override;
    void Show() override;

    [[nodiscard]] QWidget* Window() const noexcept { return Form; }

protected:
    explicit TExternalForm(QWidget* form);

    std::string Caption;
    TComPtr<IExternalFormHolder> Holder;
    QPointer<QWidget> Form;  // owned; QPointer because a holder may delete its children first
};

}  // namespace tarnwick
