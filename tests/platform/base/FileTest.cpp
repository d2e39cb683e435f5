#include "Classes.h"
#include "FifoGuard.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

static std::string Slurp(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Files, AtomicWriteReplacesWholeFileAndKeepsNoTemporary)
{
    TempDir dir;
    std::string name = dir.File("data.bin");
    WriteFileAtomically(name, "first", 5);
    WriteFileAtomically(name, "second!", 7);
    EXPECT_EQ(Slurp(name), "second!");
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path()))
        entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
}

TEST(Files, ReadOnlyFileIsNotReplaced)
{
    TempDir dir;
    std::string name = dir.File("locked.bin");
    WriteFileAtomically(name, "keep", 4);
    ::chmod(name.c_str(), 0444);
    EXPECT_THROW(WriteFileAtomically(name, "lost", 4), EFCreateError);
    EXPECT_EQ(Slurp(name), "keep");
}

TEST(Files, OpenErrorsNameTheFile)
{
    TempDir dir;
    try {
        TFileStream f(dir.File("missing"), fmOpenRead);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message.find("Cannot open file \"" + dir.File("missing") + "\""), std::string::npos);
    }
    EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);  // a folder is no file
}

TEST(Files, AtomicWriteThroughALinkKeepsTheLink)
{
    TempDir dir;
    std::string target = dir.File("target.bin"), link = dir.File("link.bin");
    WriteFileAtomically(target, "old", 3);
    std::filesystem::create_symlink("target.bin", link);
    WriteFileAtomically(link, "new", 3);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Slurp(target), "new");
}

TEST(Files, FifoIsNeitherStreamedNorReplaced)
{
    TempDir dir;
    std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CallNotWaitingOn(fifo, [&] {
        EXPECT_THROW(TFileStream(fifo, fmOpenRead), EFOpenError);
        EXPECT_THROW(TFileStream(fifo, fmOpenReadWrite), EFOpenError);
        EXPECT_THROW(TFileStream(fifo, fmCreate), EFCreateError);
        EXPECT_THROW(WriteFileAtomically(fifo, "x", 1), EFCreateError);
    });
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
