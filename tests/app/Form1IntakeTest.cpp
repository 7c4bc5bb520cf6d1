// The four intakes driven through the main window: scripted dialogs, real folder trees.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QCoreApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <optional>

#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "filelist/Scramble.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

class Form1IntakeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings(QStringLiteral("Kelvardy"), QStringLiteral("Quillane")).clear();
        form =
            std::make_unique<Form1>(Form1Services{&host, [] { return 0.5; }, program.path(), {}});
    }

    std::string File(const std::string& relative, mode_t mode = 0644) {
        const std::string path = tree / relative;
        fs::create_directories(fs::path(path).parent_path());
        test::WriteFile(path, "Once upon a time.\n");
        ::chmod(path.c_str(), mode);
        return path;
    }

    Paths Entries() {
        Paths texts;
        for (int i = 1; i <= form->List().Count(); ++i) {
            texts.push_back(form->List().Text(i));
        }
        return texts;
    }

    // The folder intake answered with `extension` and `folder`.
    void AddFolder(const std::string& extension, const std::string& folder) {
        host.inputAnswers.push_back(extension);
        host.folderAnswers.push_back(folder);
        form->PushButton4_Click();
    }

    static std::string Setting(const std::string& key, const std::string& fallback = "<absent>") {
        return SettingsStore().Read(key, fallback);
    }

    test::TempDir program;
    test::TempDir tree;
    test::ScriptedDialogHost host;
    std::unique_ptr<Form1> form;
};

// --- "Add Text File(s)" ---------------------------------------------------------------------

TEST_F(Form1IntakeTest, OpenDialogIsAskedForAndCancelChangesNothing) {
    form->List().Add("/kept.txt");
    form->PushButton1_Click();
    ASSERT_EQ(host.openRequests.size(), 1u);
    EXPECT_EQ(host.openRequests[0].title, "Add File(s) - Hold Ctrl to select multiple files");
    EXPECT_EQ(host.openRequests[0].filter,
              "Text and Markdown Files (*.txt;*.md;*.markdown;*.mkd;*.mdown)|"
              "*.txt;*.md;*.markdown;*.mkd;*.mdown|Text Files (*.txt)|*.txt|"
              "Markdown Files (*.md;*.markdown;*.mkd;*.mdown)|*.md;*.markdown;*.mkd;*.mdown|"
              "All Files (*.*)|*.*");
    EXPECT_TRUE(host.openRequests[0].multiSelect);
    EXPECT_EQ(host.openRequests[0].maxFileSize, 30000u);
    EXPECT_EQ(Entries(), (Paths{"/kept.txt"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1IntakeTest, OpenDialogPicksAreAppendedInTheDialogsOrder) {
    form->List().Add("/books/b.txt");
    // One file stays as the dialog gives it; several are each normalised.
    host.openAnswers = {{"/books//one file.txt"},
                        {"/books/c.txt", "/books/b.txt", "/books/a.doc"},
                        {"/a.txt", "/b.txt"},
                        {"//srv//share/x.txt", "//srv//share/y.txt"}};
    for (int i = 0; i < 4; ++i) {
        form->PushButton1_Click();
    }
    EXPECT_EQ(Entries(),
              (Paths{"/books/b.txt", "/books//one file.txt", "/books/c.txt", "/books/b.txt",
                     "/books/a.doc", "/a.txt", "/b.txt", "/srv/share/x.txt", "/srv/share/y.txt"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1IntakeTest, TooManyPickedFilesGiveTheAddAllHintInsteadOfAReport) {
    form->List().Add("/kept.txt");
    // Three thousand names of ten characters, each after its NUL, overflow the 30000.
    std::vector<std::string> many;
    for (int i = 0; i < 3000; ++i) {
        many.push_back("/books/" + std::to_string(100000 + i) + ".txt");
    }
    host.openAnswers = {many};
    form->PushButton1_Click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "You've selected too many files to add.\r\r"
              "Please try adding via the \"Add All\" button.");
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(host.messages[0].title, "");
    EXPECT_EQ(Entries(), (Paths{"/kept.txt"}));
}

// --- "Add All Text File(s) In Folder" --------------------------------------------------------

TEST_F(Form1IntakeTest, FolderIntakeAsksThenListsLevelByLevel) {
    File("Books/b.txt");
    File("Books/A.TXT");
    File("Books/notes.doc");
    File("Books/~$draft.txt");
    File("Books/.hidden.txt");
    File("Books/.kept.txt", 0444);
    File("Books/Volume 1/chapter.txt");
    File("Books/Volume 1/Deep/end.txt");
    File("Books/Volume 2/other.txt");
    AddFolder("txt", tree / "Books");

    ASSERT_EQ(host.inputs.size(), 1u);
    EXPECT_EQ(host.inputs[0].prompt,
              "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc "
              "for all doc files, etc.)");
    EXPECT_EQ(host.inputs[0].title, "");
    EXPECT_EQ(host.inputs[0].defaultAnswer, "txt");
    ASSERT_EQ(host.folderRequests.size(), 1u);
    EXPECT_EQ(host.folderRequests[0].prompt, "Please select folder:");
    EXPECT_EQ(host.folderRequests[0].startFolder, "");
    const std::string books = tree / "Books/";
    EXPECT_EQ(Entries(), (Paths{books + ".kept.txt", books + "A.TXT", books + "b.txt",
                                books + "Volume 1/chapter.txt", books + "Volume 2/other.txt",
                                books + "Volume 1/Deep/end.txt"}));
    EXPECT_EQ(Setting("Extension"), "txt");
    EXPECT_EQ(Setting("LastFolder"), tree / "Books");
    EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1IntakeTest, FolderIntakeRemembersItsAnswersAndShowsTheHourglassWhileWalking) {
    File("Books/a.doc");
    File("Books/Sub/b.doc");
    File("Books/c.txt");
    std::optional<PointerStyle> pointerDuringWalk;
    QTimer::singleShot(0, [&] { pointerDuringWalk = form->MousePointer(); });
    AddFolder("doc", tree / "Books");
    EXPECT_EQ(pointerDuringWalk, PointerStyle::Hourglass);
    EXPECT_EQ(form->MousePointer(), PointerStyle::Default);

    AddFolder("doc", tree / "Books");  // the same folder again: listed again
    EXPECT_EQ(host.inputs[1].defaultAnswer, "doc");
    EXPECT_EQ(host.folderRequests[1].startFolder, tree / "Books");
    const std::string books = tree / "Books/";
    EXPECT_EQ(Entries(),
              (Paths{books + "a.doc", books + "Sub/b.doc", books + "a.doc", books + "Sub/b.doc"}));
}

TEST_F(Form1IntakeTest, CancellingEndsTheFolderIntakeQuietly) {
    File("Books/a.txt");
    SettingsStore().Write("LastFolder", "/old");
    AddFolder("", tree / "Books");  // empty answer: no picker
    EXPECT_TRUE(host.folderRequests.empty());
    EXPECT_EQ(Setting("Extension"), "<absent>");

    host.folderAnswers.clear();
    host.inputAnswers.push_back("md");
    form->PushButton4_Click();  // picker cancelled
    EXPECT_EQ(Setting("Extension"), "md");
    EXPECT_EQ(Setting("LastFolder"), "/old");
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
}

// The extension matches as a directory listing does, in any letter case: "md" and "MD" both
// find README.MD and notes.md, and neither takes notes.markdown or notes.md.txt.
TEST_F(Form1IntakeTest, MarkdownExtensionsMatchInAnyCase) {
    File("Docs/README.MD");
    File("Docs/notes.md");
    File("Docs/notes.md.txt");
    File("Docs/guide.Markdown");
    File("Docs/sub/CHANGES.md");
    const std::string docs = tree / "Docs/";
    const struct {
        const char* extension;
        Paths expected;
    } rows[] = {
        {"md", {docs + "notes.md", docs + "README.MD", docs + "sub/CHANGES.md"}},
        {"MD", {docs + "notes.md", docs + "README.MD", docs + "sub/CHANGES.md"}},
        {"markdown", {docs + "guide.Markdown"}},
    };
    for (const auto& row : rows) {
        form->List().Clear();
        AddFolder(row.extension, tree / "Docs");
        EXPECT_EQ(Entries(), row.expected) << row.extension;
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1IntakeTest, StarTakesEveryFileAndALeadingDotFindsNothing) {
    File("Books/README");
    File("Books/cover.png");
    File("Books/~lock");
    AddFolder(".txt", tree / "Books");
    EXPECT_TRUE(Entries().empty());
    AddFolder("*", tree / "Books");
    EXPECT_EQ(Entries(), (Paths{tree / "Books/cover.png", tree / "Books/README"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Form1IntakeTest, FolderIntakeSurvivesLoopsAndNonLatinNames) {
    File("Книги/глава 1.txt");
    File("Книги/日本語/物語.txt");
    File("Книги/bad\xff/x.txt");
    File("Книги/skip?/hidden.txt");
    fs::create_directory_symlink(tree / "Книги", tree / "Книги/loop");
    AddFolder("txt", tree / "Книги");
    const std::string books = tree / "Книги/";
    EXPECT_EQ(Entries(),
              (Paths{books + "глава 1.txt", books + "bad\xff/x.txt", books + "日本語/物語.txt"}));
    EXPECT_TRUE(host.messages.empty());
}

// --- Drag and drop ---------------------------------------------------------------------------

TEST_F(Form1IntakeTest, OnlyDataWithFilesMayBeDropped) {
    EXPECT_TRUE(form->ListView1_OLEDragOver(true));
    EXPECT_FALSE(form->ListView1_OLEDragOver(false));
    form->ListView1_OLEDragDrop({});
    EXPECT_TRUE(Entries().empty());
}

TEST_F(Form1IntakeTest, DroppedFilesAndFoldersArriveInDropOrder) {
    const std::string picture = File("cover.png");
    const std::string tilde = File("~notes.txt");
    File("Books/a.txt");
    File("Books/A/b.txt");
    File("Books/.hidden");
    File("Books/~skip.txt");
    fs::create_directory(tree / "Empty");
    form->List().Add(picture);
    form->ListView1_OLEDragDrop({picture, tree / "Books", tilde, tree / "Empty"});
    EXPECT_EQ(Entries(),
              (Paths{picture, picture, tree / "Books/a.txt", tree / "Books/A/b.txt", tilde}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
}

// Drops delivered as the desktop delivers them: events on the list's viewport.
class DropEventTest : public Form1IntakeTest {
  protected:
    static QMimeData* Files(const Paths& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const auto& path : paths) {
            urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
        }
        data->setUrls(urls);
        return data;
    }
    // Enters the list and moves over it; true when the list would take the drop.
    bool DragOver(QMimeData* data) {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->ListView1->viewport(), &enter);
        QDragMoveEvent move(QPoint(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->ListView1->viewport(), &move);
        return enter.isAccepted() && move.isAccepted();
    }
    void Drop(QMimeData* data) {
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->ListView1->viewport(), &drop);
    }
};

TEST_F(DropEventTest, FilesAndFoldersDroppedOnTheListAreAppended) {
    const std::string first = File("z.txt");
    File("Books/a.txt");
    File("Books/A/b.txt");
    const std::string last = File("cover.png");
    std::unique_ptr<QMimeData> data(Files({first, tree / "Books", last}));
    EXPECT_TRUE(DragOver(data.get()));
    Drop(data.get());
    EXPECT_EQ(Entries(), (Paths{first, tree / "Books/a.txt", tree / "Books/A/b.txt", last}));
}

TEST_F(DropEventTest, DataWithoutFilesIsRefused) {
    auto data = std::make_unique<QMimeData>();
    data->setText(QString::fromStdString(File("a.txt")));
    EXPECT_FALSE(DragOver(data.get()));
    Drop(data.get());
    EXPECT_TRUE(Entries().empty());
}

// --- Sample files ----------------------------------------------------------------------------

class SampleFilesTest : public Form1IntakeTest {
  protected:
    std::string Sample(const std::string& name) {
        fs::create_directories(program / "Samples");
        test::WriteFile(program / ("Samples/" + name), "A sample.\n");
        return program / ("Samples/" + name);
    }
    std::string Remembered() {
        return UnscrambleText(StoredToScrambled(Setting("Snapshot")), kSnapshotKey);
    }
    static constexpr const char* kQuestion =
        "Would you like this software to open the folder where these sample files are stored "
        "(so that you can view them before working with them)?";
};

TEST_F(SampleFilesTest, SetUpRemembersTheSamplesScrambled) {
    const std::string b = Sample("b.txt");
    const std::string a = Sample("a.txt");
    const std::string c = Sample("C poem.txt");
    form->SampleSetup();
    EXPECT_NE(Setting("Snapshot"), a + "|" + b + "|" + c);
    EXPECT_EQ(Remembered(), a + "|" + b + "|" + c);
}

TEST_F(SampleFilesTest, EmptySamplesFolderIsRememberedAsNothing) {
    fs::create_directories(program / "Samples");
    form->SampleSetup();
    EXPECT_EQ(Setting("Snapshot"), "");
}

// A program folder in any script must survive the settings store exactly.
TEST_F(SampleFilesTest, ProgramFolderInAnyScriptRoundTripsThroughTheSettings) {
    const std::string folder = program / "Программа 日本語 ÿ";
    fs::create_directories(folder + "/Samples");
    test::WriteFile(folder + "/Samples/Сказка.txt", "x");
    test::WriteFile(folder + "/Samples/物語.txt", "x");
    Form1 other(Form1Services{&host, [] { return 0.5; }, folder, {}});
    other.SampleSetup();
    QSettings(QStringLiteral("Kelvardy"), QStringLiteral("Quillane")).sync();
    EXPECT_EQ(Remembered(), folder + "/Samples/Сказка.txt|" + folder + "/Samples/物語.txt");
    host.messageAnswers.push_back(MessageResult::No);
    other.PushButton7_Click();
    EXPECT_EQ(other.List().Count(), 2);
    EXPECT_EQ(other.List().Text(2), folder + "/Samples/物語.txt");
}

TEST_F(SampleFilesTest, LoadAddsWhatIsMissingAndAlwaysAsks) {
    const std::string a = Sample("a.txt");
    const std::string b = Sample("b.txt");
    const std::string c = Sample("c.txt");
    form->SampleSetup();
    Sample("later.txt");  // not remembered, so never offered
    host.messageAnswers = {MessageResult::No, MessageResult::Yes, MessageResult::No,
                           MessageResult::No};
    form->PushButton7_Click();
    EXPECT_EQ(Entries(), (Paths{a, b, c}));
    form->PushButton7_Click();
    EXPECT_EQ(Entries(), (Paths{a, b, c}));
    EXPECT_EQ(host.openedFolders, (Paths{program / "Samples/"}));

    form->List().Remove(1);
    fs::remove(c);
    form->PushButton7_Click();
    EXPECT_EQ(Entries(), (Paths{b, c, a}));  // c is listed still; a comes back at the end
    form->List().Clear();
    form->PushButton7_Click();
    EXPECT_EQ(Entries(), (Paths{a, b}));  // the deleted c is skipped without a word

    ASSERT_EQ(host.messages.size(), 4u);
    for (const auto& m : host.messages) {
        EXPECT_EQ(m.text, kQuestion);
        EXPECT_EQ(m.buttons, MessageButtons::YesNo);
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.title, "");
    }
}

TEST_F(SampleFilesTest, WithoutARememberedListNothingIsAddedButTheQuestionComes) {
    Sample("a.txt");
    host.messageAnswers = {MessageResult::No};
    form->PushButton7_Click();
    EXPECT_TRUE(Entries().empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, kQuestion);
    EXPECT_TRUE(host.openedFolders.empty());
}

// The program's own Samples folder, as the build puts it beside the program.
TEST(ShippedSamples, AFewReadableTextsBesideTheProgram) {
    // Test programs are built into the program's own folder.
    const char* env = std::getenv("QUILLANE_BIN_DIR");
    const std::string bin =
        env != nullptr ? env : QCoreApplication::applicationDirPath().toStdString();
    std::vector<fs::path> texts;
    for (const auto& entry : fs::directory_iterator(bin + "/Samples")) {
        texts.push_back(entry.path());
    }
    EXPECT_GE(texts.size(), 4u);
    EXPECT_LE(texts.size(), 6u);
    for (const auto& text : texts) {
        EXPECT_GT(fs::file_size(text), 500u) << text;
        EXPECT_FALSE(QString::fromUtf8(QByteArray::fromStdString(test::ReadFile(text)))
                         .contains(QChar::ReplacementCharacter))
            << text << " is not valid UTF-8";
    }
}

}  // namespace
}  // namespace quillane
