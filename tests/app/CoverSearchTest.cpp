#include "AppFixture.h"
#include "LoopbackHttpServer.h"
#include "Shell.h"
#include "ShortInternetLimits.h"
#include "UnacceptingHost.h"
#include "WaitingWindow.h"
#include "UserConfig.h"
#include "WaitFor.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace {

const char* const kTwoTitles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rsp stat=\"ok\">"
    "<title><name>Alpha</name><id>1</id><added>1/2/07</added><uploader>ann</uploader>"
    "<category>DVD Movie</category><image>http://h/a.jpg</image><covers>"
    "<cover><type>Front</type><url>http://h/f.jpg</url></cover>"
    "<cover><type>Back</type><url>http://h/b.jpg</url></cover></covers></title>"
    "<title><name>Beta</name><added>3/4/08</added><uploader>bob</uploader><image>http://h/b.gif</image></title>"
    "</rsp>\n";

std::vector<String> g_opened;

// The bytes of a bitmap file of one colour, as a picture server sends them.
std::string BitmapOf(TColor colour, int width = 30, int height = 20)
{
    TBitmap b(width, height, pf24bit);
    b.Canvas().Brush.Color = colour;
    b.Canvas().FillRect({0, 0, width, height});
    TMemoryStream stream;
    b.SaveToStream(stream);
    return std::string(stream.Data().begin(), stream.Data().end());
}

class CoverSearch : public AppFixture {
protected:
    TLoopbackHttpServer server;
    TempDir config;
    std::string savedHost;
    bool hadHost = false;

    void SetUp() override
    {
        SetUserConfigFolder(config.Path());
        std::ofstream(config.File("Catalogue.ini")) << "[Catalogue]\nDomain=Test Catalogue\n";
        if (const char* host = std::getenv("OMBRELLE_CATALOGUE_HOST")) {
            hadHost = true;
            savedHost = host;
        }
        setenv("OMBRELLE_CATALOGUE_HOST", ("127.0.0.1:" + std::to_string(server.Port())).c_str(), 1);
        g_opened.clear();
        SetShellOpenHook([](const String& url) {
            g_opened.push_back(url);
            return true;
        });
        Start({MakeLayout("DVD", 0.5f, 0.5f, 4, 3)});
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        SetShellOpenHook(nullptr);
        if (hadHost)
            setenv("OMBRELLE_CATALOGUE_HOST", savedHost.c_str(), 1);
        else
            unsetenv("OMBRELLE_CATALOGUE_HOST");
        SetUserConfigFolder("");
    }

    void Reply(const std::string& body, int status = 200)
    {
        THttpReply reply;
        reply.Status = status;
        reply.Headers = {{"Content-Type", "text/xml"}};
        reply.Body = body;
        server.SetReply(reply);
    }
    // Presses "Search" as the window would: an error goes to the application's handler.
    void Press() { GuardedCall([] { DVDForm->Button1->Click(); }); }
    std::string LastTarget() { return server.Requests().back().Target; }
    String Host() { return "127.0.0.1:" + std::to_string(server.Port()); }
    String Status() { return DVDForm->StatusBar->SimpleText(); }
    String SearchFile() { return DVDForm->AppDir + "Search.xml"; }
    // The pointer comes to rest on a link of the result list.
    static void Hover(const String& address)
    {
        String anchor = address;
        DVDForm->MarkupListBoxAnchorHint(DVDForm->MarkupListBox, 0, anchor);
    }
    static TColor Shown()
    {
        TBitmap shown;
        DVDForm->WebImage->PaintTo(shown);
        return shown.Canvas().Pixel(10, 10);
    }
    static bool Downloading() { return DVDForm->WebImage->WebPicture().Busy(); }
};

TEST_F(CoverSearch, RequestPaths)
{
    Reply("<rsp/>");
    DVDForm->SearchBox->SetText("");
    Press();
    EXPECT_EQ(LastTarget(), "/api/search//DVD%20Movie");

    DVDForm->SearchBox->SetText("The Thing");
    DVDForm->StyleCombo->SetItemIndex(4);
    Press();
    EXPECT_EQ(LastTarget(), "/api/search/The%20Thing/Music%20CD");  // blanks travel encoded

    DVDForm->StyleCombo->SetItemIndex(21);
    Press();
    EXPECT_EQ(LastTarget(), "/api/search/The%20Thing");
    EXPECT_TRUE(dialogs.Messages.empty());

    DVDForm->SearchBox->SetText(String(300, 'x'));
    Press();
    const String prefix = "http://127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(LastTarget(), ("/api/search/" + String(255 - prefix.size() - 12, 'x')));
    EXPECT_EQ(server.Requests().size(), 4u);
}

TEST_F(CoverSearch, TheCategoryShownIsTheCategorySent)
{
    Reply("<rsp/>");
    QComboBox* box = DVDForm->StyleCombo->Combo();
    // Typed letters pick the category they begin; what matches none leaves the choice as it was.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Foo Bar", "DVD Movie", "/DVD%20Movie"},
        {"wi", "Wii", "/Wii"},
        {"Xbox", "Xbox", "/Xbox"},
        {"An", "Any Cover Type", ""},
        {"Mu", "Music CD", "/Music%20CD"},
    };
    for (const auto& [typed, shown, sent] : cases) {
        SCOPED_TRACE(typed);
        box->view()->keyboardSearch(QString());  // a new word, however soon it follows
        QTest::keyClicks(box, typed);
        box->hidePopup();
        EXPECT_EQ(DVDForm->StyleCombo->Text(), shown);
        Press();
        EXPECT_EQ(LastTarget(), std::string("/api/search/") + sent);
    }
}

TEST_F(CoverSearch, TwoTitlesGiveTheLinesAndTheReplyIsKept)
{
    Reply(kTwoTitles);
    DVDForm->SearchBox->SetText("alpha");
    int key = VK_RETURN;
    DVDForm->SearchBox->KeyDown(key, 0);
    TStrings& items = DVDForm->MarkupListBox->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items[0],
              "<A href=\"http://h/a.jpg\">Alpha</A><br><FONT  size=\"7\" >Added : 1/2/07  (ann)</FONT><br>"
              "<A href=\"http://h/f.jpg\">Front</A>    <A href=\"http://h/b.jpg\">Back</A>    <br><hr>");
    EXPECT_EQ(items[1], "<A href=\"http://h/b.gif\">Beta</A><br><FONT  size=\"7\" >Added : 3/4/08  (bob)</FONT><br><br><hr>");
    EXPECT_EQ(Status(), "OK Done!");
    EXPECT_TRUE(std::filesystem::exists(SearchFile()));
    EXPECT_GT(DVDForm->XmlText->Count(), 0);
    EXPECT_EQ(DVDForm->MarkupListBox->UpdateCount(), 0);
}

TEST_F(CoverSearch, ScanningStatusNamesTheCatalogue)
{
    Reply("not xml at all");
    Press();
    // The error is shown and the status says the search ended with it.
    EXPECT_EQ(Status().rfind("Search failed : ", 0), 0u) << Status();
    EXPECT_NE(Status().find("offset"), String::npos) << Status();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("offset"), String::npos) << dialogs.Messages[0];
    EXPECT_EQ(DVDForm->MarkupListBox->Count(), 0);
    EXPECT_EQ(DVDForm->MarkupListBox->UpdateCount(), 0);
}

TEST_F(CoverSearch, AFailedDownloadNeverReadsAStaleReply)
{
    std::ofstream(SearchFile()) << kTwoTitles;
    Reply(kTwoTitles, 500);
    Press();
    EXPECT_EQ(dialogs.Messages, std::vector<String>{"There was an error with the xml"});
    EXPECT_EQ(DVDForm->MarkupListBox->Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(SearchFile()));
    EXPECT_EQ(DVDForm->XmlText->Count(), 0);
    EXPECT_EQ(Status(), "Search failed : the server answered 500 Internal Server Error (" + Host() + ")");

    std::ofstream(SearchFile()) << kTwoTitles;
    setenv("OMBRELLE_CATALOGUE_HOST", "127.0.0.1:1", 1);  // nobody listens there
    Press();
    EXPECT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(DVDForm->MarkupListBox->Count(), 0);
    EXPECT_EQ(Status(), "Search failed : connection refused (127.0.0.1:1)");
}

TEST_F(CoverSearch, WithoutAHostTheStatusNamesTheFileToSetItIn)
{
    unsetenv("OMBRELLE_CATALOGUE_HOST");
    Press();
    EXPECT_EQ(dialogs.Messages, std::vector<String>{"There was an error with the xml"});
    EXPECT_EQ(Status(), "Search failed : no catalogue host set (Host= in the [Catalogue] section of " +
                            config.File("Catalogue.ini") + ")");
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(CoverSearch, TextsThatWouldSplitThePathArriveWhole)
{
    Reply("<rsp/>");
    DVDForm->SearchBox->SetText("C# Programming");
    DVDForm->StyleCombo->SetItemIndex(8);
    Press();
    EXPECT_EQ(LastTarget(), "/api/search/C%23%20Programming/PC%20Apps");
    DVDForm->SearchBox->SetText("AC/DC");
    DVDForm->StyleCombo->SetItemIndex(4);
    Press();
    EXPECT_EQ(LastTarget(), "/api/search/AC%2FDC/Music%20CD");
    DVDForm->SearchBox->SetText("100% why?");
    Press();
    EXPECT_EQ(LastTarget(), "/api/search/100%25%20why%3F/Music%20CD");
    EXPECT_TRUE(dialogs.Messages.empty());

    // A cut at 255 characters never leaves half an escape.
    for (size_t filler = 0; filler < 3; ++filler) {
        DVDForm->SearchBox->SetText(String(filler, 'x') + String(100, '/'));
        Press();
        const std::string target = LastTarget();
        EXPECT_LE(String("http://" + Host()).size() + target.size(), 255u);
        EXPECT_EQ(target.size() % 3, (12 + filler) % 3) << target;
        EXPECT_EQ(target.substr(target.size() - 3), "%2F") << target;
    }
}

// Counts the paintings a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(CoverSearch, AStalledCatalogueLeavesTheWindowAliveAndEscapeCancels)
{
    ShortInternetLimits limits(30000);
    server.SetSilent();
    QWidget* window = DVDForm->Widget();
    ASSERT_TRUE(ShowExposed(window));
    DVDForm->SearchBox->SetText("alien");
    PaintCounter counter;
    window->installEventFilter(&counter);

    bool hourglass = false;
    String statusWhileWaiting;
    int paintsBefore = 0;
    int paintsAfter = 0;
    QTimer::singleShot(100, [&] {
        hourglass = HourglassShown();
        statusWhileWaiting = Status();
        paintsBefore = counter.paints;
        window->update();
        QTimer::singleShot(200, [&] {
            paintsAfter = counter.paints;
            // Neither a second search nor typing reaches the window meanwhile.
            QTest::mouseClick(DVDForm->Button1->Widget(), Qt::LeftButton);
            QTest::keyClicks(DVDForm->SearchBox->Widget(), "zz");
            QTest::keyClick(DVDForm->SearchBox->Widget(), Qt::Key_Return);
            QTest::keyClick(DVDForm->SearchBox->Widget(), Qt::Key_Escape);
        });
    });
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(DVDForm->Button1->Widget(), Qt::LeftButton);
    const auto waited = std::chrono::steady_clock::now() - start;
    window->removeEventFilter(&counter);

    EXPECT_LT(waited, std::chrono::seconds(10));
    EXPECT_TRUE(hourglass);
    EXPECT_EQ(statusWhileWaiting, "Scanning Test Catalogue for Cover..");
    EXPECT_GT(paintsAfter, paintsBefore);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(DVDForm->SearchBox->Text(), "alien");
    EXPECT_EQ(dialogs.Messages, std::vector<String>{"There was an error with the xml"});
    EXPECT_EQ(Status(), "Search failed : cancelled (" + Host() + ")");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    server.ReleaseStalls();
}

TEST_F(CoverSearch, SilentOrDrippingCataloguesAreGivenUp)
{
    {
        ShortInternetLimits limits(300);
        server.SetSilent();
        Press();
        EXPECT_EQ(Status(), "Search failed : timed out (" + Host() + ")");
        server.ReleaseStalls();
    }
    {
        // A byte every 50 ms is far below the slowest pace allowed.
        ShortInternetLimits limits(5000, 300, 200);
        THttpReply drip;
        drip.Body = "<rsp>" + std::string(200, ' ') + "</rsp>";
        drip.Pieces = std::vector<size_t>(drip.Body.size(), 1);
        drip.PauseMs = 50;
        server.SetReply(drip);
        Press();
        EXPECT_EQ(Status(), "Search failed : too slow (" + Host() + ")");
    }
    EXPECT_EQ(dialogs.Messages.size(), 2u);
}

TEST_F(CoverSearch, ExchangesEndAtTheirDeadlineUnlessAPictureKeepsComing)
{
    ShortInternetLimits limits(5000);  // neither the wait for a byte nor the slowest pace ends them
    TInternetLimits deadline = InternetLimits();
    deadline.DeadlineMs = 1000;
    deadline.ProgressBytesPerSecond = 16384;
    SetInternetLimits(deadline);
    // 320 bytes a second would take 20 s for 6400 bytes; the last picture comes at 160 KB a second.
    const String late = "no complete reply within 1 s (" + Host() + ")";
    const std::vector<std::tuple<std::string, std::string, size_t, String>> cases = {  // path (none: a search), body, piece, status
        {"", std::string(6400, ' '), 32, "Search failed : " + late},
        {"/trickle.bmp", BitmapOf(clBlack, 40, 50), 32, "Preview failed : Cannot read URL " + server.Url("/trickle.bmp") + " : " + late},
        {"/large.bmp", BitmapOf(clBlack, 300, 250), 8192, "OK"},
    };
    for (const auto& [path, body, piece, status] : cases) {
        SCOPED_TRACE(status);
        THttpReply reply;
        reply.Headers = {{"Content-Type", path.empty() ? "text/xml" : "image/bmp"}};
        reply.Body = body;
        reply.Pieces = std::vector<size_t>(body.size() / piece, piece);
        reply.PauseMs = piece == 32 ? 100 : 50;
        server.SetReply(reply);
        DVDForm->SetStatus("OK");
        const auto start = std::chrono::steady_clock::now();
        if (path.empty()) {
            Press();
        } else {
            Hover(server.Url(path));
            ASSERT_TRUE(WaitUntil([] { return !Downloading(); }, 30000));
            WaitUntil([&] { return Status() != "OK"; }, 200);  // the error's report on the window thread
        }
        EXPECT_EQ(Status(), status);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    EXPECT_EQ(DVDForm->WebImage->WebPicture().Width(), 300);
}

TEST_F(CoverSearch, AHostileReplyDoesNoHarm)
{
    Reply("<rsp><title><name>&lt;IMG src=\"http://x/p.gif\"&gt;</name><image>FILE:///etc/passwd</image>"
          "<covers><cover><type>&lt;A href=\"x\"&gt;</type><url>javascript://alert</url></cover>"
          "<cover><type>res</type><url>RES://icon</url></cover></covers></title></rsp>");
    Press();
    ASSERT_EQ(DVDForm->MarkupListBox->Count(), 1);
    const String line = DVDForm->MarkupListBox->Items()[0];
    EXPECT_EQ(line.find("<IMG"), String::npos);
    EXPECT_NE(line.find("&lt;IMG src=\"http://x/p.gif\"&gt;"), String::npos);

    // Hovering or clicking what the server named reaches neither the preview nor the desktop.
    for (const String anchor : {"FILE:///etc/passwd", "javascript://alert", "RES://icon"}) {
        String hinted = anchor;
        DVDForm->MarkupListBoxAnchorHint(DVDForm->MarkupListBox, 0, hinted);
        EXPECT_EQ(hinted, anchor);
        DVDForm->MarkupListBoxAnchorClick(DVDForm->MarkupListBox, 0, anchor);
    }
    EXPECT_EQ(DVDForm->WebImage->URL(), "");
    EXPECT_TRUE(g_opened.empty());
    EXPECT_EQ(Status(), "OK Done!");
}

TEST_F(CoverSearch, HoverPreviewsPicturesButNotPages)
{
    THttpReply picture;
    picture.Headers = {{"Content-Type", "image/bmp"}};
    {
        TBitmap b(30, 20, pf24bit);
        TMemoryStream stream;
        b.SaveToStream(stream);
        picture.Body.assign(stream.Data().begin(), stream.Data().end());
    }
    picture.Pieces = {50, 50, 50};
    server.SetReply(picture);
    String page = server.Url("/cover.html");
    DVDForm->MarkupListBoxAnchorHint(nullptr, 0, page);
    EXPECT_EQ(DVDForm->WebImage->URL(), "");

    std::vector<std::pair<int, int>> gauge;
    bool onMain = true;
    auto progress = DVDForm->WebImage->OnDownLoadProgress;
    DVDForm->WebImage->OnDownLoadProgress = [&](TObject* s, uint32_t size, uint32_t total) {
        progress(s, size, total);
        onMain = onMain && IsMainThread();
        gauge.emplace_back(DVDForm->VeskGauge1->Progress(), DVDForm->VeskGauge1->MaxValue());
    };
    bool done = false;
    auto complete = DVDForm->WebImage->OnDownLoadComplete;
    DVDForm->WebImage->OnDownLoadComplete = [&](TObject* s) {
        complete(s);
        done = true;
    };
    String upper = server.Url("/cover.HTML");  // only the exact ".html" is a page
    DVDForm->MarkupListBoxAnchorHint(nullptr, 0, upper);
    EXPECT_EQ(DVDForm->WebImage->URL(), upper);
    ASSERT_TRUE(WaitUntil([&] { return done; }));
    EXPECT_TRUE(onMain);
    ASSERT_FALSE(gauge.empty());
    const int size = static_cast<int>(picture.Body.size());
    EXPECT_EQ(gauge.back(), std::make_pair(size, size));
    EXPECT_EQ(DVDForm->VeskGauge1->Progress(), 0);
    EXPECT_FALSE(DVDForm->WebImage->WebPicture().Empty());
}

TEST_F(CoverSearch, TheLastLinkPointedAtIsThePictureShown)
{
    const std::string red = BitmapOf(clRed), blue = BitmapOf(clBlue);
    std::atomic<int> firstRequests{0};
    server.SetHandler([&](const THttpRequest& request) {
        THttpReply reply;
        reply.Headers = {{"Content-Type", "image/bmp"}};
        reply.Body = request.Target == "/first.bmp" ? red : blue;
        // The first request for the first link waits for the test; a later one is slow.
        if (request.Target == "/first.bmp" && firstRequests++ == 0)
            reply.StallAfter = 100;
        else if (request.Target == "/first.bmp")
            reply.Pieces = {100}, reply.PauseMs = 300;
        return reply;
    });
    int completes = 0;
    auto complete = DVDForm->WebImage->OnDownLoadComplete;
    DVDForm->WebImage->OnDownLoadComplete = [&](TObject* s) {
        complete(s);
        ++completes;
    };
    Hover(server.Url("/first.bmp"));
    ASSERT_TRUE(server.WaitForStall());
    // Two more links while the first downloads: the last one wins.
    Hover(server.Url("/second.bmp"));
    Hover(server.Url("/third.bmp"));
    server.ReleaseStalls();
    ASSERT_TRUE(WaitUntil([&] { return completes == 1 && !Downloading(); }));
    EXPECT_EQ(DVDForm->WebImage->URL(), server.Url("/third.bmp"));
    EXPECT_EQ(Shown(), clBlue);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].Target, "/third.bmp");
    EXPECT_TRUE(DVDForm->PendingPreview.empty());

    // Pointing at the first link again downloads it now that nothing else runs; pointing at
    // it once more while it downloads lets that download finish.
    Hover(server.Url("/first.bmp"));
    Hover(server.Url("/first.bmp"));
    ASSERT_TRUE(WaitUntil([&] { return completes == 2 && !Downloading(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), clRed);
    EXPECT_EQ(server.Requests().size(), 3u);
}

// A download that hangs, on a server gone silent after the headers or on a host that never
// takes the connection, gives way at once to the next link pointed at: a kept picture shows
// there and then, another as soon as it has come, far within the 10 s and 15 s limits.
TEST_F(CoverSearch, ADownloadThatHangsGivesWayToTheNextLinkAtOnce)
{
    server.SetHandler([](const THttpRequest& request) {
        THttpReply reply;
        reply.Headers = {{"Content-Type", "image/bmp"}};
        reply.Body = BitmapOf(request.Target == "/kept.bmp" ? clBlue : clRed);
        if (request.Target == "/hangs.bmp")
            reply.StallAfter = 0;
        return reply;
    });
    Hover(server.Url("/kept.bmp"));
    ASSERT_TRUE(WaitUntil([&] { return Shown() == clBlue && !Downloading(); }));
    TUnacceptingHost unaccepting;
    const String neverTaken = Format("http://127.0.0.1:%d/never.bmp", unaccepting.Port());
    const std::tuple<String, String, TColor> cases[] = {
        {server.Url("/hangs.bmp"), server.Url("/served.bmp?1"), clRed},
        {server.Url("/hangs.bmp"), server.Url("/kept.bmp"), clBlue},
        {neverTaken, server.Url("/served.bmp?2"), clRed},
        {neverTaken, server.Url("/kept.bmp"), clBlue},
    };
    for (const auto& [hangs, next, colour] : cases) {
        SCOPED_TRACE(hangs + " then " + next);
        const size_t asked = server.Requests().size();
        Hover(hangs);
        if (hangs != neverTaken) {
            ASSERT_TRUE(server.WaitForRequests(asked + 1));
        }
        Hover(next);
        if (colour == clBlue) {  // kept
            EXPECT_EQ(Shown(), clBlue);
        }
        EXPECT_TRUE(WaitUntil([&, colour = colour] { return Shown() == colour && !Downloading(); }, 2000));
    }
    server.ReleaseStalls();
}

// A preview that fails says why in the status, as a missing picture does, until a picture
// shows again, and the gauge does not stay full as if the picture had come; the download's end
// is told either way.
TEST_F(CoverSearch, AFailedPreviewSaysWhyAndEmptiesTheGauge)
{
    THttpReply missing;
    missing.Status = 404;
    THttpReply notAPicture;
    notAPicture.Headers = {{"Content-Type", "image/jpeg"}};
    notAPicture.Body = "<html><body>Not found</body></html>";
    THttpReply picture;
    picture.Headers = {{"Content-Type", "image/bmp"}};
    picture.Body = BitmapOf(clRed);
    const std::tuple<const char*, THttpReply, String> cases[] = {
        {"/missing.jpg", missing, "Preview failed : Cannot open URL " + server.Url("/missing.jpg")},
        {"/junk.jpg", notAPicture, "Preview failed : Could not load image. Invalid format"},
    };
    int ends = 0, completes = 0;
    auto end = DVDForm->WebImage->OnDownLoadEnd;
    DVDForm->WebImage->OnDownLoadEnd = [&](TObject* s) {
        end(s);
        ++ends;
    };
    auto complete = DVDForm->WebImage->OnDownLoadComplete;
    DVDForm->WebImage->OnDownLoadComplete = [&](TObject* s) {
        complete(s);
        ++completes;
    };
    for (const auto& [path, reply, status] : cases) {
        SCOPED_TRACE(path);
        server.SetReply(reply);
        DVDForm->SetStatus("OK Done!");
        DVDForm->WebImageDownLoadProgress(nullptr, 100, 100);  // the last preview came whole
        const int ended = ends;
        Hover(server.Url(path));
        ASSERT_TRUE(WaitUntil([&] { return ends == ended + 1; }, 5000));
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(DVDForm->VeskGauge1->Progress(), 0);
        EXPECT_FALSE(Downloading());
        // Told until a picture shows again: downloaded the first time, then kept.
        server.SetReply(picture);
        const bool kept = DVDForm->WebImage->Keeps(server.Url("/fine.bmp"));
        Hover(server.Url("/fine.bmp"));
        ASSERT_TRUE(kept || WaitUntil([&] { return ends == ended + 2; }, 5000));
        EXPECT_EQ(Status(), "OK Done!");
    }
    EXPECT_EQ(completes, 1);
}

TEST_F(CoverSearch, GaugeTakesTotalsBeyondThirtyOneBits)
{
    DVDForm->WebImageDownLoadProgress(nullptr, 50, 200);
    EXPECT_EQ(DVDForm->VeskGauge1->PercentDone(), 25);
    DVDForm->WebImageDownLoadProgress(nullptr, 3000000000u, 4000000000u);
    EXPECT_EQ(DVDForm->VeskGauge1->MaxValue(), 2000000000);
    EXPECT_EQ(DVDForm->VeskGauge1->PercentDone(), 75);
    DVDForm->WebImageDownLoadComplete(nullptr);
    EXPECT_EQ(DVDForm->VeskGauge1->Progress(), 0);
}

TEST_F(CoverSearch, WebLinksClickedInTheListOpenInTheBrowser)
{
    DVDForm->MarkupListBoxAnchorClick(nullptr, 0, "https://example.test/cover");
    EXPECT_EQ(g_opened, std::vector<String>{"https://example.test/cover"});
    EXPECT_EQ(Status(), "OK Done!");
}

}  // namespace
