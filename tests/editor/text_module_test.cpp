// The text module's side of the preferences: read when the module is made, and passed on to
// its documents when a code-5 notification arrives.

#include "editor/abstract_text_module.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "host/abi/text_interfaces.h"
#include "tests/editor/temp_config_folder.h"
#include "tests/support/null_server_document.h"

namespace tarnwick {

namespace {

// A text module whose documents are the doubles queued for it.
class QueuedDocumentsModule final : public TAbstractTextModule {
public:
    explicit QueuedDocumentsModule(const char* name) : TAbstractTextModule(nullptr, name) {}
    std::deque<IServerDocument*> queued;

private:
    TComPtr<IServerDocument> NewDocument(const std::string&, const std::string&) override {
        IServerDocument* next = queued.front();
        queued.pop_front();
        return TComPtr<IServerDocument>::Share(next);
    }
};

TComPtr<QueuedDocumentsModule> MakeModule(const char* name) {
    return TComPtr<QueuedDocumentsModule>::Share(new QueuedDocumentsModule(name));
}

// A document that belongs to owner, counts how often it is asked to re-apply the preferences,
// and offers ITextContent only when told to. Its lifetime is the test's: declare it before the
// modules that hold it, so they release it while it still exists.
class DocumentDouble final : public NullServerDocument, public ITextContent {
public:
    explicit DocumentDouble(bool offersTextContent) : offersTextContent_(offersTextContent) {}
    IServerModule* owner = nullptr;
    int reapplied = 0;

    int32_t QueryInterface(const TGUID& iid, void** out) override {
        const bool found = OfferInterface<IServerDocument>(iid, out, this) ||
                           (offersTextContent_ && OfferInterface<ITextContent>(iid, out, this));
        return QueryResult(found, out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    IServerModule* GetServerModule() override {
        if (owner)
            owner->AddRef();
        return owner;
    }
    void ReapplyPreferences() override { ++reapplied; }

    int32_t GetLineCount() override { return 0; }
    void GetLine(int32_t, char* buffer) override { buffer[0] = '\0'; }
    void SetLine(int32_t, const char*) override {}
    void SaveLinesToFile(const char*) override {}
    void SaveLinesToStream(IStream*) override {}
    void LoadLinesFromStream(IStream*) override {}
    void AnnouncePreferencesChanged() override {}

private:
    bool offersTextContent_;
};

class NotificationDouble final : public IDocumentNotification {
public:
    NotificationDouble(int32_t code, IServerDocument* document, bool aboutADocument)
        : code_(code), document_(document), aboutADocument_(aboutADocument) {}

    int32_t QueryInterface(const TGUID& iid, void** out) override {
        const bool found = OfferInterface<INotification>(iid, out, this) ||
                           (aboutADocument_ && OfferInterface<IDocumentNotification>(iid, out, this));
        return QueryResult(found, out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    int32_t GetCode() override { return code_; }
    IServerDocument* GetDocument() override { return document_; }
    const char* GetNotificationText() override { return ""; }

private:
    int32_t code_;
    IServerDocument* document_;
    bool aboutADocument_;
};

enum class Sender { ThisModule, SameNameOtherCase, OtherModule, NoModule, NoDocument };

struct NotificationCase {
    const char* name;
    int32_t code;
    bool aboutADocument;
    Sender sender;
    bool readsTheFile;
    bool refreshes;
};

class TextModuleNotificationTest : public testing::TestWithParam<NotificationCase> {
protected:
    TTempConfigFolder config;
};

TEST_P(TextModuleNotificationTest, RefreshesTextDocumentsAndReadsOnlyAnotherModulesChange) {
    const NotificationCase& c = GetParam();
    DocumentDouble first(true), withoutText(false), last(true), sender(true);
    const auto module = MakeModule("Tarnwick");
    const auto sameNameOtherCase = MakeModule("TARNWICK");
    const auto other = MakeModule("TextEdit");

    for (DocumentDouble* document : {&first, &withoutText, &last}) {
        document->owner = module.Get();
        module->queued.push_back(document);
        TComPtr<IServerDocument>::Adopt(module->CreateDocument("EDIF", "a.edn"));
    }
    sender.owner = c.sender == Sender::ThisModule          ? module.Get()
                   : c.sender == Sender::SameNameOtherCase ? sameNameOtherCase.Get()
                   : c.sender == Sender::OtherModule       ? other.Get()
                                                           : nullptr;
    NotificationDouble note(c.code, c.sender == Sender::NoDocument ? nullptr : &sender, c.aboutADocument);

    TTempConfigFolder::WriteFile(PreferencesFileName(), "[Text Preferences]\nInsertMode=False\n");
    module->ReceiveNotification(&note);

    EXPECT_EQ(GlobalPreferences.InsertMode, !c.readsTheFile);
    EXPECT_EQ(first.reapplied, c.refreshes ? 1 : 0);
    EXPECT_EQ(last.reapplied, c.refreshes ? 1 : 0);
    EXPECT_EQ(withoutText.reapplied, 0);
    EXPECT_EQ(sender.reapplied, 0);  // not one of this module's documents
}

INSTANTIATE_TEST_SUITE_P(
    Senders, TextModuleNotificationTest,
    testing::Values(NotificationCase{"FromThisModule", 5, true, Sender::ThisModule, false, true},
                    NotificationCase{"ModuleNamesIgnoreCase", 5, true, Sender::SameNameOtherCase, false,
                                     true},
                    NotificationCase{"FromAnotherModule", 5, true, Sender::OtherModule, true, true},
                    NotificationCase{"DocumentWithoutModule", 5, true, Sender::NoModule, true, true},
                    NotificationCase{"WithoutDocument", 5, true, Sender::NoDocument, true, true},
                    NotificationCase{"OtherCodesIgnored", 4, true, Sender::OtherModule, false, false},
                    NotificationCase{"NotAboutADocument", 5, false, Sender::OtherModule, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextModuleTest, ReadsThePreferencesWhenMade) {
    TTempConfigFolder config;
    TTempConfigFolder::WriteFile(PreferencesFileName(), "[Text Preferences]\nMarginWidth=72abc\n");
    const auto module = MakeModule("Tarnwick");
    EXPECT_TRUE(module->PreferencesFileStatus().IsOk());
    EXPECT_EQ(GlobalPreferences.MarginWidth, 72);
}

TEST(TextModuleTest, ReportsAFolderItCannotMakeAndKeepsWorkingFromMemory) {
    TTempConfigFolder config;
    const std::string blocker = config.Folder() + "/file";
    TTempConfigFolder::WriteFile(blocker, "");
    ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);

    DocumentDouble document(true), sender(true);
    const auto module = MakeModule("Tarnwick");
    EXPECT_FALSE(module->PreferencesFileStatus().IsOk());
    EXPECT_EQ(GlobalPreferences, TTextEditorPreferences{});
    EXPECT_FALSE(GlobalPreferences.Write().IsOk());

    document.owner = module.Get();
    module->queued.push_back(&document);
    TComPtr<IServerDocument>::Adopt(module->CreateDocument("EDIF", "a.edn"));
    const auto other = MakeModule("TextEdit");
    sender.owner = other.Get();
    NotificationDouble note(5, &sender, true);
    module->ReceiveNotification(&note);
    EXPECT_EQ(document.reapplied, 1);
}

}  // namespace

}  // namespace tarnwick
