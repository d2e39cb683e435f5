#include "Classes.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

TEST(RunTime, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(600, 8, 72), 67);    // 66.67
    EXPECT_EQ(MulDiv(300, 14, 72), 58);   // 58.33
    EXPECT_EQ(MulDiv(3, 1, 2), 2);        // 1.5 goes up
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);      // -1.5 goes down
    EXPECT_EQ(MulDiv(5, 1, 4), 1);        // 1.25
    EXPECT_EQ(MulDiv(1 << 30, 8, 4), INT32_MIN);  // the 64-bit product does not overflow before dividing
    EXPECT_EQ(MulDiv(7, 7, 0), -1);
}

TEST(RunTime, TruncWorksOnExtendedProducts)
{
    // 1.3 as a float32 layout field is a little below 1.3; the extended product keeps that.
    float f = 1.3f;
    EXPECT_EQ(Trunc(360.0L * f), 467);
    EXPECT_EQ(Trunc(600.0L * 0.5f), 300);
    EXPECT_EQ(Trunc(-2.7L), -2);
    EXPECT_EQ(Round(2.5L), 2);
    EXPECT_EQ(Round(3.5L), 4);
    EXPECT_EQ(Round(-2.5L), -2);
}

TEST(RunTime, IntegerConversions)
{
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("-90"), -90);
    EXPECT_EQ(StrToInt("$FF"), 255);
    try {
        StrToInt("abc");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'abc' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
    EXPECT_EQ(IntToHex(0xFF, 6), "0000FF");
    EXPECT_EQ(IntToHex(0x0c01ac02, 8), "0C01AC02");
    EXPECT_EQ(IntToHex(0x123, 2), "123");
}

TEST(RunTime, DateFormatWithoutLeadingZeros)
{
    struct tm when {};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    EXPECT_EQ(FormatDateTime("m/d/yy  h:nn", when), "3/7/26  9:05");
    when.tm_mon = 11;
    when.tm_mday = 31;
    when.tm_hour = 23;
    EXPECT_EQ(FormatDateTime("m/d/yy  h:nn", when), "12/31/26  23:05");
}

TEST(RunTime, FileNameParts)
{
    EXPECT_EQ(ExtractFilePath("/a/b/c.jpg"), "/a/b/");
    EXPECT_EQ(ExtractFileName("/a/b/c.jpg"), "c.jpg");
    EXPECT_EQ(ExtractFileExt("/a/b.d/c"), "");
    EXPECT_EQ(ExtractFileExt("/a/b/c.JPEG"), ".JPEG");
    EXPECT_EQ(ChangeFileExt("/a/b/c.jpg", ".bmp"), "/a/b/c.bmp");
}

TEST(RunTime, Windows1252AtTheEdges)
{
    EXPECT_EQ(Utf8ToAnsi("Caf\xC3\xA9 \xE2\x82\xAC"), std::string("Caf\xE9 \x80"));
    EXPECT_EQ(Utf8ToAnsi("\xE6\x97\xA5"), "?");  // not in the code page: never UTF-8 bytes
    EXPECT_EQ(AnsiToUtf8(std::string("\x93q\x94")), "\xE2\x80\x9Cq\xE2\x80\x9D");
}

TEST(StringList, TextUsesCrLfAndSplitsAnyBreak)
{
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "four");
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    try {
        list[4];
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (4)");
    }
    EXPECT_EQ(list.IndexOf("TWO"), 1);
}

TEST(StringList, ObjectsStayWithTheirLines)
{
    TObject a, b, c;
    TStringList list;
    list.AddObject("a", &a);
    list.Add("plain");
    list.AddObject("c", &c);
    list.Insert(0, "first");
    list.Delete(2);  // "plain"
    list.SetObjects(0, &b);
    list.Put(1, "A");  // a new text keeps the line's object
    const std::vector<std::pair<String, TObject*>> expected{{"first", &b}, {"A", &a}, {"c", &c}};
    TStringList copy;
    copy.Assign(list);
    for (const TStringList* l : {&list, &copy}) {
        ASSERT_EQ(l->Count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ((*l)[i], expected[i].first);
            EXPECT_EQ(l->Objects(i), expected[i].second) << i;
        }
    }
    EXPECT_THROW(list.Objects(3), EListError);
}

// What a change handler learns of the change: a single insertion or deletion and where.
TEST(StringList, OnChangeTellsASingleInsertionOrDeletion)
{
    using Kind = TStringList::TChange::TKind;
    struct Case {
        const char* name;
        std::function<void(TStringList&)> change;
        Kind kind;
        int index;
    } cases[] = {
        {"add", [](TStringList& l) { l.Add("x"); }, TStringList::TChange::Inserted, 3},
        {"insert", [](TStringList& l) { l.Insert(1, "x"); }, TStringList::TChange::Inserted, 1},
        {"delete", [](TStringList& l) { l.Delete(2); }, TStringList::TChange::Deleted, 2},
        {"replace", [](TStringList& l) { l.Put(0, "x"); }, TStringList::TChange::Other, -1},
        {"clear", [](TStringList& l) { l.Clear(); }, TStringList::TChange::Other, -1},
        {"one in a bracket", [](TStringList& l) { l.BeginUpdate(); l.Insert(0, "x"); l.EndUpdate(); },
         TStringList::TChange::Inserted, 0},
        {"two in a bracket", [](TStringList& l) { l.BeginUpdate(); l.Add("x"); l.Delete(0); l.EndUpdate(); },
         TStringList::TChange::Other, -1},
    };
    for (const Case& c : cases) {
        TStringList list{"a", "b", "c"};
        std::vector<std::pair<Kind, int>> heard;
        list.OnChange = [&](TObject*) { heard.emplace_back(list.LastChange().Kind, list.LastChange().Index); };
        c.change(list);
        ASSERT_EQ(heard.size(), 1u) << c.name;
        EXPECT_EQ(heard[0].first, c.kind) << c.name;
        if (c.kind != TStringList::TChange::Other)
            EXPECT_EQ(heard[0].second, c.index) << c.name;
        list.Add("after");  // the next change is told afresh
        EXPECT_EQ(heard.back().first, TStringList::TChange::Inserted) << c.name;
    }
}
