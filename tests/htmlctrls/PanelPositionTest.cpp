#include "Forms.h"
#include "IniFiles.h"
#include "MarkupPanel.h"
#include "Registry.h"
#include "TempDir.h"
#include "UserConfig.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct PanelPosition : ::testing::Test {
    TempDir dir;
    void SetUp() override { SetUserConfigFolder(dir.Path()); }
    void TearDown() override { SetUserConfigFolder(""); }

    // Points the panel's position store at a section of an ini file.
    static void StoreIn(TMarkupPanel& panel, const String& ini, const String& section)
    {
        panel.Position().Location = clInifile;
        panel.Position().Key = ini;
        panel.Position().Section = section;
    }

    static String ReadFile(const String& name)
    {
        std::ifstream in(name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(PanelPosition, SavedInOrderWhenThePanelGoes)
{
    const String ini = dir.File("panels.ini");
    {
        TMarkupPanel p(nullptr);
        p.SetBounds(10, 20, 150, 120);
        StoreIn(p, ini, "Help");
        p.Position().Save = true;
        p.SetCollaps(true);
    }
    const String text = ReadFile(ini);
    const size_t top = text.find("Top=20"), left = text.find("Left=10"), height = text.find("Height=20"),
                 full = text.find("FullHeight=120"), width = text.find("Width=150"), collaps = text.find("Collaps=1");
    ASSERT_NE(collaps, String::npos) << text;
    EXPECT_LT(top, left);
    EXPECT_LT(left, height);
    EXPECT_LT(height, full);
    EXPECT_LT(full, width);
    EXPECT_LT(width, collaps);
}

TEST_F(PanelPosition, APanelGoingWhileItCollapsesIsStoredCollapsed)
{
    const String ini = dir.File("moving.ini");
    {
        TMarkupPanel p(nullptr);
        p.SetBounds(10, 20, 150, 120);
        StoreIn(p, ini, "P");
        p.Position().Save = true;
        p.CollapsSteps = 5;
        p.CollapsDelay = 1000;
        p.SetCollaps(true);
        ASSERT_TRUE(p.CollapseRunning());
    }
    TIniFile file(ini);
    EXPECT_EQ(file.ReadInteger("P", "Height", -1), 20);
    EXPECT_EQ(file.ReadInteger("P", "FullHeight", -1), 120);
    EXPECT_EQ(file.ReadInteger("P", "Collaps", -1), 1);
}

TEST_F(PanelPosition, RegistryRoundTrip)
{
    {
        TMarkupPanel p(nullptr);
        p.SetBounds(30, 40, 220, 180);
        p.Position().Key = "Software\\Ombrelle\\Panels";
        p.Position().Section = "Main";
        p.Position().Save = true;
    }
    TMarkupPanel q(nullptr);
    q.SetBounds(0, 0, 50, 50);
    q.Position().Key = "Software\\Ombrelle\\Panels";
    q.Position().Section = "Main";
    q.Position().Save = true;
    q.Loaded();
    EXPECT_EQ(q.BoundsRect(), Bounds(30, 40, 220, 180));
    EXPECT_FALSE(q.Collaps());
    EXPECT_EQ(q.FullHeight(), 180);
    q.Position().Save = false;
}

TEST_F(PanelPosition, CollapsedStateAndFullHeightComeBack)
{
    const String ini = dir.File("c.ini");
    TIniFile file(ini);
    file.WriteInteger("P", "Height", 20);
    file.WriteInteger("P", "FullHeight", 240);
    file.WriteInteger("P", "Collaps", 1);
    TMarkupPanel p(nullptr);
    p.SetBounds(0, 0, 100, 100);
    StoreIn(p, ini, "P");
    p.Position().LoadPosition();
    EXPECT_TRUE(p.Collaps());
    EXPECT_EQ(p.Height(), 20);
    EXPECT_EQ(p.FullHeight(), 240);
    p.SetCollaps(false);
    EXPECT_EQ(p.Height(), 240);
}

TEST_F(PanelPosition, UnusableStoredBoundsGiveWayToTheDesigned)
{
    const String ini = dir.File("lost.ini");
    TIniFile file(ini);
    file.WriteInteger("Lost", "Left", 90000);
    file.WriteInteger("Lost", "Top", -50000);
    file.WriteInteger("Lost", "Width", 0);
    file.WriteInteger("Lost", "Height", 0);
    file.WriteInteger("Lost", "FullHeight", 0);
    file.WriteInteger("Small", "Left", 40);
    file.WriteInteger("Small", "Top", 30);
    file.WriteInteger("Small", "Width", 300);
    file.WriteInteger("Small", "Height", 5);  // below the caption's 20
    file.WriteInteger("Off", "Left", -5000);
    file.WriteInteger("Off", "Width", 250);
    file.WriteInteger("Off", "Height", 90);
    TForm form(nullptr);
    form.SetBounds(0, 0, 640, 480);
    auto load = [&](const String& section) {
        auto* p = new TMarkupPanel(&form);
        p->SetParent(&form);
        p->SetBounds(10, 20, 150, 120);
        StoreIn(*p, ini, section);
        p->Position().LoadPosition();
        return p;
    };
    TMarkupPanel* lost = load("Lost");
    EXPECT_EQ(lost->BoundsRect(), Bounds(10, 20, 150, 120));
    EXPECT_EQ(lost->FullHeight(), 120);
    EXPECT_EQ(load("Small")->BoundsRect(), Bounds(40, 30, 150, 120));  // where stored, as large as designed
    EXPECT_EQ(load("Off")->BoundsRect(), Bounds(10, 20, 250, 90));  // as large as stored, where designed
}

TEST_F(PanelPosition, StoredCollapsOtherThanOneIsExpanded)
{
    const String ini = dir.File("two.ini");
    TIniFile(ini).WriteInteger("P", "Collaps", 2);
    TMarkupPanel p(nullptr);
    p.SetBounds(0, 0, 100, 100);
    StoreIn(p, ini, "P");
    p.Position().LoadPosition();
    EXPECT_FALSE(p.Collaps());
    EXPECT_EQ(p.Height(), 100);
}

TEST_F(PanelPosition, NothingWithoutKeyOrSection)
{
    {
        TMarkupPanel p(nullptr);
        p.Position().Section = "Main";
        p.Position().Save = true;
    }
    {
        TMarkupPanel p(nullptr);
        p.Position().Key = "Software\\Ombrelle";
        p.Position().Save = true;
    }
    std::ifstream registry(TRegistry::StoreFileName());
    EXPECT_FALSE(registry.good());
}

}  // namespace
