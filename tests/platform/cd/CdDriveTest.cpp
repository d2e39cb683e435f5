#include "CdDrives.h"
#include "CdWatcher.h"
#include "DiscImage.h"
#include "Mci.h"
#include "TestWait.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CdDriveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CdForgetAllDrives();
        audio = WriteDiscImage(dir.path().toStdString(), "audio", {{Msf(0, 2, 0)}, {Msf(3, 10, 20)}},
                               Msf(3, 10, 20) + Msf(4, 0, 10) + 1);
    }
    void TearDown() override { CdForgetAllDrives(); }

    uint32_t StatusOf(MCIDEVICEID id, uint32_t item, bool withTrack = false, uint32_t track = 0)
    {
        uint32_t value = 0;
        EXPECT_EQ(mciStatus(id, item, withTrack, track, value), 0u);
        return value;
    }

    QTemporaryDir dir;
    String audio;
};

uint32_t Packed(int m, int s, int f) { return m | s << 8 | f << 16; }

TEST_F(CdDriveTest, ImagesAreCdDrivesWithLabels)
{
    CdInsertImage('X', audio);
    CdInsertImage('y', audio);
    CdEjectImage('Y');
    EXPECT_EQ(GetLogicalDriveStrings(), (std::vector<String>{"X:\\", "Y:\\"}));
    EXPECT_EQ(GetDriveType("x:\\"), unsigned(DRIVE_CDROM));
    EXPECT_EQ(GetDriveType("Q:\\"), unsigned(DRIVE_NO_ROOT_DIR));
    String label;
    ASSERT_TRUE(GetVolumeLabel("X:\\", label));
    EXPECT_EQ(label, "Audio CD");
    EXPECT_FALSE(GetVolumeLabel("Y:\\", label));  // empty drive
    EXPECT_FALSE(GetVolumeLabel("Q:\\", label));  // no drive

    String data = WriteDiscImage(dir.path().toStdString(), "data", {{Msf(0, 2, 0), false}}, Msf(1, 0, 0), "BACKUP_2003");
    CdInsertImage('Z', data);
    ASSERT_TRUE(GetVolumeLabel("Z:\\", label));
    EXPECT_EQ(label, "BACKUP_2003");
}

TEST_F(CdDriveTest, StatusReportsTheTableOfContents)
{
    CdInsertImage('X', audio);
    MCIDEVICEID id = 0;
    ASSERT_EQ(mciOpenCdAudio('x', id), 0u);
    ASSERT_NE(id, 0);
    ASSERT_EQ(mciSetTimeFormat(id, MCI_FORMAT_MSF), 0u);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_TIME_FORMAT), MCI_FORMAT_MSF);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_NUMBER_OF_TRACKS), 2u);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION, true, 1), Packed(0, 2, 0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION, true, 2), Packed(3, 10, 20));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_LENGTH, true, 1), Packed(3, 8, 20));
    // The last track ends one frame before the lead-out.
    EXPECT_EQ(StatusOf(id, MCI_STATUS_LENGTH, true, 2), Packed(4, 0, 10));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_LENGTH), Packed(7, 8, 31));
    uint32_t value;
    EXPECT_EQ(mciStatus(id, MCI_STATUS_POSITION, true, 3, value), uint32_t(MCIERR_OUTOFRANGE));

    ASSERT_EQ(mciSetTimeFormat(id, MCI_FORMAT_TMSF), 0u);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION, true, 2), 2u);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_LENGTH, true, 2), Packed(4, 0, 10));
    EXPECT_EQ(mciSetTimeFormat(id, 7), uint32_t(MCIERR_BAD_TIME_FORMAT));

    String identity, again;
    ASSERT_EQ(mciInfoMediaIdentity(id, identity), 0u);
    EXPECT_GT(StrToInt(identity), 0);
    MCIDEVICEID second = 0;
    ASSERT_EQ(mciOpenCdAudio('X', second), 0u);
    EXPECT_NE(second, id);
    ASSERT_EQ(mciInfoMediaIdentity(second, again), 0u);
    EXPECT_EQ(identity, again);

    EXPECT_EQ(mciClose(id), 0u);
    EXPECT_EQ(mciClose(id), uint32_t(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(mciStatus(id, MCI_STATUS_NUMBER_OF_TRACKS, false, 0, value), uint32_t(MCIERR_INVALID_DEVICE_ID));
    EXPECT_FALSE(mciGetErrorString(MCIERR_INVALID_DEVICE_ID).empty());
    EXPECT_EQ(mciClose(second), 0u);
}

TEST_F(CdDriveTest, EmptyAndMissingDrives)
{
    CdInsertImage('X', audio);
    CdEjectImage('X');
    MCIDEVICEID id = 0;
    ASSERT_EQ(mciOpenCdAudio('X', id), 0u);
    uint32_t value;
    EXPECT_EQ(mciStatus(id, MCI_STATUS_NUMBER_OF_TRACKS, false, 0, value), uint32_t(MCIERR_DEVICE_NOT_READY));
    String text;
    EXPECT_NE(mciInfoMediaIdentity(id, text), 0u);
    mciClose(id);
    EXPECT_EQ(mciOpenCdAudio('Q', id), uint32_t(MCIERR_INVALID_DEVICE_NAME));
    EXPECT_EQ(id, 0);
}

TEST_F(CdDriveTest, WatcherBroadcastsArrivalAndRemovalOnTheUiThread)
{
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    int listener = AddDeviceChangeListener([&](uint32_t event, const DEV_BROADCAST_VOLUME& v) {
        EXPECT_EQ(v.dbcv_devicetype, uint32_t(DBT_DEVTYP_VOLUME));
        EXPECT_EQ(v.dbcv_flags, DBTF_MEDIA);
        seen.emplace_back(event, v.dbcv_unitmask);
    });
    CdInsertImage('F', audio);
    ASSERT_TRUE(WaitUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen[0], std::make_pair(uint32_t(DBT_DEVICEARRIVAL), 1u << ('F' - 'A')));
    CdEjectImage('F');
    ASSERT_TRUE(WaitUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[1], std::make_pair(uint32_t(DBT_DEVICEREMOVECOMPLETE), 1u << ('F' - 'A')));
    RemoveDeviceChangeListener(listener);
}

}  // namespace
