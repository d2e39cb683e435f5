// The XP look over a gallery of every control kind on every container kind: decorated where
// both kinds are in the look's sets, given back as they were when the look goes off.
#include "XPGallery.h"

#include "PaintProbe.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using gallery::Gallery;

// A control's Ctl3D, BorderStyle and BorderWidth.
using Saved = std::tuple<bool, TBorderStyle, int>;

Saved SettingsOf(TControl* c)
{
    auto* win = dynamic_cast<TWinControl*>(c);
    return win ? Saved{win->Ctl3D(), win->BorderStyle(), win->BorderWidth()} : Saved{true, bsNone, 0};
}

// Every control paints once, so that each hook hears of one more message.
void PaintAll(Gallery& g)
{
    for (const gallery::Container& c : g.containers)
        for (TControl* control : c.controls) {
            TBitmap shot;
            control->PaintTo(shot);
            if (control->Parent())
                control->Parent()->PaintTo(shot);
        }
}

TEST(XPGallery, EveryKindOnEveryContainerIsDecoratedAndGivenBack)
{
    Gallery g;
    std::vector<Saved> before;
    for (const gallery::Container& c : g.containers)
        for (TControl* control : c.controls)
            before.push_back(SettingsOf(control));
    g.AddLook();
    for (const gallery::Container& c : g.containers)
        for (size_t i = 0; i < c.controls.size(); ++i)
            EXPECT_TRUE(HookOf(*g.look, c.controls[i])) << g.kinds[i].name << " on the " << c.name;

    // The painters flatten the borders of edits, lists and lookup combos; the rich edit gives its
    // border up for a band.
    PaintAll(g);
    for (const gallery::Container& c : g.containers)
        for (size_t i = 0; i < c.controls.size(); ++i) {
            const String kind = g.kinds[i].name;
            const auto [ctl3D, border, borderWidth] = SettingsOf(c.controls[i]);
            if (kind == "edit" || kind == "memo" || kind == "list box" || kind == "tree view" || kind == "lookup combo") {
                EXPECT_FALSE(ctl3D) << kind << " on the " << c.name;
            }
            if (kind == "rich edit") {
                EXPECT_EQ(std::make_pair(border, borderWidth), std::make_pair(bsNone, 2)) << c.name;
            }
        }

    // Switched off, each control has its own drawing and its settings back at its next message.
    g.look->SetActive(false);
    PaintAll(g);
    EXPECT_TRUE(g.look->SubClasses().empty());
    size_t n = 0;
    for (const gallery::Container& c : g.containers)
        for (size_t i = 0; i < c.controls.size(); ++i, ++n)
            EXPECT_EQ(SettingsOf(c.controls[i]), before[n]) << g.kinds[i].name << " on the " << c.name;
}

TEST(XPGallery, AControlIsDecoratedOnlyWhenItsKindAndItsContainersAreChosen)
{
    // Each control kind left out in turn (a rich edit is also a memo, a lookup combo decorates as
    // a button), then each container kind.
    for (int kind = xcCombo; kind <= xcHotKey; ++kind) {
        Gallery g;
        g.AddLook(AllXPControls & ~XPBit(kind));
        for (const gallery::Container& c : g.containers)
            for (size_t i = 0; i < c.controls.size(); ++i) {
                const bool in = (g.kinds[i].kinds & ~XPBit(kind)) != 0;
                EXPECT_EQ(HookOf(*g.look, c.controls[i]) != nullptr, in)
                    << g.kinds[i].name << " on the " << c.name << " without kind " << kind;
            }
    }
    Gallery all;
    for (const gallery::Container& left : all.containers) {
        Gallery g;
        g.AddLook(AllXPControls, AllXPContainers & ~XPBit(left.kind));
        for (const gallery::Container& c : g.containers)
            for (TControl* control : c.controls)
                EXPECT_EQ(HookOf(*g.look, control) != nullptr, c.kind != left.kind)
                    << c.name << " without the " << left.name << "'s kind";
    }
}

}  // namespace
