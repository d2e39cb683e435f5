// Two copies of the program on one "Settings.ini", each a process of its own, and saves cut
// short by a kill: no layout either copy saved is lost, and nothing is left beside the file.
#include "AddSetting.h"
#include "AppFixture.h"
#include "ChildProcess.h"
#include "RegularFile.h"
#include "UserConfig.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

std::string LayoutNames()
{
    std::string names;
    for (int i = 0; i <= DVDForm->CoverList->CoverNo(); ++i)
        names += (i ? "," : "") + DVDForm->CoverList->GetCover(i)->Name();
    return names;
}

// One copy of the program, driven line by line: "add NAME" adds a layout through the editor,
// "rename NAME" renames the first one, "add-forever" adds layouts until it is killed. It
// answers each line with its layouts' names, and says "closed" once its windows are gone.
int ServeProgramCopy()
{
    ScriptedDialogs dialogs;
    SetUserConfigFolder(std::getenv("OMBRELLE_CONFIG"));
    Application()->SetExeName(std::string(std::getenv("OMBRELLE_FOLDER")) + "ombrelle");
    CreateStartupForms();
    ChildSay(LayoutNames());
    std::string line;
    while (ChildHear(line)) {
        const size_t blank = line.find(' ');
        const std::string command = line.substr(0, blank);
        const String name = blank == std::string::npos ? String("Added") : line.substr(blank + 1);
        dialogs.OnShowModal = [&](TForm& form) {
            dynamic_cast<TSettingsForm&>(form).SettingName->SetText(name);
            return mrOk;
        };
        if (command == "add") {
            DVDForm->ToolButton19->Click();
        } else if (command == "rename") {
            DVDForm->ToolButton20->Click();
        } else if (command == "add-forever") {
            ChildSay("saving");
            for (;;)
                DVDForm->ToolButton19->Click();
        }
        ChildSay(dialogs.Messages.empty() ? LayoutNames() : "message: " + dialogs.Messages.back());
    }
    FreeStartupForms();
    ChildSay("closed");
    return 0;
}
const TChildRoutine programCopy("program copy", ServeProgramCopy);

std::vector<std::string> StoredNames(const std::string& file)
{
    const std::vector<uint8_t> bytes = ReadRegularFile(file, 1 << 26);
    std::vector<std::string> names;
    for (size_t at = 0; at + sizeof(TCoverRec) <= bytes.size(); at += sizeof(TCoverRec)) {
        TCoverRec rec;
        std::memcpy(&rec, bytes.data() + at, sizeof rec);
        names.push_back(rec.Name());
    }
    return names;
}

void WriteLayouts(const std::string& file, const std::vector<TCoverRec>& layouts)
{
    std::ofstream out(file, std::ios::binary);
    for (const TCoverRec& r : layouts)
        out.write(reinterpret_cast<const char*>(&r), sizeof r);
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool HasTemporary(const std::string& folder)
{
    for (const std::string& name : FolderEntries(folder))
        if (name.find(".tmp-") != std::string::npos)
            return true;
    return false;
}

class ProgramCopies : public AppFixture {
protected:
    TempDir config;
    std::unique_ptr<TChildProcess> Copy()
    {
        return std::make_unique<TChildProcess>(
            "program copy", std::map<std::string, std::string>{{"OMBRELLE_FOLDER", dir.Path()}, {"OMBRELLE_CONFIG", config.Path()}});
    }
    void TearDown() override
    {
        if (DVDForm)
            AppFixture::TearDown();
        SetUserConfigFolder("");
    }
};

struct CopyStep {
    char copy;            // 'A' or 'B'
    std::string command;  // "start", "quit", or a line for the copy
    std::string answer;   // the copy's layouts afterwards; empty: not checked
};

struct CopiesCase {
    const char* what;
    std::vector<CopyStep> steps;
    std::vector<std::string> stored;  // the file's layouts once both copies have closed
};

TEST_F(ProgramCopies, NeitherLosesWhatTheOtherSaved)
{
    const std::vector<CopiesCase> cases = {
        {"both add",
         {{'A', "start", "Cover"}, {'B', "start", "Cover"}, {'A', "add Alpha", "Cover,Alpha"},
          {'B', "add Beta", "Cover,Beta"}, {'A', "quit"}, {'B', "quit"}},
         {"Cover", "Alpha", "Beta"}},
        {"one edits, the other closes last unchanged",
         {{'A', "start"}, {'B', "start"}, {'A', "rename Edited", "Edited"}, {'A', "quit"}, {'B', "quit"}},
         {"Edited"}},
        {"both edit the same layout",
         {{'A', "start"}, {'B', "start"}, {'A', "rename From A"}, {'B', "rename From B"}, {'B', "quit"}, {'A', "quit"}},
         {"From A", "From B"}},
        {"an edit after the other copy's edit of the same layout keeps both",
         {{'A', "start"}, {'B', "start"}, {'A', "rename From A"}, {'A', "quit"}, {'B', "add Beta"},
          {'B', "rename From B"}, {'B', "quit"}},
         {"From A", "Beta", "From B"}},
        {"a copy started later lists what the first added",
         {{'A', "start"}, {'A', "add Alpha"}, {'B', "start", "Cover,Alpha"}, {'B', "add Beta", "Cover,Alpha,Beta"},
          {'B', "quit"}, {'A', "quit"}},
         {"Cover", "Alpha", "Beta"}},
    };
    for (const CopiesCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = dir.File("Settings.ini");
        WriteLayouts(file, {MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
        std::map<char, std::unique_ptr<TChildProcess>> copies;
        for (const CopyStep& step : c.steps) {
            std::string answer;
            if (step.command == "start") {
                copies[step.copy] = Copy();
                answer = copies[step.copy]->ReadLine();
            } else if (step.command == "quit") {
                copies[step.copy]->Process().closeWriteChannel();
                answer = copies[step.copy]->ReadLine();
                EXPECT_EQ(answer, "closed");
                EXPECT_TRUE(copies[step.copy]->Finish());
                continue;
            } else {
                answer = copies[step.copy]->Ask(step.command);
            }
            ASSERT_FALSE(answer.empty()) << step.copy << " " << step.command;
            if (!step.answer.empty())
                EXPECT_EQ(answer, step.answer) << step.copy << " " << step.command;
        }
        EXPECT_EQ(StoredNames(file), c.stored);
        EXPECT_FALSE(HasTemporary(dir.Path()));
    }
}

TEST_F(ProgramCopies, KillsDuringSavesLeaveNothingOnceTheProgramStarts)
{
    // Large enough that a save takes a while, so that the kills land inside saves.
    const std::vector<TCoverRec> layouts(20000, MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f));
    const std::string file = dir.File("Settings.ini");
    WriteLayouts(file, layouts);
    int leftBehind = 0;
    for (int round = 0; round < 4; ++round) {
        auto copy = Copy();
        ASSERT_FALSE(copy->ReadLine().empty());
        ASSERT_EQ(copy->Ask("add-forever"), "saving");
        QDeadlineTimer deadline(20000);
        while (!HasTemporary(dir.Path()) && !deadline.hasExpired())
            QThread::usleep(200);
        copy->Kill();
        leftBehind += HasTemporary(dir.Path());
        const uintmax_t size = fs::file_size(file);
        EXPECT_EQ(size % sizeof(TCoverRec), 0u);
        EXPECT_GE(size, layouts.size() * sizeof(TCoverRec));
    }
    ASSERT_GT(leftBehind, 0) << "no kill landed inside a save";

    // Leftovers of the program's own files, one still being written by a living copy (held
    // locked here), and names that are not the program's.
    const std::vector<std::pair<std::string, bool>> planted = {
        {dir.File("Search.xml.tmp-a1B2c3"), false},         {config.File("RizarOdaza.ini.tmp-Zz9Yy8"), false},
        {config.File("Registry.ini.tmp-000000"), false},    {dir.File("Settings.ini.tmp-Live01"), true},
        {dir.File("Settings.ini.tmp-toolong"), true},       {dir.File("Notes.txt.tmp-a1B2c3"), true},
        {dir.File("Settings.ini.tmp-a1B2"), true},
    };
    int live = ::open(planted[3].first.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    for (const auto& [name, stays] : planted)
        std::ofstream(name) << "partial";
    SetUserConfigFolder(config.Path());
    StartOverFolder();
    for (const auto& [name, stays] : planted)
        EXPECT_EQ(fs::exists(name), stays) << name;
    std::set<std::string> left = FolderEntries(dir.Path());
    for (const auto& [name, stays] : planted)
        left.erase(fs::path(name).filename().string());
    EXPECT_EQ(left, std::set<std::string>{"Settings.ini"});
    EXPECT_GE(DVDForm->CoverList->CoverNo() + 1, static_cast<int>(layouts.size()));
    ::close(live);
}

}  // namespace
