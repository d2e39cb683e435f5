#include "PreviewUnit.h"
#include "PrintUnit.h"
#include "Program.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "TestWait.h"
#include "XPLookManager.h"
#include "helpUnit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>

TEST(ProgramLook, MainWindowLeadsAndTheEffectsMenuKeepsItsGradientLook)
{
    TempDir dir;
    ScriptedDialogs dialogs;
    Application()->SetExeName(dir.File("ombrelle"));
    CreateStartupForms();
    ASSERT_TRUE(XPLookManager);
    EXPECT_EQ(XPLookManager->ActiveXPLook(), DVDForm->XPLook1);
    EXPECT_TRUE(PreviewForm->XPLook1->Active());
    EXPECT_TRUE(PreviewForm->XPLook1->Shiny);

    // The help window has no look of its own: the main window's gives it one at the next message.
    auto handled = [] {
        const auto& forms = XPLookManager->FActiveForms;
        return std::find(forms.begin(), forms.end(), helpform) != forms.end();
    };
    EXPECT_FALSE(handled());
    EXPECT_TRUE(WaitUntil(handled));

    // The effects menu hooks its own drawing each time it shows.
    QMenu* menu = DVDForm->VeskPopupMenu1->BuildMenu();
    emit menu->aboutToShow();
    TMenuItem* sharpen = DVDForm->SharpenImage1;
    ASSERT_TRUE(sharpen->OnDrawItem);
    TBitmap image(300, 40, pf24bit);
    sharpen->OnDrawItem(sharpen, image.Canvas(), TRect{0, 0, 300, 40}, false);
    image.Canvas().Release();
    const uint8_t* p = image.ScanLine(38) + 3 * 290;
    EXPECT_EQ(RGB(p[2], p[1], p[0]), DVDForm->VeskPopupMenu1->ItemBackColor);

    FreeStartupForms();
    EXPECT_EQ(XPLookManager, nullptr);
    Application()->SetExeName("");
}
