#include <QCoreApplication>

#include "app/Form1.h"
#include "app/HandlerSteps.h"
#include "app/SettingsStore.h"
#include "filelist/DropIntake.h"
#include "filelist/FileList.h"
#include "filelist/FolderWalk.h"
#include "filelist/SampleFiles.h"
#include "filelist/Scramble.h"
#include "filelist/WalkedFiles.h"
#include "util/AppError.h"
#include "util/DialogHost.h"
#include "util/ErrorReport.h"
#include "util/PathHelpers.h"

namespace quillane {

namespace {

constexpr const char* kOpenTitle = "Add File(s) - Hold Ctrl to select multiple files";
// Markdown is text too, and keeps its formatting in the book; the first entry shows both.
constexpr const char* kOpenFilter =
    "Text and Markdown Files (*.txt;*.md;*.markdown;*.mkd;*.mdown)|"
    "*.txt;*.md;*.markdown;*.mkd;*.mdown|Text Files (*.txt)|*.txt|"
    "Markdown Files (*.md;*.markdown;*.mkd;*.mdown)|*.md;*.markdown;*.mkd;*.mdown|"
    "All Files (*.*)|*.*";
constexpr const char* kTooManyFiles =
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";
constexpr const char* kExtensionPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc "
    "files, etc.)";
constexpr const char* kFolderPrompt = "Please select folder:";
constexpr const char* kOpenSamplesQuestion =
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?";

// Lets the window repaint and react while the sample list is (un)scrambled.
void Repaint() {
    QCoreApplication::processEvents();
}

void LoadSampleFiles(Form1& form) {
    // Absent, the setting reads as the text of false, which names no file once unscrambled.
    const std::string stored = SettingsStore().Read("Snapshot", BooleanText(false));
    const std::string text = UnscrambleText(StoredToScrambled(stored), kSnapshotKey, Repaint);
    if (form.IsClosing()) {
        return;
    }
    FileList& list = form.List();
    DialogHost& dialogs = form.dialogs();
    for (const std::string& path : SampleListPaths(text)) {
        if (FileExists(path) && !list.Contains(path)) {
            list.Add(path);
        }
    }
    if (dialogs.MessageBox(kOpenSamplesQuestion, MessageButtons::YesNo, MessageIcon::None, "") ==
        MessageResult::Yes) {
        dialogs.OpenFolder(SamplesFolder(form.programFolder()) + kSeparator);
    }
}

}  // namespace

void Form1::PushButton1_Click() {
    namespace step = steps::open;
    StepScope scope(dialogs(), step::kLocation);
    OpenDialogRequest request;
    scope.Step(step::kSetUpDialog, [&] {
        request.title = kOpenTitle;
        request.filter = kOpenFilter;
        request.multiSelect = true;
        request.maxFileSize = 30000;
    });
    std::vector<std::string> picked;
    bool tooMany = false;
    scope.Step(step::kShowDialog, [&] {
        try {
            picked = dialogs().ShowOpen(request);
        } catch (const AppError& e) {
            if (e.number() != errc::kBufferTooSmall) {
                throw;
            }
            tooMany = true;
        }
    });
    if (tooMany) {
        dialogs().MessageBox(kTooManyFiles, MessageButtons::Ok, MessageIcon::None, "");
        return;
    }
    if (scope.If(step::kIsCancelled, [&] { return picked.empty(); })) {
        return;
    }
    if (picked.size() == 1) {
        // One file: the dialog's full path, as it stands.
        scope.Step(step::kAddOneFile, [&] { List().Add(picked.front()); });
        return;
    }
    for (const std::string& each : picked) {
        // Several: normalised, as the dialog's folder joined with each name always was, so
        // one in the root folder gives no doubled separator.
        std::string path;
        if (scope.Step(step::kNormalizePicked, [&] { path = NormalizePath(each); })) {
            scope.Step(step::kAddPicked, [&] { List().Add(path); });
        }
    }
}

void Form1::PushButton4_Click() {
    namespace step = steps::folder;
    StepScope scope(dialogs(), step::kLocation);
    SettingsStore settings;
    std::string extension;
    scope.Step(step::kAskExtension, [&] {
        extension = dialogs().InputBox(kExtensionPrompt, "", settings.Read("Extension", "txt"));
        if (!extension.empty()) {
            settings.Write("Extension", extension);
        }
    });
    if (scope.If(step::kIsExtensionEmpty, [&] { return extension.empty(); })) {
        return;
    }
    std::string picked;
    scope.Step(step::kPickFolder, [&] {
        picked = dialogs().BrowseForFolder(kFolderPrompt, settings.Read("LastFolder", ""));
    });
    if (scope.If(step::kIsCancelled, [&] { return picked.empty(); })) {
        return;
    }
    scope.Step(step::kRememberFolder, [&] { settings.Write("LastFolder", picked); });
    scope.Step(step::kShowBusy, [&] { SetMousePointer(PointerStyle::Hourglass); });
    FolderList folders;
    scope.Step(step::kStartFolder, [&] { folders = {picked + kSeparator}; });
    WalkOutcome walk;
    scope.Step(step::kWalk,
               [&] { walk = GetSubDirectories2016(folders, true, [this] { return Yield(); }); });
    StepScope(dialogs(), steps::walk::kLocation).Report(walk.failures, steps::walk::Number);
    if (!walk.Stopped()) {
        const auto listed = ListWalkedFiles(
            folders, "*." + extension, [this](const std::string& path) { List().Add(path); },
            [this] { return Yield(); });
        scope.Report(listed.failures, step::Number);
    }
    scope.Step(step::kShowIdle, [&] { SetMousePointer(PointerStyle::Default); });
}

void Form1::PushButton7_Click() {
    StepScope scope(dialogs(), steps::samples::kLocation);
    scope.Step(steps::samples::kLoad, [&] { LoadSampleFiles(*this); });
}

void Form1::SampleSetup() {
    const std::string list = SampleListText(programFolder());
    SettingsStore().Write("Snapshot", ScrambledToStored(ScrambleText(list, kSnapshotKey, Repaint)));
}

bool Form1::ListView1_OLEDragOver(bool holdsFiles) {
    return holdsFiles;
}

void Form1::ListView1_OLEDragDrop(const std::vector<std::string>& files) {
    const auto drop = TakeDrop(
        files, [this] { return Yield(); }, [this](const std::string& path) { List().Add(path); });
    StepScope(dialogs(), steps::walk::kLocation).Report(drop.failures, steps::walk::Number);
}

}  // namespace quillane
