// A look that stops giving its look to other forms at run time hands that over to the next
// active look, or gives those forms back their own faces when there is none.
#include "PaintProbe.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "XPLookManager.h"

#include "../support/TestWait.h"

#include <gtest/gtest.h>

namespace {

TButton* AddButton(TForm& form)
{
    auto* b = new TButton(&form);
    b->SetParent(&form);
    b->SetBounds(10, 10, 80, 24);
    b->SetCaption("OK");
    return b;
}

bool Decorated(TXPLook& look, TButton& button) { return Shot(button, 40, 4) == look.FFIconBackColor; }

TEST(XPHandOver, DisablingSubclassingHandsTheActiveRoleOver)
{
    struct Row {
        const char* name;
        bool successor;
    };
    for (const Row& row : {Row{"another look takes over", true}, Row{"no other look", false}}) {
        SCOPED_TRACE(row.name);
        TForm main(nullptr);
        TButton* mainButton = AddButton(main);
        TXPLook* first = AddXPLook(main);
        ASSERT_EQ(XPLookManager->ActiveXPLook(), first);
        std::unique_ptr<TForm> own;
        TXPLook* second = nullptr;
        if (row.successor) {
            own = std::make_unique<TForm>(nullptr);
            second = AddXPLook(*own);
        }
        auto plain = std::make_unique<TForm>(&main);
        TButton* plainButton = AddButton(*plain);
        ASSERT_TRUE(WaitUntil([&] { return HookOf(*first, plainButton) != nullptr; }));
        const TColor decorated = Shot(*plainButton, 40, 4);
        ASSERT_EQ(decorated, first->FFIconBackColor);

        first->SetDisableSubclassing(true);
        EXPECT_EQ(XPLookManager->ActiveXPLook(), second);
        // The look's own form keeps it either way.
        EXPECT_TRUE(Decorated(*first, *mainButton));
        EXPECT_EQ(second && HookOf(*second, plainButton), row.successor);
        EXPECT_EQ(Shot(*plainButton, 40, 4) == decorated, row.successor);

        // Allowed again, the look is elected anew and decorates the other forms again.
        first->SetDisableSubclassing(false);
        if (!row.successor) {
            EXPECT_EQ(XPLookManager->ActiveXPLook(), first);
            EXPECT_TRUE(WaitUntil([&] { return Shot(*plainButton, 40, 4) == decorated; }));
        } else {
            EXPECT_EQ(XPLookManager->ActiveXPLook(), second);
        }
        plain.reset();
    }
}

}  // namespace

namespace {

// The menus of a form that the active look decorates follow that look: they lose its drawing
// when it stops or goes, and a successor draws them instead.
TEST(XPHandOver, MenusOfDecoratedFormsFollowTheActiveLook)
{
    enum Change { SwitchedOff, FreedWithSuccessor, FreedAlone, BarredAlone };
    struct Row {
        const char* name;
        Change change;
        bool drawnAfter;
    };
    for (const Row& row : {Row{"switched off", SwitchedOff, false}, Row{"freed, another look left", FreedWithSuccessor, true},
                           Row{"freed, the last look", FreedAlone, false}, Row{"barred, no other look", BarredAlone, false}}) {
        SCOPED_TRACE(row.name);
        // A form owned by the application, as the program's dialogs are: only the manager finds it.
        auto plain = std::make_unique<TForm>(nullptr);
        AddButton(*plain);
        auto* menu = new TPopupMenu(plain.get());
        auto* item = new TMenuItem(menu);
        item->Caption = "Item";
        menu->Items().Add(item);
        auto main = std::make_unique<TForm>(nullptr);
        TXPLook* first = AddXPLook(*main);
        std::unique_ptr<TForm> own;
        if (row.change == FreedWithSuccessor) {
            own = std::make_unique<TForm>(nullptr);
            AddXPLook(*own);
        }
        ASSERT_TRUE(WaitUntil([&] { return bool(item->OnDrawItem); }));

        switch (row.change) {
        case SwitchedOff: first->SetActive(false); break;
        case FreedWithSuccessor:
        case FreedAlone: delete first; break;
        case BarredAlone: first->SetDisableSubclassing(true); break;
        }
        EXPECT_EQ(bool(item->OnDrawItem), row.drawnAfter);
        if (item->OnDrawItem) {
            TBitmap image(100, 20, pf24bit);
            item->OnDrawItem(item, image.Canvas(), TRect{0, 0, 100, 20}, false);
        }
        if (row.change == SwitchedOff) {
            first->SetActive(true);
            EXPECT_TRUE(item->OnDrawItem);
        }
        plain.reset();
        own.reset();
        main.reset();
    }
}

}  // namespace
