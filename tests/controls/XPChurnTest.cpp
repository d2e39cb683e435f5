// Two looks switched on and off, allowed and barred from decorating other forms, and forms,
// controls, menus and looks freed in every order: nothing is left pointing at what went.
#include "PaintProbe.h"
#include "CheckBoxes.h"
#include "ComCtrls.h"
#include "Menus.h"
#include "SpeedBtns.h"
#include "StdCtrls.h"
#include "XPLookManager.h"

#include "../support/TestWait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <random>

namespace {

struct Churn {
    std::unique_ptr<TForm> a = std::make_unique<TForm>(nullptr);
    std::unique_ptr<TForm> b = std::make_unique<TForm>(nullptr);
    std::vector<std::unique_ptr<TForm>> plain;
    TXPLook* lookA = nullptr;
    TXPLook* lookB = nullptr;

    static void Fill(TForm& form)
    {
        auto place = [&](TControl* c, int y) {
            c->SetParent(&form);
            c->SetBounds(10, y, 100, 22);
        };
        place(new TButton(&form), 10);
        place(new TEdit(&form), 40);
        place(new TCheckBox(&form), 70);
        place(new TComboBox(&form), 100);
        place(new TFlatSpeedButton(&form), 130);
        auto* menu = new TPopupMenu(&form);
        auto* item = new TMenuItem(menu);
        item->Caption = "Item";
        item->RadioItem = true;
        item->Checked = true;
        menu->Items().Add(item);
        form.SetPopupMenu(menu);
        auto* bar = new TToolBar(&form);
        bar->SetParent(&form);
        auto* tool = new TToolButton(bar);
        tool->SetParent(bar);
        tool->SetMenuItem(item);
        tool->SetDropdownMenu(menu);
    }
    Churn()
    {
        Fill(*a);
        Fill(*b);
        lookA = AddXPLook(*a);
        lookB = AddXPLook(*b);
    }
    void Paint()
    {
        QCoreApplication::processEvents();
        for (TForm* form : {a.get(), b.get()})
            if (form)
                for (int i = 0; i < form->ControlCount(); ++i)
                    Shot(*form->Controls(i), 2, 2);
        for (auto& p : plain)
            for (int i = 0; i < p->ControlCount(); ++i)
                Shot(*p->Controls(i), 2, 2);
    }
};

TEST(XPChurn, LooksAndFormsComeAndGoInAnyOrder)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Churn c;
        for (int step = 0; step < 60; ++step) {
            TXPLook* look = random() % 2 ? c.lookA : c.lookB;
            switch (random() % 9) {
            case 0:
                if (look)
                    look->SetActive(!look->Active());
                break;
            case 1:
                if (look)
                    look->SetDisableSubclassing(!look->DisableSubclassing());
                break;
            case 2: {
                auto form = std::make_unique<TForm>(c.a.get());
                Churn::Fill(*form);
                c.plain.push_back(std::move(form));
                break;
            }
            case 3:
                if (!c.plain.empty())
                    c.plain.erase(c.plain.begin() + random() % c.plain.size());
                break;
            case 4:
                if (!c.plain.empty() && c.plain.front()->ControlCount() > 0)
                    delete c.plain.front()->Controls(random() % c.plain.front()->ControlCount());
                break;
            case 5:
                if (look) {
                    (look == c.lookA ? c.lookA : c.lookB) = nullptr;
                    delete look;
                }
                break;
            case 6:
                if (!c.lookA)
                    c.lookA = AddXPLook(*c.a);
                if (!c.lookB)
                    c.lookB = AddXPLook(*c.b);
                break;
            case 7:
                delete c.a->PopupMenu();
                break;
            default: c.Paint(); break;
            }
            if (XPLookManager && XPLookManager->ActiveXPLook()) {
                TXPLook* active = XPLookManager->ActiveXPLook();
                EXPECT_TRUE(active == c.lookA || active == c.lookB);
                EXPECT_FALSE(active->DisableSubclassing());
            }
        }
        c.Paint();
        // The forms go in the order the seed picks, before or after their looks.
        if (seed % 2)
            c.plain.clear();
        if (seed % 3 == 0) {
            // The main form takes the forms it owns along.
            for (auto& p : c.plain)
                (void)p.release();
            c.plain.clear();
            c.a.reset();
        }
        c.b.reset();
        c.Paint();
        c.plain.clear();
        c.a.reset();
        EXPECT_EQ(XPLookManager, nullptr);
    }
}

}  // namespace
