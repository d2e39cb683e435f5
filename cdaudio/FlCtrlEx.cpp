#include "FlCtrlEx.h"

#include "CdDrives.h"
#include "ShellIcons.h"

#include <cctype>

namespace {

constexpr uint32_t kVersion = 0x01020000;
constexpr int kIconSize = 16;

String CaseLike(char letter, const String& text)
{
    return std::islower(static_cast<unsigned char>(letter)) ? LowerCase(text) : UpperCase(text);
}

// The volume label in brackets, in the letter's case; empty brackets for a drive without a
// readable medium.
String VolumeName(const String& root, char letter)
{
    String label;
    if (!GetVolumeLabel(root, label))
        label.clear();
    return "[" + CaseLike(letter, label) + "]";
}

}  // namespace

TDriveComboBoxEx::TDriveComboBoxEx(TComponent* owner) : TDriveComboBox(owner)
{
    Refresh();
}

String TDriveComboBoxEx::Version() const
{
    return Format("%d.%d.%d.%d", (kVersion >> 24) & 0xFF, (kVersion >> 16) & 0xFF, (kVersion >> 8) & 0xFF,
                  kVersion & 0xFF);
}

void TDriveComboBoxEx::BuildList()
{
    Items().Clear();
    uint32_t drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i)))
            continue;
        char letter = static_cast<char>('a' + i);
        String root = String(1, letter) + ":\\";
        unsigned type = GetDriveType(root);
        if (TextCase() == tcUpperCase)
            letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
        String name;
        switch (type) {
        case DRIVE_REMOVABLE: break;
        // A network drive's remote name has no counterpart here: it is named by its volume,
        // as a drive whose connection cannot be read.
        case DRIVE_FIXED:
        case DRIVE_REMOTE:
        case DRIVE_CDROM:
        case DRIVE_RAMDISK: name = VolumeName(root, letter); break;
        default: continue;
        }
        Items().Add(Format("%s: %s", String(1, letter).c_str(), name.c_str()));
    }
}

void TDriveComboBoxEx::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TCanvas& c = Canvas();
    c.FillRect(rect);
    // The closed box of a picker with no drive has no line to draw.
    if (index < 0 || index >= Items().Count())
        return;
    const String& text = Items()[index];
    SHFILEINFO info;
    if (TImageList* icons = SHGetFileInfo(text.substr(0, text.find(' ')) + "\\", SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info))
        icons->Draw(c, rect.Left, rect.Top, info.iIcon);
    TRect r = rect;
    r.Left += kIconSize + 6;
    c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TDriveComboBoxEx::MeasureItem(int, int& height) { height = kIconSize; }
