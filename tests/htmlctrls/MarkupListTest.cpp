#include "Forms.h"
#include "GifBuilder.h"
#include "MarkupCall.h"
#include "MarkupList.h"
#include "PictureStore.h"
#include "ScreenShot.h"
#include "Shell.h"
#include "WaitFor.h"

#include <QListView>
#include <QWindow>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

std::vector<String> g_opened;

struct List : TMarkupListBox {
    List() : TMarkupListBox(nullptr)
    {
        SetBounds(0, 0, 300, 100);
        Font.SetName("Arial");
        Font.SetHeight(-13);
    }
    using TMarkupListBox::HintAt;
    using TMarkupListBox::MeasureItem;
    // The first x on the item's middle row where the anchor is found; -1 when nowhere.
    int FindAnchor(int item, const String& anchor)
    {
        const TRect r = ItemRect(item);
        for (int x = 0; x < 300; ++x) {
            int index = -1;
            if (AnchorAt(x, (r.Top + r.Bottom) / 2, index) == anchor)
                return x;
        }
        return -1;
    }
};

struct MarkupList : ::testing::Test {
    void SetUp() override
    {
        g_opened.clear();
        SetShellOpenHook([](const String& url) {
            g_opened.push_back(url);
            return true;
        });
    }
    void TearDown() override { SetShellOpenHook(nullptr); }
};

TEST_F(MarkupList, ItemHeightsAreTheMeasureCappedPlusFour)
{
    List box;
    box.Items().Add("one line");
    int oneLine = 0;
    box.MeasureItem(0, oneLine);
    EXPECT_GT(oneLine, 4 + 5);
    EXPECT_LT(oneLine, 4 + 30);
    EXPECT_EQ(box.ItemRect(0).Height(), oneLine);

    String tall = "a";
    for (int i = 0; i < 30; ++i)
        tall += "<br>a";
    box.Items().Add(tall);
    int h = 0;
    box.MeasureItem(1, h);
    const int client = box.ClientHeight();  // inside the list's border, below the control's height
    ASSERT_LT(client, box.Height());
    EXPECT_EQ(h, client + 4);  // not taller than the client area
    box.SetBounds(0, 0, 300, 800);
    box.MeasureItem(1, h);
    EXPECT_EQ(h, client + 4);  // fixed when the item came, not measured again
    box.Items().Insert(0, tall + "<br>b");
    box.MeasureItem(0, h);
    EXPECT_EQ(h, 251 + 4);  // nor taller than the list box allows
    box.MeasureItem(2, h);
    EXPECT_EQ(h, client + 4);  // moved down by the insertion, still its own height
    EXPECT_EQ(box.ItemRect(2).Height(), client + 4);
}

TEST_F(MarkupList, ResizingRecomputesTheHorizontalExtent)
{
    TForm form(nullptr);
    auto* box = new TMarkupListBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 0, 100, 100);
    box->SetScrollHorizontal(true);
    box->Items().Add(String(40, 'W'));
    form.Show();
    const int wide = box->ScrollWidth();
    EXPECT_GT(wide, 100);
    // Narrower than the control but wider than the view inside its border: it still scrolls.
    box->SetBounds(0, 0, wide + 1, 100);
    EXPECT_EQ(box->ScrollWidth(), wide);
    box->SetBounds(0, 0, wide + 10, 100);
    EXPECT_EQ(box->ScrollWidth(), 0);  // everything fits: no horizontal scrolling
    box->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(box->ScrollWidth(), wide);
    form.Hide();
}

TEST_F(MarkupList, PressesOnAnchorsAreTheLinksAndNotTheMouseDownEvent)
{
    List box;
    box.Items().Add("<A href=\"http://h/x.jpg\">Picture</A> and <A href=\"local\">Local</A>");
    std::vector<std::pair<int, String>> clicks;
    int mouseDowns = 0;
    box.OnAnchorClick = [&](TObject*, int index, const String& anchor) { clicks.emplace_back(index, anchor); };
    box.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
    const int y = box.ItemRect(0).Height() / 2;

    const int web = box.FindAnchor(0, "http://h/x.jpg");
    ASSERT_GE(web, 0);
    box.MouseDown(mbLeft, 0, web + 1, y);
    EXPECT_EQ(g_opened, std::vector<String>{"http://h/x.jpg"});

    const int local = box.FindAnchor(0, "local");
    ASSERT_GE(local, 0);
    box.MouseDown(mbLeft, 0, local + 1, y);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(0, String("local")));
    EXPECT_EQ(mouseDowns, 0);

    box.MouseDown(mbLeft, 0, 295, y);
    EXPECT_EQ(mouseDowns, 1);
}

TEST_F(MarkupList, AnchorHintGoesThroughTheEventAsPlainText)
{
    List box;
    box.AnchorHint = true;
    box.Items().Add("<A href=\"http://h/x.jpg\">Picture</A>");
    int hints = 0;
    box.OnAnchorHint = [&](TObject*, int index, String& anchor) {
        hints += index == 0;
        anchor += "#seen";
    };
    const int x = box.FindAnchor(0, "http://h/x.jpg");
    ASSERT_GE(x, 0);
    String text;
    TPoint screen{100, 100};
    ASSERT_TRUE(box.HintAt({x + 1, 5}, text, screen));
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(text, "http://h/x.jpg#seen");
    EXPECT_EQ(screen, (TPoint{110, 90}));

    TPoint elsewhere{0, 0};
    EXPECT_FALSE(box.HintAt({295, 5}, text, elsewhere));
    box.ItemHint = true;
    EXPECT_TRUE(box.HintAt({295, 5}, text, elsewhere));
    EXPECT_EQ(text, "Picture");
}

TEST_F(MarkupList, UpdateBracketHoldsTheHorizontalExtent)
{
    List box;
    box.EndUpdate();
    EXPECT_EQ(box.UpdateCount(), 0);
    box.SetScrollHorizontal(true);
    box.BeginUpdate();
    box.Items().Add(String(200, 'w'));
    EXPECT_EQ(box.ScrollWidth(), 0);
    box.BeginUpdate();
    box.EndUpdate();
    EXPECT_EQ(box.ScrollWidth(), 0);
    box.EndUpdate();
    EXPECT_GT(box.ScrollWidth(), 300);
    box.Clear();
    EXPECT_EQ(box.ScrollWidth(), 0);
}

TEST_F(MarkupList, StrippedItemsSortingAndVersion)
{
    List box;
    box.Items().Add("<b>b</b>2");
    box.Items().Add("a<br>1");
    EXPECT_EQ(box.StrippedItems(0), "b2");
    EXPECT_THROW(box.StrippedItems(2), EMarkupListBoxError);
    EXPECT_THROW(box.StrippedItems(-1), EMarkupListBoxError);
    box.SetSorted(true);
    EXPECT_EQ(box.Items()[0], "a<br>1");

    List same;
    same.Items().Add("<i>x</i>");
    same.Items().Add("<b>x</b>");
    same.SetSorted(true);
    EXPECT_EQ(same.Items()[0], "<i>x</i>");

    box.SetVersion("9");
    EXPECT_EQ(box.Version(), "1.8.0.0");
}

TEST_F(MarkupList, IncrementalLookup)
{
    List box;
    for (const char* s : {"<b>alpha</b>", "bravo", "beta", "charlie"})
        box.Items().Add(s);
    box.SetItemIndex(2);
    int key = 'B';
    box.KeyDown(key, 0);
    EXPECT_EQ(box.ItemIndex(), 2);  // the search starts at the current item
    key = 'C';
    box.KeyDown(key, 0);
    EXPECT_EQ(box.ItemIndex(), 3);

    box.IncrLookup = true;
    key = VK_ESCAPE;
    box.KeyDown(key, 0);
    for (int k : {'B', 'R'}) {
        key = k;
        box.KeyDown(key, 0);
    }
    EXPECT_EQ(box.ItemIndex(), 1);
    key = 'C';  // "BRC" matches nothing: the buffer starts again with "C"
    box.KeyDown(key, 0);
    EXPECT_EQ(box.ItemIndex(), 3);
}

TEST(GradientStyle, AssignKeepsDirection)
{
    TGradientStyle a, b;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    b.SetColorTo(clRed);
    b.Direction = true;
    a.Assign(b);
    EXPECT_EQ(a.ColorTo(), clRed);
    EXPECT_FALSE(a.Direction);
    EXPECT_EQ(changes, 1);
    a.SetColorFrom(clHighlight);  // no comparison with the old value
    EXPECT_EQ(changes, 2);
}

TEST_F(MarkupList, BlinkTimerRunsOnlyWhileEnabled)
{
    List box;
    box.Items().Add("<BLINK>now</BLINK>");
    box.SetEnableBlink(true);
    EXPECT_TRUE(box.BlinkTimerRunning());
    box.SetEnableBlink(false);
    EXPECT_FALSE(box.BlinkTimerRunning());
}

}  // namespace

TEST_F(MarkupList, AnchorsAreUnderlinedOnScreen)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 320, 120);
    auto* box = new TMarkupListBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 0, 300, 100);
    box->SetURLColor(clBlue);
    // A search result as the cover search writes it, and underlined text.
    box->Items().Add("<A href=\"http://h/a.jpg\">LLLLLLLLLL</A><br><FONT  size=\"7\" >Added : 1  (me)</FONT><br>"
                     "<A href=\"http://h/f.jpg\">Front</A>    <br><hr>");
    box->Items().Add("<u>LLLLLLLLLL</u>");
    form.Show();
    TBitmap shot;
    box->PaintTo(shot);
    // An underline is a row of one colour under the text, wider than any stroke of an "L".
    auto underlined = [&](int item, TColor color) {
        const TRect r = box->ItemRect(item);
        for (int y = r.Top; y < r.Bottom; ++y) {
            int run = 0;
            for (int x = r.Left; x < r.Right; ++x) {
                run = shot.Canvas().Pixel(x, y) == color ? run + 1 : 0;
                if (run > 40)
                    return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(underlined(0, clBlue));
    EXPECT_TRUE(underlined(1, ColorToRGB(box->Font.Color())));
    form.Hide();
}

TEST_F(MarkupList, ForgetsImagesAndPicturesThatAreDestroyed)
{
    TForm form(nullptr);
    auto* box = new TMarkupListBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 0, 200, 100);
    auto* images = new TImageList(&form, 16, 16);  // a sibling on the same form
    auto* store = new TPictureStore(nullptr);
    box->SetImages(images);
    box->SetPictureStore(store);
    box->Items().Add("<img src=\"idx:0\"><img src=\"pic\">line");
    delete images;
    delete store;
    EXPECT_EQ(box->Images(), nullptr);
    EXPECT_EQ(box->PictureStore(), nullptr);
    box->Items().Add("<img src=\"idx:0\">more");
    TBitmap shot;
    box->PaintTo(shot);
    EXPECT_EQ(box->StrippedItems(1), "more");
}

// The blink timer's work reaches the screen: the blinking text goes and comes back, and a GIF
// moves on to its next frame and back, as grabs of the window show them.
TEST_F(MarkupList, BlinkingAndAnimatedPicturesChangeOnScreen)
{
    auto dark = [](const QColor& c) { return c.red() + c.green() + c.blue() < 300; };
    auto red = [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; };
    using Shows = std::function<bool(const QImage&)>;
    struct Case {
        const char* name;
        String item;
        Shows first, then;
    } cases[] = {
        {"blinking text", "<BLINK>WWWWWWWW</BLINK>", [&](const QImage& i) { return CountPixels(i, dark) > 20; },
         [&](const QImage& i) { return CountPixels(i, dark) == 0; }},
        {"animated picture", "<IMG src=\"anim\">",
         [&](const QImage& i) { return CountPixels(i, red) > 100 && CountPixels(i, blue) == 0; },
         [&](const QImage& i) { return CountPixels(i, blue) > 100 && CountPixels(i, red) == 0; }},
    };
    const std::string gif = MakeGif(20, 10, {{0, 0, 20, 10, 5, 0x00, kGifRed}, {0, 0, 20, 10, 5, 0x00, kGifBlue}});
    for (const Case& c : cases) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 320, 140);
        auto* store = new TPictureStore(&form);
        TPictureItem* picture = store->Items().Add();
        picture->Name = "anim";
        TMemoryStream stream;
        stream.WriteBuffer(gif.data(), static_cast<int64_t>(gif.size()));
        picture->Picture().LoadFromStream(stream);
        auto* box = new TMarkupListBox(&form);
        box->SetParent(&form);
        box->SetBounds(10, 10, 300, 100);
        box->SetPictureStore(store);
        box->Items().Add(c.item);
        form.Show();
        ASSERT_TRUE(WaitUntil([&] { return form.Widget()->windowHandle()->isExposed(); }, 5000)) << c.name;
        // The item as the screen shows it, inside its focus frame.
        auto item = [&] {
            const TRect r = box->ItemRect(0);
            return ScreenShot(box->View()->viewport()).copy(r.Left + 2, r.Top + 2, r.Width() - 4, r.Height() - 4);
        };
        box->SetEnableBlink(true);
        for (const Shows& shows : {c.first, c.then, c.first})
            EXPECT_TRUE(WaitUntil([&] { return shows(item()); }, 5000)) << c.name;
        box->SetEnableBlink(false);
        form.Hide();
    }
}

TEST_F(MarkupList, HorizontalExtentFollowsTheWidestItemAsItemsComeAndGo)
{
    List box;
    box.SetScrollHorizontal(true);
    box.Items().Add(String(30, 'W'));
    const int wide = box.ScrollWidth();
    ASSERT_GT(wide, 300);
    struct Step {
        const char* name;
        std::function<void()> act;
        std::function<bool(int)> extent;
    } steps[] = {
        {"a narrower item leaves it", [&] { box.Items().Add("w"); }, [&](int e) { return e == wide; }},
        {"a wider item widens it", [&] { box.Items().Add(String(40, 'W')); }, [&](int e) { return e > wide; }},
        {"removing the widest narrows it", [&] { box.Items().Delete(2); }, [&](int e) { return e == wide; }},
        {"an empty list has none", [&] { box.Clear(); }, [&](int e) { return e == 0; }},
        {"the first item after that sets it afresh", [&] { box.Items().Add(String(30, 'W')); },
         [&](int e) { return e == wide; }},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_TRUE(s.extent(box.ScrollWidth())) << s.name << ": " << box.ScrollWidth();
    }
}

TEST_F(MarkupList, SortingCarriesEachItemsObjectAlong)
{
    struct Case {
        bool withHtml;
        std::vector<String> items;
        std::vector<String> sorted;
    } cases[] = {
        {false, {"<b>c</b>", "a", "<i>b</i>"}, {"a", "<i>b</i>", "<b>c</b>"}},
        {true, {"<i>z</i>", "<b>y</b>", "x"}, {"<b>y</b>", "<i>z</i>", "x"}},
    };
    for (const Case& c : cases) {
        List box;
        box.SortWithHTML = c.withHtml;
        std::vector<std::unique_ptr<TObject>> objects;
        std::map<String, TObject*> owner;
        for (const String& item : c.items) {
            objects.push_back(std::make_unique<TObject>());
            box.Items().AddObject(item, objects.back().get());
            owner[item] = objects.back().get();
        }
        box.SetSorted(true);
        for (int i = 0; i < box.Count(); ++i) {
            EXPECT_EQ(box.Items()[i], c.sorted[i]);
            EXPECT_EQ(box.Items().Objects(i), owner[box.Items()[i]]) << box.Items()[i];
        }
    }
}

// Each item is measured in no more room than it is drawn in, so no word of it wraps out of
// sight below its line: with and without a vertical scroll bar, added one by one or all at once.
TEST_F(MarkupList, NoItemWrapsBeyondTheHeightItWasGiven)
{
    struct Case {
        const char* name;
        int height;
        bool atOnce;
    } cases[] = {
        {"without a scroll bar", 8000, false},
        {"with a scroll bar", 200, false},
        {"filled at once", 200, true},
    };
    std::vector<String> lines;  // one word more each: one of them wraps at any width
    for (String line = "m"; lines.size() < 60; line += " " + String(lines.size() % 3 + 1, 'm'))
        lines.push_back(line);
    for (const Case& c : cases) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 340, c.height + 40);
        auto* box = new TMarkupListBox(&form);
        box->SetParent(&form);
        box->SetBounds(10, 10, 300, c.height);
        box->Font.SetName("Arial");
        box->Font.SetHeight(-13);
        form.Show();
        if (c.atOnce)
            box->BeginUpdate();
        for (const String& line : lines)
            box->Items().Add(line);
        if (c.atOnce)
            box->EndUpdate();
        // Once laid out, items span the view inside any vertical scroll bar.
        ASSERT_TRUE(WaitUntil([&] { return box->ItemRect(0).Right <= box->View()->viewport()->width(); }, 5000))
            << c.name;
        TBitmap scratch(1, 1, pf24bit);
        scratch.Canvas().Font.Assign(box->Font);
        const int drawn = box->ItemRect(0).Width() - 2;  // items are drawn 2 pixels in
        for (int i = 0; i < box->Count(); ++i) {
            TMarkupCall needed;
            needed.args.measureOnly = needed.args.hitTestOnly = true;
            needed.args.shadowOffset = box->ShadowOffset();
            needed.Run(scratch.Canvas(), lines[i], {0, 0, drawn, 1000});
            EXPECT_GE(box->ItemRect(i).Height(), needed.textHeight + 4) << c.name << ": " << lines[i];
        }
    }
}
