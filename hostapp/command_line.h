#pragma once
// What harbinet is asked to do by its command line.

#include <QString>
#include <QStringList>

namespace harbinet {

struct TCommandLine {
    QStringList files;  // absolute paths in the order given, symbolic links kept as named
    QString screenshot;
    QString process;
    QString processParams;
    QStringList modules;
    bool help = false;
    bool version = false;
    QString error;  // why the line was not understood; empty when it was

    // A picture or a single process: harbinet does that job and ends, so it neither hands its
    // files to a running harbinet nor takes files from later starts.
    [[nodiscard]] bool RunsOnce() const { return !screenshot.isEmpty() || !process.isEmpty(); }
};

// `arguments` without the program's own name. Relative file names are made absolute against
// the current folder, so that they still mean the same file in another harbinet.
TCommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

}  // namespace harbinet
