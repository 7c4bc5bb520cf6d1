#include "app/Form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <system_error>

#include "app/HandlerSteps.h"
#include "app/HomePageVisit.h"
#include "app/PointerImage.h"
#include "app/ProgramIcon.h"
#include "app/SettingsStore.h"
#include "app/Twips.h"
#include "convert/StagingText.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "util/AppError.h"
#include "util/DesktopFolder.h"
#include "util/DialogHost.h"
#include "util/ErrorReport.h"
#include "util/FileBytes.h"
#include "util/PathHelpers.h"
#include "util/PathText.h"

namespace quillane {

namespace {

constexpr const char* kProductName = "Quillane";

// An option button set from a stored value. Clearing the selected button of a group is
// allowed here, so both stored as "False" leaves neither selected.
void SetOptionValue(QRadioButton* option, bool value) {
    if (value) {
        option->setChecked(true);
        return;
    }
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

// The folder's bytes as the system gives them; a name decoded for display may have lost some.
std::string RunningProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path()) {
        return program.parent_path().string();
    }
    return TextToPath(QCoreApplication::applicationDirPath());
}

}  // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    programFolder_ =
        services_.programFolder.empty() ? RunningProgramFolder() : services_.programFolder;
    CreateControls();
    list_ = std::make_unique<FileList>(*ListView1);
    RichTextBox1 = std::make_unique<StagingText>();
}

Form1::~Form1() = default;

FileList& Form1::List() {
    return *list_;
}

void Form1::Form_Load() {
    namespace step = steps::load;
    StepScope scope(dialogs(), step::kLocation);
    SettingsStore settings;

    scope.Step(step::kSkin, [&] { ApplySkin(); });
    if (scope.If(step::kIsHandPointerThere,
                 [&] { return FileExists(programFolder_ + "/HAND-M.CUR"); })) {
        scope.Step(step::kHandPointer,
                   [&] { mouseIcon_ = LoadPointerImage(programFolder_ + "/HAND-M.CUR"); });
    }
    scope.Step(step::kTitles, [&] { setWindowTitle(QStringLiteral("Quillane")); });
    scope.Step(step::kTitles, [&] { setWindowIcon(ProgramIcon()); });
    scope.Step(step::kTitles, [&] { dialogs().SetApplicationTitle(ShortenedTitle(kProductName)); });
    scope.Step(step::kHomePageVisit, [&] {
        const double fraction =
            services_.randomFraction ? services_.randomFraction() : TimeSeededFraction();
        if (IsHomePageDraw(DrawOneToHundred(fraction))) {
            dialogs().OpenUrl(kHomePageAddress);
        }
    });
    if (scope.If(step::kSampleSetup, [&] { return settings.Read("Snapshot", "").empty(); })) {
        scope.Step(step::kSampleSetup, [&] { SampleSetup(); });
    }
    scope.Step(step::kListColumn,
               [&] { ListView1->setHeaderLabels({QStringLiteral("Text File(s)")}); });
    scope.Step(step::kListColumnWidth, [&] { ListView1->setColumnWidth(0, Twips(7000)); });
    scope.Step(step::kFolderBox,
               [&] { Text1->setText(PathToText(settings.Read("Text1", DesktopFolder()))); });
    scope.Step(step::kOption1,
               [&] { SetOptionValue(Option1, ToBoolean(settings.Read("Option1", "1"))); });
    scope.Step(step::kOption2,
               [&] { SetOptionValue(Option2, ToBoolean(settings.Read("Option2", "0"))); });
    if (scope.If(step::kIsOption1Chosen, [&] { return Option1->isChecked(); })) {
        scope.Step(step::kEnableFolderFrame, [&] { Frame4->setEnabled(true); });
    } else {
        scope.Step(step::kDisableFolderFrame, [&] { Frame4->setEnabled(false); });
    }
    ListView1->setFocus();
}

void Form1::ApplySkin() {
    const std::string skin = programFolder_ + "/x/o.cjs";
    if (!IsNormalFile(skin)) {
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{this, Frame1, Frame4, Option1, Option2}) {
        QPalette face = w->palette();
        face.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Button));
        w->setPalette(face);
        w->setAutoFillBackground(true);
    }
    setStyleSheet(Utf8ToQt(ReadSmallFile(skin)));
}

void Form1::Option1_Click() {
    SaveSetting("Option1", BooleanText(Option1->isChecked()));
    SaveSetting("Option2", BooleanText(Option2->isChecked()));
    Frame4->setEnabled(Option1->isChecked());
}

// Both option buttons do the same: store the pair and enable the folder box with Option1.
void Form1::Option2_Click() {
    Option1_Click();
}

void Form1::Text1_Change() {
    SaveSetting("Text1", TextToPath(Text1->text()));
}

void Form1::SaveSetting(const std::string& key, const std::string& value) {
    try {
        SettingsStore().Write(key, value);
        settingsWriteFailed_ = false;
    } catch (const AppError& e) {
        // These handlers have no error report; the user still learns that the choice will not
        // be remembered, once until a write succeeds again.
        if (!settingsWriteFailed_) {
            settingsWriteFailed_ = true;
            dialogs().MessageBox("Your choice could not be saved (" + e.description() + ").",
                                 MessageButtons::Ok, MessageIcon::Exclamation, "");
        }
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

// Ends the program at once. Whatever runs inside a handler (a folder walk, a drop, a
// conversion run) stops at its next yield; the run stops its converter and removes its folder
// on the way out, and the event loop then ends the process.
void Form1::Form_Unload() {
    closing_ = true;
    QCoreApplication::quit();
}

bool Form1::Yield() {
    QCoreApplication::processEvents();
    return !closing_;
}

}  // namespace quillane
