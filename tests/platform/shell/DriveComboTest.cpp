#include "CdDrives.h"
#include "ComCtrls.h"
#include "DiscImage.h"
#include "FileCtrl.h"
#include "ShellIcons.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class DriveComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CdForgetAllDrives();
        audio = WriteDiscImage(dir.path().toStdString(), "audio", {{Msf(0, 2, 0)}}, Msf(3, 0, 0));
    }
    void TearDown() override { CdForgetAllDrives(); }

    QTemporaryDir dir;
    String audio;
};

TEST_F(DriveComboTest, LogicalDrivesMaskHasABitPerLetter)
{
    EXPECT_EQ(GetLogicalDrives(), 0u);
    CdInsertImage('E', audio);
    CdInsertImage('Z', audio);
    EXPECT_EQ(GetLogicalDrives(), (1u << 4) | (1u << 25));
}

TEST_F(DriveComboTest, DriveFollowsTheTextCaseAndKeepsItsLine)
{
    TDriveComboBox none(nullptr);
    EXPECT_EQ(none.Drive(), 0);
    EXPECT_EQ(none.ItemIndex(), -1);

    CdInsertImage('E', audio);
    CdInsertImage('G', audio);
    TDriveComboBox box(nullptr);
    EXPECT_EQ(box.Items().Text(), "e:\r\ng:\r\n");
    EXPECT_EQ(box.Drive(), 'e');
    box.SetDrive('G');
    box.SetTextCase(tcUpperCase);
    EXPECT_EQ(box.Items().Text(), "E:\r\nG:\r\n");
    EXPECT_EQ(box.Drive(), 'G');
    EXPECT_EQ(box.ItemIndex(), 1);
    // Each drive type has its picture; a CD drive's is the shell's.
    SHFILEINFO info;
    ASSERT_NE(ShellDriveTypeIcon(DRIVE_CDROM, SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info), nullptr);
    EXPECT_EQ(box.CDROMBMP.Width(), 16);
    EXPECT_FALSE(box.NetworkBMP.Empty());
}

TEST(StatusPanels, PanelsSitSideBySide)
{
    TStatusBar bar(nullptr);
    bar.SimplePanel = false;
    bar.Panels.Add().SetWidth(470);
    TStatusPanel& second = bar.Panels.Add();
    second.SetWidth(200);
    second.SetText("Right");
    bar.Panels[0].SetText("Left");
    EXPECT_EQ(bar.Panels[0].Text(), "Left");
    EXPECT_EQ(bar.Panels[1].Text(), "Right");
    EXPECT_EQ(bar.SimpleText(), "");
    EXPECT_THROW(bar.Panels[2], Exception);
    auto labels = bar.Widget()->findChildren<QWidget*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[1]->geometry().left(), 470);
    EXPECT_EQ(labels[1]->width(), 200);
}

TEST(ControlPopup, TheMenuIsAskedForByTheWidget)
{
    TWinControl control(nullptr);
    control.SetPopupMenu(nullptr);
    TPanel panel(nullptr);
    TPopupMenu menu(nullptr);
    panel.SetPopupMenu(&menu);
    EXPECT_EQ(panel.PopupMenu(), &menu);
    EXPECT_EQ(panel.Widget()->contextMenuPolicy(), Qt::CustomContextMenu);
    panel.SetPopupMenu(nullptr);
    EXPECT_EQ(panel.Widget()->contextMenuPolicy(), Qt::DefaultContextMenu);
}

}  // namespace
