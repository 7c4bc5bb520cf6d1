#include <QCoreApplication>

#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "filelist/DropIntake.h"
#include "filelist/FileList.h"
#include "filelist/FolderWalk.h"
#include "filelist/OpenDialogResult.h"
#include "filelist/SampleFiles.h"
#include "filelist/Scramble.h"
#include "filelist/WalkedFiles.h"
#include "util/AppError.h"
#include "util/DialogHost.h"
#include "util/ErrorReport.h"
#include "util/PathHelpers.h"

namespace quillane {

namespace {

constexpr const char* kOpenLocation = "in Quillane2021/08/31.Form2.PushButton1_Click ";
constexpr const char* kFolderLocation = "in Quillane2021/08/31.Form2.PushButton4_Click ";
constexpr const char* kSamplesLocation = "in Quillane2021/08/31.Form1.PushButton7_Click ";

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
    StepScope scope(dialogs(), kOpenLocation);
    OpenDialogRequest request;
    scope.Step(104, [&] {
        request.title = kOpenTitle;
        request.filter = kOpenFilter;
        request.multiSelect = true;
        request.maxFileSize = 30000;
    });
    std::string picked;
    bool tooMany = false;
    scope.Step(112, [&] {
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
    if (scope.If(114, [&] { return picked.empty(); })) {
        return;
    }
    std::vector<std::string> parts;
    scope.Step(116, [&] { parts = SplitOpenResult(picked); });
    if (parts.size() == 1) {
        // One file: the dialog's full path, as it stands.
        scope.Step(120, [&] { List().Add(parts[0]); });
        return;
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string path;
        if (scope.Step(136, [&] { path = JoinPicked(parts[0], parts[i]); })) {
            scope.Step(140, [&] { List().Add(path); });
        }
    }
}

void Form1::PushButton4_Click() {
    StepScope scope(dialogs(), kFolderLocation);
    SettingsStore settings;
    std::string extension;
    scope.Step(100, [&] {
        extension = dialogs().InputBox(kExtensionPrompt, "", settings.Read("Extension", "txt"));
        if (!extension.empty()) {
            settings.Write("Extension", extension);
        }
    });
    if (scope.If(102, [&] { return extension.empty(); })) {
        return;
    }
    std::string picked;
    scope.Step(104, [&] {
        picked = dialogs().BrowseForFolder(kFolderPrompt, settings.Read("LastFolder", ""));
    });
    if (scope.If(106, [&] { return picked.empty(); })) {
        return;
    }
    scope.Step(333, [&] { settings.Write("LastFolder", picked); });
    scope.Step(112, [&] { SetMousePointer(PointerStyle::Hourglass); });
    FolderList folders;
    scope.Step(114, [&] { folders = {picked + kSeparator}; });
    WalkOutcome walk;
    scope.Step(116,
               [&] { walk = GetSubDirectories2016(folders, true, [this] { return Yield(); }); });
    StepScope(dialogs(), kFolderWalkLocation).Report(walk.failures);
    if (!walk.Stopped()) {
        scope.Report(ListWalkedFiles(
                         folders, "*." + extension,
                         [this](const std::string& path) { List().Add(path); },
                         [this] { return Yield(); })
                         .failures);
    }
    scope.Step(136, [&] { SetMousePointer(PointerStyle::Default); });
}

void Form1::PushButton7_Click() {
    StepScope scope(dialogs(), kSamplesLocation);
    scope.Step(100, [&] { LoadSampleFiles(*this); });
}

void Form1::SampleSetup() {
    const std::string list = SampleListText(programFolder());
    SettingsStore().Write("Snapshot", ScrambledToStored(ScrambleText(list, kSnapshotKey, Repaint)));
}

bool Form1::ListView1_OLEDragOver(bool holdsFiles) {
    return holdsFiles;
}

void Form1::ListView1_OLEDragDrop(const std::vector<std::string>& files) {
    const Outcome drop = TakeDrop(
        files, [this] { return Yield(); }, [this](const std::string& path) { List().Add(path); });
    StepScope(dialogs(), kFolderWalkLocation).Report(drop.failures);
}

}  // namespace quillane
