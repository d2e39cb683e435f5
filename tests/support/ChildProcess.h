#pragma once
// A test that needs another running program starts this test program again as a child, which
// runs one routine registered by name instead of the tests and talks with the test one line at
// a time: the child's lines to the test start with '@', so that nothing else it prints counts.
#include <QProcess>

#include <functional>
#include <string>

struct TChildRoutine {
    TChildRoutine(const std::string& name, std::function<int()> routine);
};
// When this process is a child, runs its routine and gives its exit code.
bool RunChildRoutine(int& exitCode);
void ChildSay(const std::string& line);

// The child's next line for the test (without its '@'), after sending one when given; empty when
// none came within the time.
std::string ChildLine(QProcess& child, const std::string& send = "", int milliseconds = 30000);
// Starts the routine in a child with one more environment variable.
void StartChild(QProcess& child, const std::string& routine, const QString& name, const QString& value);
