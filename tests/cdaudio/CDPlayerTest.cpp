#include "CDPlayerFixture.h"
#include "Mci.h"
#include "Registry.h"
#include "TestWait.h"

#include <QCoreApplication>

namespace {

using CDPlayerTest = CDPlayerFixture;

TEST_F(CDPlayerTest, RefusedImageIsReportedNamingItsSheet)
{
    // One track more than a disc holds; the data file is there and long enough.
    std::vector<TImageTrack> tracks;
    for (int i = 0; i < 100; ++i)
        tracks.push_back({Msf(0, 2 + 2 * i, 0)});
    String sheet = WriteDiscImage(Folder(), "many", tracks, Msf(5, 0, 0));
    CdInsertImage('E', sheet);
    TCDPlayer player;
    try {
        player.Reopen();
        FAIL() << "the sheet was opened";
    } catch (const EMCIDeviceError& e) {
        EXPECT_EQ(e.Message, "The CUE sheet \"" + sheet + "\" cannot be used: it has more than 99 tracks.");
    }
    EXPECT_EQ(player.DeviceID(), 0);
    EXPECT_FALSE(player.IsAudioCD());
    // A good disc in the drive works again at once.
    CdInsertImage('E', twoTracks);
    player.Reopen();
    EXPECT_EQ(player.TrackCount(), 2);
}

TEST_F(CDPlayerTest, DrivesAndCurrentDrive)
{
    {
        TCDPlayer none;
        EXPECT_EQ(none.Drives().Count(), 0);
        EXPECT_EQ(none.CurrentDrive, 0);
        EXPECT_EQ(none.TrackCount(), 0);
        EXPECT_FALSE(none.IsAudioCD());
        EXPECT_THROW(none.Open(), EMCIDeviceError);
        EXPECT_EQ(none.DeviceID(), 0);
    }
    CdInsertImage('G', twoTracks);
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    EXPECT_EQ(player.Drives().Text(), "E:\\\r\nG:\\\r\n");
    EXPECT_EQ(player.CurrentDrive, 'E');
    EXPECT_TRUE(player.AutoRewind);
    EXPECT_EQ(player.DisplayTimeMode, tfTotalElapsed);
    String about = player.About();
    player.SetAbout("changed");
    EXPECT_EQ(player.About(), about);
}

TEST_F(CDPlayerTest, OpenUsesTheCurrentDriveInEitherCase)
{
    String other = WriteDiscImage(Folder(), "one", {{Msf(0, 2, 0)}}, Msf(10, 0, 0));
    CdInsertImage('E', other);
    CdInsertImage('G', twoTracks);
    TCDPlayer player;
    player.CurrentDrive = 'g';
    ASSERT_NE(player.Open(), 0);
    EXPECT_EQ(player.Open(), player.DeviceID());  // already open
    EXPECT_EQ(player.TrackCount(), 2);
    EXPECT_EQ(player.TimeFormat(), MCI_FORMAT_TMSF);
    EXPECT_EQ(player.Capabilities(), cdcCanPlay | cdcCanEject);
    EXPECT_EQ(player.VolumeLabel('g'), "Audio CD");
    EXPECT_TRUE(player.IsAudioCD());
    EXPECT_NE(player.MediaIdentity(), 0);
    player.Close();
    EXPECT_EQ(player.DeviceID(), 0);
    EXPECT_EQ(player.Capabilities(), 0);
    player.Close();
    EXPECT_EQ(player.MediaIdentity(), 0);
    EXPECT_EQ(player.TrackCount(), 0);
    EXPECT_TRUE(player.IsAudioCD());  // the label alone
}

TEST_F(CDPlayerTest, ErrorsFromAnEmptyDrive)
{
    CdInsertImage('E', twoTracks);
    CdEjectImage('E');
    TCDPlayer player;
    ASSERT_NE(player.Open(), 0);  // the device opens without a disc, as it does on Windows
    EXPECT_THROW(player.TrackCount(), EMCIDeviceError);
    EXPECT_THROW(player.ReadTOC(), EMCIDeviceError);
    EXPECT_EQ(player.TimeFormat(), MCI_FORMAT_TMSF);  // restored on the error path too
    EXPECT_FALSE(player.IsAudioCD());
    EXPECT_EQ(player.MediaIdentity(), 0);
    EXPECT_EQ(player.VolumeLabel('E'), "");
}

TEST_F(CDPlayerTest, InsertionElsewhereRaisesAfterInsertWithoutReopen)
{
    CdInsertImage('E', twoTracks);
    TCDPlayer player;
    player.Reopen();
    uint16_t device = player.DeviceID();
    ASSERT_EQ(player.CDInfo().Tracks.size(), 2u);
    std::vector<char> inserted;
    player.AfterInsert = [&](TObject* sender, char letter) {
        EXPECT_EQ(sender, &player);
        inserted.push_back(letter);
    };
    CdInsertImage('H', twoTracks);
    ASSERT_TRUE(WaitUntil([&] { return !inserted.empty(); }));
    EXPECT_EQ(inserted, std::vector<char>{'H'});
    EXPECT_EQ(player.DeviceID(), device);
    EXPECT_EQ(player.CDInfo().Tracks.size(), 2u);
}

TEST_F(CDPlayerTest, InsertionInALowerCaseCurrentDriveReopens)
{
    CdInsertImage('E', twoTracks);
    CdEjectImage('E');
    TCDPlayer player;
    player.CurrentDrive = 'e';  // as the drive picker hands it over
    char inserted = 0;
    player.AfterInsert = [&](TObject*, char letter) { inserted = letter; };
    CdInsertImage('E', twoTracks);
    ASSERT_TRUE(WaitUntil([&] { return inserted != 0; }));
    EXPECT_EQ(inserted, 'E');
    EXPECT_NE(player.DeviceID(), 0);
    EXPECT_EQ(player.CDInfo().Tracks.size(), 2u);
    EXPECT_EQ(player.DiscId(), 0x0C01AC02u);
}

TEST_F(CDPlayerTest, RemovalClearsTheInformation)
{
    CdInsertImage('E', twoTracks);
    CdInsertImage('F', twoTracks);
    TCDPlayer player;
    player.Reopen();
    TStringList names{"One", "Two"};
    player.SetCDInfo("Artist", "Title", "2003", "rock", names);
    char removed = 0;
    player.AfterRemove = [&](TObject*, char letter) { removed = letter; };
    CdEjectImage('F');  // any drive
    ASSERT_TRUE(WaitUntil([&] { return removed != 0; }));
    EXPECT_EQ(removed, 'F');
    EXPECT_EQ(player.Artist(), "");
    EXPECT_EQ(player.Title(), "");
    EXPECT_EQ(player.Category(), "");
    EXPECT_EQ(player.Date(), "");
    EXPECT_TRUE(player.CDInfo().Tracks.empty());
}

// Open, close and setting the time format carry the notify flag: each one carried out reaches
// OnNotify once it has returned. A query waits instead; a player gone is told nothing.
TEST_F(CDPlayerTest, NotifyCommandsReportThatTheyWereCarriedOut)
{
    CdInsertImage('E', twoTracks);
    auto player = std::make_unique<TCDPlayer>();
    std::vector<TNotifyValues> told;
    player->OnNotify = [&](TObject*, TNotifyValues value) { told.push_back(value); };
    const std::pair<std::function<void()>, size_t> cases[] = {
        {[&] { player->Open(); }, 2},  // it sets the time format too
        {[&] { player->ReadTOC(); }, 2},  // a query between two format changes
        {[&] { player->Close(); }, 1},
        {[&] { player->Close(); }, 0},  // nothing open
        {[&] { player->Open(); player.reset(); }, 0},
    };
    for (const auto& [command, count] : cases) {
        told.clear();
        command();
        EXPECT_TRUE(told.empty());  // posted, as a message is
        QCoreApplication::processEvents();
        EXPECT_EQ(told, std::vector<TNotifyValues>(count, nvSuccessful));
    }
}

TEST_F(CDPlayerTest, AutoRunAndDefaultPlayerLiveInTheRegistry)
{
    TCDPlayer player;
    EXPECT_FALSE(player.AutoRun());
    player.SetAutoRun(true);  // the keys are not created
    EXPECT_FALSE(player.AutoRun());
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
        TRegistry reg;
        reg.SetRootKey(root);
        String shell = root == HKEY_LOCAL_MACHINE ? "Software\\Classes\\AudioCD\\Shell" : "AudioCD\\Shell";
        ASSERT_TRUE(reg.OpenKey(shell + "\\play\\command", true));
    }
    player.SetAutoRun(true);
    EXPECT_TRUE(player.AutoRun());
    player.SetDefaultPlayer("cdplay %1");
    EXPECT_EQ(player.DefaultPlayer(), "cdplay %1");
    player.SetAutoRun(false);
    EXPECT_FALSE(player.AutoRun());
    EXPECT_EQ(player.DefaultPlayer(), "cdplay %1");  // "play" is the verb when none is set
}

}  // namespace
