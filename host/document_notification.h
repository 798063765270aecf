#pragma once
// A notification about a document: code 4 when its path changed (text = old path), code 5 when
// the text editor preferences changed.

#include <string>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"

namespace tarnwick {

constexpr int32_t kNotifyFileNameChanged = 4;
constexpr int32_t kNotifyPreferencesChanged = 5;

class TDocumentNotification final : public TInterfacedObject, public IDocumentNotification {
public:
    TDocumentNotification(int32_t code, IServerDocument* document, std::string text = {})
        : Code(code), Document(TComPtr<IServerDocument>::Share(document)), Text(std::move(text)) {}

    int32_t QueryInterface(const TGUID& iid, void** out) override {
        const bool found = OfferInterface<IDocumentNotification>(iid, out, this) ||
                           OfferInterface<INotification>(iid, out, this, TAnswersUnknown::Yes);
        return QueryResult(found, out);
    }
    int32_t AddRef() override { return AddReference(); }
    int32_t Release() override { return ReleaseReference(); }

    int32_t GetCode() override { return Code; }
    IServerDocument* GetDocument() override { return TComPtr<IServerDocument>(Document).Detach(); }
    const char* GetNotificationText() override { return Text.c_str(); }

    const int32_t Code;
    const TComPtr<IServerDocument> Document;
    const std::string Text;
};

// Sends a new notification to every module through the process-wide client, if there is one.
void BroadcastDocumentNotification(int32_t code, IServerDocument* document, std::string text = {});

}  // namespace tarnwick
