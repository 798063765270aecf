// Documents, views and their windows, notifications and the streams documents read through.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "host/document_notification.h"
#include "host/host_functions.h"
#include "host/host_stream.h"
#include "host/server_document.h"
#include "host/server_document_view.h"
#include "host/server_view_form.h"
#include "tests/host/recording_client.h"
#include "tests/support/string_stream.h"

namespace tarnwick {

namespace {

class TwoViewDocument final : public TServerDocument {
public:
    TwoViewDocument(IServerModule* module, std::string file)
        : TServerDocument(module, std::move(file), "K") {}
    QWidget* editor = nullptr;
    TServerViewForm* panel = nullptr;

private:
    void BuildViews() override {
        editor = new QWidget;
        panel = new TServerViewForm;
        auto a = TComPtr<IServerDocumentView>::Share(
            new TServerDocumentView(kPanelViewFlag, panel, this, "SearchPanel"));
        auto b = TComPtr<IServerDocumentView>::Share(
            new TServerDocumentView(kEditingViewFlag, editor, this, "Editor"));
        AttachView(a.Get());
        AttachView(b.Get());
    }
};

class Holder final : public IExternalFormHolder {
public:
    std::unique_ptr<QWidget> owned = std::make_unique<QWidget>();
    QWidget& window = *owned;
    int32_t QueryInterface(const TGUID& iid, void** out) override {
        return QueryResult(OfferInterface<IExternalFormHolder>(iid, out, this), out);
    }
    int32_t AddRef() override { return 1; }
    int32_t Release() override { return 1; }
    intptr_t GetHolderWindow() override { return reinterpret_cast<intptr_t>(&window); }
};

TEST(ServerDocumentTest, BuildsItsViewsAndFindsThemIgnoringCase) {
    auto doc = TServerDocument::Create<TwoViewDocument>(nullptr, "/tmp/a.txt");
    EXPECT_EQ(doc->GetViewCount(), 2);
    auto found = TComPtr<IServerDocumentView>::Adopt(doc->FindView("EDITOR"));
    ASSERT_TRUE(found);
    EXPECT_STREQ(found->GetViewName(), "Editor");
    EXPECT_EQ(found->IsPanel(), kEditingViewFlag);
    EXPECT_STREQ(found->GetDocumentKind(), "K");
    EXPECT_EQ(doc->FindView("Nothing"), nullptr);
    EXPECT_EQ(doc->GetView(2), nullptr);
    // A panel keeps its own help; an editing view leaves help keys to the editor.
    EXPECT_TRUE(doc->panel->HelpEnabled);
}

struct RenameCase {
    const char* name;
    const char* from;
    const char* to;
    bool broadcasts;
};

class SetFileNameTest : public testing::TestWithParam<RenameCase> {};

TEST_P(SetFileNameTest, BroadcastsCode4WithTheOldPathUnlessATemporaryFileIsInvolved) {
    const RenameCase& c = GetParam();
    RecordingClient client;
    auto doc = TServerDocument::Create<TwoViewDocument>(nullptr, c.from);
    doc->SetFileName(c.to);
    EXPECT_STREQ(doc->GetFileName(), c.to);
    ASSERT_EQ(client.broadcasts.size(), c.broadcasts ? 1u : 0u);
    if (c.broadcasts) {
        EXPECT_EQ(client.broadcasts[0].code, kNotifyFileNameChanged);
        EXPECT_EQ(client.broadcasts[0].text, c.from);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, SetFileNameTest,
                         testing::Values(RenameCase{"Plain", "a.txt", "b.txt", true},
                                         RenameCase{"FromTemporary", "a.$$$", "a.txt", false},
                                         RenameCase{"ToTemporary", "a.txt", "a.$$$", false},
                                         RenameCase{"DollarsInFolderOnly", "/x.$$$/a", "/x.$$$/b", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExternalFormTest, AttachesToTheHolderAndDetachesWhenItGoes) {
    auto doc = TServerDocument::Create<TwoViewDocument>(nullptr, "/tmp/a.txt");
    auto view = TComPtr<IServerDocumentView>::Adopt(doc->GetView(1));
    Holder holder;
    holder.window.show();

    view->SetHolder(&holder);
    view->AttachToHolder();
    EXPECT_EQ(doc->editor->parentWidget(), &holder.window);
    EXPECT_TRUE(doc->editor->isVisible());

    view->SetBounds(1, 2, 30, 40);
    int32_t l = 0, t = 0, w = 0, h = 0;
    view->GetBounds(&l, &t, &w, &h);
    EXPECT_EQ(std::tuple(l, t, w, h), std::tuple(1, 2, 30, 40));

    view->SetHolder(nullptr);
    EXPECT_EQ(doc->editor->parentWidget(), nullptr);
    EXPECT_FALSE(doc->editor->isVisible());

    view->AttachToHolder();  // without a holder the window stays hidden
    EXPECT_FALSE(doc->editor->isVisible());
}

TEST(ExternalFormTest, AHolderThatDeletesTheWindowFirstLeavesNoDanglingWindow) {
    auto doc = TServerDocument::Create<TwoViewDocument>(nullptr, "/tmp/a.txt");
    auto view = TComPtr<IServerDocumentView>::Adopt(doc->GetView(1));
    Holder holder;
    view->SetHolder(&holder);
    view->AttachToHolder();
    holder.owned.reset();  // the holder's window deletes its child, our form
    view->Hide();
    EXPECT_EQ(view->GetWindowHandle(), 0);
    view->SetHolder(nullptr);
}

TEST(VfsStreamTest, WithoutHostFunctionsEveryOperationAnswersFailure) {
    UnbindHostFunctions();
    TVFS_Stream stream("/etc/hostname", kStreamOpenRead);
    char buffer[8];
    EXPECT_EQ(stream.Handle, 0);
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), -1);
    EXPECT_EQ(stream.Write(buffer, sizeof buffer), -1);
    EXPECT_EQ(stream.Seek(0, kSeekFromStart), -1);
    stream.SetSize(0);
    EXPECT_FALSE(HostApi::FileExists("/etc/hostname"));
}

TEST(IStreamAdapterTest, ReadsWritesAndSeeksThroughTheStream) {
    StringStream com;
    com.data = "hello";
    TIStreamAdapter adapter(&com);
    char buffer[8] = {};
    EXPECT_EQ(adapter.Read(buffer, 8), 5);
    EXPECT_EQ(adapter.Write("!", 1), 1);
    EXPECT_EQ(adapter.Seek(1, kSeekFromStart), 1);
    com.failSeek = true;  // a failed seek answers where the stream is
    EXPECT_EQ(adapter.Seek(3, kSeekFromStart), 1);
}

TEST(IStreamAdapterTest, ReportsAnUnknownOriginAndAFailedResize) {
    StringStream com;
    TIStreamAdapter adapter(&com);
    try {
        adapter.Seek(0, 3);
        FAIL() << "no error";
    } catch (const EHostStreamError& e) {
        EXPECT_STREQ(e.what(), "Unknown seek origin");
    }
    try {
        adapter.SetSize(10);
        FAIL() << "no error";
    } catch (const EHostStreamError& e) {
        EXPECT_STREQ(e.what(), "Error setting stream size");
    }
}

}  // namespace

}  // namespace tarnwick
