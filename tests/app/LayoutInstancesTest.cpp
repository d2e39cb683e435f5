// Two copies of the program on one "Settings.ini", each a process of its own, and saves cut
// short by a kill: no layout either copy saved is lost, and nothing is left beside the file.
#include "AddSetting.h"
#include "AppFixture.h"
#include "ChildProcess.h"
#include "UserConfig.h"
#include "WaitFor.h"

#include <filesystem>
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
        do
            (line.rfind("rename", 0) == 0 ? DVDForm->ToolButton20 : DVDForm->ToolButton19)->Click();
        while (line == "add forever");
        ChildSay(Names(*DVDForm->CoverList));
    }
    FreeStartupForms();
    ChildSay("closed");
    return 0;
});

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
        // A copy started later lists what the first one has added so far.
        {{{0, "start"}, {0, "add Alpha"}, {1, "start", "Cover,Alpha"}, {1, "add Beta"}, {1, "quit"}, {0, "quit"}},
         "Cover,Alpha,Beta"},
    };
    for (const auto& [steps, stored] : cases) {
        SCOPED_TRACE(stored);
        WriteLayouts({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
        QProcess copies[2];
        for (const CopyStep& step : steps) {
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
