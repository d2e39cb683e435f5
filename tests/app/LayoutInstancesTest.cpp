// Two copies of the program on one "Settings.ini", each a process of its own, and saves cut
// short by a kill: no layout either copy saved is lost, and nothing is left beside the file.
#include "AddSetting.h"
#include "AppFixture.h"
#include "ChildProcess.h"
#include "RegularFile.h"
#include "SafeSave.h"
#include "UserConfig.h"
#include "WaitFor.h"

#include <filesystem>
#include <QApplication>
#include <QTimer>

#include <csignal>
#include <iostream>
#include <sys/file.h>

namespace {
namespace fs = std::filesystem;

std::string Names(TCoverList& list)
{
    std::string names;
    for (int i = 0; i <= list.CoverNo(); ++i)
        names += (i ? "," : "") + list.GetCover(i)->Name();
    return names;
}

// One copy of the program in the folder named by OMBRELLE_FOLDER, driven line by line: "add N"
// adds a layout named N through the editor, "rename N" renames the first one, "add forever"
// adds layouts until the copy is killed. It answers with its layouts' names, "closed" at the end.
const TChildRoutine programCopy("program copy", [] {
    ScriptedDialogs dialogs;
    const std::string folder = std::getenv("OMBRELLE_FOLDER");
    SetUserConfigFolder(folder + "config/");
    Application()->SetExeName(folder + "ombrelle");
    CreateStartupForms();
    ChildSay(Names(*DVDForm->CoverList));
    for (std::string line; std::getline(std::cin, line);) {
        dialogs.OnShowModal = [&](TForm& form) {
            dynamic_cast<TSettingsForm&>(form).SettingName->SetText(line.substr(line.find(' ') + 1));
            return mrOk;
        };
        const bool rename = line.rfind("rename", 0) == 0;
        if (rename)
            DVDForm->PrintstyleChange(DVDForm->PrintStyle);  // the chooser's layout becomes the one edited
        do
            (rename ? DVDForm->ToolButton20 : DVDForm->ToolButton19)->Click();
        while (line == "add forever");
        ChildSay(Names(*DVDForm->CoverList));
    }
    FreeStartupForms();
    ChildSay("closed");
    return 0;
});

// Holds the folder's lock as a copy in the middle of a save does, for as long as the test wants:
// it reads "Settings.ini" and says "locked"; on "write" it writes back what it read, as that
// save would, and lets go; when its input ends it lets go without writing.
const TChildRoutine lockHolder("folder lock holder", [] {
    const std::string file = std::string(std::getenv("OMBRELLE_FOLDER")) + "Settings.ini";
    TFolderLock lock(file);
    TRegularFile read(file);
    std::vector<uint8_t> stale;
    read.AppendRest(stale, kMaxCoverFileSize);
    const String lineage = FileLineage(read.Handle());
    ChildSay("locked");
    if (std::string line; std::getline(std::cin, line) && line == "write")
        WriteFileAtomically(file, stale.data(), stale.size(), lineage);
    return 0;
});

bool ProcessStopped(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t name = line.rfind(')');
    return name != std::string::npos && name + 2 < line.size() && line[name + 2] == 'T';
}

bool HasTemporary(const std::string& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos)
            return true;
    return false;
}

class ProgramCopies : public AppFixture {
protected:
    void StartCopy(QProcess& copy) { StartChild(copy, "program copy", "OMBRELLE_FOLDER", QString::fromStdString(dir.Path())); }
    void TearDown() override
    {
        AppFixture::TearDown();
        SetUserConfigFolder("");
    }
};

struct CopyStep {
    int copy;             // 0 or 1
    std::string line;     // "start", "quit" or a line for the copy
    std::string answer = {};  // the copy's layouts afterwards; empty: not checked
};

TEST_F(ProgramCopies, NeitherLosesWhatTheOtherSaved)
{
    const std::vector<std::pair<std::vector<CopyStep>, std::string>> cases = {  // the steps, and the layouts stored
        {{{0, "start"}, {1, "start"}, {0, "add Alpha", "Cover,Alpha"}, {1, "add Beta", "Cover,Beta"}, {0, "quit"}, {1, "quit"}},
         "Cover,Alpha,Beta"},
        // The copy that closes last changed nothing: it writes back no stale layout.
        {{{0, "start"}, {1, "start"}, {0, "rename Edited", "Edited"}, {0, "quit"}, {1, "quit"}}, "Edited"},
        // Both changed the same layout, also after one of them had closed: both versions stay.
        {{{0, "start"}, {1, "start"}, {0, "rename From A"}, {1, "rename From B"}, {1, "quit"}, {0, "quit"}}, "From A,From B"},
        {{{0, "start"}, {1, "start"}, {0, "rename From A"}, {0, "quit"}, {1, "add Beta"}, {1, "rename From B"}, {1, "quit"}},
         "From A,Beta,From B"},
        // The file vanished after one copy saved: the other one writes it anew, and the first
        // finds its layout missing from a file that is no longer the one it wrote.
        {{{0, "start"}, {1, "start"}, {0, "add Alpha", "Cover,Alpha"}, {0, "delete"}, {1, "add Beta", "Cover,Beta"},
          {0, "quit"}, {1, "quit"}},
         "Cover,Beta,Alpha"},
        // Cut short inside a layout, or rewritten in place by another program (which keeps the
        // file's mark): neither is the file a copy last wrote, and each keeps its layouts.
        {{{0, "start"}, {1, "start"}, {0, "add Alpha"}, {1, "add Beta"}, {1, "cut"}, {1, "quit"}, {0, "quit"}},
         "Cover,Alpha,,Beta"},
        {{{0, "start"}, {1, "start"}, {0, "add Alpha"}, {1, "add Beta"}, {1, "overwrite"}, {0, "quit"}, {1, "quit"}},
         "Other,Other,Other,Cover,Alpha,Beta"},
        // A copy started later lists what the first one has added so far.
        {{{0, "start"}, {0, "add Alpha"}, {1, "start", "Cover,Alpha"}, {1, "add Beta"}, {1, "quit"}, {0, "quit"}},
         "Cover,Alpha,Beta"},
    };
    for (const auto& [steps, stored] : cases) {
        SCOPED_TRACE(stored);
        WriteLayouts({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
        QProcess copies[2];
        for (const CopyStep& step : steps) {
            if (step.line == "delete") {
                fs::remove(dir.File("Settings.ini"));
                continue;
            }
            if (step.line == "cut") {
                fs::resize_file(dir.File("Settings.ini"), fs::file_size(dir.File("Settings.ini")) - 80);
                continue;
            }
            if (step.line == "overwrite") {
                WriteLayouts(std::vector<TCoverRec>(3, MakeLayout("Other", 1, 1, 2, 2)));
                continue;
            }
            if (step.line == "start")
                StartCopy(copies[step.copy]);
            else if (step.line == "quit")
                copies[step.copy].closeWriteChannel();
            const std::string answer = ChildLine(copies[step.copy], step.line == "start" || step.line == "quit" ? "" : step.line);
            EXPECT_EQ(answer, step.line == "quit" ? "closed" : step.answer.empty() ? answer : step.answer) << step.line;
            if (step.line == "quit") {
                EXPECT_TRUE(copies[step.copy].waitForFinished() && copies[step.copy].exitCode() == 0);
            }
        }
        TCoverList list;
        list.SetCoverFileName(dir.File("Settings.ini"));
        EXPECT_EQ(Names(list), stored);
        EXPECT_FALSE(HasTemporary(dir.Path()));
    }
}

// A copy that holds the lock while it saves is waited for, however long it takes, under the
// hourglass; one that is stopped is not: the save fails and says so, and the layout, kept, is
// saved with the next change or at exit.
TEST_F(ProgramCopies, ASaveWaitsForTheCopyHoldingTheLockWhileItRuns)
{
    for (const bool stopped : {false, true}) {
        SCOPED_TRACE(stopped ? "stopped" : "running");
        WriteLayouts({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
        StartOverFolder();
        DVDForm->Show();
        QProcess holder;
        StartChild(holder, "folder lock holder", "OMBRELLE_FOLDER", QString::fromStdString(dir.Path()));
        ASSERT_EQ(ChildLine(holder), "locked");
        if (stopped) {
            ::kill(static_cast<pid_t>(holder.processId()), SIGSTOP);
            ASSERT_TRUE(WaitUntil([&] { return ProcessStopped(holder.processId()); }));
        }
        // The holder finishes its save only once this copy waits for it.
        bool waitedBusy = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            if (waitedBusy || !cursor || cursor->shape() != Qt::WaitCursor)
                return;
            waitedBusy = true;
            holder.write("write\n");
            holder.waitForBytesWritten();
        });
        watch.start(10);
        dialogs.Messages.clear();
        dialogs.OnShowModal = [](TForm& form) {
            dynamic_cast<TSettingsForm&>(form).SettingName->SetText("Beta");
            return mrOk;
        };
        DVDForm->ToolButton19->Click();
        watch.stop();
        EXPECT_EQ(waitedBusy, !stopped);
        ASSERT_EQ(dialogs.Messages.size(), stopped ? 1u : 0u);
        if (stopped) {
            EXPECT_EQ(dialogs.Messages[0].rfind("The layouts could not be saved : ", 0), 0u) << dialogs.Messages[0];
            EXPECT_NE(dialogs.Messages[0].find("stopped"), String::npos) << dialogs.Messages[0];
            ::kill(static_cast<pid_t>(holder.processId()), SIGCONT);
        }
        holder.closeWriteChannel();
        ASSERT_TRUE(holder.state() == QProcess::NotRunning || holder.waitForFinished());
        TCoverList now;
        now.SetCoverFileName(dir.File("Settings.ini"));
        EXPECT_EQ(Names(now), stopped ? "Cover" : "Cover,Beta");
        FreeStartupForms();  // the exit's save
        TCoverList atExit;
        atExit.SetCoverFileName(dir.File("Settings.ini"));
        EXPECT_EQ(Names(atExit), "Cover,Beta");
    }
}

TEST_F(ProgramCopies, KillsDuringSavesLeaveNothingOnceTheProgramStarts)
{
    // Large enough that a save takes a while: the kill comes while a temporary is there.
    WriteLayouts(std::vector<TCoverRec>(20000, MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)));
    for (int round = 0; round < 3; ++round) {
        QProcess copy;
        StartCopy(copy);
        ChildLine(copy);
        copy.write("add forever\n");
        ASSERT_TRUE(WaitUntil([&] { return HasTemporary(dir.Path()); }, 20000));
        copy.kill();
        copy.waitForFinished();
        EXPECT_EQ(fs::file_size(dir.File("Settings.ini")) % sizeof(TCoverRec), 0u);
    }
    // Leftovers of the program's own files go; one a living copy still writes (held locked
    // here), and names that are not the program's, stay.
    const std::vector<std::pair<std::string, bool>> planted = {
        {dir.File("Settings.ini.tmp-Live01"), true}, {dir.File("Search.xml.tmp-a1B2c3"), false},
        {dir.File("config/Registry.ini.tmp-000000"), false}, {dir.File("Notes.txt.tmp-a1B2c3"), true},
        {dir.File("Settings.ini.tmp-toolong"), true}};
    fs::create_directory(dir.File("config"));
    for (const auto& [name, stays] : planted)
        std::ofstream(name) << "partial";
    QFile live(QString::fromStdString(planted[0].first));
    ASSERT_TRUE(live.open(QIODevice::ReadOnly) && ::flock(live.handle(), LOCK_EX) == 0);
    SetUserConfigFolder(dir.File("config/"));
    StartOverFolder();
    for (const auto& [name, stays] : planted)
        EXPECT_EQ(fs::exists(name), stays) << name;
    size_t temporaries = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        temporaries += entry.path().filename().string().rfind("Settings.ini.tmp-", 0) == 0;
    EXPECT_EQ(temporaries, 2u);  // the living copy's and the name that is not the program's
    EXPECT_GE(DVDForm->CoverList->CoverNo(), 19999);
}

}  // namespace
