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

#include "convert/OutputPath.h"
#include "convert/ProcessRunner.h"
#include "convert/RunReport.h"
#include "text/FileSignatures.h"

namespace quillane {

class ConversionHost;
class StepScope;

inline constexpr const char* kConversionLocation = "in Quillane2021/08/31.Form1.PushButton2_Click ";

class ConversionRun {
  public:
    explicit ConversionRun(ConversionHost& host, WaitSettings wait = {})
        : host_(host), wait_(wait) {}

    // Runs the batch unless `runInProgress` is already set (a second press is ignored). The
    // flag is set for the length of the run and cleared on every way out.
    void Start(bool& runInProgress);

    const RunReport& report() const { return report_; }
    // The run's private folder (empty before set-up); it is gone after the run.
    const std::string& runFolder() const { return runFolder_; }

  private:
    void Run(StepScope& scope);
    void Deploy(StepScope& scope);
    void ConvertEntry(StepScope& scope, int index);
    void CleanUp(StepScope& scope);
    void Message(const std::string& text);
    // The output options with the chosen folder made absolute against the working folder.
    OutputChoice Options();

    ConversionHost& host_;
    WaitSettings wait_;
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
