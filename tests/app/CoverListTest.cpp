#include "CoverTypes.h"
#include "FifoGuard.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <limits>
#include <fstream>
#include <sys/stat.h>

namespace {
std::string Slurp(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

std::unique_ptr<TCoverRec> Layout(const String& name, float left, int icon)
{
    auto r = std::make_unique<TCoverRec>();
    std::memset(r.get(), 0, sizeof(TCoverRec));
    r->Left = left;
    r->Top = 0.5f;
    r->Width = 4.75f;
    r->Height = 7.5f;
    r->SetName(name);
    r->Style = 1;
    r->IconIndex = icon;
    return r;
}
}  // namespace

TEST(CoverList, RecordLayoutIsTheStoredOne)
{
    EXPECT_EQ(offsetof(TCoverRec, NameLength), 16u);
    EXPECT_EQ(offsetof(TCoverRec, NameChars), 17u);
    EXPECT_EQ(offsetof(TCoverRec, Style), 68u);
    EXPECT_EQ(offsetof(TCoverRec, Dual), 72u);
    EXPECT_EQ(offsetof(TCoverRec, GapDist), 76u);
    EXPECT_EQ(offsetof(TCoverRec, IconIndex), 80u);
}

TEST(CoverList, OneRecordAndEmptyFile)
{
    TempDir dir;
    std::string one = dir.File("one.ini");
    {
        TCoverList list;
        EXPECT_THROW(list.SetCoverFileName(one), EFOpenError);  // missing: shown, then created at exit
        list.AddCover(Layout("Cover", 0.5f, 1));
    }
    EXPECT_EQ(Slurp(one).size(), 84u);
    {
        TCoverList list;
        list.SetCoverFileName(one);
        EXPECT_EQ(list.CoverNo(), 0);
        EXPECT_EQ(list.GetCover(0)->Name(), "Cover");
        EXPECT_THROW(list.GetCover(1), EListError);
    }

    std::string empty = dir.File("empty.ini");
    Spit(empty, "");
    {
        TCoverList list;
        list.SetCoverFileName(empty);
        EXPECT_EQ(list.CoverNo(), -1);
        try {
            list.GetCover(-1);
            FAIL() << "no error";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message, "List index out of bounds (-1)");
        }
    }
    EXPECT_TRUE(FileExists(empty));
    EXPECT_EQ(Slurp(empty).size(), 0u);
}

TEST(CoverList, OrderAndBytesSurviveARestart)
{
    TempDir dir;
    std::string file = dir.File("Settings.ini");
    Spit(file, "");
    {
        TCoverList list;
        list.SetCoverFileName(file);
        list.AddCover(Layout("First", 0.1f, 0));
        list.AddCover(Layout("Second", 0.2f, 3));
        list.AddCover(Layout("First", 0.3f, 4));
    }
    std::string bytes = Slurp(file);
    ASSERT_EQ(bytes.size(), 3 * 84u);
    {
        TCoverList list;
        list.SetCoverFileName(file);
        ASSERT_EQ(list.CoverNo(), 2);
        EXPECT_FLOAT_EQ(list.GetCover(0)->Left, 0.1f);
        EXPECT_EQ(list.GetCover(1)->Name(), "Second");
        EXPECT_EQ(list.GetCover(1)->IconIndex, 3);
        EXPECT_FLOAT_EQ(list.GetCover(2)->Left, 0.3f);
    }
    EXPECT_EQ(Slurp(file), bytes);  // unchanged layouts are written back byte for byte
}

TEST(CoverList, LongNamesAndDirtyBytes)
{
    TempDir dir;
    std::string file = dir.File("Settings.ini");
    auto rec = Layout(std::string(60, 'x'), 0.5f, 1);
    EXPECT_EQ(rec->NameLength, 50);
    EXPECT_EQ(rec->Name(), std::string(50, 'x'));

    // A stored length above 50 reads as 50; garbage after the name and in the padding is zeroed.
    std::string raw(84, '\0');
    std::memcpy(raw.data(), rec.get(), 84);
    raw[16] = char(200);
    raw[67] = char(0x55);
    raw[73] = char(0x66);
    Spit(file, raw + std::string(84, '\0').substr(0, 30));  // and a short last record
    {
        TCoverList list;
        list.SetCoverFileName(file);
        ASSERT_EQ(list.CoverNo(), 1);
        EXPECT_EQ(list.GetCover(0)->Name(), std::string(50, 'x'));
        EXPECT_EQ(list.GetCover(1)->NameLength, 0);
        EXPECT_EQ(list.GetCover(1)->IconIndex, 0);  // beyond the file: zero, not garbage
    }
    std::string out = Slurp(file);
    ASSERT_EQ(out.size(), 168u);
    EXPECT_EQ(uint8_t(out[16]), 50);
    EXPECT_EQ(out[67], 0);
    EXPECT_EQ(out[73], 0);
}

TEST(CoverList, FileThatCannotBeReadIsLeftAlone)
{
    TempDir dir;
    // A folder where the file should be cannot be read (as root, modes would not stop a read).
    std::string folder = dir.File("Settings.ini");
    std::filesystem::create_directory(folder);
    std::filesystem::path marker = std::filesystem::path(folder) / "keep";
    Spit(marker.string(), "x");
    {
        TCoverList list;
        EXPECT_THROW(list.SetCoverFileName(folder), EFOpenError);
        list.AddCover(Layout("New", 0.5f, 1));
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST(CoverList, ReadOnlyFileLoadsAndIsNotDestroyed)
{
    TempDir dir;
    std::string file = dir.File("Settings.ini");
    {
        TCoverList list;
        try { list.SetCoverFileName(file); } catch (const EFOpenError&) {}
        list.AddCover(Layout("Kept", 0.5f, 1));
    }
    std::string before = Slurp(file);
    ::chmod(file.c_str(), 0444);
    {
        TCoverList list;
        list.SetCoverFileName(file);
        EXPECT_EQ(list.CoverNo(), 0);
        list.AddCover(Layout("Lost", 0.5f, 1));
        EXPECT_THROW(list.Save(), EFCreateError);
    }  // at exit the error is reported, the file stays as it was
    EXPECT_EQ(Slurp(file), before);
}

TEST(CoverList, NamesAreStoredInTheWindowsCodePage)
{
    auto rec = Layout("Caf\xC3\xA9 \xE6\x97\xA5", 0.5f, 1);
    EXPECT_EQ(rec->NameLength, 6);
    EXPECT_EQ(std::string(rec->NameChars, 6), std::string("Caf\xE9 ?"));
    EXPECT_EQ(rec->Name(), "Caf\xC3\xA9 ?");
}

TEST(CoverList, TwentyThousandLayoutsLoadInOrder)
{
    TempDir dir;
    std::string file = dir.File("Settings.ini");
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        auto rec = Layout("Layout " + IntToStr(i), static_cast<float>(i % 100), i % 5);
        bytes.append(reinterpret_cast<const char*>(rec.get()), sizeof(TCoverRec));
    }
    Spit(file, bytes);
    TCoverList list;
    list.SetCoverFileName(file);
    ASSERT_EQ(list.CoverNo(), 19999);
    EXPECT_EQ(list.GetCover(12345)->Name(), "Layout 12345");
    EXPECT_EQ(list.GetCover(12345)->Left, 45.0f);
    EXPECT_EQ(list.GetCover(19999)->IconIndex, 4);
}

TEST(CoverList, StoredDistancesOffThePageAreBroughtOntoIt)
{
    TempDir dir;
    std::string file = dir.File("Settings.ini");
    auto rec = Layout("Wild", 29000000.0f, 1);
    rec->Top = -3.0f;
    rec->Width = std::numeric_limits<float>::quiet_NaN();
    rec->Height = std::numeric_limits<float>::infinity();
    rec->GapDist = 100.0f;
    Spit(file, std::string(reinterpret_cast<const char*>(rec.get()), sizeof(TCoverRec)));
    TCoverList list;
    list.SetCoverFileName(file);
    const TCoverRec& loaded = *list.GetCover(0);
    EXPECT_EQ(loaded.Left, 100.0f);
    EXPECT_EQ(loaded.Top, 0.0f);
    EXPECT_EQ(loaded.Width, 0.0f);
    EXPECT_EQ(loaded.Height, 100.0f);
    EXPECT_EQ(loaded.GapDist, 100.0f);
    // Device positions never overflow, whatever they are asked for.
    EXPECT_EQ(InchesToDevice(29000000.0L, 74), INT_MAX / 4);
    EXPECT_EQ(InchesToDevice(-1e30L, 600), -(INT_MAX / 4));
    EXPECT_EQ(InchesToDevice(1.3L, 360), 467);
}

TEST(CoverList, FifoSettingsFileIsRefusedAtOnceAndLeftAlone)
{
    TempDir dir;
    std::string fifo = dir.File("Settings.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CallNotWaitingOn(fifo, [&] {
        TCoverList list;
        EXPECT_THROW(list.SetCoverFileName(fifo), EFOpenError);
        list.AddCover(Layout("New", 0.5f, 1));
    });
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(CoverList, LinkedSettingsFileStaysALink)
{
    TempDir dir;
    std::string real = dir.File("kept.bin"), link = dir.File("Settings.ini");
    Spit(real, "");
    std::filesystem::create_symlink(real, link);
    {
        TCoverList list;
        list.SetCoverFileName(link);
        list.AddCover(Layout("Linked", 0.5f, 1));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Slurp(real).size(), 84u);
}
