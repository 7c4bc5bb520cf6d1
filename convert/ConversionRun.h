#pragma once
// One press of "Start Converting": every entry of the list, in list order, staged as RTF and
// handed to the converter, with the progress bar and the busy pointer following the batch.
// The run needs no window: it works through a ConversionHost.
//
// Unlike a bare batch loop it examines every result: a source that cannot be read is skipped
// (no empty book is written over its output), a converter that fails or writes no book is
// noted with its own words, and one message before "Done." lists every such file and every
// book of this run that a later entry replaced.

#include <map>
#include <string>
#include <utility>

#include "convert/OutputPath.h"
#include "convert/ProcessRunner.h"
#include "convert/RunReport.h"
#include "text/FileSignatures.h"
#include "util/Outcome.h"

namespace quillane {

class ConversionHost;

// The statements of a run that a failure can cost, in the order they run. A failure costs that
// statement only; the run goes on with the next, or into a conditional's body when its test
// failed.
enum class ConversionStep {
    IsListEmpty,
    TellNoFiles,
    IsFolderMissing,
    TellNoFolder,
    LetWindowRepaint,
    ShowBusy,
    ReadConverter,
    ReadLibrary,
    Deploy,
    NameConverter,
    CountPasses,
    ReadEntry,
    ShowShare,
    ShowFileName,
    LetWindowRepaintForEntry,
    ShowBusyForEntry,
    ClearStaging,
    StageChunk,
    RemoveStaleStaged,
    IsChosenFolder,
    NameBookInFolder,
    IsBesideSource,
    NameBookBeside,
    PassPaths,
    RunConverter,
    RemoveStaged,
    RemoveConverter,
    RemoveLibrary,
    ShowIdle,
    ResetBar,
    ResetBarText,
    TellResult,
};

using ConversionOutcome = Outcome<ConversionStep>;

class ConversionRun {
  public:
    explicit ConversionRun(ConversionHost& host, WaitSettings wait = {})
        : host_(host), wait_(wait) {}

    // Runs the batch unless `runInProgress` is already set (a second press is ignored). The
    // flag is set for the length of the run and cleared on every way out. Hands back what
    // failed on the way; Stopped when the window is closing.
    ConversionOutcome Start(bool& runInProgress);

    // Says how the run ended, once its failures have been reported: "No files added.", the
    // missing folder, or any files not converted and then "Done.". Nothing after an ignored
    // press or once the window is closing.
    ConversionOutcome Tell();

    const RunReport& report() const { return report_; }
    // The run's private folder (empty before set-up); it is gone after the run.
    const std::string& runFolder() const { return runFolder_; }

  private:
    enum class Ending { Untold, NoFiles, NoFolder, Finished };

    void Run();
    void Deploy();
    void ConvertEntry(int index);
    void CleanUp();
    void Message(const std::string& text);
    template <class Body>
    bool Attempt(ConversionStep step, Body&& body) {
        return quillane::Attempt(outcome_, step, std::forward<Body>(body));
    }
    template <class Test>
    bool AttemptTest(ConversionStep step, Test&& test) {
        return quillane::AttemptTest(outcome_, step, std::forward<Test>(test));
    }
    // The output options with the chosen folder made absolute against the working folder.
    OutputChoice Options();

    ConversionHost& host_;
    WaitSettings wait_;
    ConversionOutcome outcome_;
    Ending ending_ = Ending::Untold;
    RunReport report_;
    std::string runFolder_;
    std::string converter_;
    // Taken once when the run starts: where a relative folder or path typed by the user leads.
    std::string workingFolder_;
    int passes_ = 0;
    // What a source's bytes are, asked of the system's database at most once a run.
    text::FileSignatures signatures_;
    // Book path to the source it was made from, for the books this run has written.
    std::map<std::string, std::string> madeBooks_;
};

}  // namespace quillane
