// The load sequence: skin, pointer image, caption and title, the home-page visit, the sample
// set-up, the column, and the output options restored from the settings.

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/HomePageVisit.h"
#include "app/SettingsStore.h"
#include "filelist/FileListView.h"
#include "tests/app/Form1Fixture.h"
#include "tests/support/BuiltPrograms.h"
#include "util/DesktopFolder.h"
#include "util/PathText.h"

namespace quillane {
namespace {

using Form1Load = test::Form1Fixture;

constexpr const char* kLoadLocation = "in Quillane2021/08/31.Form1.Form_Load ";

TEST_F(Form1Load, EmptyStoreSelectsOption1AndShowsTheDesktopFolder) {
    auto form = NewForm();
    form->Form_Load();
    EXPECT_TRUE(host.ErrorReports().empty());
    EXPECT_TRUE(form->Option1->isChecked());
    EXPECT_FALSE(form->Option2->isChecked());
    EXPECT_TRUE(form->Frame4->isEnabled());
    EXPECT_EQ(form->Text1->text().toStdString(), DesktopFolder());
    EXPECT_EQ(form->Text1->text().back(), '/');
    // Restoring the box wrote it back at once; the sample set-up recorded its list.
    EXPECT_EQ(Stored("Text1").toStdString(), DesktopFolder());
    EXPECT_NE(Stored("Snapshot"), "<missing>");
}

TEST_F(Form1Load, StoredSnapshotSkipsTheSampleSetUp) {
    Store("Snapshot", "kept");
    auto form = NewForm();
    form->Form_Load();
    EXPECT_EQ(Stored("Snapshot"), "kept");
}

TEST_F(Form1Load, StoredOptionsAreRestoredAndFrame4FollowsOption1) {
    struct Case {
        const char* option1;
        const char* option2;
        bool checked1, checked2;
    };
    const Case cases[] = {
        {"False", "True", false, true},
        {"True", "True", false, true},  // selecting Option2
                                        // clears Option1
        {"False", "False", false, false},
        {"True", "False", true, false},
        {"1", "0", true, false},
        {"-1", "0", true, false},
        {"true", "FALSE", true, false},
        {"0", "1", false, true},
    };
    for (const Case& c : cases) {
        ClearSettings();
        Store("Option1", c.option1);
        Store("Option2", c.option2);
        auto form = LoadedForm();
        const std::string label = std::string(c.option1) + "/" + c.option2;
        EXPECT_EQ(form->Option1->isChecked(), c.checked1) << label;
        EXPECT_EQ(form->Option2->isChecked(), c.checked2) << label;
        EXPECT_EQ(form->Frame4->isEnabled(), c.checked1) << label;
        EXPECT_EQ(form->Text1->isEnabled(), c.checked1) << label;
        EXPECT_EQ(form->PushButton9->isEnabled(), c.checked1) << label;
        EXPECT_TRUE(host.ErrorReports().empty()) << label;
    }
}

TEST_F(Form1Load, OptionThatIsNoBooleanIsReportedAtStep136AndTheLoadGoesOn) {
    Store("Option1", "perhaps");
    Store("Option2", "yes please");
    Store("Text1", "/srv/books/");
    auto form = LoadedForm();
    const auto reports = host.ErrorReports();
    ASSERT_EQ(reports.size(), 2u);  // one report per failing step, in order
    EXPECT_EQ(reports[0], std::string("Type mismatch\r\n") + kLoadLocation +
                              "at line 136\r\rPlease email screenshot of this message to "
                              "support@kelvardy.example");
    EXPECT_NE(reports[1].find(std::string(kLoadLocation) + "at line 138\r\r"), std::string::npos);
    // Both keep their design state; the steps after them ran.
    EXPECT_TRUE(form->Option1->isChecked());
    EXPECT_FALSE(form->Option2->isChecked());
    EXPECT_TRUE(form->Frame4->isEnabled());
    EXPECT_EQ(form->Text1->text(), "/srv/books/");
    form->show();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1Load, EmptyStoredFolderStaysEmpty) {
    Store("Text1", "");
    auto form = LoadedForm();
    EXPECT_EQ(form->Text1->text(), "");
    EXPECT_EQ(Stored("Text1"), "");
}

TEST_F(Form1Load, HomePageOpensOnlyWhenTheDrawIsSeven) {
    for (double fraction : {0.06, 0.065, 0.069}) {
        test::ScriptedDialogHost visiting;
        Form1Services services;
        services.dialogs = &visiting;
        services.randomFraction = [fraction] { return fraction; };
        services.programFolder = programFolder.path();
        Store("Snapshot", "x");
        Form1 form(services);
        form.Form_Load();
        EXPECT_EQ(visiting.openedUrls, std::vector<std::string>{"https://www.kelvardy.example/"})
            << fraction;
    }
    for (double fraction : {0.0, 0.059, 0.07, 0.5, 0.99}) {
        test::ScriptedDialogHost staying;
        Form1Services services;
        services.dialogs = &staying;
        services.randomFraction = [fraction] { return fraction; };
        services.programFolder = programFolder.path();
        Form1 form(services);
        form.Form_Load();
        EXPECT_TRUE(staying.openedUrls.empty()) << fraction;
    }
}

TEST_F(Form1Load, WithoutSkinTheWindowStaysWhite) {
    auto form = LoadedForm();
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(form->styleSheet().isEmpty());
    EXPECT_FALSE(form->Frame1->autoFillBackground());
}

TEST_F(Form1Load, SkinGivesTheButtonFaceToTheWindowFramesAndOptions) {
    std::filesystem::create_directory(programFolder / "x");
    const std::string sheet = "QPushButton { border: 2px solid #335; }";
    test::WriteFile(programFolder / "x/o.cjs", sheet);
    auto form = LoadedForm();
    EXPECT_TRUE(host.ErrorReports().empty());
    EXPECT_EQ(form->styleSheet().toStdString(), sheet);
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    for (QWidget* w : std::initializer_list<QWidget*>{form.get(), form->Frame1, form->Frame4,
                                                      form->Option1, form->Option2}) {
        EXPECT_TRUE(w->autoFillBackground()) << w->objectName().toStdString();
        EXPECT_EQ(w->palette().color(QPalette::Window), face) << w->objectName().toStdString();
    }
    EXPECT_FALSE(form->Text1->autoFillBackground());
}

TEST_F(Form1Load, SkinPathThatIsAFolderCountsAsNoSkin) {
    std::filesystem::create_directories(programFolder / "x/o.cjs");
    auto form = LoadedForm();
    EXPECT_TRUE(host.ErrorReports().empty());
    EXPECT_TRUE(form->styleSheet().isEmpty());
}

TEST_F(Form1Load, HandPointerIsLoadedWhenItsFileIsThere) {
    auto without = LoadedForm();
    EXPECT_FALSE(without->HasMouseIcon());
    EXPECT_TRUE(host.ErrorReports().empty());

    std::filesystem::copy_file(test::BuiltFile("HAND-M.CUR"), programFolder / "HAND-M.CUR");
    auto with = LoadedForm();
    EXPECT_TRUE(with->HasMouseIcon());
    EXPECT_EQ(with->MousePointer(), PointerStyle::Default);  // the style itself is left alone
    EXPECT_TRUE(host.ErrorReports().empty());
}

TEST_F(Form1Load, UnreadableHandPointerIsReportedAtStep104AndTheLoadGoesOn) {
    test::WriteFile(programFolder / "HAND-M.CUR", "not a picture at all");
    auto form = LoadedForm();
    const auto reports = host.ErrorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(
        reports[0].rfind("Invalid picture\r\n" + std::string(kLoadLocation) + "at line 104", 0),
        0u);
    EXPECT_FALSE(form->HasMouseIcon());
    EXPECT_EQ(form->windowTitle(), "Quillane");
    EXPECT_EQ(form->ListView1->columnCount(), 1);
}

TEST_F(Form1Load, CaptionAndApplicationTitle) {
    // Unset, the display name follows the application name; set, Qt would append it to the
    // title of every window ("Application Error — Quillane").
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("form1-load-test");
    auto form = LoadedForm();
    EXPECT_EQ(form->windowTitle(), "Quillane");
    EXPECT_EQ(host.ApplicationTitle(), "Quillane");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "form1-load-test");
    QCoreApplication::setApplicationName(name);
}

TEST_F(Form1Load, OptionClicksStoreBothOptionsAndTheNextStartRestoresThem) {
    auto form = LoadedForm();
    form->Option2->click();
    EXPECT_EQ(Stored("Option1"), "False");
    EXPECT_EQ(Stored("Option2"), "True");
    EXPECT_FALSE(form->Frame4->isEnabled());
    auto next = LoadedForm();
    EXPECT_TRUE(next->Option2->isChecked());
    EXPECT_FALSE(next->Frame4->isEnabled());

    next->Option1->click();
    EXPECT_EQ(Stored("Option1"), "True");
    EXPECT_EQ(Stored("Option2"), "False");
    EXPECT_TRUE(next->Frame4->isEnabled());
}

TEST_F(Form1Load, FolderWhoseNameIsNotUtf8KeepsEveryByteThroughTheBox) {
    // A folder named by an older system (Latin-1 "é", a lone byte): shown, edited and stored
    // again, it is still the folder on disk.
    const std::string folder = "/srv/caf\xe9/\x80x/";
    SettingsStore().Write("Text1", folder);
    auto form = LoadedForm();
    EXPECT_EQ(TextToPath(form->Text1->text()), folder);
    form->show();
    form->Text1->setFocus();
    QTest::keyClick(form->Text1, Qt::Key_End);
    QTest::keyClick(form->Text1, 'b');
    EXPECT_EQ(SettingsStore().Read("Text1", ""), folder + "b");
}

TEST_F(Form1Load, EveryKeystrokeInTheFolderBoxIsStored) {
    Store("Text1", "");
    auto form = LoadedForm();
    form->show();
    std::string typed;
    for (char c : std::string("/srv/b")) {
        QTest::keyClick(form->Text1, c);
        typed += c;
        EXPECT_EQ(Stored("Text1").toStdString(), typed);
    }
    form->Text1->clear();
    EXPECT_EQ(Stored("Text1"), "");
}

}  // namespace
}  // namespace quillane
