// Whole batches through the real window and the real embedded converter.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "convert/PayloadResources.h"
#include "filelist/FileList.h"
#include "tests/convert/BookText.h"
#include "tests/convert/SampleTexts.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"
#include "util/PathText.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kEnglishStory =
    "The Lantern Keeper\n\n"
    "Every evening Maren climbed the hundred steps of the old tower and lit the lantern at the "
    "top. Nobody had asked her to do it for years, and the ships had long since learned to "
    "find the harbour by their own instruments.\n\n"
    "Still she climbed, because the fishermen's children liked to see the light come on, and "
    "because the gulls settled on the rail as soon as the glass grew warm.\n\n"
    "One winter night a small boat came in without any lights of its own. The man at the oars "
    "said he had steered by the tower alone, and he thanked her with a jar of honey.\n";

class Form1ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings("Kelvardy", "Quillane").clear();
        const char* old = std::getenv("TEMP");
        hadTemp_ = old != nullptr;
        oldTemp_ = old ? old : "";
        setenv("TEMP", temp.path().c_str(), 1);
        Form1Services services;
        services.dialogs = &host;
        services.randomFraction = [] { return 0.5; };
        services.programFolder = programFolder.path();
        form = std::make_unique<Form1>(services);
    }
    void TearDown() override {
        form.reset();
        if (hadTemp_) {
            setenv("TEMP", oldTemp_.c_str(), 1);
        } else {
            unsetenv("TEMP");
        }
    }

    void BesideSources() {
        form->Option2->setChecked(true);
        form->Text1->setText("");
    }
    void IntoFolder(const std::string& folder) {
        form->Option1->setChecked(true);
        form->Text1->setText(PathToText(folder));
    }
    void Add(const std::string& path) { form->List().Add(path); }
    void Press() { form->PushButton2->click(); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : host.messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    // Books made from texts, each valid and carrying its text's words in order. The books of
    // one batch go through one run of the EPUB checker.
    static void ExpectBooksOf(
        const std::vector<std::pair<std::string, std::string>>& booksAndTexts) {
        std::vector<std::string> paths;
        for (const auto& [book, text] : booksAndTexts) {
            ASSERT_TRUE(fs::exists(book)) << book;
            paths.push_back(book);
        }
        const std::vector<test::EpubcheckResult> checks = test::RunEpubcheck(paths);
        for (std::size_t i = 0; i < booksAndTexts.size(); ++i) {
            const auto& [book, text] = booksAndTexts[i];
            EXPECT_TRUE(checks[i].Clean()) << book << "\n" << checks[i].output;
            const auto bookWords = test::WordsOfBook(book);
            EXPECT_TRUE(test::ContainsRun(bookWords, test::WordsOf(text)))
                << book << " holds " << bookWords.size() << " words";
        }
    }
    static void ExpectBookOf(const std::string& book, const std::string& text) {
        ExpectBooksOf({{book, text}});
    }

    void ExpectAtRest() {
        EXPECT_EQ(form->ProgressBar1->value(), 0);
        EXPECT_EQ(form->ProgressBar1->text(), "Progress Bar");
        EXPECT_EQ(form->MousePointer(), PointerStyle::Default);
        EXPECT_TRUE(fs::is_empty(temp.path())) << "the run left files in TEMP";
    }

    TempDir temp, books, programFolder;
    test::ScriptedDialogHost host;
    std::unique_ptr<Form1> form;

  private:
    bool hadTemp_ = false;
    std::string oldTemp_;
};

TEST_F(Form1ConversionTest, TheProgramCarriesTheBuiltConverterByteForByte) {
    const char* bin = std::getenv("QUILLANE_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    EXPECT_EQ(LoadPayload(101), ReadFile(std::string(bin) + "/ZOD2UVOV.exe"));
    EXPECT_EQ(LoadPayload(102), ReadFile(std::string(bin) + "/Tessaly.Docs.dll"));
}

TEST_F(Form1ConversionTest, BooksBesideTheSourcesInEveryEncoding) {
    const std::string russian = test::kRussianText;
    WriteFile(books / "my.story.txt", kEnglishStory);
    WriteFile(books / ".txt", "\xEF\xBB\xBF" + test::kFrenchText);
    WriteFile(books / "повесть.txt", test::Encode(russian, "WINDOWS-1251"));
    WriteFile(books / "haru", test::Encode(test::kJapaneseText, "UTF-16"));
    for (const char* name : {"my.story.txt", ".txt", "повесть.txt", "haru"}) {
        Add(books / name);
    }
    BesideSources();
    Press();

    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectBooksOf({{books / "my.story.epub", kEnglishStory},
                   {books / ".txt.epub", test::kFrenchText},
                   {books / "повесть.epub", russian},
                   {books / "haru.epub", test::kJapaneseText}});
    // The byte-order mark never reaches the book.
    for (const auto& w : test::WordsOfBook(books / ".txt.epub")) {
        EXPECT_EQ(w.find("\xEF\xBB\xBF"), std::string::npos);
    }
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, BooksIntoTheChosenFolder) {
    TempDir out;
    WriteFile(books / "a.txt", kEnglishStory);
    WriteFile(books / "b.txt", test::Encode(test::kCzechText, "ISO-8859-2"));
    Add(books / "a.txt");
    Add(books / "b.txt");
    IntoFolder(out.path());  // no trailing "/": the join adds it
    Press();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectBooksOf({{out / "a.epub", kEnglishStory}, {out / "b.epub", test::kCzechText}});
    EXPECT_FALSE(fs::exists(books / "a.epub"));
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, AChosenFolderWhoseNameIsNotUtf8) {
    // A folder named by an older system (Latin-1 "é"): the book goes into that very folder.
    TempDir out;
    const fs::path folder = out / "caf\xe9";
    fs::create_directory(folder);
    WriteFile(books / "a.txt", kEnglishStory);
    Add(books / "a.txt");
    IntoFolder(folder.string() + "/");
    Press();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    EXPECT_TRUE(fs::exists(folder / "a.epub"));
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);

    // Picked again with the folder picker, it is shown and remembered byte for byte.
    host.folderAnswers = {folder.string()};
    form->PushButton9_Click();
    EXPECT_EQ(TextToPath(form->Text1->text()), folder.string() + "/");
    EXPECT_EQ(SettingsStore().Read("LastFolderDot", ""), folder.string());
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, ASourceInTheRootFolder) {
    if (::access("/", W_OK) != 0) {
        GTEST_SKIP() << "the root folder is not writable here";
    }
    const std::string stem = "/quillane-root-" + std::to_string(::getpid());
    WriteFile(stem + ".txt", kEnglishStory);
    Add(stem + ".txt");
    BesideSources();
    Press();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectBookOf(stem + ".epub", kEnglishStory);
    fs::remove(stem + ".txt");
    fs::remove(stem + ".epub");
}

TEST_F(Form1ConversionTest, UnreadableSourcesAndAFailingConverterAreListedBeforeDone) {
    WriteFile(books / "good.txt", kEnglishStory);
    fs::create_directory(books / "folder.txt");
    // The converter cannot put a book where a folder of that name stands.
    WriteFile(books / "blocked.txt", kEnglishStory);
    fs::create_directory(books / "blocked.epub");
    Add(books / "folder.txt");
    Add(books / "vanished.txt");
    Add(books / "blocked.txt");
    Add(books / "good.txt");
    BesideSources();
    Press();

    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    const std::string& summary = messages[0];
    EXPECT_EQ(summary.rfind("3 of 4 files were not converted:", 0), 0u) << summary;
    EXPECT_NE(summary.find(books / "folder.txt: "), std::string::npos);
    EXPECT_NE(summary.find(books / "vanished.txt: File not found"), std::string::npos);
    EXPECT_NE(summary.find(books / "blocked.txt: ZOD2UVOV"), std::string::npos) << summary;
    EXPECT_EQ(summary.find("good.txt"), std::string::npos);
    EXPECT_EQ(messages[1], "Done.");
    EXPECT_TRUE(host.ErrorReports().empty());
    EXPECT_FALSE(fs::exists(books / "folder.epub"));
    EXPECT_FALSE(fs::exists(books / "vanished.epub"));
    EXPECT_TRUE(fs::is_directory(books / "blocked.epub"));
    ExpectBookOf(books / "good.epub", kEnglishStory);
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, AnOutputFolderThatVanishes) {
    WriteFile(books / "a.txt", kEnglishStory);
    Add(books / "a.txt");
    // Gone before the press: the run does not start.
    IntoFolder(books / "gone/");
    Press();
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Folder does not exist. Please select another folder."});
    EXPECT_TRUE(fs::is_empty(temp.path()));

    // Gone after the check, while the run lets the window work: reported, not "converted".
    host.messages.clear();
    fs::create_directory(books / "out");
    IntoFolder(books / "out/");
    QTimer::singleShot(0, [&] { fs::remove(books / "out"); });
    Press();
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("1 of 1 file was not converted"), std::string::npos);
    EXPECT_EQ(messages[1], "Done.");
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, APressDuringARunIsIgnored) {
    WriteFile(books / "a.txt", kEnglishStory);
    Add(books / "a.txt");
    BesideSources();
    int pressesDuringRun = 0;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(form->MousePointer(),
                  PointerStyle::Default);  // the first yield comes before the hourglass
        ++pressesDuringRun;
        Press();
    });
    Press();
    EXPECT_EQ(pressesDuringRun, 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    EXPECT_TRUE(fs::exists(books / "a.epub"));
    // Once it is over, a press starts a new run.
    Press();
    EXPECT_EQ(Messages().size(), 2u);
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, EmptyListSaysSoAndTouchesNothing) {
    Press();
    Press();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"No files added.", "No files added."}));
    EXPECT_EQ(host.messages[0].title, "");  // the application title
    ExpectAtRest();
}

TEST_F(Form1ConversionTest, BrowsingForTheOutputFolder) {
    QSettings settings("Kelvardy", "Quillane");
    form->Text1->setText("/before/");
    host.folderAnswers = {""};
    form->PushButton9_Click();  // cancelled: nothing changes
    ASSERT_EQ(host.folderRequests.size(), 1u);
    EXPECT_EQ(host.folderRequests[0].prompt, "Please select folder:");
    EXPECT_EQ(host.folderRequests[0].startFolder, "");
    EXPECT_EQ(form->Text1->text(), "/before/");
    EXPECT_FALSE(settings.contains("LastFolderDot"));

    host.folderAnswers = {"/data/books"};
    form->PushButton9_Click();
    EXPECT_EQ(form->Text1->text(), "/data/books/");
    settings.sync();
    EXPECT_EQ(settings.value("LastFolderDot").toString(), "/data/books");

    host.folderAnswers = {"/"};
    form->PushButton9_Click();
    EXPECT_EQ(host.folderRequests.back().startFolder, "/data/books");
    EXPECT_EQ(form->Text1->text(), "/");
    EXPECT_TRUE(host.ErrorReports().empty());
}

}  // namespace
}  // namespace quillane
