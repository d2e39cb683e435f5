#include "RegularFile.h"
#include "Resources.h"
#include "Threads.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        char name[] = "/tmp/ombrelle-test-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};
}  // namespace

TEST(RegularFile, ReadsPlainFilesAndRefusesOthers)
{
    TempDir dir;
    String plain = (dir.path / "a.bin").string();
    WriteFileAtomically(plain, "12345", 5);
    std::vector<uint8_t> data = ReadRegularFile(plain, 5);
    EXPECT_EQ(String(data.begin(), data.end()), "12345");
    EXPECT_THROW(ReadRegularFile(plain, 4), EReadError);
    String fifo = (dir.path / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(ReadRegularFile(fifo, 100), EFOpenError);  // returns at once, no writer needed
    EXPECT_THROW(ReadRegularFile("/dev/zero", 100), EFOpenError);
    EXPECT_THROW(ReadRegularFile(dir.path.string(), 100), EFOpenError);
    EXPECT_THROW(ReadRegularFile((dir.path / "missing").string(), 100), EFOpenError);
}

TEST(MainThreadQueue, RunsPostsOnTheUserInterfaceThreadAndDropsThemWhenGone)
{
    std::vector<bool> ranOnMain;
    {
        TMainThreadQueue queue;
        std::thread worker([&] { queue.Post([&] { ranOnMain.push_back(IsMainThread()); }); });
        worker.join();
        QDeadlineTimer deadline(10000);
        while (ranOnMain.empty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        queue.Post([&] { ranOnMain.push_back(false); });
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(ranOnMain.size(), 1u);
    EXPECT_TRUE(ranOnMain[0]);
}

TEST(Resources, MissingResourcesAreNotFound)
{
    std::vector<uint8_t> data;
    EXPECT_FALSE(LoadResourceData("NO SUCH RESOURCE", data));
}
