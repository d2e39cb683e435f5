#include "AppFixture.h"
#include "CDDBUnit.h"
#include "CdDrives.h"
#include "DiscImage.h"
#include "LoopbackHttpServer.h"
#include "UserConfig.h"
#include "ripunit.h"

#include <QImage>

namespace {

class TrackListFetch : public AppFixture {
protected:
    void SetUp() override
    {
        SetUserConfigFolder(dir.File("config"));
        CdForgetAllDrives();
        CdInsertImage('E', WriteDiscImage(dir.Path(), "two", {{Msf(0, 2, 0)}, {Msf(3, 10, 20)}},
                                          Msf(3, 10, 20) + Msf(4, 0, 10) + 1));
        server.SetHandler([](const THttpRequest& r) {
            THttpReply reply;
            reply.Body = r.Target.find("cddb+query") != std::string::npos
                             ? "200 rock 0c01ac02 Some Artist / Some Title\r\n"
                             : "210 rock 0c01ac02\r\nDTITLE=Some Artist / Some Title\r\nTTITLE0=One\r\nTTITLE1=Two\r\n.\r\n";
            return reply;
        });
        Start({MakeLayout("Back", 0.5f, 0.5f, 5.94f, 4.63f)}, 300, 300);
        OpenBatch({Picture("a.bmp", clWhite, 400, 300)});
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        CdForgetAllDrives();
        SetUserConfigFolder("");
    }

    // Runs the menu command; the finder is worked by the script, the chooser takes row 0.
    void Fetch(const std::function<TModalResult(TCDRipform&)>& work)
    {
        dialogs.OnShowModal = [this, work](TForm& form) {
            if (auto* chooser = dynamic_cast<Tqueryform*>(&form)) {
                chooser->QueryBox->SetItemIndex(0);
                return mrOk;
            }
            auto& finder = dynamic_cast<TCDRipform&>(form);
            finder.Server = Format("127.0.0.1:%d", server.Port());
            return work(finder);
        };
        DVDForm->OverlayCDDBTrackList1->Click();
    }
    static TModalResult Close(TCDRipform& finder)
    {
        finder.CloseList->Click();
        return finder.ModalResult();
    }
    QImage Preview()
    {
        TBitmap page;
        dialogs.OnShowModal = [&page](TForm&) {
            PreviewForm->PreviewBox->PaintTo(page);
            return mrOk;
        };
        DVDForm->ToolButton12->Click();
        return page.ToImage();
    }
    // Whether a rectangle of the page has dark pixels.
    static bool Ink(const QImage& img, TRect r)
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    return true;
        return false;
    }

    TLoopbackHttpServer server;
};

TEST_F(TrackListFetch, TheFinderListBecomesTheOverlayForOnePrint)
{
    QImage plain = Preview();
    Fetch([](TCDRipform& finder) {
        finder.ScanCD->Click();
        return Close(finder);
    });
    EXPECT_EQ(DVDForm->TrackList->Text(), "Some Artist\r\nSome Title\r\n1    One\r\n2    Two\r\n");
    EXPECT_TRUE(DVDForm->OverlayTrackList);
    EXPECT_EQ(server.Requests().size(), 2u);

    QImage overlaid = Preview();
    EXPECT_NE(overlaid, plain);
    EXPECT_EQ(Preview(), overlaid);  // every preview shows it

    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Pages().size(), 1u);
    const QImage& page = raster->Pages()[0];
    EXPECT_TRUE(Ink(page, {390, 210, 1200, 300}));  // the artist
    EXPECT_TRUE(Ink(page, {330, 476, 800, 530}));   // track 1 on line 2
    EXPECT_FALSE(DVDForm->OverlayTrackList);
    EXPECT_EQ(Preview(), plain);
}

TEST_F(TrackListFetch, AOneLineListPrintsTheArtistAlone)
{
    Fetch([](TCDRipform& finder) {
        finder.markupListBox1->Items().Add("Only Artist");
        return Close(finder);
    });
    EXPECT_EQ(DVDForm->TrackList->Count(), 1);
    ASSERT_TRUE(DVDForm->OverlayTrackList);
    DVDForm->ToolButton5->Click();
    ASSERT_EQ(raster->Pages().size(), 1u);
    const QImage& page = raster->Pages()[0];
    EXPECT_TRUE(Ink(page, {390, 210, 1200, 290}));
    EXPECT_FALSE(Ink(page, {390, 330, 1200, 380}));  // no title line below the artist
    EXPECT_FALSE(DVDForm->OverlayTrackList);
}

TEST_F(TrackListFetch, CancelOrAnEmptyListTakesNothing)
{
    DVDForm->TrackList->SetText("Pending\r\nList");
    DVDForm->OverlayTrackList = true;
    Fetch([](TCDRipform& finder) {
        finder.ScanCD->Click();
        return mrCancel;  // the title bar's close
    });
    EXPECT_EQ(DVDForm->TrackList->Count(), 0);
    EXPECT_FALSE(DVDForm->OverlayTrackList);

    Fetch([](TCDRipform& finder) {
        finder.ScanCD->Click();
        finder.ClearTracks->Click();
        return Close(finder);
    });
    EXPECT_EQ(DVDForm->TrackList->Count(), 0);
    EXPECT_FALSE(DVDForm->OverlayTrackList);
    EXPECT_EQ(dialogs.ModalForms.size(), 4u);  // two finders, two choosers
}

}  // namespace
