#include "VeskPopupUnit.h"

#include "../support/FixedTextMetrics.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QWidgetAction>

namespace {

constexpr int kCell = 13;  // the fixed metrics' character cell for the default font

struct Menu {
    TImageList images{nullptr, 16, 16};
    TVeskPopupMenu menu{nullptr};
    TMenuItem* Add(const String& caption, const String& hint, int image = -1)
    {
        auto* item = new TMenuItem(&menu);
        item->Caption = caption;
        item->Hint = hint;
        item->ImageIndex = image;
        menu.Items().Add(item);
        return item;
    }
};

struct Surface {
    TBitmap image{160, 40, pf24bit};
    TFixedTextMetrics metrics;
    Surface() { image.Canvas().SetTextMetrics(&metrics); }
    TCanvas& Canvas() { return image.Canvas(); }
    TColor At(int x, int y)
    {
        image.Canvas().Release();
        const uint8_t* p = image.ScanLine(y) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }
};

TPoint MeasureWith(TVeskPopupMenu& menu, TMenuItem* item)
{
    Surface s;
    int w = 0, h = 0;
    menu.HookItems();
    item->OnMeasureItem(item, s.Canvas(), w, h);
    return {w, h};
}

int ChannelDistance(TColor a, TColor b)
{
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

TEST(VeskPopupMenu, SeparatorsAreSizedByTheirTitle)
{
    Menu m;
    TMenuItem* titled = m.Add("-", "Image Processing");
    TMenuItem* plain = m.Add("-", "");
    const TPoint t = MeasureWith(m.menu, titled);
    EXPECT_EQ(t.Y, kCell + 8);
    EXPECT_EQ(t.X, 16 * TFixedTextMetrics::CharWidth + 14);
    const TPoint p = MeasureWith(m.menu, plain);
    EXPECT_EQ(p.Y, 4);
    EXPECT_EQ(p.X, 10);
}

TEST(VeskPopupMenu, DescriptionsAddTheirHeightUnlessOff)
{
    Menu m;
    TMenuItem* described = m.Add("&Rotate Image", "Rotate the Image around a center point");
    TMenuItem* bare = m.Add("Flip", "");
    TMenuItem* parent = m.Add("More", "");
    parent->Add(new TMenuItem(&m.menu));
    EXPECT_EQ(MeasureWith(m.menu, bare).Y, kCell + 8);
    EXPECT_EQ(MeasureWith(m.menu, described).Y, 2 * kCell + 8);
    // The description's width counts: it is longer than the caption.
    EXPECT_EQ(MeasureWith(m.menu, described).X, 38 * TFixedTextMetrics::CharWidth + 8);
    // Sub-items reserve room for the arrow, an image list for the gutter.
    EXPECT_EQ(MeasureWith(m.menu, parent).X, 4 * TFixedTextMetrics::CharWidth + 8 + 20);
    m.menu.Images = &m.images;
    EXPECT_EQ(MeasureWith(m.menu, bare).X, 4 * TFixedTextMetrics::CharWidth + 8 + 26);

    m.menu.InlineDescriptions = false;
    const TPoint off = MeasureWith(m.menu, described);
    EXPECT_EQ(off.Y, kCell + 8);
    EXPECT_EQ(off.X, 38 * TFixedTextMetrics::CharWidth + 8 + 26);
    Surface s;
    described->OnDrawItem(described, s.Canvas(), TRect{0, 0, 160, off.Y}, false);
    for (const auto& run : s.metrics.drawn)
        EXPECT_NE(run.text, described->Hint);
}

TEST(VeskPopupMenu, ItemDrawsBackgroundGutterCaptionAndDescription)
{
    Menu m;
    m.menu.Images = &m.images;
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    m.images.AddImage(red);
    TMenuItem* item = m.Add("Sharpen", "Make it sharper", 0);
    m.menu.HookItems();
    Surface s;
    item->OnDrawItem(item, s.Canvas(), TRect{0, 0, 160, 34}, false);
    EXPECT_EQ(s.At(150, 30), m.menu.ItemBackColor);
    EXPECT_EQ(s.At(2, 30), m.menu.GutterColor);
    EXPECT_EQ(s.At(26, 30), m.menu.SeparatorLineColor);
    EXPECT_EQ(s.At(4 + 8, 2 + 8), clRed);  // the image at (4, 2)

    ASSERT_GE(s.metrics.drawn.size(), 2u);
    const auto& caption = s.metrics.drawn.front();
    EXPECT_EQ(caption.text, "Sharpen");
    EXPECT_EQ(caption.cell.Left, 4 + 26);
    EXPECT_EQ(caption.cell.Top, 2);
    EXPECT_TRUE(caption.style & fsBold);
    EXPECT_EQ(caption.color, m.menu.FontColor);
    const auto& description = s.metrics.drawn.back();
    EXPECT_EQ(description.text, "Make it sharper");
    EXPECT_EQ(description.cell.Top, kCell + 4);
    EXPECT_FALSE(description.style & fsBold);

    m.menu.ShowImages = false;
    Surface hidden;
    item->OnDrawItem(item, hidden.Canvas(), TRect{0, 0, 160, 34}, false);
    EXPECT_EQ(hidden.At(12, 10), m.menu.GutterColor);
}

TEST(VeskPopupMenu, DisabledItemUsesTheDisabledColour)
{
    Menu m;
    TMenuItem* item = m.Add("Antialias", "Soften the edges");
    item->Enabled = false;
    m.menu.HookItems();
    Surface s;
    item->OnDrawItem(item, s.Canvas(), TRect{0, 0, 160, 34}, false);
    ASSERT_EQ(s.metrics.drawn.size(), 3u);  // caption, shortcut blanks, description
    for (const auto& run : s.metrics.drawn)
        EXPECT_EQ(run.color, m.menu.FontDisabledColor) << run.text;
}

TEST(VeskPopupMenu, ShortCutWidensTheItemAndStandsAtTheRight)
{
    Menu m;
    TMenuItem* item = m.Add("Rotate", "");
    item->ShortCut = scCtrl | 'R';
    EXPECT_EQ(MeasureWith(m.menu, item).X, (6 + 6) * TFixedTextMetrics::CharWidth + 8 + 8);
    Surface s;
    item->OnDrawItem(item, s.Canvas(), TRect{0, 0, 160, 34}, false);
    ASSERT_EQ(s.metrics.drawn.size(), 2u);  // caption, shortcut
    EXPECT_EQ(s.metrics.drawn[1].text, "Ctrl+R   ");
    EXPECT_EQ(s.metrics.drawn[1].cell.Right, 160 - 4);
}

TEST(VeskPopupMenu, SelectionIsARoundedTwoPartGradient)
{
    Menu m;
    TMenuItem* described = m.Add("Rotate", "Around the centre");
    TMenuItem* bare = m.Add("Flip", "");
    m.menu.HookItems();
    Surface s;
    described->OnDrawItem(described, s.Canvas(), TRect{0, 0, 160, 34}, true);
    // Caption band down to 13 + 4, description band below it.
    EXPECT_LE(ChannelDistance(s.At(80, 1), m.menu.CaptionGradientStart), 8);
    EXPECT_LE(ChannelDistance(s.At(80, 16), m.menu.CaptionGradientEnd), 16);
    EXPECT_LE(ChannelDistance(s.At(80, 18), m.menu.DescriptionGradientStart), 16);
    EXPECT_LE(ChannelDistance(s.At(80, 32), m.menu.DescriptionGradientEnd), 16);
    EXPECT_EQ(s.At(80, 0), m.menu.SeparatorLineColor);  // the outline
    EXPECT_EQ(s.At(0, 0), m.menu.ItemBackColor);         // outside the rounded corner

    Surface half;
    bare->OnDrawItem(bare, half.Canvas(), TRect{0, 0, 160, 30}, true);
    EXPECT_LE(ChannelDistance(half.At(80, 14), m.menu.CaptionGradientEnd), 16);
    EXPECT_LE(ChannelDistance(half.At(80, 15), m.menu.DescriptionGradientStart), 16);
}

TEST(VeskPopupMenu, SeparatorShowsTitleAndLines)
{
    Menu m;
    TMenuItem* titled = m.Add("-", "Special Features");
    TMenuItem* plain = m.Add("-", "");
    m.menu.Images = &m.images;
    m.menu.HookItems();
    Surface s;
    titled->OnDrawItem(titled, s.Canvas(), TRect{0, 0, 160, 21}, false);
    EXPECT_EQ(s.At(150, 5), m.menu.SeparatorBackground);
    EXPECT_EQ(s.At(150, 19), m.menu.SeparatorLineColor);
    EXPECT_EQ(s.At(150, 20), m.menu.ItemBackColor);
    ASSERT_EQ(s.metrics.drawn.size(), 1u);
    EXPECT_EQ(s.metrics.drawn[0].text, "Special Features");
    EXPECT_EQ(s.metrics.drawn[0].cell.Left, 10);
    EXPECT_EQ(s.metrics.drawn[0].cell.Top, (21 - kCell) / 2);
    EXPECT_TRUE(s.metrics.drawn[0].style & fsBold);
    EXPECT_EQ(s.metrics.drawn[0].color, m.menu.FontColor);

    Surface p;
    plain->OnDrawItem(plain, p.Canvas(), TRect{0, 0, 160, 4}, false);
    EXPECT_EQ(p.At(5, 0), m.menu.GutterColor);
    EXPECT_EQ(p.At(26, 0), m.menu.SeparatorLineColor);
    EXPECT_EQ(p.At(100, 0), m.menu.SeparatorBackground);
    EXPECT_TRUE(p.metrics.drawn.empty());
}

std::vector<QWidget*> DrawnEntries(QMenu* menu)
{
    std::vector<QWidget*> widgets;
    for (QAction* a : menu->actions())
        if (auto* w = qobject_cast<QWidgetAction*>(a))
            widgets.push_back(w->defaultWidget());
    return widgets;
}

TEST(VeskPopupMenu, EachShowingHooksItemsAddedSinceAndDrawsThem)
{
    Menu m;
    m.Add("-", "Special Features");
    m.Add("Overlay", "Use CDDB");
    QMenu* shown = m.menu.BuildMenu();
    emit shown->aboutToShow();
    ASSERT_EQ(DrawnEntries(shown).size(), 2u);

    TMenuItem* later = m.Add("Sharpen", "");
    later->OnDrawItem = [](TObject*, TCanvas&, const TRect&, bool) {};  // another component's look
    emit shown->aboutToShow();
    const auto entries = DrawnEntries(shown);
    ASSERT_EQ(entries.size(), 3u);
    // The separator's title made it as tall as a line of bold text + 8, at least.
    EXPECT_GE(entries[0]->sizeHint().height(), 8 + 1);
    const QSize size = entries[2]->sizeHint();
    EXPECT_GT(size.width(), 8);
    entries[2]->resize(size);
    const QImage drawn = entries[2]->grab().toImage();
    const QColor back = drawn.pixelColor(drawn.width() - 2, drawn.height() - 2);
    EXPECT_EQ(RGB(back.red(), back.green(), back.blue()), m.menu.ItemBackColor);
}

}  // namespace
