#include "FifoGuard.h"
#include "IniFiles.h"
#include "Registry.h"
#include "UserConfig.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

std::string ReadBytes(const String& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { SetUserConfigFolder(dir.path().toStdString() + "/config"); }
    void TearDown() override { SetUserConfigFolder(""); }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, BareNameLivesInTheConfigFolder)
{
    TIniFile ini("Some.ini");
    EXPECT_EQ(ini.FileName(), dir.path().toStdString() + "/config/Some.ini");
    EXPECT_EQ(ini.ReadString("S", "k", "none"), "none");  // no file yet
    ini.WriteString("S", "k", "v");  // creates the folder
    EXPECT_EQ(ReadBytes(ini.FileName()), "[S]\r\nk=v\r\n");
    TIniFile elsewhere(dir.path().toStdString() + "/other.ini");
    EXPECT_EQ(elsewhere.FileName(), dir.path().toStdString() + "/other.ini");
}

TEST_F(IniFileTest, WriteChangesOnlyItsOwnLine)
{
    String file = dir.path().toStdString() + "/a.ini";
    std::ofstream(file, std::ios::binary) << "; kept\n[One]\nB=2\na = 1\n\n[Two]\nx=9\n";
    TIniFile ini(file);
    ini.WriteString("one", "A", "10");
    ini.WriteString("ONE", "c", "3");
    ini.WriteString("Three", "y", "line\r\nbreak");
    EXPECT_EQ(ReadBytes(file), "; kept\r\n[One]\r\nB=2\r\nA=10\r\nc=3\r\n\r\n[Two]\r\nx=9\r\n[Three]\r\ny=line  break\r\n");
    EXPECT_EQ(ini.ReadString("TWO", "X", ""), "9");
    EXPECT_EQ(ini.ReadInteger("one", "a", 0), 10);
    EXPECT_EQ(ini.ReadInteger("one", "missing", 7), 7);
    TStringList keys, values;
    ini.ReadSection("One", keys);
    EXPECT_EQ(keys.Text(), "B\r\nA\r\nc\r\n");
    ini.ReadSectionValues("one", values);
    EXPECT_EQ(values.Text(), "B=2\r\nA=10\r\nc=3\r\n");
    EXPECT_TRUE(ini.SectionExists("two"));
    EXPECT_FALSE(ini.SectionExists("Four"));
}

TEST_F(IniFileTest, TextIsWindows1252OnDiskAndQuotesAreDropped)
{
    String file = dir.path().toStdString() + "/b.ini";
    TIniFile ini(file);
    ini.WriteString("S", "name", "Café – ☃");
    EXPECT_EQ(ReadBytes(file), "[S]\r\nname=Caf\xE9 \x96 ?\r\n");
    EXPECT_EQ(ini.ReadString("s", "NAME", ""), "Café – ?");
    std::ofstream(file, std::ios::binary) << "[S]\r\nq=\"  padded  \"\r\nempty=\r\n[S]\r\nlater=1\r\n";
    EXPECT_EQ(ini.ReadString("S", "q", ""), "  padded  ");
    EXPECT_EQ(ini.ReadString("S", "empty", "x"), "");
    EXPECT_EQ(ini.ReadString("S", "later", "first section only"), "first section only");
}

TEST_F(IniFileTest, RegistryKeysAndValues)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey("Software\\Classes\\AudioCD\\Shell", false));
    EXPECT_EQ(reg.ReadString(""), "");
    ASSERT_TRUE(reg.OpenKey("Software\\Classes\\AudioCD\\Shell", true));
    reg.WriteString("", "play");
    ASSERT_TRUE(reg.OpenKey("play\\command", true));  // below the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Classes\\AudioCD\\Shell\\play\\command");
    reg.WriteString("", "player.exe");
    reg.CloseKey();

    TRegistry other;
    other.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(other.OpenKey("\\SOFTWARE\\classes\\AudioCD\\Shell\\", false));
    EXPECT_EQ(other.ReadString(""), "play");
    EXPECT_EQ(other.ReadString("missing"), "");
    other.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(other.OpenKey("\\Software\\Classes\\AudioCD\\Shell", false));  // another root
    EXPECT_THROW(other.WriteString("", "x"), Exception);
}

TEST_F(IniFileTest, UpdateWritesTheFileOnceWhenItEnds)
{
    String file = dir.path().toStdString() + "/c.ini";
    TIniFile ini(file);
    ini.WriteString("Disc", "artist", "before");
    struct stat before {};
    ::stat(file.c_str(), &before);
    ini.BeginUpdate();
    for (int i = 0; i < 99; ++i)
        ini.WriteString("Disc", IntToStr(i), "name " + IntToStr(i));
    EXPECT_EQ(ini.ReadString("Disc", "98", ""), "name 98");  // the update reads its own writes
    struct stat during {};
    ::stat(file.c_str(), &during);
    EXPECT_EQ(during.st_ino, before.st_ino);  // nothing replaced the file yet
    EXPECT_EQ(ReadBytes(file), "[Disc]\r\nartist=before\r\n");
    ini.EndUpdate();
    TStringList keys;
    TIniFile(file).ReadSection("disc", keys);
    EXPECT_EQ(keys.Count(), 100);
}

TEST_F(IniFileTest, ThousandsOfKeysInOneSection)
{
    String file = dir.path().toStdString() + "/Registry.ini";
    std::string text = "[HKEY_CURRENT_USER\\Software\\Ombrelle\\CD Images]\r\n";
    for (int i = 0; i < 16000; ++i)
        text += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    text += "KEY5=duplicate\r\n";
    std::ofstream(file, std::ios::binary) << text;
    TIniFile ini(file);
    TStringList keys;
    ini.ReadSection("HKEY_CURRENT_USER\\Software\\Ombrelle\\CD Images", keys);
    EXPECT_EQ(keys.Count(), 16000);
    EXPECT_EQ(ini.ReadString("HKEY_CURRENT_USER\\Software\\Ombrelle\\CD Images", "Key15999", ""), "15999");
    EXPECT_EQ(ini.ReadString("HKEY_CURRENT_USER\\Software\\Ombrelle\\CD Images", "key5", ""), "5");
}

TEST_F(IniFileTest, FifoReadsAsEmptyAndIsNeverReplaced)
{
    String fifo = dir.path().toStdString() + "/pipe.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TIniFile ini(fifo);
    CallNotWaitingOn(fifo, [&] {
        EXPECT_EQ(ini.ReadString("S", "k", "none"), "none");
        EXPECT_THROW(ini.WriteString("S", "k", "v"), EFCreateError);
    });
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(IniFileTest, LinkedFilesStayLinks)
{
    String real = dir.path().toStdString() + "/real/RizarOdaza.ini";
    std::filesystem::create_directories(dir.path().toStdString() + "/real");
    std::ofstream(real, std::ios::binary) << "[A]\r\nx=1\r\n";
    std::filesystem::create_directories(UserConfigFolder());
    std::filesystem::create_symlink(real, UserConfigFolder() + "RizarOdaza.ini");
    TIniFile("RizarOdaza.ini").WriteString("A", "y", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(UserConfigFolder() + "RizarOdaza.ini"));
    EXPECT_EQ(ReadBytes(real), "[A]\r\nx=1\r\ny=2\r\n");

    // A relative link to a file not there yet: the write creates the target.
    std::filesystem::create_directories(UserConfigFolder() + "real");
    std::filesystem::create_symlink("real/Registry-target.ini", TRegistry::StoreFileName());
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Ombrelle", true));
    reg.WriteString("k", "v");
    EXPECT_TRUE(std::filesystem::is_symlink(TRegistry::StoreFileName()));
    EXPECT_NE(ReadBytes(UserConfigFolder() + "real/Registry-target.ini").find("k=v"), std::string::npos);
}

}  // namespace
