#include "tests/acceptance/ProcessRun.h"

#include <QProcess>

namespace quillane::test {

ProcessOutcome RunProcess(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment, int timeoutMs) {
    ProcessOutcome outcome;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    outcome.started = process.waitForStarted(30000);
    if (!outcome.started) {
        outcome.output = process.errorString();
        return outcome;
    }
    outcome.finished = process.waitForFinished(timeoutMs);
    if (!outcome.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    outcome.output = QString::fromLocal8Bit(process.readAll());
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return outcome;
}

}  // namespace quillane::test
