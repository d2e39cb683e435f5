#include "Classes.h"
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
