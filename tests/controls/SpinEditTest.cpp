#include "SpinEdits.h"

#include "Beep.h"
#include "FloatText.h"
#include "Forms.h"

#include <gtest/gtest.h>

namespace {

struct SpinEditFixture : ::testing::Test {
    TForm form{nullptr};
    TFloatSpinEdit* edit = new TFloatSpinEdit(&form);
    int beeps = 0;
    SpinEditFixture()
    {
        edit->SetParent(&form);
        edit->SetBounds(0, 0, 121, 22);
        SetBeepHandler([this](unsigned) { ++beeps; });
    }
    ~SpinEditFixture() override { SetBeepHandler(nullptr); }
    void Press(char c)
    {
        char key = c;
        edit->KeyPress(key);
        if (key != 0)
            edit->SetText(edit->Text() + key);  // what the field does with an accepted character
    }
    void Arrow(int vk)
    {
        int key = vk;
        edit->KeyDown(key, 0);
        EXPECT_EQ(key, 0);
    }
};

TEST_F(SpinEditFixture, StartsAtZeroAndTheUpButtonSteps)
{
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(edit->Value(), 0.0);
    edit->Button()->UpButton()->MouseDown(mbLeft, ssLeft, 3, 3);
    edit->Button()->UpButton()->MouseUp(mbLeft, 0, 3, 3);
    EXPECT_EQ(edit->Text(), "1.00");
    EXPECT_EQ(edit->SelText(), "1.00");
    edit->Button()->DownButton()->MouseDown(mbLeft, ssLeft, 3, 3);
    edit->Button()->DownButton()->MouseUp(mbLeft, 0, 3, 3);
    edit->Button()->DownButton()->MouseDown(mbLeft, ssLeft, 3, 3);
    edit->Button()->DownButton()->MouseUp(mbLeft, 0, 3, 3);
    EXPECT_EQ(edit->Text(), "-1.00");
}

TEST_F(SpinEditFixture, ValuesAreWrittenWithTwoDecimals)
{
    edit->SetValue(2.5);
    EXPECT_EQ(edit->Text(), "2.50");
    edit->SetValue(0.25);
    EXPECT_EQ(edit->Text(), "0.25");
    edit->SetValue(1234567.891);
    EXPECT_EQ(edit->Text(), "1234567.89");
    edit->SetValue(-0.004);
    EXPECT_EQ(edit->Text(), "0.00");
    edit->SetText(" 3.75 ");
    EXPECT_DOUBLE_EQ(edit->Value(), 3.75);
}

TEST_F(SpinEditFixture, TextThatIsNoNumberReadsAsMinValue)
{
    edit->SetMaxValue(10);
    edit->SetMinValue(2);
    for (const char* text : {"abc", "", "1.2.3", "-", "1e", "5x"}) {
        edit->SetText(text);
        EXPECT_EQ(edit->Value(), 2.0) << text;
    }
    edit->SetText("abc");
    edit->DoExit();  // without ranges the text stays
    EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(SpinEditFixture, RangesLimitOnLeavingAndDisableTheButtons)
{
    edit->SetMaxValue(10);
    edit->SetUseRanges(true);
    edit->SetText("12");
    edit->DoExit();
    EXPECT_EQ(edit->Text(), "10.00");
    EXPECT_FALSE(edit->Button()->UpEnabled());
    EXPECT_TRUE(edit->Button()->DownEnabled());
    Arrow(VK_UP);
    EXPECT_EQ(edit->Text(), "10.00");

    edit->SetText("7.5");
    edit->DoExit();
    EXPECT_EQ(edit->Text(), "7.5");  // in range: kept as typed
    edit->SetValue(0);
    EXPECT_FALSE(edit->Button()->DownEnabled());
    EXPECT_TRUE(edit->Button()->UpEnabled());
}

TEST_F(SpinEditFixture, TurningRangesOnRewritesTheText)
{
    edit->SetMaxValue(4);
    edit->SetText("9");
    edit->SetUseRanges(true);
    EXPECT_EQ(edit->Text(), "4.00");
}

TEST_F(SpinEditFixture, MaxBelowMinIsIgnored)
{
    edit->SetMaxValue(10);
    edit->SetMinValue(5);
    edit->SetMaxValue(3);
    EXPECT_EQ(edit->MaxValue(), 10.0);
    edit->SetMinValue(11);
    EXPECT_EQ(edit->MinValue(), 5.0);
}

TEST_F(SpinEditFixture, ArrowKeysStepByTheIncrement)
{
    edit->Increment = 0.1;
    edit->SetValue(0.5);
    Arrow(VK_UP);
    Arrow(VK_UP);
    EXPECT_EQ(edit->Text(), "0.70");
    Arrow(VK_DOWN);
    EXPECT_EQ(edit->Text(), "0.60");
}

TEST_F(SpinEditFixture, OnlyNumberCharactersAreTyped)
{
    edit->SetText("");
    for (char c : std::string("-1a2.5 x"))
        Press(c);
    EXPECT_EQ(edit->Text(), "-12.5");
    EXPECT_EQ(beeps, 3);
    char enter = '\r';
    edit->KeyPress(enter);
    EXPECT_EQ(enter, 0);
    char back = '\b';
    edit->KeyPress(back);
    EXPECT_EQ(back, '\b');
}

TEST_F(SpinEditFixture, WithTheEditorDisabledOnlyButtonsAndArrowsChangeIt)
{
    edit->EditorEnabled = false;
    Press('5');
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(beeps, 1);
    char back = '\b';
    edit->KeyPress(back);
    EXPECT_EQ(back, 0);
    Arrow(VK_UP);
    EXPECT_EQ(edit->Text(), "1.00");
}

TEST_F(SpinEditFixture, ReadOnlyBeepsAndChangesNothing)
{
    edit->SetReadOnly(true);
    Arrow(VK_UP);
    edit->Button()->DownButton()->MouseDown(mbLeft, ssLeft, 3, 3);
    edit->Button()->DownButton()->MouseUp(mbLeft, 0, 3, 3);
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(beeps, 2);
}

TEST_F(SpinEditFixture, TheButtonSitsInsideTheRightEdge)
{
    TSpinButton* b = edit->Button();
    EXPECT_EQ(b->Parent(), edit);
    EXPECT_EQ(b->Left() + b->Width(), edit->Width() - 2);
    EXPECT_EQ(b->Height(), edit->Height() - 4);
    edit->SetEnabled(false);
    EXPECT_FALSE(b->UpEnabled());
}

TEST(FloatText, ConversionAndPictures)
{
    EXPECT_DOUBLE_EQ(StrToFloat("-2.5e2"), -250.0);
    EXPECT_DOUBLE_EQ(StrToFloat("+.5"), 0.5);
    EXPECT_THROW(StrToFloat("1e999"), EConvertError);
    EXPECT_THROW(StrToFloat("."), EConvertError);
    EXPECT_EQ(FormatFloat("#######0.00", 0.005), "0.01");
    EXPECT_EQ(FormatFloat("#######0.00", -1.005), "-1.00");  // the double lies below 1.005
    EXPECT_EQ(FormatFloat("#.##", 0.5), ".50");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    const char saved = DecimalSeparator;
    DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_EQ(FormatFloat("0.0", 2.25), "2,3");
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
    DecimalSeparator = saved;
}

}  // namespace
