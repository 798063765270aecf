// One harbinet per user: a later start hands its files over a local socket to the one that
// runs. Each case uses a socket of its own in a folder of its own.

#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <future>

#include "hostapp/single_instance.h"

namespace harbinet {

namespace {

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Hands over from another thread, as another process would, while this one serves.
    bool HandOverWhileServing(const QStringList& files) {
        auto handOver = std::async(std::launch::async, [&] { return TSingleInstance(name).HandOver(files); });
        while (handOver.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return handOver.get();
    }

    const std::string folder = testing::TempDir() + "harbinet-instance-" +
                               testing::UnitTest::GetInstance()->current_test_info()->name();
    const QString name = QString::fromStdString(folder) + "/socket";
};

TEST_F(SingleInstanceTest, WithNoneRunningAStartDoesNotHandOver) {
    EXPECT_FALSE(TSingleInstance(name).HandOver({"/a.edf"}, 1000));
}

TEST_F(SingleInstanceTest, TheRunningOneReceivesTheFilesOfALaterStart) {
    TSingleInstance first(name);
    QString error;
    ASSERT_TRUE(first.Listen(error)) << error.toStdString();
    QSignalSpy received(&first, &TSingleInstance::FilesReceived);

    const QStringList files = {"/nets/with blanks.edf", QString::fromUtf8("/nets/été.edn"), "/nets/link.edo"};
    EXPECT_TRUE(HandOverWhileServing(files));
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received[0][0].toStringList(), files);

    // A start without files hands over too (the running window comes to the front).
    EXPECT_TRUE(HandOverWhileServing({}));
    ASSERT_EQ(received.count(), 2);
    EXPECT_TRUE(received[1][0].toStringList().isEmpty());
}

TEST_F(SingleInstanceTest, ASocketLeftBehindIsTakenOver) {
    std::ofstream(name.toStdString()) << "left behind";
    TSingleInstance first(name);
    QString error;
    ASSERT_TRUE(first.Listen(error)) << error.toStdString();
    QSignalSpy received(&first, &TSingleInstance::FilesReceived);
    EXPECT_TRUE(HandOverWhileServing({"/a.edf"}));
    EXPECT_EQ(received.count(), 1);
}

TEST_F(SingleInstanceTest, APeerThatIsNoHarbinetIsCutOffAndOpensNothing) {
    TSingleInstance first(name);
    QString error;
    ASSERT_TRUE(first.Listen(error)) << error.toStdString();
    QSignalSpy received(&first, &TSingleInstance::FilesReceived);

    // Bytes of another protocol, and a right start announcing far more than any list of paths.
    const QByteArray hugeLength("HBN1\xff\xff\xff\xff/a.edf", 14);
    for (const QByteArray& message : {QByteArray(64, 'x'), hugeLength}) {
        QLocalSocket stranger;
        stranger.connectToServer(name);
        ASSERT_TRUE(stranger.waitForConnected(1000));
        stranger.write(message);
        stranger.flush();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, 5000));
    }
    EXPECT_EQ(received.count(), 0);

    // The next real start is still served.
    EXPECT_TRUE(HandOverWhileServing({"/a.edf"}));
    EXPECT_EQ(received.count(), 1);
}

}  // namespace

}  // namespace harbinet
