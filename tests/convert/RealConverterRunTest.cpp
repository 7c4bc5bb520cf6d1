// Whole runs with the real embedded converter and its library, without a window: names that
// are not UTF-8, layout characters, and a library planted for the converter to find.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "convert/PayloadResources.h"
#include "tests/convert/BookText.h"
#include "tests/convert/ConversionRunFixture.h"
#include "tests/support/BuiltPrograms.h"
#include "tests/support/Epubcheck.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using test::BinDir;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class RealConverterRunTest : public test::ConversionRunFixture {
  protected:
    RealConverterRunTest() { host.payloads = {{101, LoadPayload(101)}, {102, LoadPayload(102)}}; }
};

const std::string kNotes =
    "Notes from the caf\xC3\xA9\n\nThe espresso machine hissed while the rain kept on.\n";

// Guards against paths passing through UTF-8 text on their way to the converter: a name in
// Latin-1 bytes gets its book under its own bytes, whichever output option is chosen.
TEST_F(RealConverterRunTest, ALatin1NamedSourceGetsItsBookUnderItsExactBytes) {
    const std::string folder = books / "r\xE9pertoire";
    const std::string chosen = books / "sortie \xE9t\xE9";
    fs::create_directory(folder);
    fs::create_directory(chosen);
    const std::string source = folder + "/caf\xE9 notes.txt";
    WriteFile(source, kNotes);
    host.entries = {source};
    struct Case {
        OutputChoice options;
        std::string book;
    };
    const Case cases[] = {
        {{false, true, ""}, folder + "/caf\xE9 notes.epub"},
        {{true, false, chosen + "/"}, chosen + "/caf\xE9 notes.epub"},
        {{true, false, chosen}, chosen + "/caf\xE9 notes.epub"},
        // Neither option (hand-edited settings): the chosen folder's rule.
        {{false, false, chosen + "/"}, chosen + "/caf\xE9 notes.epub"},
    };
    bool checked = false;
    for (const Case& c : cases) {
        fs::remove(c.book);
        host.options = c.options;
        host.dialogs.messages.clear();
        Run();
        EXPECT_EQ(report.converted, 1) << c.book;
        EXPECT_TRUE(report.failures.empty())
            << (report.failures.empty() ? "" : report.failures[0].reason);
        EXPECT_EQ(host.Messages(), std::vector<std::string>{"Done."});
        ASSERT_TRUE(fs::exists(c.book)) << c.book;
        EXPECT_TRUE(test::ContainsRun(test::WordsOfBook(c.book), test::WordsOf(kNotes)));
        if (!checked) {
            // The checker itself cannot open a name that is not UTF-8; a copy can.
            const std::string copy = books / "copy.epub";
            fs::copy_file(c.book, copy);
            const test::EpubcheckResult check = test::RunEpubcheck(copy);
            fs::remove(copy);
            EXPECT_TRUE(check.Clean()) << check.output;
            checked = true;
        }
    }
    // Nothing but the sources and the books: no book under a mangled name.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(chosen), fs::directory_iterator()), 1);
    EXPECT_TRUE(TempIsEmpty());
}

// Guards against "stormy\fnight and\vday" reaching the book as "stormynight andday".
TEST_F(RealConverterRunTest, FormFeedAndVerticalTabKeepWordsApart) {
    WriteFile(books / "storm.txt", "It was a dark and stormy\fnight and\vday came late.\n");
    host.entries = {books / "storm.txt"};
    Run();
    ASSERT_EQ(report.converted, 1);
    const std::vector<std::string> words = test::WordsOfBook(books / "storm.epub");
    EXPECT_TRUE(test::ContainsRun(words, {"stormy"}));
    EXPECT_TRUE(test::ContainsRun(words, {"night", "and"}));
    EXPECT_TRUE(test::ContainsRun(words, {"day", "came", "late."}));
    EXPECT_FALSE(test::ContainsRun(words, {"stormynight"}));
    EXPECT_FALSE(test::ContainsRun(words, {"andday"}));
}

// A library named like the converter's, planted in the folder the program was started from
// and reachable through an empty element of LD_LIBRARY_PATH (which means "the current
// folder") or through LD_PRELOAD, never runs inside the converter.
TEST_F(RealConverterRunTest, APlantedLibraryNeverRuns) {
    TempDir startFolder;
    const std::string planted = startFolder / "Tessaly.Docs.dll";
    fs::copy_file(BinDir() + "/planted/Tessaly.Docs.dll", planted);
    const std::string marker = books / "planted-library-ran";
    setenv("QUILLANE_PLANTED_MARKER", marker.c_str(), 1);

    // The planted library does leave its marker whenever it is loaded.
    void* loaded = dlopen(planted.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(loaded, nullptr) << dlerror();
    ASSERT_TRUE(fs::exists(marker));
    fs::remove(marker);

    const fs::path oldFolder = fs::current_path();
    fs::current_path(startFolder.path());
    setenv("LD_LIBRARY_PATH", "/nonexistent::/also-nonexistent", 1);
    setenv("LD_PRELOAD", planted.c_str(), 1);
    WriteFile(books / "a.txt", "A plain story about a lighthouse keeper.\n");
    host.entries = {books / "a.txt"};
    Run();
    unsetenv("LD_PRELOAD");
    unsetenv("LD_LIBRARY_PATH");
    fs::current_path(oldFolder);

    EXPECT_EQ(report.converted, 1);
    EXPECT_TRUE(fs::exists(books / "a.epub"));
    EXPECT_FALSE(fs::exists(marker)) << "the planted library ran inside the converter";
    unsetenv("QUILLANE_PLANTED_MARKER");
}

// The converter itself prefers the library beside it to one on LD_LIBRARY_PATH, even when it
// is started by something that does not clean the environment.
TEST_F(RealConverterRunTest, TheConverterTakesTheLibraryBesideItBeforeLdLibraryPath) {
    TempDir plantedFolder;
    fs::copy_file(BinDir() + "/planted/Tessaly.Docs.dll", plantedFolder / "Tessaly.Docs.dll");
    const std::string marker = books / "planted-library-ran";
    WriteFile(books / "temp.rtf", "{\\rtf1\\ansi A keeper and a lamp.\\par}");
    const std::string command = "QUILLANE_PLANTED_MARKER='" + marker + "' LD_LIBRARY_PATH='" +
                                plantedFolder.path() + "' '" + BinDir() + "/ZOD2UVOV.exe' '" +
                                books / "temp.rtf" + "' '" + books / "out.epub" + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::exists(books / "out.epub"));
    EXPECT_FALSE(fs::exists(marker));
}

}  // namespace
}  // namespace quillane
