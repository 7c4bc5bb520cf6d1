#include "convert/ProcessRunner.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include "convert/ProgressDisplay.h"
#include "convert/WaitAnimation.h"
#include "util/AppError.h"

namespace quillane {

namespace {

QString ToQt(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The run-time error a failed start amounts to, judged by what is at the program's path.
int StartErrorNumber(const std::string& program) {
    const QFileInfo info(ToQt(program));
    if (!info.exists()) {
        return errc::kFileNotFound;
    }
    if (!info.isExecutable() || info.isDir()) {
        return errc::kPermissionDenied;
    }
    return errc::kDeviceIo;
}

// --- stop hook: the program is asked to end (SIGTERM) and given the grace period to clean up
// after itself; then it is killed. Returns when it has ended.
void StopProcess(QProcess& process, int graceMilliseconds) {
    process.terminate();
    if (!process.waitForFinished(graceMilliseconds)) {
        process.kill();
        process.waitForFinished(-1);
    }
}

}  // namespace

RunOutcome RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                      std::optional<int> windowStyle, ProgressDisplay* bar,
                      const std::string& savedText, int startValue, int count,
                      const WaitSettings& settings, const StopHook& stop) {
    RunOutcome outcome;
    outcome.windowStyle = EffectiveWindowStyle(windowStyle);

    QProcess process;
    QStringList args;
    args.reserve(qsizetype(arguments.size()));
    for (const auto& a : arguments) {
        args << ToQt(a);
    }
    process.setProgram(ToQt(program));
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        outcome.result = StartErrorNumber(program) + kStartErrorBase;
        return outcome;
    }
    outcome.started = true;

    const WaitAnimation animation(savedText, startValue, count);
    QEventLoop loop;
    QTimer ticker;
    ticker.setInterval(settings.tickMilliseconds);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        if (stop.requested && stop.requested()) {
            loop.quit();  // stop hook
            return;
        }
        ++outcome.ticks;
        if (bar == nullptr) {
            return;
        }
        const WaitAnimation::Frame frame = animation.AtTick(outcome.ticks);
        if (frame.text) {
            bar->SetText(*frame.text);
        }
        if (frame.value) {
            bar->SetValue(*frame.value);
        }
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    // Kept small: only the converter's one line of cause is wanted.
    QObject::connect(&process, &QProcess::readyReadStandardError, &loop, [&] {
        const QByteArray chunk = process.readAllStandardError();
        if (outcome.standardError.size() < 64 * 1024) {
            outcome.standardError.append(chunk.constData(), std::size_t(chunk.size()));
        }
    });
    if (process.state() != QProcess::NotRunning) {
        ticker.start();
        loop.exec();
        ticker.stop();
    }
    if (process.state() != QProcess::NotRunning) {
        StopProcess(process, stop.graceMilliseconds);  // stop hook
    }
    const QByteArray rest = process.readAllStandardError();
    outcome.standardError.append(rest.constData(), std::size_t(rest.size()));

    outcome.result =
        process.exitStatus() == QProcess::CrashExit ? kCrashedResult : process.exitCode();
    if (bar != nullptr) {
        bar->SetText(animation.FinalText());
    }
    return outcome;
}

}  // namespace quillane
