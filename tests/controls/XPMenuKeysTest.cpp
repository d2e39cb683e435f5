// XP-look menu items in a real menu: run from the keyboard like plain items, their captions
// whole, shortcuts measured and drawn, and a right-to-left menu drawn mirrored.
#include "PaintProbe.h"
#include "XPColors.h"
#include "XPLook.h"

#include "../support/FixedTextMetrics.h"
#include "../support/WaitFor.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <QWidgetAction>

namespace {

struct MenuForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TPopupMenu* menu = new TPopupMenu(form.get());
    TXPLook* look = nullptr;
    std::vector<String> clicked;

    TMenuItem* Add(const String& caption, TMenuItem* parent = nullptr)
    {
        auto* item = new TMenuItem(menu);
        item->Caption = caption;
        item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
        (parent ? *parent : menu->Items()).Add(item);
        return item;
    }
    void AddLook() { look = AddXPLook(*form); }
    QMenu* Open()
    {
        QMenu* q = menu->BuildMenu();
        q->popup(QPoint(10, 10));
        WaitUntil([q] { return q->isVisible(); }, 5000);
        return q;
    }
    static QWidget* ItemWidget(QMenu* q, const String& caption)
    {
        for (QAction* a : q->actions())
            if (a->text().toStdString() == caption)
                if (auto* w = qobject_cast<QWidgetAction*>(a))
                    return w->defaultWidget();
        return nullptr;
    }
};

TEST(XPMenuKeys, ItemsRunFromReturnAndFromTheirLetter)
{
    MenuForm f;
    f.Add("&Edit This Track Name");
    f.Add("-");
    f.Add("&Clear List");
    f.AddLook();

    QMenu* q = f.Open();
    QTest::keyClick(q, Qt::Key_Down);
    QTest::keyClick(q, Qt::Key_Down);  // over the separator
    EXPECT_EQ(q->activeAction()->text(), "&Clear List");
    QTest::keyClick(q, Qt::Key_Return);
    EXPECT_FALSE(q->isVisible());

    q = f.Open();
    QTest::keyClick(q, Qt::Key_E);
    EXPECT_FALSE(q->isVisible());
    EXPECT_EQ(f.clicked, (std::vector<String>{"&Clear List", "&Edit This Track Name"}));
}

TEST(XPMenuKeys, ItemsWithSubItemsAreDrawnByTheMenuAndOpenFromTheKeyboard)
{
    MenuForm f;
    TMenuItem* more = f.Add("&More");
    f.Add("&Inner", more);
    f.AddLook();
    ASSERT_TRUE(more->OnDrawItem);

    QMenu* q = f.Open();
    QWidget* drawn = MenuForm::ItemWidget(q, "&More");
    ASSERT_TRUE(drawn);
    // The menu adds its arrow at the right of what the look draws.
    const QImage shot = drawn->grab().toImage();
    EXPECT_LT(qGray(shot.pixel(shot.width() - 8, shot.height() / 2)), 60);

    QTest::keyClick(q, Qt::Key_Down);
    QTest::keyClick(q, Qt::Key_Right);
    QMenu* sub = q->activeAction() ? q->activeAction()->menu() : nullptr;
    ASSERT_TRUE(sub);
    ASSERT_TRUE(WaitUntil([sub] { return sub->isVisible(); }, 5000));
    ASSERT_TRUE(MenuForm::ItemWidget(sub, "&Inner"));
    QTest::keyClick(sub, Qt::Key_Down);
    QTest::keyClick(sub, Qt::Key_Return);
    EXPECT_EQ(f.clicked, std::vector<String>{"&Inner"});
}

TEST(XPMenuKeys, CaptionsAreNotCutAtTheRight)
{
    MenuForm f;
    f.Add("&Edit This Track Name");
    f.AddLook();
    QWidget* item = MenuForm::ItemWidget(f.Open(), "&Edit This Track Name");
    ASSERT_TRUE(item);
    QImage shot = item->grab().toImage();
    int rightmost = -1;
    for (int x = 0; x < shot.width(); ++x)
        for (int y = 0; y < shot.height(); ++y)
            if (qGray(shot.pixel(x, y)) < 80)
                rightmost = x;
    ASSERT_GT(rightmost, 0);
    EXPECT_LT(rightmost, shot.width() - 5);  // the whole caption, then the item's own margin
}

TEST(XPMenuKeys, ShortCutIsMeasuredAndDrawnAtTheRight)
{
    MenuForm f;
    TMenuItem* save = f.Add("&Save");
    save->ShortCut = scCtrl | 'S';
    f.AddLook();
    EXPECT_EQ(ShortCutToText(save->ShortCut), "Ctrl+S");

    TBitmap image(200, 24, pf24bit);
    TFixedTextMetrics metrics;
    image.Canvas().SetTextMetrics(&metrics);
    int w = 0, h = 0;
    save->OnMeasureItem(save, image.Canvas(), w, h);
    EXPECT_EQ(w, static_cast<int>(String("&SaveCtrl+SWWW").size() - 1) * TFixedTextMetrics::CharWidth + 5 + 24);
    save->OnDrawItem(save, image.Canvas(), TRect{0, 0, 200, 24}, false);
    ASSERT_EQ(metrics.drawn.size(), 2u);
    EXPECT_EQ(metrics.drawn[1].text, "Ctrl+S ");
    EXPECT_EQ(metrics.drawn[1].cell.Right, 200 - 10);
}

TEST(XPMenuKeys, RightToLeftMenuHasItsGutterAtTheRight)
{
    MenuForm f;
    TMenuItem* item = f.Add("Open");
    f.menu->RightToLeft = true;
    f.AddLook();
    TBitmap image(200, 24, pf24bit);
    TFixedTextMetrics metrics;
    image.Canvas().SetTextMetrics(&metrics);
    item->OnDrawItem(item, image.Canvas(), TRect{0, 0, 200, 24}, false);
    EXPECT_EQ(At(image, 195, 12), f.look->FFIconBackColor);
    EXPECT_EQ(At(image, 5, 12), f.look->FFColor);
    ASSERT_EQ(metrics.drawn.size(), 1u);
    EXPECT_EQ(metrics.drawn[0].cell.Right, 200 - 24 - 3);  // right-aligned beside the gutter
    EXPECT_EQ(f.menu->BuildMenu()->layoutDirection(), Qt::RightToLeft);
}

TEST(XPMenuKeys, ItemsAddedLaterGetTheLookWithAutoDetect)
{
    MenuForm f;
    f.Add("First");
    f.AddLook();
    f.look->AutoDetect = true;
    auto* later = new TMenuItem(f.form.get());  // owned by the form, as the form's own items are
    later->Caption = "Later";
    f.menu->Items().Add(later);
    EXPECT_FALSE(later->OnDrawItem);  // told from the event loop, once the item is complete
    EXPECT_TRUE(WaitUntil([later] { return bool(later->OnDrawItem); }, 5000));

    f.look->AutoDetect = false;
    auto* unseen = new TMenuItem(f.form.get());
    f.menu->Items().Add(unseen);
    Application()->ProcessMessages();
    EXPECT_FALSE(unseen->OnDrawItem);
}

}  // namespace
