// One anchor rule for the three mark-up controls that hold links: web and mail links go to the
// desktop, every other anchor clicked reaches OnAnchorClick; the list box and the panel follow
// any mouse button, the combo box the left one.
#include "Forms.h"
#include "MarkupCombo.h"
#include "MarkupList.h"
#include "MarkupPanel.h"
#include "RealInput.h"
#include "Shell.h"

#include <QListView>
#include <gtest/gtest.h>

namespace {

std::vector<String> g_opened;

// One control holding a single anchor, clicked through its window.
struct Holder {
    TForm form{nullptr};
    std::vector<String> clicked;
    QWidget* target = nullptr;  // the window the mouse presses reach
    QPoint at;                  // a point over the anchor there
    bool followsRightButton = true;
    virtual ~Holder() = default;
};

struct ListHolder : Holder {
    explicit ListHolder(const String& href)
    {
        auto* box = new TMarkupListBox(&form);
        box->SetParent(&form);
        box->SetBounds(0, 0, 300, 100);
        box->OnAnchorClick = [this](TObject*, int, const String& a) { clicked.push_back(a); };
        box->Items().Add("<A href=\"" + href + "\">link</A>");
        target = box->View()->viewport();
        for (int x = 0, index = -1; x < 300 && at.isNull(); ++x)
            if (!box->AnchorAt(x, 6, index).empty())
                at = box->View()->viewport()->mapFrom(box->Widget(), QPoint(x + 2, 6));
    }
};

struct PanelHolder : Holder {
    explicit PanelHolder(const String& href)
    {
        auto* panel = new TMarkupPanel(&form);
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 300, 100);
        panel->OnAnchorClick = [this](TObject*, const String& a) { clicked.push_back(a); };
        panel->SetText("<A href=\"" + href + "\">link</A>");
        target = panel->Widget();
        for (int y = 0; y < 100 && at.isNull(); ++y)
            for (int x = 0; x < 300 && at.isNull(); ++x) {
                TRect r;
                int index = -1;
                if (!panel->AnchorAt(x, y, r, index).empty())
                    at = QPoint(x + 2, y + 2);
            }
    }
};

struct ComboHolder : Holder {
    explicit ComboHolder(const String& href)
    {
        auto* box = new TMarkupComboBox(&form);
        box->SetParent(&form);
        box->SetBounds(0, 0, 300, 24);
        box->OnAnchorClick = [this](TObject*, int, const String& a) { clicked.push_back(a); };
        box->Items().Add("<a href=\"" + href + "\">link</a>");
        box->SetItemIndex(0);
        target = box->Widget();
        at = QPoint(6, 6);
        followsRightButton = false;
    }
};

struct Link {
    String href;
    bool toDesktop;
};

const std::vector<Link> kLinks{
    {"http://example.org/x", true},     {"HTTPS://example.org/y", true}, {"ftp://example.org/z", true},
    {"mailto:someone@example.org", true}, {"file:///etc/passwd", false},  {"gopher://example.org/", false},
    {"layout:3", false},
};

using MakeHolder = std::function<std::unique_ptr<Holder>(const String&)>;

TEST(AnchorRule, IsTheSameForListPanelAndCombo)
{
    const std::vector<std::pair<const char*, MakeHolder>> controls{
        {"list box", [](const String& h) { return std::make_unique<ListHolder>(h); }},
        {"panel", [](const String& h) { return std::make_unique<PanelHolder>(h); }},
        {"combo box", [](const String& h) { return std::make_unique<ComboHolder>(h); }}};
    SetShellOpenHook([](const String& url) {
        g_opened.push_back(url);
        return true;
    });
    for (const auto& [name, make] : controls)
        for (const Link& link : kLinks)
            for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
                g_opened.clear();
                std::unique_ptr<Holder> h = make(link.href);
                h->form.SetBounds(0, 0, 320, 120);
                ASSERT_TRUE(ShowActive(h->form));
                ASSERT_FALSE(h->at.isNull()) << name;
                QTest::mousePress(h->target, button, {}, h->at);
                QTest::mouseRelease(h->target, button, {}, h->at);
                const bool follows = button == Qt::LeftButton || h->followsRightButton;
                const auto opened = follows && link.toDesktop ? std::vector<String>{link.href} : std::vector<String>{};
                const auto clicked = follows && !link.toDesktop ? std::vector<String>{link.href} : std::vector<String>{};
                EXPECT_EQ(g_opened, opened) << name << ", " << link.href << ", button " << button;
                EXPECT_EQ(h->clicked, clicked) << name << ", " << link.href << ", button " << button;
            }
    SetShellOpenHook(nullptr);
}

}  // namespace
