#include "CDPlayerFixture.h"
#include "IniFiles.h"

#include <fstream>
#include <iterator>

namespace {

using CDInfoTest = CDPlayerFixture;

String InfoFile() { return UserConfigFolder() + CDInfoFileName; }

TEST_F(CDInfoTest, QueryAndReadAddresses)
{
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    player.Reopen();
    EXPECT_EQ(player.BuildQueryURL("GnuDB.GnuDB.org"),
              "http://gnudb.gnudb.org/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14270+428"
              "&hello=AudioUser+hostname+Dunmarle+1.0&proto=4");
    EXPECT_EQ(player.BuildReadURL("Host", "Rock", "0C01AC02"),
              "http://host/~cddb/cddb.cgi?cmd=cddb+read+rock+0c01ac02&hello=AudioUser+hostname+Dunmarle+1.0&proto=4");
    EXPECT_EQ(player.BuildReadURL("host", "misc", ""),
              "http://host/~cddb/cddb.cgi?cmd=cddb+read+misc&hello=AudioUser+hostname+Dunmarle+1.0&proto=4");
    TCDPlayer unread;
    unread.Open();
    EXPECT_THROW(unread.BuildQueryURL("host"), ECDPlayerError);  // no table of contents yet
}

TEST_F(CDInfoTest, SectionsAreAtLeastSixHexDigits)
{
    TCDPlayer player;
    TStringList names{"a", "b"};
    ASSERT_TRUE(player.SaveCDInfo(255, "Artist", "Title", "2003", "rock", names));
    ASSERT_TRUE(player.SaveCDInfo(0x7ABCDEF1, "X", "Y", "", "", names));
    TIniFile ini(CDInfoFileName);
    EXPECT_TRUE(ini.SectionExists("0000FF"));
    EXPECT_TRUE(ini.SectionExists("7ABCDEF1"));
    TStringList keys;
    ini.ReadSection("0000FF", keys);
    EXPECT_EQ(keys.Text(), "artist\r\ntitle\r\nnumtracks\r\ndate\r\n0\r\n1\r\n");  // no category
    String artist, title, date, category = "kept?";
    TStringList loaded;
    ASSERT_TRUE(player.LoadCDInfo(255, artist, title, date, category, loaded));
    EXPECT_EQ(artist, "Artist");
    EXPECT_EQ(title, "Title");
    EXPECT_EQ(date, "2003");
    EXPECT_EQ(category, "");
    EXPECT_EQ(loaded.Text(), "a\r\nb\r\n");
}

TEST_F(CDInfoTest, FewerNamesOverMoreKeepTheOldKeys)
{
    TCDPlayer player;
    TStringList five{"1", "2", "3", "4", "5"}, three{"x", "y", "z"};
    player.SaveCDInfo(42, "A", "T", "", "", five);
    player.SaveCDInfo(42, "A", "T", "", "", three);
    TIniFile ini(CDInfoFileName);
    EXPECT_EQ(ini.ReadString("00002A", "4", ""), "5");
    EXPECT_EQ(ini.ReadString("00002A", "numtracks", ""), "3");
    String a, t, d, c;
    TStringList loaded;
    ASSERT_TRUE(player.LoadCDInfo(42, a, t, d, c, loaded));
    EXPECT_EQ(loaded.Text(), "x\r\ny\r\nz\r\n");
}

TEST_F(CDInfoTest, MissingSectionsAndHostileFiles)
{
    TCDPlayer player;
    String artist = "as before", title, date, category;
    TStringList names{"stale"};
    EXPECT_FALSE(player.LoadCDInfo(7, artist, title, date, category, names));  // no file
    EXPECT_EQ(artist, "as before");
    EXPECT_EQ(names.Count(), 0);

    ForceUserConfigFolder();
    std::ofstream(InfoFile(), std::ios::binary)
        << "[000007]\r\nARTIST=Upper\r\nnumtracks=lots\r\n[000008]\r\nnumtracks=2000000000\r\n0=zero\r\n"
           "[000009]\r\nnumtracks=3\r\n2=third\r\n[000000]\r\nartist=no disc\r\n";
    ASSERT_TRUE(player.LoadCDInfo(7, artist, title, date, category, names));
    EXPECT_EQ(artist, "Upper");
    EXPECT_EQ(names.Count(), 0);
    ASSERT_TRUE(player.LoadCDInfo(8, artist, title, date, category, names));
    EXPECT_EQ(names.Count(), 99);  // no disc has more tracks
    EXPECT_EQ(names[0], "zero");
    ASSERT_TRUE(player.LoadCDInfo(9, artist, title, date, category, names));
    EXPECT_EQ(names.Text(), "\r\n\r\nthird\r\n");
}

TEST_F(CDInfoTest, IdentityZeroNeverTouchesTheFile)
{
    TCDPlayer player;
    TStringList names{"n"};
    EXPECT_FALSE(player.SaveCDInfo(0, "A", "T", "", "", names));
    EXPECT_FALSE(FileExists(InfoFile()));
    ForceUserConfigFolder();
    std::ofstream(InfoFile(), std::ios::binary) << "[000000]\r\nartist=no disc\r\n";
    String artist;
    String title, date, category;
    EXPECT_FALSE(player.LoadCDInfo(0, artist, title, date, category, names));
    EXPECT_EQ(artist, "");
}

TEST_F(CDInfoTest, SetCDInfoNamesEveryTrackAndKeepsTheDiscsTrackCount)
{
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    player.Reopen();
    TStringList names{"One", "Two", "Three"};
    player.SetCDInfo(" \tArtist\r\n", "  Title ", " 2003 ", "\x01rock ", names);
    EXPECT_EQ(player.Artist(), "Artist");
    EXPECT_EQ(player.Title(), "Title");
    EXPECT_EQ(player.Date(), " 2003 ");
    EXPECT_EQ(player.Category(), "rock");
    ASSERT_EQ(player.CDInfo().Tracks.size(), 2u);
    EXPECT_EQ(player.GetTrack(0).Name, "One");
    EXPECT_EQ(player.GetTrack(1).Name, "Two");
    EXPECT_EQ(player.GetTrack(1).StartFrame, 14270);
    EXPECT_EQ(player.ComputeDiscId(), 0x0C01AC02u);
    // Fewer names leave no name of the earlier entry behind.
    player.SetCDInfo("A", "T", "", "", TStringList{"Uno"});
    EXPECT_EQ(player.GetTrack(0).Name, "Uno");
    EXPECT_EQ(player.GetTrack(1).Name, "");
    player.SetCDInfo("A", "T", "", "", TStringList{});
    EXPECT_EQ(player.GetTrack(0).Name, "");
    ASSERT_EQ(player.CDInfo().Tracks.size(), 2u);
    EXPECT_EQ(player.ComputeDiscId(), 0x0C01AC02u);
}

TEST_F(CDInfoTest, SavingNoNamesKeepsTheStoredOnes)
{
    TCDPlayer player;
    player.SaveCDInfo(42, "A", "T", "2003", "", TStringList{"One", "Two"});
    player.SaveCDInfo(42, "A2", "T2", "2003", "", TStringList{});
    String artist, title, date, category;
    TStringList names;
    ASSERT_TRUE(player.LoadCDInfo(42, artist, title, date, category, names));
    EXPECT_EQ(artist, "A2");
    EXPECT_EQ(names.Text(), "One\r\nTwo\r\n");
}

}  // namespace
