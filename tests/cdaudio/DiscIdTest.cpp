#include "CDPlayerFixture.h"
#include "Mci.h"

namespace {

using DiscIdTest = CDPlayerFixture;

TEST_F(DiscIdTest, WorkedExample)
{
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    player.Reopen();
    ASSERT_EQ(player.CDInfo().Tracks.size(), 2u);
    TTOCEntry first = player.GetTrack(0), second = player.GetTrack(1);
    EXPECT_EQ(first.StartFrame, 150);
    EXPECT_EQ(first.StartMinute, 0);
    EXPECT_EQ(first.StartSecond, 2);
    EXPECT_EQ(second.StartFrame, 14270);
    EXPECT_EQ(second.StartMinute, 3);
    EXPECT_EQ(second.StartSecond, 10);
    EXPECT_EQ(second.LengthMinute, 4);
    EXPECT_EQ(second.LengthSecond, 0);
    EXPECT_EQ(player.DiscId(), 0x0C01AC02u);
    EXPECT_EQ(player.ComputeDiscId(), 0x0C01AC02u);
    EXPECT_EQ(player.TimeFormat(), MCI_FORMAT_TMSF);  // restored after each switch
    EXPECT_THROW(player.GetTrack(2), ECDPlayerError);
    EXPECT_THROW(player.GetTrack(-1), ECDPlayerError);
}

TEST_F(DiscIdTest, OneTrackDisc)
{
    // 2 + 00:02:00 digit sum, 59:59 lead-out
    String one = WriteDiscImage(Folder(), "one", {{Msf(0, 2, 0)}}, Msf(59, 59, 0));
    CdInsertImage('E', one);
    TCDPlayer player;
    player.Reopen();
    uint32_t id = player.DiscId();
    EXPECT_EQ(id & 0xFF, 1u);
    EXPECT_EQ((id >> 8) & 0xFFFF, 3599u - 2u);
    EXPECT_EQ(id >> 24, 2u);
    EXPECT_EQ(IntToHex(0x0C01AC02u, 8), "0C01AC02");
}

TEST_F(DiscIdTest, ClosedDeviceGivesNoTracks)
{
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    player.ReadTOC();
    EXPECT_TRUE(player.CDInfo().Tracks.empty());
    EXPECT_EQ(player.ComputeDiscId(), 0u);
    player.Open();
    EXPECT_THROW(player.ComputeDiscId(), ECDPlayerError);  // the table was read while closed
}

TEST_F(DiscIdTest, DigitSum)
{
    EXPECT_EQ(TCDPlayer::DigitSum(0), 0);
    EXPECT_EQ(TCDPlayer::DigitSum(-5), 0);
    EXPECT_EQ(TCDPlayer::DigitSum(190), 10);
    EXPECT_EQ(TCDPlayer::DigitSum(3599), 26);
}

TEST_F(DiscIdTest, RefreshTakesNamesFromTheInformationFile)
{
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    player.Open();
    TStringList names{"First", "Second", "Surplus"};
    ASSERT_TRUE(player.SaveCDInfo(player.MediaIdentity(), "Artist", "Title", "2003", "rock", names));
    player.RefreshCDInfo();
    EXPECT_TRUE(player.FoundInIni());
    EXPECT_EQ(player.Artist(), "Artist");
    EXPECT_EQ(player.Date(), "2003");
    EXPECT_EQ(player.Category(), "");  // never written
    ASSERT_EQ(player.CDInfo().Tracks.size(), 2u);
    EXPECT_EQ(player.GetTrack(1).Name, "Second");
    EXPECT_EQ(player.DiscId(), 0x0C01AC02u);
}

}  // namespace
