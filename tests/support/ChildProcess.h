#pragma once
// A test that needs another running program starts this test executable again as a child
// process: the child runs one routine, named when the test starts it, instead of the tests,
// and talks with the test through its standard input and output, one line at a time.
#include <QProcess>

#include <functional>
#include <map>
#include <string>

// Registers a routine under a name, at static initialisation: the routine returns the child's
// exit code.
struct TChildRoutine {
    TChildRoutine(const std::string& name, std::function<int()> routine);
};

// When this process was started as a child, runs its routine and gives its exit code.
bool RunChildRoutine(int& exitCode);

// The child's side: a line to the test (anything else the child prints is not taken for one),
// and the test's next line; false once the test has closed the child's input.
void ChildSay(const std::string& line);
bool ChildHear(std::string& line);

// The test's side: the child running a routine, with the given extra environment.
class TChildProcess {
public:
    TChildProcess(const std::string& routine, const std::map<std::string, std::string>& environment);
    ~TChildProcess();
    // Sends one line and returns the child's next line; empty when none came in time.
    std::string Ask(const std::string& line, int milliseconds = 30000);
    // The child's next line; empty when none came in time.
    std::string ReadLine(int milliseconds = 30000);
    // Waits for the child to end after its input closed; false when it did not, or failed.
    bool Finish(int milliseconds = 30000);
    void Kill();
    QProcess& Process() { return process_; }

private:
    QProcess process_;
};
