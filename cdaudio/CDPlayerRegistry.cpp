// The system's audio CD settings: whether a disc starts playing on insertion, and with what.
#include "CDPlayer.h"

#include "Registry.h"

namespace {

const char* const kMachineShell = "SOFTWARE\\Classes\\AudioCD\\Shell";
const char* const kClassesShell = "AudioCD\\Shell";

String ReadDefault(HKEY root, const String& key)
{
    TRegistry reg;
    reg.SetRootKey(root);
    return reg.OpenKey(key, false) ? reg.ReadString("") : String();
}

void WriteDefault(HKEY root, const String& key, const String& value)
{
    TRegistry reg;
    reg.SetRootKey(root);
    if (reg.OpenKey(key, false))
        reg.WriteString("", value);
}

}  // namespace

bool TCDPlayer::AutoRun() const
{
    return !ReadDefault(HKEY_LOCAL_MACHINE, "Software\\Classes\\AudioCD\\Shell").empty() &&
           !ReadDefault(HKEY_CLASSES_ROOT, kClassesShell).empty();
}

void TCDPlayer::SetAutoRun(bool on)
{
    WriteDefault(HKEY_LOCAL_MACHINE, kMachineShell, on ? "play" : "");
    WriteDefault(HKEY_CLASSES_ROOT, kClassesShell, on ? "play" : "");
}

String TCDPlayer::DefaultPlayer() const
{
    String verb = ReadDefault(HKEY_LOCAL_MACHINE, kMachineShell);
    if (verb.empty())
        verb = "play";
    return ReadDefault(HKEY_LOCAL_MACHINE, String(kMachineShell) + "\\" + verb + "\\command");
}

void TCDPlayer::SetDefaultPlayer(const String& command)
{
    String verb = ReadDefault(HKEY_CLASSES_ROOT, kClassesShell);
    if (verb.empty())
        verb = "play";
    WriteDefault(HKEY_CLASSES_ROOT, String(kClassesShell) + "\\" + verb + "\\command", command);
    WriteDefault(HKEY_LOCAL_MACHINE, String(kMachineShell) + "\\" + verb + "\\command", command);
}
