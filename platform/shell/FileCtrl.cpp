#include "FileCtrl.h"

#include "CdDrives.h"
#include "ShellIcons.h"

#include <QFont>
#include <QFontMetrics>

#include <algorithm>
#include <cctype>

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

TDriveComboBox::TDriveComboBox(TComponent* owner) : TComboBox(owner)
{
    SetStyle(csOwnerDrawFixed);
    SetColor(clWindow);
    auto load = [](unsigned type, TBitmap& bitmap) {
        SHFILEINFO info;
        if (TImageList* list = ShellDriveTypeIcon(type, SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info))
            list->GetBitmap(info.iIcon, bitmap);
    };
    load(DRIVE_REMOVABLE, FloppyBMP);
    load(DRIVE_FIXED, FixedBMP);
    load(DRIVE_REMOTE, NetworkBMP);
    load(DRIVE_CDROM, CDROMBMP);
    load(DRIVE_RAMDISK, RAMBMP);
    Refresh();
}

TDriveComboBox::~TDriveComboBox() = default;

void TDriveComboBox::BuildList()
{
    Items().Clear();
    for (const String& root : GetLogicalDriveStrings()) {
        char letter = textCase_ == tcUpperCase ? Upper(root[0]) : Lower(root[0]);
        Items().Add(String(1, letter) + ":");
    }
}

void TDriveComboBox::Refresh()
{
    BuildList();
    int index = -1;
    for (int i = 0; i < Items().Count() && index < 0; ++i)
        if (!Items()[i].empty() && Upper(Items()[i][0]) == Upper(drive_))
            index = i;
    if (index < 0 && Items().Count() > 0)
        index = 0;
    drive_ = index >= 0 && !Items()[index].empty() ? Items()[index][0] : 0;
    SetItemIndex(index);
}

void TDriveComboBox::SetTextCase(TTextCase textCase)
{
    textCase_ = textCase;
    Refresh();
}

void TDriveComboBox::SetDrive(char drive)
{
    int index = -1;
    for (int i = 0; i < Items().Count() && index < 0; ++i)
        if (!Items()[i].empty() && Upper(Items()[i][0]) == Upper(drive))
            index = i;
    if (index < 0)
        return;
    bool changed = Upper(drive_) != Upper(drive);
    drive_ = Items()[index][0];
    SetItemIndex(index);
    if (changed)
        TComboBox::Change();
}

void TDriveComboBox::Change()
{
    int index = ItemIndex();
    if (index >= 0 && !Items()[index].empty())
        SetDrive(Items()[index][0]);
}

const TBitmap* TDriveComboBox::DriveTypeBitmap(unsigned driveType) const
{
    switch (driveType) {
    case DRIVE_REMOVABLE: return &FloppyBMP;
    case DRIVE_FIXED: return &FixedBMP;
    case DRIVE_REMOTE: return &NetworkBMP;
    case DRIVE_CDROM: return &CDROMBMP;
    case DRIVE_RAMDISK: return &RAMBMP;
    default: return nullptr;
    }
}

void TDriveComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas& c = Canvas();
    c.FillRect(rect);
    if (index < 0 || index >= Items().Count())
        return;
    const String& text = Items()[index];
    TRect r = rect;
    if (const TBitmap* bitmap = DriveTypeBitmap(GetDriveType(text.substr(0, 1))); bitmap && !bitmap->Empty()) {
        c.Draw(r.Left + 2, r.Top + (r.Height() - bitmap->Height()) / 2, *bitmap);
        r.Left += bitmap->Width() + 6;
    }
    c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TDriveComboBox::MeasureItem(int index, int& height)
{
    height = std::max(QFontMetrics(Font.ToQFont()).height(), CDROMBMP.Height());
}
