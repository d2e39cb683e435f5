#include "IniFiles.h"
#include "Registry.h"
#include "UserConfig.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

}  // namespace
