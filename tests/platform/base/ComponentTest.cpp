// Ownership and the free-notification between components.
#include "Classes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Holds a reference to another component and drops it when told that one is going.
struct Holder : TComponent {
    using TComponent::TComponent;
    TComponent* held = nullptr;
    std::vector<TComponent*> told;
    void Hold(TComponent* c)
    {
        held = c;
        c->FreeNotification(this);
    }
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == opRemove) {
            told.push_back(component);
            if (component == held)
                held = nullptr;
        }
        TComponent::Notification(component, operation);
    }
};
}  // namespace

TEST(Component, FreeNotificationClearsTheReference)
{
    Holder holder(nullptr);
    auto* list = new TComponent(nullptr);
    holder.Hold(list);
    holder.Hold(list);  // asked twice, told once
    delete list;
    EXPECT_EQ(holder.held, nullptr);
    EXPECT_EQ(holder.told.size(), 1u);
}

TEST(Component, TheHolderGoingFirstLeavesNothingBehind)
{
    auto* list = new TComponent(nullptr);
    auto* holder = new Holder(nullptr);
    holder->Hold(list);
    delete holder;
    delete list;  // must not tell the freed holder: the sanitizer build sees it if it does
    Holder kept(nullptr);
    auto* other = new TComponent(nullptr);
    kept.Hold(other);
    kept.RemoveFreeNotification(other);
    delete other;
    EXPECT_TRUE(kept.told.empty());  // no longer asked for
}

TEST(Component, OwnerPassesTheNewsToItsComponents)
{
    TComponent form(nullptr);
    auto* holder = new Holder(&form);
    auto* images = new TComponent(&form);
    holder->held = images;  // a sibling: no free-notification asked for
    delete images;
    EXPECT_EQ(holder->held, nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
}
