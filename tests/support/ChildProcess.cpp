#include "ChildProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {
std::map<std::string, std::function<int()>>& Routines()
{
    static std::map<std::string, std::function<int()>> routines;
    return routines;
}
}  // namespace

TChildRoutine::TChildRoutine(const std::string& name, std::function<int()> routine) { Routines()[name] = std::move(routine); }

bool RunChildRoutine(int& exitCode)
{
    const char* name = std::getenv("OMBRELLE_TEST_CHILD");
    if (!name || !Routines().count(name))
        return false;
    exitCode = Routines()[name]();
    return true;
}

void ChildSay(const std::string& line)
{
    std::printf("@%s\n", line.c_str());
    std::fflush(stdout);
}

void StartChild(QProcess& child, const std::string& routine, const QString& name, const QString& value)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OMBRELLE_TEST_CHILD", QString::fromStdString(routine));
    env.insert(name, value);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
}

std::string ChildLine(QProcess& child, const std::string& send, int milliseconds)
{
    if (!send.empty())
        child.write((send + "\n").c_str());
    QDeadlineTimer deadline(milliseconds);
    for (;;) {
        while (child.canReadLine())
            if (const QByteArray line = child.readLine().trimmed(); line.startsWith('@'))
                return line.mid(1).toStdString();
        if (deadline.hasExpired() || !child.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            if (!child.canReadLine())
                return {};
    }
}
