#pragma once
// A document as the host sees it: a file, the editor kind it was opened with, and its views.
// The document holds its module and its views counted; views refer back to it uncounted, and
// the host breaks the module-document cycle with DestroyDocument.

#include <string>
#include <vector>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"
#include "host/abi/server_interfaces.h"

namespace tarnwick {

class TServerDocument : public TInterfacedObject, public IServerDocument {
public:
    // Constructs a document and lets it build its views, as every document is made.
    template <class T, class... Args>
    static TComPtr<T> Create(Args&&... args) {
        auto document = TComPtr<T>::Share(new T(std::forward<Args>(args)...));
        static_cast<TServerDocument*>(document.Get())->BuildViews();
        return document;
    }

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return AddReference(); }
    int32_t Release() override { return ReleaseReference(); }

    void AttachView(IServerDocumentView* view) override;
    void SetDocumentModified(int32_t modified) override;
    void SetHostValueA(int32_t value) override { HostValueA = value; }
    void SetHostValueB(int32_t value) override { HostValueB = value; }
    void DocumentReserved7() override {}
    int32_t LoadDocument() override { return kFalse; }
    int32_t SaveDocument(const char*) override { return kFalse; }
    int32_t IsUnchanged() override { return kTrue; }
    int32_t GetViewCount() override { return static_cast<int32_t>(Views.size()); }
    const char* GetFileName() override { return FileName.c_str(); }
    int32_t SetFileName(const char* path) override;
    const char* GetKind() override { return Kind.c_str(); }
    int32_t GetDocumentModified() override { return ToBool32(DocumentModified); }
    int32_t GetHostValueA() override { return HostValueA; }
    int32_t GetHostValueB() override { return HostValueB; }
    IServerModule* GetServerModule() override;
    IServerDocumentView* GetView(int32_t index) override;
    IServerDocumentView* FindView(const char* name) override;
    void NotifyViews(INotification* note) override;

protected:
    TServerDocument(IServerModule* module, std::string fileName, std::string kind);
    // Creates the windows and views and attaches them; runs once, right after construction.
    virtual void BuildViews() = 0;

    std::string FileName;
    std::string Kind;
    bool DocumentModified = false;
    TComPtr<IServerModule> Module;
    int32_t HostValueA = 0;
    int32_t HostValueB = 0;
    std::vector<TComPtr<IServerDocumentView>> Views;
};

}  // namespace tarnwick
