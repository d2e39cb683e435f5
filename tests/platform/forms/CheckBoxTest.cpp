#include "CheckBoxes.h"
#include "Forms.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

namespace {

TEST(CheckBoxes, StatesAndClicks)
{
    TForm form(nullptr);
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    box->SetState(cbGrayed);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 0);  // set from code
    auto* widget = static_cast<QAbstractButton*>(box->Widget());
    widget->click();  // out of the grayed state, never back into it
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box->Checked());
    widget->click();
    EXPECT_EQ(box->State(), cbUnchecked);
    widget->click();
    EXPECT_EQ(box->State(), cbChecked);
    box->SetAllowGrayed(true);
    widget->click();
    widget->click();
    EXPECT_EQ(box->State(), cbGrayed);
}

TEST(CheckBoxes, RadioButtonsOfOneParentExcludeEachOther)
{
    TForm form(nullptr);
    auto* a = new TRadioButton(&form);
    a->SetParent(&form);
    auto* b = new TRadioButton(&form);
    b->SetParent(&form);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(clicks, 0);
    static_cast<QAbstractButton*>(a->Widget())->click();
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
}

}  // namespace
