#pragma once
// A folder of the test's own, removed with everything in it at the end.
#include <QTemporaryDir>
#include <string>

class TempDir {
public:
    std::string Path() const { return dir_.path().toStdString() + "/"; }
    std::string File(const std::string& name) const { return Path() + name; }

private:
    QTemporaryDir dir_;
};
