#pragma once
// A text document with the engine's editor view coloured by the file's language, and an empty
// side panel, read and written through the host's file streams. It serves until the full text
// document, with its window, search panel and commands, takes its place.

#include <QPointer>
#include <memory>

#include "code_templates.h"
#include "host/server_document.h"

namespace tarnwick {
class TDCMemo;
class TSyntaxParser;
}  // namespace tarnwick

class TStandInDocument final : public TServerDocument {
public:
    ~TStandInDocument() override;

    int32_t LoadDocument() override;
    int32_t SaveDocument(const char* name) override;
    int32_t IsUnchanged() override;
    int32_t GetDocumentModified() override;
    void SetDocumentModified(int32_t modified) override;

private:
    friend class TServerDocument;
    TStandInDocument(IServerModule* module, std::string fileName, std::string kind);
    void BuildViews() override;
    void ApplyLanguage();

    std::unique_ptr<tarnwick::TSyntaxParser> parser_;
    tarnwick::TMemoCodeTemplates templates_;  // the language's code templates, for Ctrl+J
    QPointer<tarnwick::TDCMemo> view_;         // owned by the editing view's window
};
