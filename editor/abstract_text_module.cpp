#include "editor/abstract_text_module.h"

#include "editor/preferences_file.h"
#include "editor/text_document.h"
#include "editor/text_editor_preferences.h"
#include "host/abi/parameter_list.h"
#include "host/abi/text_interfaces.h"
#include "host/document_notification.h"

namespace tarnwick {

TAbstractTextModule::TAbstractTextModule(IClient* client, std::string moduleName)
    : TServerModule(client, std::move(moduleName)) {
    preferencesStatus_ = SetPreferencesFileName();
    TFileResult read = GlobalPreferences.Read();
    if (preferencesStatus_.IsOk())
        preferencesStatus_ = std::move(read);
}

void TAbstractTextModule::ReceiveNotification(INotification* notification) {
    const auto note = TComPtr<INotification>::Share(notification).As<IDocumentNotification>();
    if (!note || note->GetCode() != kNotifyPreferencesChanged)
        return;
    try {
        // The sender's own module already holds the new preferences; others only see the file.
        if (!CameFromThisModule(*note))
            preferencesStatus_ = GlobalPreferences.Read();

        const std::vector<TComPtr<IServerDocument>> documents = Documents;  // a refresh may close one
        for (const auto& document : documents)
            if (const auto content = document.As<ITextContent>())
                content->ReapplyPreferences();
    } catch (...) {
        // Called by the host: nothing may escape. The documents keep the preferences they show.
    }
}

void TAbstractTextModule::ApplicationIdle() {
    TServerModule::ApplicationIdle();
    const auto deadline = std::chrono::steady_clock::now() + kIdleSlice;
    const std::vector<TComPtr<IServerDocument>> documents = Documents;  // kept alive meanwhile
    for (const auto& document : documents) {
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        if (auto* text = dynamic_cast<TTextDocument*>(document.Get()))
            text->RunIdleSlice(deadline);
    }
}

// Module names compare ignoring case; a notification without a document or module is foreign.
bool TAbstractTextModule::CameFromThisModule(IDocumentNotification& notification) {
    const auto document = TComPtr<IServerDocument>::Adopt(notification.GetDocument());
    if (!document)
        return false;
    const auto owner = TComPtr<IServerModule>::Adopt(document->GetServerModule());
    const char* ownerName = owner ? owner->GetModuleName() : nullptr;
    return ownerName && SameParameterName(ownerName, ModuleName);
}

}  // namespace tarnwick
