#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>

#include "app/Form1.h"
#include "app/HandlerSteps.h"
#include "app/SettingsStore.h"
#include "convert/ConversionHost.h"
#include "convert/ConversionRun.h"
#include "convert/PayloadResources.h"
#include "convert/ProgressBarDisplay.h"
#include "convert/StagingText.h"
#include "filelist/FileList.h"
#include "util/DialogHost.h"
#include "util/ErrorReport.h"
#include "util/PathText.h"

namespace quillane {

namespace {

// The window as the conversion run sees it.
class WindowConversionHost : public ConversionHost {
  public:
    WindowConversionHost(Form1& form, StagingText& staging)
        : form_(form), staging_(staging), bar_(*form.ProgressBar1) {}

    int EntryCount() override { return form_.List().Count(); }
    std::string EntryText(int index) override { return form_.List().Text(index); }
    OutputChoice OutputOptions() override {
        return {form_.Option1->isChecked(), form_.Option2->isChecked(),
                TextToPath(form_.Text1->text())};
    }
    ProgressDisplay& Progress() override { return bar_; }
    void SetMousePointer(PointerStyle style) override { form_.SetMousePointer(style); }
    void Yield() override { form_.Yield(); }
    DialogHost& Dialogs() override { return form_.dialogs(); }
    StagingText& Staging() override { return staging_; }
    std::string Payload(int id) override {
        return form_.services().payload ? form_.services().payload(id) : LoadPayload(id);
    }
    bool StopRequested() override { return form_.IsClosing(); }

  private:
    Form1& form_;
    StagingText& staging_;
    ProgressBarDisplay bar_;
};

}  // namespace

void Form1::PushButton2_Click() {
    WindowConversionHost host(*this, *RichTextBox1);
    ConversionRun run(host);
    StepScope scope(dialogs(), steps::conversion::kLocation);
    // The run's failures are reported before it says how it ended.
    scope.Report(run.Start(runInProgress_).failures, steps::conversion::Number);
    scope.Report(run.Tell().failures, steps::conversion::Number);
}

void Form1::PushButton9_Click() {
    namespace step = steps::browse;
    StepScope scope(dialogs(), step::kLocation);
    SettingsStore settings;
    std::string folder;
    scope.Step(step::kPickFolder, [&] {
        folder =
            dialogs().BrowseForFolder("Please select folder:", settings.Read("LastFolderDot", ""));
    });
    if (scope.If(step::kIsCancelled, [&] { return folder.empty(); })) {
        return;
    }
    scope.Step(step::kRememberFolder, [&] { settings.Write("LastFolderDot", folder); });
    // Only the root keeps its own trailing separator; every other folder gets one.
    if (scope.If(step::kIsNotRoot, [&] { return folder.back() != '/'; })) {
        scope.Step(step::kFolderWithSeparator, [&] { Text1->setText(PathToText(folder + "/")); });
    } else {
        scope.Step(step::kRootFolder, [&] { Text1->setText(PathToText(folder)); });
    }
}

}  // namespace quillane
