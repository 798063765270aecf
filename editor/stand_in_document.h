#pragma once
// A plain text document: a simple editor view and an empty side panel, read and written
// through the host's file streams. It serves until the full text document takes its place.

#include "host/server_document.h"

class QPlainTextEdit;

class TStandInDocument final : public TServerDocument {
public:
    int32_t LoadDocument() override;
    int32_t SaveDocument(const char* name) override;
    int32_t IsUnchanged() override;
    int32_t GetDocumentModified() override;
    void SetDocumentModified(int32_t modified) override;

private:
    friend class TServerDocument;
    TStandInDocument(IServerModule* module, std::string fileName, std::string kind)
        : TServerDocument(module, std::move(fileName), std::move(kind)) {}
    void BuildViews() override;

    QPlainTextEdit* editor_ = nullptr;  // owned by the editing view's window
};
