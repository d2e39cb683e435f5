#include "CdDisc.h"
#include "CdDrives.h"
#include "CueSheet.h"
#include "FifoGuard.h"
#include "Mci.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A sheet of count audio tracks, two seconds apart, on the named data file.
std::string Sheet(int count, const std::string& file = "disc.bin")
{
    std::string text = "FILE \"" + file + "\" BINARY\n";
    for (int i = 0; i < count; ++i)
        text += Format("  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:00\n", i + 1, 2 * i / 60, 2 * i % 60);
    return text;
}

String Refusal(const std::string& text)
{
    try {
        ParseCueSheet(text, "x.cue");
    } catch (const ECueSheetError& e) {
        return e.Message;
    }
    return "";
}

class CueImageTest : public ::testing::Test {
protected:
    void SetUp() override { CdForgetAllDrives(); }
    void TearDown() override { CdForgetAllDrives(); }
    String Write(const std::string& name, const std::string& text)
    {
        String path = dir.path().toStdString() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void SizeData(const std::string& name, off_t frames)
    {
        ASSERT_EQ(::truncate((dir.path().toStdString() + "/" + name).c_str(), frames * 2352), 0);
    }
    // What opening the drive with that sheet answers.
    String OpenRefusal(const String& cue)
    {
        CdInsertImage('E', cue);
        MCIDEVICEID id = 0;
        MCIERROR result = mciOpenCdAudio('E', id);
        if (result == 0) {
            mciClose(id);
            return "";
        }
        EXPECT_EQ(result, static_cast<MCIERROR>(MCIERR_INVALID_FILE));
        return mciGetErrorString(result);
    }
    QTemporaryDir dir;
};

}  // namespace

TEST(CueSheet, ReadsTracksIndexesAndGapsAndWritesThemCanonically)
{
    TCueSheet sheet = ParseCueSheet("\xEF\xBB\xBFREM COMMENT x\r\nPERFORMER \"A B\"\r\nFILE \"my disc.bin\" BINARY\r\n"
                                    "  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n"
                                    "  TRACK 02 audio\r\n    PREGAP 00:02:00\r\n    INDEX 00 01:00:00\r\n"
                                    "    INDEX 01 01:02:10\r\n    TITLE \"x\"\r\n",
                                    "x.cue");
    EXPECT_EQ(sheet.DataFile, "my disc.bin");
    ASSERT_EQ(sheet.Tracks.size(), 2u);
    EXPECT_EQ(sheet.Tracks[1].Start(), (62 * 75) + 10);
    EXPECT_EQ(sheet.Tracks[1].Pregap, 150);
    EXPECT_EQ(CanonicalCueText(sheet, "disc.bin"),
              "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
              "  TRACK 02 AUDIO\n    PREGAP 00:02:00\n    INDEX 00 01:00:00\n    INDEX 01 01:02:10\n");
}

TEST(CueSheet, RefusesWhatTheCdLibraryWouldMisread)
{
    EXPECT_NO_THROW(ParseCueSheet(Sheet(99), "x.cue"));
    EXPECT_EQ(Refusal(Sheet(100)), "The CUE sheet \"x.cue\" cannot be used: it has more than 99 tracks.");
    EXPECT_NE(Refusal(Sheet(101)), "");
    EXPECT_EQ(Refusal("FILE \"disc.bin\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"),
              "The CUE sheet \"x.cue\" cannot be used: line 1: unclosed quote.");
    EXPECT_NE(Refusal("FILE disc.bin\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"), "");           // no type
    EXPECT_NE(Refusal("FILE \"\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"), "");       // no name
    EXPECT_NE(Refusal("FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"), "");    // not raw data
    EXPECT_NE(Refusal(Sheet(1) + "FILE \"b.bin\" BINARY\n  TRACK 02 AUDIO\n    INDEX 01 00:09:00\n"), "");
    EXPECT_NE(Refusal("  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"), "");                          // no FILE
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n"), "");                          // no INDEX 01
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:60:00\n"), "");   // 60 seconds
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:75\n"), "");   // 75 frames
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 -1:00:00\n"), "");
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 00 AUDIO\n    INDEX 01 00:00:00\n"), "");
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 100 AUDIO\n    INDEX 01 00:00:00\n"), "");
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 MODE9/1\n    INDEX 01 00:00:00\n"), "");
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:05:00\n"
                      "  TRACK 03 AUDIO\n    INDEX 01 00:09:00\n"), "");                          // numbers skip
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:05:00\n"
                      "  TRACK 02 AUDIO\n    INDEX 01 00:05:00\n"), "");                          // same start
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:05:00\n    INDEX 02 00:04:00\n"),
              "");                                                                                // index goes back
    EXPECT_NE(Refusal("FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    PREGAP 00:02:00\n    INDEX 01 99:59:00\n"),
              "");                                                                                // beyond 100 min
    EXPECT_NE(Refusal(std::string("FILE \"d\0.bin\" BINARY\n", 22)), "");
}

TEST(CueSheet, DataFileMustHoldEveryTrack)
{
    TCueSheet sheet = ParseCueSheet(Sheet(3), "x.cue");  // tracks at 0, 2 and 4 seconds
    EXPECT_NO_THROW(CheckCueDataSize(sheet, 301 * 2352ULL, "x.cue"));
    EXPECT_THROW(CheckCueDataSize(sheet, 300 * 2352ULL, "x.cue"), ECueSheetError);
    EXPECT_THROW(CheckCueDataSize(sheet, 450000 * 2352ULL, "x.cue"), ECueSheetError);
}

TEST_F(CueImageTest, SheetOfManyTracksIsRefusedNamingTheFile)
{
    Write("disc.bin", "");
    SizeData("disc.bin", 1000);
    String cue = Write("many.cue", Sheet(101));
    String why = OpenRefusal(cue);
    EXPECT_NE(why.find("\"" + cue + "\""), String::npos) << why;
    EXPECT_NE(why.find("more than 99 tracks"), String::npos) << why;
    String label;
    EXPECT_FALSE(GetVolumeLabel("E:\\", label));
    String refusal;
    EXPECT_FALSE(ReadDiscToc(cue, &refusal));
    EXPECT_EQ(refusal, why);
}

TEST_F(CueImageTest, FileLineNamesTheDataFile)
{
    Write("tracks.dat", "");
    SizeData("tracks.dat", 3000);
    String cue = Write("sheet.cue", Sheet(2, "tracks.dat"));  // no "sheet.bin" anywhere
    EXPECT_EQ(OpenRefusal(cue), "");
    auto toc = ReadDiscToc(cue);
    ASSERT_TRUE(toc);
    EXPECT_EQ(toc->Starts, (std::vector<int32_t>{0, 150}));
    EXPECT_EQ(toc->LeadOut, 3000);

    String missing = Write("lost.cue", Sheet(2, "nowhere.bin"));
    EXPECT_NE(OpenRefusal(missing).find("nowhere.bin"), String::npos);
    String shortData = Write("short.cue", Sheet(2, "tracks.dat").replace(Sheet(2, "tracks.dat").find("00:02:00"), 8,
                                                                         "00:40:00"));
    EXPECT_NE(OpenRefusal(shortData).find("starts beyond the end"), String::npos);
}

TEST_F(CueImageTest, FifoSheetOrDataIsRefusedAtOnce)
{
    String fifoCue = dir.path().toStdString() + "/fifo.cue";
    ASSERT_EQ(::mkfifo(fifoCue.c_str(), 0600), 0);
    String why;
    CallNotWaitingOn(fifoCue, [&] { why = OpenRefusal(fifoCue); });
    EXPECT_NE(why.find("Not a regular file"), String::npos) << why;

    String fifoBin = dir.path().toStdString() + "/fifo.bin";
    ASSERT_EQ(::mkfifo(fifoBin.c_str(), 0600), 0);
    String cue = Write("onfifo.cue", Sheet(1, "fifo.bin"));
    CallNotWaitingOn(fifoBin, [&] { why = OpenRefusal(cue); });
    EXPECT_NE(why.find("Not a regular file"), String::npos) << why;
}
