#pragma once
// A document double that answers every IServerDocument operation with nothing: no views, no
// file, unchanged. Tests derive from it and override what they watch. It is not counted.

#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"

class NullServerDocument : public IServerDocument {
public:
    int32_t QueryInterface(const TGUID& iid, void** out) override {
        return QueryResult(OfferInterface<IServerDocument>(iid, out, this), out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    void AttachView(IServerDocumentView*) override {}
    void SetDocumentModified(int32_t) override {}
    void SetHostValueA(int32_t) override {}
    void SetHostValueB(int32_t) override {}
    void DocumentReserved7() override {}
    int32_t LoadDocument() override { return kTrue; }
    int32_t SaveDocument(const char*) override { return kTrue; }
    int32_t IsUnchanged() override { return kTrue; }
    int32_t GetViewCount() override { return 0; }
    const char* GetFileName() override { return ""; }
    int32_t SetFileName(const char*) override { return 0; }
    const char* GetKind() override { return ""; }
    int32_t GetDocumentModified() override { return kFalse; }
    int32_t GetHostValueA() override { return 0; }
    int32_t GetHostValueB() override { return 0; }
    IServerModule* GetServerModule() override { return nullptr; }
    IServerDocumentView* GetView(int32_t) override { return nullptr; }
    IServerDocumentView* FindView(const char*) override { return nullptr; }
    void NotifyViews(INotification*) override {}
};
