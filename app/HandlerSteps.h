#pragma once
// Where the window's handlers report a failure: each procedure's location text and the numbers
// of its steps, which the "Application Error" report shows after "at line ". The core functions
// name their own steps; the numbers are the window's alone.

#include "convert/ConversionRun.h"
#include "filelist/FolderWalk.h"
#include "filelist/WalkedFiles.h"

namespace quillane::steps {

// Form_Load.
namespace load {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form1.Form_Load ";
inline constexpr int kSkin = 100;
inline constexpr int kIsHandPointerThere = 102;
inline constexpr int kHandPointer = 104;
// Caption, icon and application title share one step.
inline constexpr int kTitles = 106;
inline constexpr int kHomePageVisit = 108;
// The test and the set-up share one step.
inline constexpr int kSampleSetup = 110;
inline constexpr int kListColumn = 130;
inline constexpr int kListColumnWidth = 132;
inline constexpr int kFolderBox = 134;
inline constexpr int kOption1 = 136;
inline constexpr int kOption2 = 138;
inline constexpr int kIsOption1Chosen = 140;
inline constexpr int kEnableFolderFrame = 142;
inline constexpr int kDisableFolderFrame = 144;
}  // namespace load

// PushButton1_Click, "Add Text File(s)".
namespace open {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form2.PushButton1_Click ";
inline constexpr int kSetUpDialog = 104;
inline constexpr int kShowDialog = 112;
inline constexpr int kIsCancelled = 114;
inline constexpr int kAddOneFile = 120;
inline constexpr int kNormalizePicked = 136;
inline constexpr int kAddPicked = 140;
}  // namespace open

// PushButton2_Click, "Start Converting".
namespace conversion {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form1.PushButton2_Click ";

constexpr int Number(ConversionStep step) {
    switch (step) {
        case ConversionStep::IsListEmpty:
            return 104;
        case ConversionStep::TellNoFiles:
            return 178;
        case ConversionStep::IsFolderMissing:
            return 106;
        case ConversionStep::TellNoFolder:
            return 176;
        case ConversionStep::LetWindowRepaint:
            return 108;
        case ConversionStep::ShowBusy:
            return 110;
        case ConversionStep::ReadConverter:
            return 112;
        case ConversionStep::ReadLibrary:
            return 116;
        case ConversionStep::Deploy:
            return 118;
        case ConversionStep::NameConverter:
            return 120;
        case ConversionStep::CountPasses:
            return 122;
        case ConversionStep::ReadEntry:
            return 124;
        case ConversionStep::ShowShare:
            return 126;
        case ConversionStep::ShowFileName:
            return 128;
        case ConversionStep::LetWindowRepaintForEntry:
            return 130;
        case ConversionStep::ShowBusyForEntry:
            return 132;
        case ConversionStep::ClearStaging:
            return 134;
        case ConversionStep::StageChunk:
            return 140;
        case ConversionStep::RemoveStaleStaged:
            return 144;
        case ConversionStep::IsChosenFolder:
            return 148;
        case ConversionStep::NameBookInFolder:
            return 150;
        case ConversionStep::IsBesideSource:
            return 152;
        case ConversionStep::NameBookBeside:
            return 154;
        case ConversionStep::PassPaths:
            return 156;
        case ConversionStep::RunConverter:
            return 158;
        case ConversionStep::RemoveStaged:
            return 162;
        case ConversionStep::RemoveConverter:
            return 164;
        case ConversionStep::RemoveLibrary:
            return 166;
        case ConversionStep::ShowIdle:
            return 168;
        case ConversionStep::ResetBar:
            return 170;
        case ConversionStep::ResetBarText:
            return 172;
        case ConversionStep::TellResult:
            return 174;
    }
    return 0;
}
}  // namespace conversion

// PushButton4_Click, "Add All Text File(s) In Folder".
namespace folder {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form2.PushButton4_Click ";
inline constexpr int kAskExtension = 100;
inline constexpr int kIsExtensionEmpty = 102;
inline constexpr int kPickFolder = 104;
inline constexpr int kIsCancelled = 106;
inline constexpr int kRememberFolder = 333;
inline constexpr int kShowBusy = 112;
inline constexpr int kStartFolder = 114;
inline constexpr int kWalk = 116;
inline constexpr int kShowIdle = 136;

constexpr int Number(ListingStep step) {
    switch (step) {
        case ListingStep::ListFolder:
            return 122;
        case ListingStep::TakeFile:
            return 132;
    }
    return 0;
}
}  // namespace folder

// GetSubDirectories2016, the walk below a folder (folder intake and dropped folders).
namespace walk {
inline constexpr const char* kLocation =
    "in DravikTitle2021/08/31.AddFolder.GetSubDirectories2016 ";

constexpr int Number(WalkStep step) {
    switch (step) {
        case WalkStep::ExamineLevel:
            return 106;
        case WalkStep::WalkBelow:
            return 150;
        case WalkStep::TakeFolder:
            return 152;
    }
    return 0;
}
}  // namespace walk

// PushButton6_Click, "Clear List".
namespace clear {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form2.PushButton6_Click ";
inline constexpr int kClear = 100;
}  // namespace clear

// PushButton7_Click, "Load Sample/Example Files".
namespace samples {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form1.PushButton7_Click ";
inline constexpr int kLoad = 100;
}  // namespace samples

// PushButton9_Click, "..." beside the output folder.
namespace browse {
inline constexpr const char* kLocation = "in Quillane2021/08/31.Form2.PushButton9_Click ";
inline constexpr int kPickFolder = 100;
inline constexpr int kIsCancelled = 102;
// Remembering the folder and testing its trailing separator share one step.
inline constexpr int kRememberFolder = 104;
inline constexpr int kIsNotRoot = 104;
inline constexpr int kFolderWithSeparator = 106;
inline constexpr int kRootFolder = 108;
}  // namespace browse

}  // namespace quillane::steps
