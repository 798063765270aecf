// The host link inside one process: command launcher, process counter, module bookkeeping,
// unbound host functions, and the interfaces' slot numbers.

#include <gtest/gtest.h>

#include <cstring>

#include "host/abi/client_interfaces.h"
#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"
#include "host/abi/server_interfaces.h"
#include "host/abi/stream_interfaces.h"
#include "host/abi/text_interfaces.h"
#include "host/command_launcher.h"
#include "host/host_functions.h"
#include "host/host_stream.h"
#include "host/process_control.h"
#include "host/server_module.h"
#include "tests/support/null_server_document.h"

namespace tarnwick {

namespace {

// Itanium C++ ABI: a pointer to a virtual member function holds 1 + the vtable offset in bytes.
template <class F>
long SlotOf(F member) {
    struct Representation {
        std::uintptr_t ptr;
        std::ptrdiff_t adj;
    } rep{};
    static_assert(sizeof(member) == sizeof(rep));
    std::memcpy(&rep, &member, sizeof rep);
    return static_cast<long>((rep.ptr - 1) / sizeof(void*));
}

TEST(InterfaceSlotsTest, NamedOperationsLandOnTheirSlots) {
    EXPECT_EQ(SlotOf(&IUnknownBase::Release), 2);
    EXPECT_EQ(SlotOf(&IClient::BroadcastNotification), 4);
    EXPECT_EQ(SlotOf(&IClient::GetHelpOwnerWindow), 9);
    EXPECT_EQ(SlotOf(&IClient::GetCurrentView), 13);
    EXPECT_EQ(SlotOf(&IClient::GetOwnerWindow), 15);
    EXPECT_EQ(SlotOf(&IClient::GetUserInterface), 17);
    EXPECT_EQ(SlotOf(&IClient::OpenDocument), 24);
    EXPECT_EQ(SlotOf(&IClient::ShowDocument), 31);
    EXPECT_EQ(SlotOf(&IClient::GetServerFileName), 39);
    EXPECT_EQ(SlotOf(&IClientUserInterface::AddKeyStroke), 5);
    EXPECT_EQ(SlotOf(&IClientUserInterface::SetStatusText), 12);
    EXPECT_EQ(SlotOf(&IProcessLauncher::RunProcess), 4);
    EXPECT_EQ(SlotOf(&IServerModule::GetView), 15);
    EXPECT_EQ(SlotOf(&IServerModule::ModuleReserved16), 16);
    EXPECT_EQ(SlotOf(&IProcessControl::SetProcessDepth), 6);
    EXPECT_EQ(SlotOf(&IServerDocument::NotifyViews), 21);
    EXPECT_EQ(SlotOf(&IExternalForm::Show), 12);
    EXPECT_EQ(SlotOf(&IServerView::ReceiveViewNotification), 16);
    EXPECT_EQ(SlotOf(&IServerDocumentView::GetOwnerDocument), 17);
    EXPECT_EQ(SlotOf(&INotification::GetNotificationText), 5);
    EXPECT_EQ(SlotOf(&IStream::Clone), 13);
    EXPECT_EQ(SlotOf(&ITextContent::AnnouncePreferencesChanged), 10);
    EXPECT_EQ(SlotOf(&IModelPropertiesEditor::EditModelProperties), 3);
}

TEST(InterfaceSlotsTest, TextEditorCommandsSpanSlots3To139) {
    EXPECT_EQ(SlotOf(&ITextEditorCommands::DeleteSelection), 3);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::ClearBookmark10), 5);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::ExternalRequest), 26);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::SelectWindowTop), 54);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::InsertText), 65);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::CaretTextEnd), 84);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::CaretDocumentEnd), 87);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::Reload), 99);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::SetLineText), 118);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::SetWrapMode), 132);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::CanCopy), 134);
    EXPECT_EQ(SlotOf(&ITextEditorCommands::IsWrapMode), 139);
}

TEST(CommandLauncherTest, MatchesTheWholeNameIgnoringCaseAndKeepsTheFirstHandler) {
    TCommandLauncher launcher;
    launcher.RegisterCommand("ViewError", [](IServerView*, char*, int32_t) { return 1; });
    launcher.RegisterCommand("viewerror", [](IServerView*, char*, int32_t) { return 2; });
    char params[16] = "";
    EXPECT_EQ(launcher.LaunchCommand("viewerror", params, sizeof params, nullptr), 1);
    EXPECT_EQ(launcher.LaunchCommand("VIEWERROR", params, sizeof params, nullptr), 1);
    EXPECT_EQ(launcher.LaunchCommand("Tarnwick:ViewError", params, sizeof params, nullptr), 0);
    EXPECT_EQ(launcher.LaunchCommand(nullptr, params, sizeof params, nullptr), 0);
}

TEST(CommandLauncherTest, AThrowingHandlerAnswersZero) {
    TCommandLauncher launcher;
    launcher.RegisterCommand("Boom", [](IServerView*, char*, int32_t) -> int32_t { throw 1; });
    EXPECT_EQ(launcher.LaunchCommand("boom", nullptr, 0, nullptr), 0);
}

TEST(CommandLauncherTest, StateIsPresetAndTheStatusHandlerMayChangeIt) {
    TCommandLauncher launcher;
    launcher.RegisterCommand("Plain", [](IServerView*, char*, int32_t) { return 1; });
    launcher.RegisterCommand(
        "Checked", [](IServerView*, char*, int32_t) { return 1; },
        [](IServerView*, char*, int32_t*, int32_t* b, int32_t*, uint8_t*, uint8_t*) { *b = -1; });
    for (const char* name : {"Plain", "Unknown"}) {
        int32_t a = 7, b = 7, c = 7;
        uint8_t d = 7, e = 7;
        launcher.GetCommandState(name, nullptr, nullptr, &a, &b, &c, &d, &e);
        EXPECT_EQ(std::tuple(a, b, c, d, e), std::tuple(-1, 0, -1, 0, 0)) << name;
    }
    int32_t a = 7, b = 7, c = 7;
    uint8_t d = 7, e = 7;
    launcher.GetCommandState("checked", nullptr, nullptr, &a, &b, &c, &d, &e);
    EXPECT_EQ(b, -1);
}

// A closing object may lend itself out from its destructor; the borrower's AddRef and
// Release must not destroy it a second time.
TEST(InterfacedObjectTest, ReferencesTakenWhileItIsDestroyedDoNotDestroyItAgain) {
    struct TLent final : TInterfacedObject {
        int* destroyed;
        explicit TLent(int* count) : destroyed(count) {}
        ~TLent() override {
            AddReference();
            ReleaseReference();
            ++*destroyed;
        }
        void Take() { AddReference(); }
        void Give() { ReleaseReference(); }
    };
    int destroyed = 0;
    auto* object = new TLent(&destroyed);
    object->Take();
    object->Give();
    EXPECT_EQ(destroyed, 1);
}

TEST(ProcessControlTest, CountsEntriesAndMayGoBelowZero) {
    TProcessControl control;
    control.EnterProcess(nullptr, 0);
    control.EnterProcess(nullptr, 0);
    control.LeaveProcess(nullptr, 0);
    EXPECT_EQ(control.GetProcessDepth(), 1);
    control.SetProcessDepth(0);
    control.LeaveProcess(nullptr, 0);
    EXPECT_EQ(control.GetProcessDepth(), -1);
}

// A document that only counts references, to watch the module keep and drop it.
class CountedDocument final : public NullServerDocument {
public:
    int32_t refs = 0;
    int32_t AddRef() override { return ++refs; }
    int32_t Release() override { return --refs; }
};

class TestModule final : public TServerModule {
public:
    CountedDocument* next = nullptr;
    TestModule() : TServerModule(nullptr, "Test") {}

private:
    TComPtr<IServerDocument> NewDocument(const std::string&, const std::string&) override {
        return TComPtr<IServerDocument>::Share(next);
    }
};

TEST(ServerModuleTest, KeepsCreatedDocumentsUntilDestroyed) {
    CountedDocument document;
    auto module = TComPtr<TestModule>::Share(new TestModule);
    EXPECT_EQ(module->CreateDocument("K", "f"), nullptr);  // the factory made none
    EXPECT_EQ(module->GetDocumentCount(), 0);

    module->next = &document;
    IServerDocument* created = module->CreateDocument("K", "f");
    ASSERT_EQ(created, &document);
    EXPECT_EQ(document.refs, 2);  // the module's and the caller's
    created->Release();
    EXPECT_EQ(module->GetDocumentCount(), 1);
    EXPECT_EQ(module->GetDocument(5), nullptr);

    module->DestroyDocument(&document);
    EXPECT_EQ(module->GetDocumentCount(), 0);
    EXPECT_EQ(document.refs, 0);
}

TEST(HostFunctionsTest, UnboundFunctionsDoNothingAndAnswerEmpty) {
    BindHostFunctions([](const char*) -> void* { return nullptr; });
    EXPECT_FALSE(HostApi::FileExists("/"));
    EXPECT_EQ(HostApi::ExtractFileDirFromPath("/a/b.edf"), "");
    EXPECT_EQ(HostApi::ExtractFileNameFromPath("/a/b.edf"), "");
    EXPECT_EQ(HostApi::ForceFileNameExtension("/a/b.edf", "syn"), "");
    EXPECT_EQ(HostApi::ExtractFileExt("/a/b.edf"), "");
    EXPECT_EQ(HostApi::GetFileEditorName("/a/b.edf"), "");
    EXPECT_EQ(HostApi::ChangeFileName("/a/b.edf", "c"), "");
    UnbindHostFunctions();
}

extern "C" void WriteUnterminated(const char*, char* result) {
    std::memset(result, 'x', kHostPathCapacity);  // a careless host fills the whole buffer
}

TEST(HostFunctionsTest, AResultWithoutTerminatorIsCutAtTheBuffer) {
    BindHostFunctions([](const char* name) -> void* {
        return std::strcmp(name, "ClientAPI_ExtractFileDirFromPath") == 0
                   ? reinterpret_cast<void*>(&WriteUnterminated)
                   : nullptr;
    });
    EXPECT_EQ(HostApi::ExtractFileDirFromPath("p").size(), kHostPathCapacity);
    UnbindHostFunctions();
}

// A host whose streams are recorded; StreamClose answers closeAnswer when it is exported.
struct FakeStreamHost {
    static inline int destroyed = 0;
    static inline int closed = 0;
    static inline int32_t closeAnswer = 0;
    static int32_t Create(const char* path, int32_t) { return std::strcmp(path, "refused") == 0 ? 0 : 7; }
    static void Destroy(int32_t) { ++destroyed; }
    static int32_t Close(int32_t) {
        ++closed;
        return closeAnswer;
    }
    static void Bind(bool withClose) {
        destroyed = closed = 0;
        BindHostFunctions([withClose](const char* name) -> void* {
            if (std::strcmp(name, "VFSAPI_VFS_StreamCreate") == 0)
                return reinterpret_cast<void*>(&Create);
            if (std::strcmp(name, "VFSAPI_VFS_StreamDestroy") == 0)
                return reinterpret_cast<void*>(&Destroy);
            if (withClose && std::strcmp(name, "VFSAPI_VFS_StreamClose") == 0)
                return reinterpret_cast<void*>(&Close);
            return nullptr;
        });
    }
};

TEST(VfsStreamCloseTest, TheHostsAnswerAtCloseReachesTheWriter) {
    for (const int32_t answer : {kFalse, kTrue}) {
        FakeStreamHost::Bind(true);
        FakeStreamHost::closeAnswer = answer;
        {
            TVFS_Stream stream("/a/b.edf", kStreamCreateWrite);
            EXPECT_EQ(stream.Close(), answer != 0);
            EXPECT_FALSE(stream.Close()) << "a closed stream has nothing left to close";
        }
        EXPECT_EQ(FakeStreamHost::closed, 1);
        EXPECT_EQ(FakeStreamHost::destroyed, 0) << "closing finished the stream";
    }
    UnbindHostFunctions();
}

TEST(VfsStreamCloseTest, ARefusedStreamNeverClosesAsASuccess) {
    FakeStreamHost::Bind(true);
    TVFS_Stream stream("refused", kStreamCreateWrite);
    EXPECT_FALSE(stream.Close());
    EXPECT_EQ(FakeStreamHost::closed, 0);
    UnbindHostFunctions();
}

TEST(VfsStreamCloseTest, AHostWithoutStreamCloseIsDestroyedOnceAndTrusted) {
    FakeStreamHost::Bind(false);
    {
        TVFS_Stream stream("/a/b.edf", kStreamCreateWrite);
        EXPECT_TRUE(stream.Close());
    }
    EXPECT_EQ(FakeStreamHost::destroyed, 1);
    UnbindHostFunctions();
}

}  // namespace

}  // namespace tarnwick
