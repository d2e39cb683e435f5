#include "CDPlayerFixture.h"
#include "FlCtrlEx.h"
#include "ShellIcons.h"

#include <QImage>
#include <QPainter>

namespace {

class DrivePickerTest : public CDPlayerFixture {
protected:
    std::vector<String> Lines(TDriveComboBoxEx& picker)
    {
        std::vector<String> lines;
        for (int i = 0; i < picker.Items().Count(); ++i)
            lines.push_back(picker.Items()[i]);
        return lines;
    }
};

TEST_F(DrivePickerTest, LinesNameEachDriveInTheTextCase)
{
    CdInsertImage('E', twoTracks);
    CdInsertImage('F', WriteDiscImage(Folder(), "data", {{Msf(0, 2, 0), false}}, Msf(5, 0, 0), "Data"));
    CdInsertImage('G', twoTracks);
    CdEjectImage('G');  // a drive without a medium
    TDriveComboBoxEx picker(nullptr);
    EXPECT_EQ(Lines(picker), (std::vector<String>{"e: [audio cd]", "f: [data]", "g: []"}));
    EXPECT_EQ(picker.Drive(), 'e');
    picker.SetTextCase(tcUpperCase);
    EXPECT_EQ(Lines(picker), (std::vector<String>{"E: [AUDIO CD]", "F: [DATA]", "G: []"}));
    EXPECT_EQ(picker.Drive(), 'E');
    EXPECT_EQ(picker.Version(), "1.2.0.0");
    picker.SetVersion("9.9");
    EXPECT_EQ(picker.Version(), "1.2.0.0");
    int height = 0;
    picker.MeasureItem(0, height);
    EXPECT_EQ(height, 16);
}

TEST_F(DrivePickerTest, PickingADriveRaisesOnChangeOnce)
{
    CdInsertImage('E', twoTracks);
    CdInsertImage('H', twoTracks);
    TDriveComboBoxEx picker(nullptr);
    std::vector<char> changes;
    picker.OnChange = [&](TObject*) { changes.push_back(picker.Drive()); };
    picker.SetItemIndex(1);  // as the user's choice in the list
    picker.Change();
    picker.SetDrive('H');  // already chosen
    picker.SetDrive('z');  // not a drive
    EXPECT_EQ(changes, std::vector<char>{'h'});
    EXPECT_EQ(picker.ItemIndex(), 1);
    picker.SetDrive('E');
    EXPECT_EQ(changes, (std::vector<char>{'h', 'e'}));
    EXPECT_EQ(picker.ItemIndex(), 0);
}

TEST_F(DrivePickerTest, ALineIsTheShellIconThenTheText)
{
    CdInsertImage('E', twoTracks);
    TDriveComboBoxEx picker(nullptr);
    SHFILEINFO info;
    TImageList* icons = SHGetFileInfo("e:\\", SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info);
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->Width, 16);
    SHFILEINFO again;
    EXPECT_EQ(SHGetFileInfo("E:\\", SHGFI_SYSICONINDEX | SHGFI_SMALLICON, again), icons);
    EXPECT_EQ(again.iIcon, info.iIcon);  // one image per kind of drive
    EXPECT_EQ(SHGetFileInfo("q:\\", SHGFI_SYSICONINDEX | SHGFI_SMALLICON, again), nullptr);

    QImage image(200, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picker.PaintItem(painter, 0, {0, 0, 200, 16}, 0);
    painter.end();
    auto inkIn = [&](int x0, int x1) {
        for (int y = 0; y < 16; ++y)
            for (int x = x0; x < x1; ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(0, 16));    // the icon
    EXPECT_FALSE(inkIn(16, 22));  // the gap
    EXPECT_TRUE(inkIn(22, 200));  // the text
}

}  // namespace
