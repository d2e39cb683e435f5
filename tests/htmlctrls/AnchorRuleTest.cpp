// One anchor rule for the three mark-up controls that hold links: web and mail links go to the
// desktop, every other anchor clicked reaches OnAnchorClick; the list box and the panel follow
// any mouse button, the combo box the left one.
#include "MarkupCombo.h"
#include "MarkupList.h"
#include "MarkupPanel.h"
#include "RealInput.h"
#include "Shell.h"

#include <QListView>
#include <gtest/gtest.h>

namespace {

std::vector<String> g_opened;

// One control holding a single anchor in a shown window; a press on the anchor goes to target.
struct Holder {
    TForm form{nullptr};
    std::vector<String> clicked;
    QWidget* target = nullptr;
    QPoint at;
    bool rightButtonToo = true;
};

// The first point of the control, row by row, where anchorAt finds an anchor.
template <typename AnchorAt>
QPoint FindAnchor(AnchorAt anchorAt)
{
    for (int y = 2; y < 24; ++y)
        for (int x = 0; x < 300; ++x)
            if (!anchorAt(x, y).empty())
                return {x + 2, y};
    return {};
}

void MakeList(Holder& h, const String& href)
{
    auto* box = new TMarkupListBox(&h.form);
    box->SetParent(&h.form);
    box->SetBounds(0, 0, 300, 100);
    box->OnAnchorClick = [&h](TObject*, int, const String& a) { h.clicked.push_back(a); };
    box->Items().Add("<A href=\"" + href + "\">link</A>");
    h.target = box->View()->viewport();
    h.at = h.target->mapFrom(box->Widget(), FindAnchor([box](int x, int y) {
        int index;
        return box->AnchorAt(x, y, index);
    }));
}

void MakePanel(Holder& h, const String& href)
{
    auto* panel = new TMarkupPanel(&h.form);
    panel->SetParent(&h.form);
    panel->SetBounds(0, 0, 300, 100);
    panel->OnAnchorClick = [&h](TObject*, const String& a) { h.clicked.push_back(a); };
    panel->SetText("<A href=\"" + href + "\">link</A>");
    h.target = panel->Widget();
    h.at = FindAnchor([panel](int x, int y) {
        TRect r;
        int index;
        return panel->AnchorAt(x, y, r, index);
    });
}

void MakeCombo(Holder& h, const String& href)
{
    auto* box = new TMarkupComboBox(&h.form);
    box->SetParent(&h.form);
    box->SetBounds(0, 0, 300, 24);
    box->OnAnchorClick = [&h](TObject*, int, const String& a) { h.clicked.push_back(a); };
    box->Items().Add("<a href=\"" + href + "\">link</a>");
    box->SetItemIndex(0);
    h.target = box->Widget();
    h.at = QPoint(6, 6);
    h.rightButtonToo = false;
}

TEST(AnchorRule, IsTheSameForListPanelAndCombo)
{
    const std::vector<std::pair<String, bool>> links{  // the href, and whether the desktop opens it
        {"http://example.org/x", true}, {"HTTPS://example.org/y", true}, {"ftp://example.org/z", true},
        {"mailto:someone@example.org", true}, {"file:///etc/passwd", false}, {"gopher://example.org/", false},
        {"layout:3", false}};
    SetShellOpenHook([](const String& url) {
        g_opened.push_back(url);
        return true;
    });
    for (const auto& [name, make] : {std::make_pair("list box", &MakeList), std::make_pair("panel", &MakePanel),
                                     std::make_pair("combo box", &MakeCombo)})
        for (const auto& [href, toDesktop] : links)
            for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
                g_opened.clear();
                Holder h;
                make(h, href);
                h.form.SetBounds(0, 0, 320, 120);
                ASSERT_TRUE(ShowActive(h.form));
                ASSERT_FALSE(h.at.isNull()) << name;
                QTest::mouseClick(h.target, button, {}, h.at);
                const bool follows = button == Qt::LeftButton || h.rightButtonToo;
                const std::vector<String> none, one{href};
                EXPECT_EQ(g_opened, follows && toDesktop ? one : none) << name << ", " << href << ", " << button;
                EXPECT_EQ(h.clicked, follows && !toDesktop ? one : none) << name << ", " << href << ", " << button;
            }
    SetShellOpenHook(nullptr);
}

}  // namespace
