#include "ChildProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {
constexpr char kRoutineVariable[] = "OMBRELLE_TEST_CHILD";
constexpr char kLineMark = '@';

std::map<std::string, std::function<int()>>& Routines()
{
    static std::map<std::string, std::function<int()>> routines;
    return routines;
}
}  // namespace

TChildRoutine::TChildRoutine(const std::string& name, std::function<int()> routine)
{
    Routines()[name] = std::move(routine);
}

bool RunChildRoutine(int& exitCode)
{
    const char* name = std::getenv(kRoutineVariable);
    if (!name || !*name)
        return false;
    auto it = Routines().find(name);
    exitCode = it == Routines().end() ? 2 : it->second();
    return true;
}

void ChildSay(const std::string& line)
{
    std::printf("%c%s\n", kLineMark, line.c_str());
    std::fflush(stdout);
}

bool ChildHear(std::string& line) { return static_cast<bool>(std::getline(std::cin, line)); }

TChildProcess::TChildProcess(const std::string& routine, const std::map<std::string, std::string>& environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kRoutineVariable, QString::fromStdString(routine));
    for (const auto& [name, value] : environment)
        env.insert(QString::fromStdString(name), QString::fromStdString(value));
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QCoreApplication::applicationFilePath(), {});
    process_.waitForStarted();
}

TChildProcess::~TChildProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

std::string TChildProcess::ReadLine(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    for (;;) {
        while (process_.canReadLine()) {
            const std::string line = process_.readLine().trimmed().toStdString();
            if (!line.empty() && line[0] == kLineMark)
                return line.substr(1);
        }
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
            return {};
        process_.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
    }
}

std::string TChildProcess::Ask(const std::string& line, int milliseconds)
{
    process_.write((line + "\n").c_str());
    process_.waitForBytesWritten(milliseconds);
    return ReadLine(milliseconds);
}

bool TChildProcess::Finish(int milliseconds)
{
    process_.closeWriteChannel();
    return process_.waitForFinished(milliseconds) && process_.exitStatus() == QProcess::NormalExit &&
           process_.exitCode() == 0;
}

void TChildProcess::Kill()
{
    process_.kill();
    process_.waitForFinished();
}
