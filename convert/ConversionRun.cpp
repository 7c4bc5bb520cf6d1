#include "convert/ConversionRun.h"

#include <sys/stat.h>

#include <map>
#include <vector>

#include "convert/ConversionHost.h"
#include "convert/Deployment.h"
#include "convert/OutputPath.h"
#include "convert/ProgressDisplay.h"
#include "convert/StagingText.h"
#include "convert/TextChunks.h"
#include "convert/WaitAnimation.h"
#include "util/AppError.h"
#include "util/DialogHost.h"
#include "util/PathHelpers.h"

namespace quillane {

namespace {

// Identity of a file at a path, to tell a book the converter wrote from one already there.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        stamp.exists = true;
        stamp.device = st.st_dev;
        stamp.inode = st.st_ino;
        stamp.size = st.st_size;
        stamp.modified = st.st_mtim;
    }
    return stamp;
}

bool IsNewBook(const FileStamp& before, const FileStamp& after) {
    if (!after.exists || after.size <= 0) {
        return false;
    }
    return !before.exists || before.device != after.device || before.inode != after.inode ||
           before.modified.tv_sec != after.modified.tv_sec ||
           before.modified.tv_nsec != after.modified.tv_nsec || before.size != after.size;
}

// The last non-empty line the converter wrote on its standard error.
std::string CauseFrom(const std::string& standardError) {
    std::size_t end = standardError.find_last_not_of("\r\n \t");
    if (end == std::string::npos) {
        return {};
    }
    const std::size_t start = standardError.find_last_of("\r\n", end);
    return standardError.substr(start == std::string::npos ? 0 : start + 1,
                                end + 1 - (start == std::string::npos ? 0 : start + 1));
}

std::string ConverterFailure(const RunOutcome& outcome) {
    if (!outcome.started) {
        return "The converter could not be started (error " +
               std::to_string(outcome.result - kStartErrorBase) + ")";
    }
    if (std::string cause = CauseFrom(outcome.standardError); !cause.empty()) {
        return cause;
    }
    if (outcome.result == kCrashedResult) {
        return "The converter stopped abnormally";
    }
    return "The converter ended with status " + std::to_string(outcome.result);
}

}  // namespace

void ConversionRun::Message(const std::string& text) {
    host_.Dialogs().MessageBox(text, MessageButtons::Ok, MessageIcon::None, "");
}

OutputChoice ConversionRun::Options() {
    OutputChoice choice = host_.OutputOptions();
    choice.folder = AbsolutePath(choice.folder, workingFolder_);
    return choice;
}

ConversionOutcome ConversionRun::Start(bool& runInProgress) {
    outcome_ = {};
    ending_ = Ending::Untold;
    if (runInProgress) {
        return {};
    }
    runInProgress = true;
    // Every way out of an accepted run clears the flag.
    struct ClearOnExit {
        bool& flag;
        ~ClearOnExit() { flag = false; }
    } clear{runInProgress};
    report_ = {};
    runFolder_.clear();
    passes_ = 0;
    madeBooks_.clear();
    // The converter runs in its own folder, so every path it is given must be absolute.
    workingFolder_ = WorkingFolder();
    Run();
    if (host_.StopRequested()) {  // stop hook
        outcome_.status = OutcomeStatus::Stopped;
    }
    return std::exchange(outcome_, {});
}

ConversionOutcome ConversionRun::Tell() {
    switch (std::exchange(ending_, Ending::Untold)) {
        case Ending::Untold:
            break;
        case Ending::NoFiles:
            Attempt(ConversionStep::TellNoFiles, [&] { Message("No files added."); });
            break;
        case Ending::NoFolder:
            Attempt(ConversionStep::TellNoFolder,
                    [&] { Message("Folder does not exist. Please select another folder."); });
            break;
        case Ending::Finished:
            Attempt(ConversionStep::TellResult, [&] {
                if (host_.StopRequested()) {  // stop hook: the window is gone, nothing is shown
                    return;
                }
                if (!report_.Empty()) {
                    Message(RunSummaryText(report_, passes_));
                }
                Message("Done.");
            });
            break;
    }
    return std::exchange(outcome_, {});
}

void ConversionRun::Run() {
    if (AttemptTest(ConversionStep::IsListEmpty, [&] { return host_.EntryCount() == 0; })) {
        ending_ = Ending::NoFiles;
        return;
    }
    if (AttemptTest(ConversionStep::IsFolderMissing, [&] {
            const OutputChoice choice = Options();
            return UsesChosenFolder(choice) && !IsFolder(choice.folder);
        })) {
        ending_ = Ending::NoFolder;
        return;
    }
    Attempt(ConversionStep::LetWindowRepaint, [&] { host_.Yield(); });
    Attempt(ConversionStep::ShowBusy, [&] { host_.SetMousePointer(PointerStyle::Hourglass); });
    Deploy();
    Attempt(ConversionStep::NameConverter,
            [&] { converter_ = runFolder_ + kSeparator + kConverterFileName; });

    // The number of passes is fixed here; entries added later wait for the next run.
    Attempt(ConversionStep::CountPasses, [&] { passes_ = host_.EntryCount(); });
    for (int i = 1; i <= passes_ && !host_.StopRequested(); ++i) {  // stop hook
        ConvertEntry(i);
    }
    CleanUp();
    ending_ = Ending::Finished;
}

void ConversionRun::Deploy() {
    std::string converter;
    std::string library;
    Attempt(ConversionStep::ReadConverter, [&] { converter = host_.Payload(kConverterPayload); });
    Attempt(ConversionStep::ReadLibrary, [&] { library = host_.Payload(kLibraryPayload); });
    // The converter answers once from where it was written, so a folder it cannot run from
    // (mounted noexec, or closed by a security policy) is known before the first file.
    const ConverterProbe probe = [&](const std::string& tool, const std::string& folder) {
        WaitFeedback quiet(wait_);
        const RunOutcome outcome = RunAndWait({tool, {}, folder, 0}, quiet);
        if (!outcome.started) {
            return "the converter could not be started there (error " +
                   std::to_string(outcome.result - kStartErrorBase) + ")";
        }
        return outcome.result == 0
                   ? std::string()
                   : "the converter did not run there (" + ConverterFailure(outcome) + ")";
    };
    Attempt(ConversionStep::Deploy, [&] {
        std::vector<std::string> candidates = RunFolderCandidates();
        for (std::string& candidate : candidates) {
            candidate = AbsolutePath(candidate, workingFolder_);
        }
        const Deployed deployed =
            DeployConverter(candidates, converter, library, probe, [&] { host_.Yield(); });
        runFolder_ = deployed.runFolder;
        std::string reasons;
        for (const std::string& passed : deployed.passedOver) {
            reasons += (reasons.empty() ? "" : " ") + passed;
        }
        if (runFolder_.empty()) {
            throw AppError(errc::kPermissionDenied,
                           "The converter could not be deployed. " + reasons);
        }
        if (!reasons.empty()) {
            const std::string used = runFolder_.substr(0, runFolder_.find_last_of(kSeparator));
            report_.notices.push_back(reasons + " The run used \"" + used + "\" instead.");
        }
    });
}

void ConversionRun::ConvertEntry(int index) {
    std::string source;
    ProgressDisplay& bar = host_.Progress();
    // An entry is read in the state it has when its pass comes; one that is gone is skipped.
    if (index > host_.EntryCount()) {
        return;
    }
    Attempt(ConversionStep::ReadEntry,
            [&] { source = AbsolutePath(host_.EntryText(index), workingFolder_); });
    Attempt(ConversionStep::ShowShare,
            [&] { bar.SetValue(double(index) / std::max(host_.EntryCount(), 1) * 100.0); });
    Attempt(ConversionStep::ShowFileName,
            [&] { bar.SetText("Processing: " + FileNameOf(source)); });
    Attempt(ConversionStep::LetWindowRepaintForEntry, [&] { host_.Yield(); });
    if (host_.StopRequested()) {  // stop hook
        return;
    }
    Attempt(ConversionStep::ShowBusyForEntry,
            [&] { host_.SetMousePointer(PointerStyle::Hourglass); });

    StagingText& staging = host_.Staging();
    Attempt(ConversionStep::ClearStaging, [&] { staging.Clear(); });
    std::vector<std::string> chunks;
    try {
        chunks = ReadTextChunks(source, signatures_);
    } catch (...) {
        // Told once, in the run's list; no book is written for a text we do not have.
        report_.failures.push_back({source, DescribeFailure(std::current_exception())});
        return;
    }
    for (const std::string& chunk : chunks) {
        Attempt(ConversionStep::StageChunk, [&] { staging.Append(chunk); });
    }
    chunks = {};
    staging.SetSourcePath(source);

    if (runFolder_.empty()) {
        // Set-up failed and was reported; there is nowhere private to stage or run.
        report_.failures.push_back({source, "The converter could not be deployed"});
        return;
    }
    const std::string staged = runFolder_ + kSeparator + kStagedFileName;
    Attempt(ConversionStep::RemoveStaleStaged,
            [&] { DeleteFileQuietly(staged, [&] { host_.Yield(); }); });
    try {
        staging.SaveFile(staged, FileNameOf(source));
    } catch (...) {
        report_.failures.push_back(
            {source, "The text could not be staged: " + DescribeFailure(std::current_exception())});
        return;
    }

    std::string book;
    const OutputChoice choice = Options();
    if (AttemptTest(ConversionStep::IsChosenFolder, [&] { return UsesChosenFolder(choice); })) {
        Attempt(ConversionStep::NameBookInFolder, [&] { book = OutputPathFor(source, choice); });
    } else if (AttemptTest(ConversionStep::IsBesideSource, [&] { return choice.besideSource; })) {
        Attempt(ConversionStep::NameBookBeside, [&] { book = OutputPathFor(source, choice); });
    }
    std::vector<std::string> arguments;
    Attempt(ConversionStep::PassPaths, [&] { arguments = {staged, book}; });

    const FileStamp before = StampOf(book);
    const FileStamp sourceStamp = StampOf(source);
    if (before.exists && sourceStamp.exists && before.device == sourceStamp.device &&
        before.inode == sourceStamp.inode) {
        // "story.epub" listed as a source would be overwritten by its own book.
        report_.failures.push_back({source, "The book would replace its own source"});
        return;
    }
    RunOutcome outcome;
    const bool ran = Attempt(ConversionStep::RunConverter, [&] {
        // The converter starts in the run's own folder, where nothing but our files lie.
        const Command command{converter_, arguments, runFolder_, 0};
        ProgressFeedback feedback(bar, bar.Text(), RoundHalfEven(bar.Value()),
                                  std::max(host_.EntryCount(), 1), wait_);
        feedback.SetStopRequest([this] { return host_.StopRequested(); });
        outcome = RunAndWait(command, feedback);
    });
    if (host_.StopRequested()) {  // stop hook: a stopped converter is no failure to list
        return;
    }
    if (!ran) {
        report_.failures.push_back({source, "The converter could not be run"});
        return;
    }
    const FileStamp after = StampOf(book);
    if (!outcome.started || outcome.result != 0) {
        report_.failures.push_back({source, ConverterFailure(outcome)});
        return;
    }
    if (!IsNewBook(before, after)) {
        report_.failures.push_back({source, "The converter wrote no book"});
        return;
    }
    ++report_.converted;
    auto [made, isFirst] = madeBooks_.try_emplace(book, source);
    if (!isFirst) {
        if (made->second != source) {
            report_.replaced.push_back({book, made->second, source});
        }
        made->second = source;
    }
}

void ConversionRun::CleanUp() {
    const auto yield = [&] { host_.Yield(); };
    const auto inRunFolder = [&](const char* name) {
        return runFolder_.empty() ? std::string() : runFolder_ + kSeparator + name;
    };
    Attempt(ConversionStep::RemoveStaged,
            [&] { DeleteFileQuietly(inRunFolder(kStagedFileName), yield); });
    Attempt(ConversionStep::RemoveConverter,
            [&] { DeleteFileQuietly(inRunFolder(kConverterFileName), yield); });
    Attempt(ConversionStep::RemoveLibrary, [&] {
        DeleteFileQuietly(inRunFolder(kLibraryFileName), yield);
        RemoveFolderQuietly(runFolder_);
    });
    Attempt(ConversionStep::ShowIdle, [&] { host_.SetMousePointer(PointerStyle::Default); });
    ProgressDisplay& bar = host_.Progress();
    Attempt(ConversionStep::ResetBar, [&] { bar.SetValue(0); });
    Attempt(ConversionStep::ResetBarText, [&] { bar.SetText("Progress Bar"); });
}

}  // namespace quillane
