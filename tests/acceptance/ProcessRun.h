#pragma once
// Runs an outside program to its end and keeps what it printed, for the checks that drive the
// installer, the validators and the installed program.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quillane::test {

struct ProcessOutcome {
    bool started = false;
    bool finished = false;  // false when it had to be stopped at the time limit
    int exitCode = -1;
    QString output;  // standard output and standard error, interleaved
};

ProcessOutcome RunProcess(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    int timeoutMs = 120000);

}  // namespace quillane::test
