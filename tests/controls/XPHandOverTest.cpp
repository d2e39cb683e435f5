// A look that stops giving its look to other forms at run time hands that over to the next
// active look, or gives those forms back their own faces when there is none.
#include "PaintProbe.h"
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
