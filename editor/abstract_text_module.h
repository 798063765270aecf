#pragma once
// The module base of the host's text editors: it keeps the shared preferences file current and
// passes a preferences change on to its documents.

#include <chrono>
#include <string>

#include "editor/file_result.h"
#include "host/server_module.h"

namespace tarnwick {

class TAbstractTextModule : public TServerModule {
public:
    // Sets PreferencesFileName (making its folder) and reads GlobalPreferences from it.
    TAbstractTextModule(IClient* client, std::string moduleName);

    // Code 5 (text editor preferences changed): re-reads the file when another module made the
    // change, then has every document that offers ITextContent apply the preferences again.
    void ReceiveNotification(INotification* notification) override;
    // Gives the text documents, one after another, a slice of background work (indexing their
    // netlists) that ends within kIdleSlice, so the host's input never waits longer.
    void ApplicationIdle() override;
    static constexpr std::chrono::milliseconds kIdleSlice{15};

    // How the last setting up or reading of the preferences file went, for the caller to show;
    // on a failure the module goes on with the preferences it has in memory.
    [[nodiscard]] const TFileResult& PreferencesFileStatus() const noexcept { return preferencesStatus_; }

private:
    bool CameFromThisModule(IDocumentNotification& notification);

    TFileResult preferencesStatus_;
};

}  // namespace tarnwick
