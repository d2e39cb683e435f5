#include "CDDBUnit.h"
#include "CDPlayerFixture.h"
#include "CdWatcher.h"
#include "IniFiles.h"
#include "LoopbackHttpServer.h"
#include "ScriptedDialogs.h"
#include "ShortInternetLimits.h"
#include "TestWait.h"
#include "WaitingWindow.h"
#include "WhenModal.h"
#include "ripunit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QMetaObject>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

const char* const kGreeting = "&hello=AudioUser+hostname+Dunmarle+1.0&proto=4";
const char* const kEntry =
    "210 rock 0c01ac02 CD database entry follows\r\nDTITLE=Some Artist / Some Title\r\n"
    "TTITLE0=One\r\nTTITLE1=Two\r\n.\r\n";

// A match list at 320 bytes a second: 20 s for the whole of it.
THttpReply TricklingMatchList()
{
    THttpReply trickle;
    trickle.Body = "210 Found matches, list follows\r\n" + std::string(6400, 'x') + "\r\n.\r\n";
    trickle.Pieces = std::vector<size_t>(trickle.Body.size() / 32, 32);
    trickle.PauseMs = 100;
    return trickle;
}

// Within the limits a test has set.
void SetDeadline(int ms)
{
    TInternetLimits limits = InternetLimits();
    limits.DeadlineMs = ms;
    SetInternetLimits(limits);
}

class TrackFinderTest : public CDPlayerFixture {
protected:
    void SetUp() override
    {
        CDPlayerFixture::SetUp();
        CdInsertImage('E', twoTracks);
        form = std::make_unique<TCDRipform>(nullptr);
        form->Server = Format("127.0.0.1:%d", server.Port());
        dialogs.OnShowModal = [this](TForm& f) {
            auto* chooser = dynamic_cast<Tqueryform*>(&f);
            if (!chooser)
                return mrCancel;
            for (int i = 0; i < chooser->QueryBox->Items().Count(); ++i)
                offered.push_back(chooser->QueryBox->Items()[i]);
            if (choice < 0)
                return mrCancel;
            chooser->QueryBox->SetItemIndex(choice);
            return mrOk;
        };
    }
    void TearDown() override
    {
        form.reset();
        CDPlayerFixture::TearDown();
    }
    void Answer(const std::string& query, const std::string& read)
    {
        server.SetHandler([query, read](const THttpRequest& r) {
            THttpReply reply;
            reply.Body = r.Target.find("cddb+query") != std::string::npos ? query : read;
            return reply;
        });
    }
    String Lines() const { return form->markupListBox1->Items().Text(); }
    // What the CD information file holds for a disc, one "key=value" line each.
    static String Section(int identity)
    {
        TStringList values;
        TIniFile(CDInfoFileName).ReadSectionValues(IntToHex(static_cast<uint32_t>(identity), 6), values);
        return values.Text();
    }
    String Status() const { return form->StatusBar1->Panels[0].Text(); }

    TLoopbackHttpServer server;
    ScriptedDialogs dialogs;
    std::unique_ptr<TCDRipform> form;
    std::vector<String> offered;
    int choice = 0;
};

TEST_F(TrackFinderTest, WindowAsCreated)
{
    EXPECT_EQ(form->Caption(), "Audio CD CDDB Info Finder");
    EXPECT_EQ(form->ClientWidth(), 606);
    EXPECT_EQ(form->ClientHeight(), 546);
    EXPECT_EQ(TCDRipform(nullptr).Server, "gnudb.gnudb.org");
    EXPECT_EQ(form->CDPlayer->CurrentDrive, 'E');
    EXPECT_EQ(form->WIGetURL->ApplicationName, "http generic");
    EXPECT_EQ(form->StatusBar1->Panels.Count(), 2);
    EXPECT_EQ(form->StatusBar1->Panels[0].Width(), 470);
    EXPECT_EQ(form->StatusBar1->Panels[1].Width(), 200);
    EXPECT_EQ(Status(), "Current Status");
    EXPECT_EQ(form->markupListBox1->PopupMenu(), form->PopupMenu1);
    EXPECT_EQ(form->PopupMenu1->Items().Items(0)->Caption, "<--  Edit This Track Name");
    // Every button shows a picture of its own: quiet, and in colour under the pointer.
    auto saturation = [](const QImage& image) {
        int most = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    most = std::max(most, QColor(image.pixel(x, y)).hsvSaturation());
        return most;
    };
    std::set<int> pictures;
    for (TToolButton* button : {form->ScanCD, form->GetCDDB, form->ClearTracks, form->WriteINI, form->ReadINI,
                                form->CloseList}) {
        const int i = button->ImageIndex();
        ASSERT_TRUE(i >= 0 && i < form->ImageList1->Count() && i < form->ImageList2->Count()) << button->Caption();
        EXPECT_LT(saturation(form->ImageList1->Image(i)), saturation(form->ImageList2->Image(i))) << button->Caption();
        pictures.insert(i);
    }
    EXPECT_EQ(pictures.size(), 6u);
    EXPECT_EQ(form->ToolBar1->Images, form->ImageList1);
    EXPECT_EQ(form->ToolBar1->HotImages, form->ImageList2);
    // Nothing is read before a button is pressed.
    EXPECT_EQ(form->markupListBox1->Count(), 0);
    EXPECT_EQ(form->CDPlayer->DeviceID(), 0);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(TrackFinderTest, ExactMatchFillsTheTrackList)
{
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->ScanCD->Click();
    EXPECT_EQ(offered, std::vector<String>{"rock 0c01ac02 Some Artist / Some Title"});
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].Target,
              String("/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14270+428") + kGreeting);
    EXPECT_EQ(server.Requests()[1].Target, String("/~cddb/cddb.cgi?cmd=cddb+read+rock+0c01ac02") + kGreeting);
    EXPECT_EQ(Lines(), "Some Artist\r\nSome Title\r\n1    One\r\n2    Two\r\n");
    EXPECT_EQ(form->Caption(), "Some Artist - Some Title    {rock}");
    EXPECT_EQ(Status(), "Filling Track Info : 2");
    EXPECT_EQ(form->ReplyCode, "210");

    form->ClearTracks->Click();
    EXPECT_EQ(form->markupListBox1->Count(), 0);
    EXPECT_EQ(form->Names.Count(), 2);  // only the lines go
}

TEST_F(TrackFinderTest, ListsOfMatchesOfferEveryMatchLine)
{
    for (const char* code : {"210 Found exact matches", "211 Found inexact matches"}) {
        offered.clear();
        choice = 1;
        Answer(String(code) + ", list follows (until terminating `.')\r\n"
                   "rock 0c01ac01 Near / Miss\r\nblues 0c01ac99 Other / Pressing\r\n.\r\n",
               "210 blues 0c01ac99\r\nDTITLE=Other / Pressing\r\nTTITLE0=A\r\nTTITLE1=B\r\n.\r\n");
        form->GetCDDB->Click();  // the disc is read even when it was not scanned
        EXPECT_EQ(server.Requests().front().Target.find("/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14270+428"), 0u);
        EXPECT_EQ(offered, (std::vector<String>{"rock 0c01ac01 Near / Miss", "blues 0c01ac99 Other / Pressing"}));
        EXPECT_EQ(server.Requests().back().Target, String("/~cddb/cddb.cgi?cmd=cddb+read+blues+0c01ac99") + kGreeting);
        EXPECT_EQ(Lines(), "Other\r\nPressing\r\n1    A\r\n2    B\r\n");
    }
}

TEST_F(TrackFinderTest, NoMatchOrCancelReadsNothing)
{
    int choosers = 0;
    auto choose = dialogs.OnShowModal;
    dialogs.OnShowModal = [&](TForm& f) {
        ++choosers;
        return choose(f);
    };
    Answer("202 No match for disc ID 0c01ac02.\r\n", kEntry);
    form->ScanCD->Click();
    EXPECT_EQ(choosers, 0);  // nothing opens
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(form->ReplyCode, "202");
    EXPECT_EQ(Status(), "No Match Found In CDDB");
    // A disc scanned for the first time: its artist and title lines stand alone, empty.
    EXPECT_EQ(Lines(), "\r\n\r\n");

    choice = -1;
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->GetCDDB->Click();
    EXPECT_EQ(offered.size(), 1u);
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(form->Category, "");
    EXPECT_EQ(Lines(), "\r\n\r\n");
    EXPECT_EQ(Status(), "CDDB Lookup Cancelled");
}

TEST_F(TrackFinderTest, WhatIsShownChangesOnlyWhenALookupSucceeds)
{
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->ScanCD->Click();
    const String shown = Lines();
    const String caption = form->Caption();
    dialogs.InputAnswers.push_back(String("Renamed"));
    form->markupListBox1->SetItemIndex(2);
    form->EditThisTrackName1->Click();

    server.SetHandler([](const THttpRequest&) {
        THttpReply reply;
        reply.Status = 503;
        reply.Reason = "Service Unavailable";
        return reply;
    });
    for (TToolButton* button : {form->GetCDDB, form->ScanCD}) {
        button->Click();
        EXPECT_EQ(Lines(), "Some Artist\r\nSome Title\r\n1    Renamed\r\n2    Two\r\n");
        EXPECT_EQ(form->Caption(), caption);
        EXPECT_EQ(Status(), "Cannot Contact CDDB : Service Unavailable");
        EXPECT_EQ(form->CDPlayer->Artist(), "Some Artist");
        EXPECT_EQ(form->CDPlayer->Category(), "rock");
        EXPECT_EQ(form->CDPlayer->GetTrack(0).Name, "Renamed");
    }
    Answer("202 No match for disc ID 0c01ac02.\r\n", kEntry);
    form->ScanCD->Click();
    EXPECT_EQ(Lines(), "Some Artist\r\nSome Title\r\n1    Renamed\r\n2    Two\r\n");
    EXPECT_NE(shown, Lines());  // the rename stays too

    // Another disc is not shown under the old one's names.
    String other = WriteDiscImage(Folder(), "other", {{Msf(0, 2, 0)}, {Msf(1, 0, 0)}}, Msf(7, 0, 0));
    CdInsertImage('E', other);
    form->ScanCD->Click();
    EXPECT_EQ(Lines(), "\r\n\r\n");
    EXPECT_EQ(Status(), "No Match Found In CDDB");
}

TEST_F(TrackFinderTest, ADisplayTitleWithoutSeparatorNamesArtistAndTitle)
{
    Answer("200 rock 0c01ac02 Soundtrack\r\n", "210 rock 0c01ac02\r\nDTITLE=Soundtrack\r\nTTITLE0=A\r\n.\r\n");
    form->ScanCD->Click();
    EXPECT_EQ(Lines(), "Soundtrack\r\nSoundtrack\r\n1    A\r\n2    \r\n");
    EXPECT_EQ(form->Caption(), "Soundtrack - Soundtrack    {rock}");
}

TEST_F(TrackFinderTest, AChooserOpensWithItsFirstRowSelected)
{
    std::vector<int> selected;
    dialogs.OnShowModal = [&](TForm& f) {
        auto* chooser = dynamic_cast<Tqueryform*>(&f);
        if (!chooser)
            return mrCancel;
        selected.push_back(chooser->QueryBox->ItemIndex());
        return chooser->Button1->ModalResult;  // "Choose" pressed as the chooser opened
    };
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->ScanCD->Click();
    Answer("211 close matches\r\nblues 0c01ac99 Other / Pressing\r\nrock 0c01ac01 Near / Miss\r\n.\r\n",
           "210 blues 0c01ac99\r\nDTITLE=Other / Pressing\r\nTTITLE0=A\r\nTTITLE1=B\r\n.\r\n");
    form->GetCDDB->Click();
    EXPECT_EQ(selected, (std::vector<int>{0, 0}));
    ASSERT_EQ(server.Requests().size(), 4u);
    EXPECT_EQ(server.Requests()[1].Target, String("/~cddb/cddb.cgi?cmd=cddb+read+rock+0c01ac02") + kGreeting);
    EXPECT_EQ(server.Requests()[3].Target, String("/~cddb/cddb.cgi?cmd=cddb+read+blues+0c01ac99") + kGreeting);
}

TEST_F(TrackFinderTest, AnOfflineScanThenWriteKeepsTheStoredNames)
{
    form->CDPlayer->Open();
    const String section = IntToHex(static_cast<uint32_t>(form->CDPlayer->MediaIdentity()), 6);
    form->CDPlayer->SaveCDInfo(form->CDPlayer->MediaIdentity(), "Stored Artist", "Stored Title", "2003", "",
                               TStringList{"First", "Second"});
    form = std::make_unique<TCDRipform>(nullptr);
    form->Server = "127.0.0.1:1";  // nobody listens there
    form->ScanCD->Click();
    EXPECT_EQ(Status().rfind("Cannot Contact CDDB : ", 0), 0u) << Status();
    EXPECT_EQ(Lines(), "Stored Artist\r\nStored Title\r\n1    First\r\n2    Second\r\n");
    form->WriteINI->Click();
    EXPECT_EQ(Status(), "CD Info Written To File!");
    TIniFile ini(CDInfoFileName);
    EXPECT_EQ(ini.ReadString(section, "numtracks", ""), "2");
    EXPECT_EQ(ini.ReadString(section, "1", ""), "Second");
    EXPECT_EQ(ini.ReadString(section, "artist", ""), "Stored Artist");
}

TEST_F(TrackFinderTest, TheDriveShownIsTheDriveRead)
{
    CdForgetAllDrives();
    CdInsertImage('F', twoTracks);
    TCDRipform finder(nullptr);
    finder.Server = form->Server;
    EXPECT_EQ(finder.CDPlayer->CurrentDrive, 'F');
    EXPECT_EQ(finder.DriveComboBoxEx1->Drive(), 'f');
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    finder.ScanCD->Click();
    EXPECT_EQ(finder.markupListBox1->Items().Text(), "Some Artist\r\nSome Title\r\n1    One\r\n2    Two\r\n");

    // Picking another drive reads that one at the next command, scanned or not.
    String data = WriteDiscImage(Folder(), "data", {{Msf(0, 2, 0), false}}, Msf(5, 0, 0), "BACKUP");
    CdInsertImage('G', data);
    finder.DriveComboBoxEx1->Refresh();
    finder.DriveComboBoxEx1->SetDrive('g');
    finder.GetCDDB->Click();
    EXPECT_EQ(finder.StatusBar1->Panels[0].Text(), "No Audio CD In Drive");
    EXPECT_EQ(finder.markupListBox1->Count(), 0);
}

TEST_F(TrackFinderTest, WithoutACDDriveTheWindowSaysSoAndWorks)
{
    form.reset();
    CdForgetAllDrives();
    TCDRipform finder(nullptr);
    EXPECT_EQ(finder.StatusBar1->Panels[0].Text(), "No CD Drive Found");
    EXPECT_EQ(finder.DriveComboBoxEx1->Items().Count(), 0);
    TBitmap painted;
    finder.PaintTo(painted);  // the empty picker draws its closed box without error
    EXPECT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front();
    for (TToolButton* button : {finder.ScanCD, finder.GetCDDB, finder.WriteINI, finder.ReadINI}) {
        finder.StatusBar1->Panels[0].SetText("");
        EXPECT_NO_THROW(button->Click());
        EXPECT_EQ(finder.StatusBar1->Panels[0].Text(), "No CD Drive Found");
    }
    EXPECT_TRUE(server.Requests().empty());
    finder.markupListBox1->Items().Add("typed");
    finder.ClearTracks->Click();
    EXPECT_EQ(finder.markupListBox1->Count(), 0);
    finder.CloseList->Click();
    EXPECT_EQ(finder.ModalResult(), mrOk);
}

TEST_F(TrackFinderTest, ExchangeFailuresStayInTheStatus)
{
    server.SetHandler([](const THttpRequest&) {
        THttpReply reply;
        reply.Status = 500;
        reply.Reason = "Internal Server Error";
        return reply;
    });
    form->ScanCD->Click();
    EXPECT_EQ(Status(), "Cannot Contact CDDB : Internal Server Error");
    EXPECT_TRUE(offered.empty());

    Answer("200 rock 0c01ac02 A / B\r\n", "401 rock 0c01ac02 No such CD entry in database\r\n");
    form->GetCDDB->Click();
    EXPECT_EQ(Status(), "CDDB Entry Not Read : 401 rock 0c01ac02 No such CD entry in database");

    // A later exchange that works is not overshadowed by the old failure.
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->GetCDDB->Click();
    EXPECT_EQ(Status(), "Filling Track Info : 2");
}

TEST_F(TrackFinderTest, FewerNamesThanTracksLeavesTheRestUnnamed)
{
    String three = WriteDiscImage(Folder(), "three", {{Msf(0, 2, 0)}, {Msf(2, 0, 0)}, {Msf(4, 0, 0)}}, Msf(6, 0, 0));
    CdInsertImage('E', three);
    Answer("200 rock 2a016803 A / B\r\n", "210 rock 2a016803\r\nDTITLE=A / B\r\nTTITLE0=Only\r\n.\r\n");
    form->ScanCD->Click();
    EXPECT_EQ(Lines(), "A\r\nB\r\n1    Only\r\n2    \r\n3    \r\n");
    EXPECT_EQ(Status(), "Filling Track Info : 3");
}

TEST_F(TrackFinderTest, ANonAudioDiscGivesAnEmptyList)
{
    String data = WriteDiscImage(Folder(), "data", {{Msf(0, 2, 0), false}}, Msf(5, 0, 0), "BACKUP");
    CdInsertImage('E', data);
    Answer("200 data 0a000501 X / Y\r\n", "210 data 0a000501\r\nDTITLE=X / Y\r\nTTITLE0=Z\r\n.\r\n");
    form->markupListBox1->Items().Add("left over");
    form->ScanCD->Click();
    EXPECT_EQ(form->markupListBox1->Count(), 0);
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(Status(), "No Audio CD In Drive");
}

TEST_F(TrackFinderTest, RenameChangesTheSelectedTrackOnly)
{
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->ScanCD->Click();
    form->markupListBox1->SetItemIndex(3);  // track 2
    dialogs.InputAnswers.push_back(String("Renamed"));
    form->EditThisTrackName1->Click();
    EXPECT_EQ(Lines(), "Some Artist\r\nSome Title\r\n1    One\r\n2    Renamed\r\n");
    EXPECT_EQ(form->markupListBox1->ItemIndex(), 3);
    EXPECT_EQ(form->Names[1], "Renamed");
    EXPECT_EQ(form->CDPlayer->GetTrack(1).Name, "Renamed");
    EXPECT_EQ(form->CDPlayer->Artist(), "Some Artist");

    form->markupListBox1->SetItemIndex(2);
    dialogs.InputAnswers.push_back(std::nullopt);  // cancel keeps the name
    form->EditThisTrackName1->Click();
    EXPECT_EQ(form->Names[0], "One");

    size_t asked = dialogs.InputPrompts.size();
    for (int row : {1, 0, -1}) {
        form->markupListBox1->SetItemIndex(row);
        form->EditThisTrackName1->Click();
    }
    EXPECT_EQ(dialogs.InputPrompts.size(), asked);
    EXPECT_EQ(dialogs.InputPrompts.back(), "Track Name");
}

TEST_F(TrackFinderTest, CDInformationFileRoundTrip)
{
    form->ReadINI->Click();
    EXPECT_EQ(Status(), "No CD Info Found In File!");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(UserConfigFolder() + CDInfoFileName)));

    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->ScanCD->Click();
    dialogs.InputAnswers.push_back(String("Renamed"));
    form->markupListBox1->SetItemIndex(2);
    form->EditThisTrackName1->Click();
    form->WriteINI->Click();
    EXPECT_EQ(Status(), "CD Info Written To File!");
    String section = IntToHex(static_cast<uint32_t>(form->CDPlayer->MediaIdentity()), 6);
    TIniFile ini(CDInfoFileName);
    EXPECT_EQ(ini.ReadString(section, "date", ""), "2003");
    EXPECT_EQ(ini.ReadString(section, "0", ""), "Renamed");
    EXPECT_EQ(ini.ReadString(section, "category", "none"), "none");

    // A fresh window, not scanned yet, and a disc whose names the file now knows.
    form = std::make_unique<TCDRipform>(nullptr);
    form->ReadINI->Click();
    EXPECT_EQ(Status(), "Filling Track Info : 2");
    EXPECT_EQ(Lines(), "Some Artist\r\nSome Title\r\n1    Renamed\r\n2    Two\r\n");

    // Another disc, which the file does not know, shows nothing of the one before.
    String other = WriteDiscImage(Folder(), "other", {{Msf(0, 2, 0)}, {Msf(1, 0, 0)}}, Msf(7, 0, 0));
    CdInsertImage('E', other);
    form->ReadINI->Click();
    EXPECT_EQ(Status(), "No CD Info Found In File!");
    EXPECT_EQ(form->Names.Count(), 0);
    EXPECT_EQ(Lines(), "\r\n\r\n");

    // Without a disc nothing is written, and the status says so.
    CdEjectImage('E');
    form = std::make_unique<TCDRipform>(nullptr);
    form->WriteINI->Click();
    EXPECT_EQ(Status(), "No Audio CD : CD Info Not Written!");
}

TEST_F(TrackFinderTest, CloseEndsWithOkAndThePickerSetsTheDrive)
{
    form->CloseList->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);

    CdInsertImage('G', twoTracks);
    TCDRipform finder(nullptr);
    EXPECT_EQ(finder.DriveComboBoxEx1->Drive(), 'e');
    finder.DriveComboBoxEx1->SetDrive('G');
    EXPECT_EQ(finder.CDPlayer->CurrentDrive, 'g');
    finder.CDPlayer->Reopen();
    EXPECT_EQ(finder.CDPlayer->TrackCount(), 2);
}

// The finder shows disc A as CDDB knows it; then disc B, which CDDB does not know, takes its
// place in the drive. Whatever the user does, nothing of A is ever filed under B nor shown for B.
TEST_F(TrackFinderTest, NothingOfADiscSwappedOutIsTakenForTheNewOne)
{
    const String discB = WriteDiscImage(Folder(), "b", {{Msf(0, 2, 0)}, {Msf(2, 0, 0)}, {Msf(5, 0, 0)}}, Msf(8, 0, 0));
    bool stallA = false;
    server.SetHandler([&](const THttpRequest& r) {
        const bool a = r.Target.find("0c01ac02") != std::string::npos;
        THttpReply reply;
        reply.Body = r.Target.find("cddb+read") != std::string::npos
                         ? "210 rock 0c01ac02\r\nDTITLE=Artist A / Title A\r\nTTITLE0=A One\r\nTTITLE1=A Two\r\n.\r\n"
                         : a ? "200 rock 0c01ac02 Artist A / Title A\r\n" : "202 No match for disc ID.\r\n";
        reply.StallBeforeReply = a && stallA;
        return reply;
    });
    auto swap = [&] { CdInsertImage('E', discB); };
    // The media watcher has told the player, which has read disc B.
    auto noticed = [&] { return WaitUntil([&] { return form->CDPlayer->DiscId() != 0x0C01AC02u; }); };
    auto rename = [&] {
        dialogs.InputAnswers.push_back(String("Renamed"));
        form->markupListBox1->SetItemIndex(2);
        form->EditThisTrackName1->Click();
    };
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"swap, the notice, no match", [&] { swap(); ASSERT_TRUE(noticed()); form->GetCDDB->Click(); }},
        {"swap, a lookup at once", [&] { swap(); form->GetCDDB->Click(); }},
        {"swap, the notice, no match, a rename", [&] { swap(); ASSERT_TRUE(noticed()); form->GetCDDB->Click(); rename(); }},
        {"swap, a rename at once", [&] { swap(); rename(); }},
        {"swap, a read from the file", [&] { swap(); form->ReadINI->Click(); }},
        {"swap while the lookup waits for CDDB", [&] {
             stallA = true;
             QTimer::singleShot(0, [&] {
                 swap();
                 EXPECT_TRUE(noticed());
                 server.ReleaseStalls();
             });
             form->GetCDDB->Click();
             EXPECT_EQ(Status(), "Disc Changed : Lookup Stopped");
         }},
    };
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        form.reset();
        std::filesystem::remove(UserConfigFolder() + CDInfoFileName);
        CdInsertImage('E', twoTracks);
        form = std::make_unique<TCDRipform>(nullptr);
        form->Server = Format("127.0.0.1:%d", server.Port());
        form->ScanCD->Click();
        ASSERT_EQ(Lines(), "Artist A\r\nTitle A\r\n1    A One\r\n2    A Two\r\n");
        steps();
        form->WriteINI->Click();
        ASSERT_TRUE(noticed());
        const String written = Section(form->CDPlayer->MediaIdentity()) + Lines();
        for (const char* ofA : {"Artist A", "Title A", "A One", "A Two", "Renamed"})
            EXPECT_EQ(written.find(ofA), String::npos) << written;
    }
    // The picker names the disc now in the drive.
    CdEjectImage('E');
    EXPECT_TRUE(WaitUntil([&] { return form->DriveComboBoxEx1->Items().Text() == "e: []\r\n"; }));
}

// Disc images listed in the registry store while the program runs have their drives the next
// time the finder opens.
TEST_F(TrackFinderTest, TheFinderReadsTheListOfDiscImagesWhenItOpens)
{
    std::filesystem::create_directories(UserConfigFolder());
    for (const String& listed : {"G=" + twoTracks + "\n", String()}) {
        std::ofstream(UserConfigFolder() + "Registry.ini") << "[HKEY_CURRENT_USER\\Software\\Ombrelle\\CD Images]\n"
                                                           << listed;
        form = std::make_unique<TCDRipform>(nullptr);
        EXPECT_EQ(form->DriveComboBoxEx1->Items().Text(),
                  listed.empty() ? "e: [audio cd]\r\n" : "e: [audio cd]\r\ng: [audio cd]\r\n");
    }
}

// The chooser opens with the keys in its list, on the first row: the arrows move the choice,
// Return chooses.
TEST_F(TrackFinderTest, TheChooserIsWorkedWithTheKeyboard)
{
    Answer("211 close matches\r\nrock 0c01ac02 A / B\r\nblues 0c01ac02 C / D\r\njazz 0c01ac02 E / F\r\n.\r\n", kEntry);
    const std::pair<std::vector<Qt::Key>, std::string> cases[] = {
        {{Qt::Key_Return}, "rock"},
        {{Qt::Key_Down, Qt::Key_Return}, "blues"},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, "jazz"},
    };
    for (const auto& [keys, category] : cases) {
        dialogs.OnShowModal = [&](TForm& chooser) {
            WhenModal<QDialog>([&](QDialog& dialog) {
                ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
                for (Qt::Key key : keys)
                    QTest::keyClick(QApplication::focusWidget(), key);
            });
            return chooser.RunModalLoop();
        };
        form->GetCDDB->Click();
        EXPECT_EQ(server.Requests().back().Target, "/~cddb/cddb.cgi?cmd=cddb+read+" + category + "+0c01ac02" + kGreeting);
    }
}

TEST_F(TrackFinderTest, ChooserClosesWithOkOnADoubleClick)
{
    Tqueryform chooser(nullptr);
    EXPECT_EQ(chooser.Caption(), "CDDB Query List");
    EXPECT_EQ(chooser.QueryBox->ItemHeight(), 18);
    EXPECT_EQ(chooser.Button1->ModalResult, mrOk);
    EXPECT_EQ(chooser.Button2->ModalResult, mrCancel);
    chooser.QueryBox->DblClick();
    EXPECT_EQ(chooser.ModalResult(), mrOk);
}

TEST_F(TrackFinderTest, AStalledServerLeavesTheWindowAliveAndEscapeCancels)
{
    ShortInternetLimits limits(30000);
    server.SetSilent();
    QWidget* window = form->Widget();
    ASSERT_TRUE(ShowExposed(window));

    bool hourglass = false;
    String statusWhileWaiting;
    // Acts only once the query has reached the server, however busy the machine: the window must
    // be waiting on the exchange, not still connecting, when it is poked.
    QTimer poke;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (server.Requests().empty())
            return;
        poke.stop();
        hourglass = HourglassShown();
        statusWhileWaiting = Status();
        // A second lookup or closing the window does nothing meanwhile.
        QTest::mouseClick(form->GetCDDB->Widget(), Qt::LeftButton);
        QTest::mouseClick(form->CloseList->Widget(), Qt::LeftButton);
        window->close();
        QTest::keyClick(window, Qt::Key_Escape);
    });
    poke.start(10);
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(form->ScanCD->Widget(), Qt::LeftButton);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    EXPECT_TRUE(hourglass);
    EXPECT_EQ(statusWhileWaiting, "Sending Query");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(Status(), Format("Cannot Contact CDDB : Unable to Send HTTP Request : cancelled (127.0.0.1:%d)",
                               server.Port()));
    server.ReleaseStalls();
}

TEST_F(TrackFinderTest, ALookupFromATricklingServerEndsAtItsDeadline)
{
    ShortInternetLimits limits(5000);  // neither the wait for a byte nor the slowest pace ends it
    SetDeadline(1000);
    server.SetReply(TricklingMatchList());
    const auto start = std::chrono::steady_clock::now();
    form->ScanCD->Click();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(Status(), Format("Cannot Contact CDDB : Retrieval Interrupted : no complete reply within 1 s (127.0.0.1:%d)",
                               server.Port()));
    EXPECT_TRUE(offered.empty());
}

TEST_F(TrackFinderTest, AnOversizedReplyIsRefusedWithAClearError)
{
    Answer("210 Found matches, list follows\r\n" + std::string(5u << 20, 'x') + "\r\n.\r\n", kEntry);
    form->ScanCD->Click();
    EXPECT_EQ(Status(), "Cannot Contact CDDB : Reply Too Large (over 4 MiB)");
    EXPECT_TRUE(offered.empty());
}


// Disc A is shown, then disc B takes its place while the finder waits: in the rename box, in
// the chooser, or in a CDDB exchange that stalls or trickles. The list follows B at once, the
// wait ends as soon as the notice comes, and nothing of A is taken for B.
class TrackFinderSwapTest : public TrackFinderTest {
protected:
    void SetUp() override
    {
        TrackFinderTest::SetUp();
        discB = WriteDiscImage(Folder(), "b", {{Msf(0, 2, 0)}, {Msf(2, 0, 0)}, {Msf(5, 0, 0)}}, Msf(8, 0, 0));
        // The identity of B, read in a drive of its own.
        CdInsertImage('F', discB);
        TCDPlayer player;
        player.CurrentDrive = 'F';
        player.Open();
        idB = player.MediaIdentity();
        player.Close();
        CdEjectImage('F');
    }
    // A fresh finder that shows A as CDDB knows it, with B known to the file or not.
    void ShowA(bool knowB)
    {
        form.reset();
        std::filesystem::remove(UserConfigFolder() + CDInfoFileName);
        if (knowB)
            TCDPlayer().SaveCDInfo(idB, "Artist B", "Title B", "2003", "", TStringList{"B One", "B Two", "B Three"});
        CdInsertImage('E', twoTracks);
        form = std::make_unique<TCDRipform>(nullptr);
        form->Server = Format("127.0.0.1:%d", server.Port());
        Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
        form->ScanCD->Click();
        ASSERT_EQ(Lines(), "Some Artist\r\nSome Title\r\n1    One\r\n2    Two\r\n");
    }
    static String ShownB(bool known)
    {
        return known ? "Artist B\r\nTitle B\r\n1    B One\r\n2    B Two\r\n3    B Three\r\n" : "\r\n\r\n";
    }
    void SwapToB() { CdInsertImage('E', discB); }
    // Nothing of A is in what the file holds for B.
    void ExpectNothingOfAFiledUnderB(bool known)
    {
        form->WriteINI->Click();
        const String written = Section(idB);
        for (const char* ofA : {"Some Artist", "Some Title", "=One", "=Two"})
            EXPECT_EQ(written.find(ofA), String::npos) << written;
        EXPECT_EQ(written.find("0=B One") != String::npos, known) << written;
    }

    String discB;
    int idB = 0;
};

TEST_F(TrackFinderSwapTest, ARenameOpenAcrossASwapRenamesNothing)
{
    dialogs.RealInput = true;
    for (bool known : {true, false}) {
        SCOPED_TRACE(known ? "B known to the file" : "B unknown to the file");
        ShowA(known);
        WhenModal<QDialog>([&](QDialog& box) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
            SwapToB();
            EXPECT_TRUE(WaitUntil([&] { return Lines() == ShownB(known); })) << Lines();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // the name of A's track 1
        });
        form->markupListBox1->SetItemIndex(2);
        EXPECT_NO_THROW(form->EditThisTrackName1->Click());
        EXPECT_EQ(Status(), "Disc Changed : Track Not Renamed");
        EXPECT_EQ(Lines(), ShownB(known));
        EXPECT_TRUE(dialogs.Messages.empty());
        ExpectNothingOfAFiledUnderB(known);
    }
}

TEST_F(TrackFinderSwapTest, ASwapEndsAWaitingLookupAtOnce)
{
    // Long limits: only the swap ends these exchanges in time.
    ShortInternetLimits limits(20000);
    SetDeadline(20000);
    const THttpReply trickle = TricklingMatchList();
    THttpReply stall;
    stall.StallBeforeReply = true;
    THttpReply match;
    match.Body = "200 rock 0c01ac02 Some Artist / Some Title\r\n";
    struct Case {
        const char* name;
        THttpReply query, read;
        bool swapInChooser;  // else when the server takes the request that keeps it waiting
        bool known;
        size_t requests;
    };
    const Case cases[] = {
        {"the query stalls", stall, stall, false, true, 1},
        {"the query trickles", trickle, stall, false, false, 1},
        {"the read stalls", match, stall, false, false, 2},
        {"the chooser is open", match, stall, true, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowA(c.known);
        const size_t before = server.Requests().size();
        server.SetHandler([&](const THttpRequest& r) {
            const bool query = r.Target.find("cddb+query") != std::string::npos;
            const THttpReply& reply = query ? c.query : c.read;
            if (!c.swapInChooser && (reply.StallBeforeReply || !reply.Pieces.empty()))
                QMetaObject::invokeMethod(qApp, [this] { SwapToB(); }, Qt::QueuedConnection);
            return reply;
        });
        dialogs.OnShowModal = [&](TForm&) {
            if (!c.swapInChooser)
                return mrOk;
            SwapToB();
            EXPECT_TRUE(WaitUntil([&] { return Lines() == ShownB(c.known); }));
            return mrOk;
        };
        form->GetCDDB->Click();
        EXPECT_EQ(Status(), kLookupStopped);
        EXPECT_EQ(Lines(), ShownB(c.known));
        EXPECT_EQ(server.Requests().size() - before, c.requests);
        ExpectNothingOfAFiledUnderB(c.known);
    }
    server.ReleaseStalls();
}

// Nothing of a disc that has left stays on screen: neither its lines nor its caption.
TEST_F(TrackFinderSwapTest, AnEjectOrADataDiscLeavesTheWindowsOwnCaption)
{
    const String data = WriteDiscImage(Folder(), "data", {{Msf(0, 2, 0), false}}, Msf(5, 0, 0), "BACKUP");
    // A disc image of A whose file goes while it is in the drive.
    const String gone = Folder() + "/gone.cue";
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"eject", [] { CdEjectImage('E'); }},
        {"a data disc", [&] { CdInsertImage('E', data); }},
        {"the image file goes", [&] {
             std::filesystem::remove(gone);
             CdCheckMediaNow();
         }},
    };
    for (const auto& [name, leave] : cases) {
        SCOPED_TRACE(name);
        ShowA(false);
        std::filesystem::copy_file(twoTracks, gone, std::filesystem::copy_options::overwrite_existing);
        CdInsertImage('E', gone);
        EXPECT_EQ(form->Caption(), "Some Artist - Some Title    {rock}");
        leave();
        EXPECT_TRUE(WaitUntil([&] { return form->markupListBox1->Count() == 0; }));
        EXPECT_EQ(form->Caption(), "Audio CD CDDB Info Finder");
        EXPECT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front();
        // An audio disc names itself again, as CDDB or the file knows it, or not at all.
        SwapToB();
        EXPECT_TRUE(WaitUntil([&] { return Lines() == ShownB(false); }));
        EXPECT_EQ(form->Caption(), " -     {}");
    }
}

// The track list's menu opens from the keys at the selected row, and a rename made through it
// leaves the selection on the row renamed.
TEST_F(TrackFinderTest, TheMenuKeysOpenTheTrackMenuAtTheSelectedRow)
{
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n", kEntry);
    form->ScanCD->Click();
    ASSERT_TRUE(ShowExposed(form->Widget()));
    auto* list = qobject_cast<QAbstractItemView*>(form->markupListBox1->Widget());
    ASSERT_NE(list, nullptr);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Menu, Qt::NoModifier},
                                                              {Qt::Key_F10, Qt::ShiftModifier}};
    int row = 1;  // tracks 1 and 2
    for (const auto& [key, modifiers] : keys) {
        SCOPED_TRACE(QKeySequence(key | modifiers).toString().toStdString());
        ++row;
        form->markupListBox1->SetItemIndex(row);
        list->setFocus();
        const QRect shown = list->visualRect(list->currentIndex());
        const QRect at(list->viewport()->mapToGlobal(shown.topLeft()), shown.size());
        QPoint opened(-1, -1);
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 2000));
            QWidget* menu = QApplication::activePopupWidget();
            opened = menu->pos();
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);  // "<--  Edit This Track Name"
        });
        dialogs.InputAnswers.push_back(String("Keyed"));
        QTest::keyClick(list, key, modifiers);
        EXPECT_TRUE(WaitUntil([&] { return opened.x() >= 0; }, 2000));
        EXPECT_GE(opened.y(), at.top());
        EXPECT_LE(opened.y(), at.bottom() + 1);
        EXPECT_EQ(form->Names[row - 2], "Keyed");
        EXPECT_EQ(form->markupListBox1->ItemIndex(), row);
    }
}

}  // namespace
