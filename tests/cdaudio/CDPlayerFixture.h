#pragma once
// A machine whose only CD drives are the test's virtual drives, and a config folder of its own.
#include "CDPlayer.h"
#include "CdDrives.h"
#include "DiscImage.h"
#include "UserConfig.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class CDPlayerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUserConfigFolder(Folder() + "/config");
        CdForgetAllDrives();
        // The worked example: 00:02:00 and 03:10:20, the last track 04:00:10 long.
        twoTracks = WriteDiscImage(Folder(), "two", {{Msf(0, 2, 0)}, {Msf(3, 10, 20)}},
                                   Msf(3, 10, 20) + Msf(4, 0, 10) + 1);
    }
    void TearDown() override
    {
        CdForgetAllDrives();
        SetUserConfigFolder("");
    }
    String Folder() const { return dir.path().toStdString(); }

    QTemporaryDir dir;
    String twoTracks;
};
