// Alt with a button's underlined letter presses the button, also when other buttons of the
// window carry the same letter: then the first of them that could be pressed takes it.
#include "ExtCtrls.h"
#include "Forms.h"
#include "RealInput.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

struct AcceleratorCase {
    const char* what;
    std::vector<const char*> captions;  // in creation order; "-" makes the button disabled
    bool firstInPanel;                  // the first button sits in a panel, the rest on the form
    Qt::Key key;
    int presses;
    std::vector<int> expected;  // clicks per button
};

const AcceleratorCase kCases[] = {
    {"two buttons share the letter", {"&Create", "&Save", "&Cancel"}, false, Qt::Key_C, 1, {1, 0, 0}},
    {"every press goes to the first", {"&Create", "&Save", "&Cancel"}, false, Qt::Key_C, 3, {3, 0, 0}},
    {"a disabled one is passed over", {"-&Create", "&Save", "&Cancel"}, false, Qt::Key_C, 1, {0, 0, 1}},
    {"a letter of its own", {"&Create", "&Save", "&Cancel"}, false, Qt::Key_S, 2, {0, 2, 0}},
    {"inside a container, made first", {"&Cancel", "&Create"}, true, Qt::Key_C, 1, {1, 0}},
};

TEST(ButtonAccelerator, PressesTheFirstButtonCarryingTheLetter)
{
    for (const AcceleratorCase& c : kCases) {
        SCOPED_TRACE(c.what);
        TForm form(nullptr);
        form.SetBounds(100, 100, 400, 120);
        auto* panel = new TPanel(&form);
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 100, 40);
        std::vector<int> clicks(c.captions.size());
        int total = 0;
        for (size_t i = 0; i < c.captions.size(); ++i) {
            auto* button = new TButton(&form);
            button->SetParent(i == 0 && c.firstInPanel ? static_cast<TWinControl*>(panel) : &form);
            button->SetBounds(10 + 90 * static_cast<int>(i), 50, 80, 25);
            const bool disabled = c.captions[i][0] == '-';
            button->SetCaption(c.captions[i] + (disabled ? 1 : 0));
            button->SetEnabled(!disabled);
            button->OnClick = [&clicks, &total, i](TObject*) { ++clicks[i], ++total; };
        }
        ASSERT_TRUE(ShowActive(form));
        for (int p = 0; p < c.presses; ++p) {
            QTest::keyClick(form.Widget(), c.key, Qt::AltModifier);
            // A button that alone carries its letter is pressed a moment later, as a click shows.
            EXPECT_TRUE(QTest::qWaitFor([&] { return total > p; }, 1000));
        }
        EXPECT_EQ(clicks, c.expected);
    }
}

}  // namespace
