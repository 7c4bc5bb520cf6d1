// A Markdown source makes the same book, byte for byte, whether the window converts it (read,
// staged in its run folder, converter on the staged document) or the converter is given the
// file itself; the identifier and date come from the content (SOURCE_DATE_EPOCH), so nothing
// may differ. Our own samples, in a folder whose name is not UTF-8, with pictures beside them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "convert/PayloadResources.h"
#include "tests/convert/BookText.h"
#include "tests/convert/ConversionRunFixture.h"
#include "tests/support/BuiltPrograms.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

class MarkdownParityTest : public test::ConversionRunFixture {
  protected:
    MarkdownParityTest() { host.payloads = {{101, LoadPayload(101)}, {102, LoadPayload(102)}}; }
    void SetUp() override {
        ConversionRunFixture::SetUp();
        if (const char* old = std::getenv("SOURCE_DATE_EPOCH")) {
            oldEpoch = old;
        }
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        folder = books / "caf\xE9 notes";
        fs::create_directory(folder);
        for (const auto& entry : fs::directory_iterator(QUILLANE_MARKDOWN_SAMPLES_DIR)) {
            fs::copy_file(entry.path(), folder + "/" + entry.path().filename().string());
        }
    }
    void TearDown() override {
        if (oldEpoch) {
            setenv("SOURCE_DATE_EPOCH", oldEpoch->c_str(), 1);
        } else {
            unsetenv("SOURCE_DATE_EPOCH");
        }
        ConversionRunFixture::TearDown();
    }

    // The window's book of `name`, beside its source.
    std::string ThroughTheWindow(const std::string& name) {
        host.entries = {folder + "/" + name};
        host.dialogs.messages.clear();
        Run();
        EXPECT_EQ(report.converted, 1) << name;
        EXPECT_TRUE(report.failures.empty())
            << (report.failures.empty() ? "" : report.failures[0].reason);
        return ReadFile(folder + "/" + fs::path(name).stem().string() + ".epub");
    }

    // The converter's own book of `name`.
    std::string ByTheConverter(const std::string& name) {
        const std::string book = books / "direct.epub";
        const std::string tool = test::BuiltFile("ZOD2UVOV.exe");
        const std::string source = folder + "/" + name;
        const pid_t pid = fork();
        if (pid == 0) {
            execl(tool.c_str(), tool.c_str(), source.c_str(), book.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name;
        return ReadFile(book);
    }

    std::string folder;
    std::optional<std::string> oldEpoch;
};

TEST_F(MarkdownParityTest, EverySampleMakesTheSameBookOnBothPaths) {
    const struct {
        const char* name;
        const char* markup;  // in the book's text when its formatting was read
    } samples[] = {
        {"keeper-guide.md", "<table"},
        {"CHANGES.MD", "<h3"},
        {"tides.markdown", "<pre"},
        {"notes-latin1.mkd", "<em"},
    };
    for (const auto& sample : samples) {
        const std::string window = ThroughTheWindow(sample.name);
        const std::string direct = ByTheConverter(sample.name);
        ASSERT_FALSE(direct.empty()) << sample.name;
        EXPECT_TRUE(window == direct)
            << sample.name << ": the window's book (" << window.size()
            << " bytes) differs from the converter's (" << direct.size() << " bytes)";
        // unzip matches the wildcard itself: every content document.
        const std::string content = test::ZipMember(books / "direct.epub", "EPUB/text/*.xhtml");
        EXPECT_NE(content.find(sample.markup), std::string::npos) << sample.name;
    }
    EXPECT_TRUE(TempIsEmpty());
}

// Guards against the staged copy looking for pictures in the run folder: the guide's PNG and
// SVG, beside the source in a folder whose name is not UTF-8, reach the book on both paths.
TEST_F(MarkdownParityTest, PicturesBesideTheSourceTravelWithIt) {
    const std::string window = ThroughTheWindow("keeper-guide.md");
    EXPECT_EQ(ReadFile(QUILLANE_MARKDOWN_SAMPLES_DIR "/lantern.png"),
              test::ZipMember(folder + "/keeper-guide.epub", "EPUB/images/i0001.png"));
    EXPECT_NE(test::ZipMember(folder + "/keeper-guide.epub", "EPUB/images/i0002.svg").find("<svg"),
              std::string::npos);
    EXPECT_TRUE(window == ByTheConverter("keeper-guide.md"));
}

// A ".txt" is read as written, whatever it looks like: its Markdown's inline marks stay visible
// (a "#" line may still head it, as the plain-text structure rules read any text).
TEST_F(MarkdownParityTest, ATextFileWithMarkdownInItStaysPlainText) {
    fs::copy_file(folder + "/keeper-guide.md", folder + "/keeper-guide.txt");
    ThroughTheWindow("keeper-guide.txt");
    const std::vector<std::string> words = test::WordsOfBook(folder + "/keeper-guide.epub");
    EXPECT_TRUE(test::ContainsRun(words, {"**the", "few", "rules", "that", "matter**,"}));
}

}  // namespace
}  // namespace quillane
