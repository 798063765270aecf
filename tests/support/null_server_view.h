#pragma once
// A view double that answers its name, whether it is a panel, and its owner document, and
// nothing else. It is not counted.

#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"

class NullServerView : public IServerDocumentView {
public:
    explicit NullServerView(const char* name = "Stub", IServerDocument* owner = nullptr,
                            int32_t isPanel = kFalse)
        : name_(name), owner_(owner), isPanel_(isPanel) {}

    int32_t QueryInterface(const TGUID& iid, void** out) override {
        const bool found = OfferInterface<IServerDocumentView>(iid, out, this) ||
                           OfferInterface<IServerView>(iid, out, this);
        return QueryResult(found, out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void SetHolder(IExternalFormHolder*) override {}
    void AttachToHolder() override {}
    void Detach() override {}
    void GetBounds(int32_t*, int32_t*, int32_t*, int32_t*) override {}
    const char* GetCaption() override { return ""; }
    intptr_t GetWindowHandle() override { return 0; }
    void Hide() override {}
    void SetBounds(int32_t, int32_t, int32_t, int32_t) override {}
    void SetFocus() override {}
    void Show() override {}
    int32_t IsPanel() override { return isPanel_; }
    const char* GetViewName() override { return name_; }
    const char* GetDocumentKind() override { return ""; }
    void ReceiveViewNotification(INotification*) override {}
    // Owner doubles are not counted either, so no reference is added.
    IServerDocument* GetOwnerDocument() override { return owner_; }

private:
    const char* name_;
    IServerDocument* owner_;
    int32_t isPanel_;
};
