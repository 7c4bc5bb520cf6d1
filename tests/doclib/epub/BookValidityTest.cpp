// Books stay valid whatever the input: link targets that are not URLs, and more files or
// bytes than a classic ZIP directory can count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "doclib/epub/ByteSink.h"
#include "doclib/epub/EpubWriter.h"
#include "doclib/epub/LinkTarget.h"
#include "doclib/epub/ZipWriter.h"
#include "doclib/rtf/RtfReader.h"
#include "tests/doclib/epub/BookSamples.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;
using namespace quillane::test;

namespace {

std::uint64_t Get(const std::string& b, std::size_t at, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
    }
    return v;
}

// Keeps the bytes but reports positions as if `base` bytes had been written before them, so
// a test can see what the writer does past 4 GB without writing 4 GB.
class FarSink final : public ByteSink {
  public:
    explicit FarSink(std::uint64_t base) : base_(base) {}
    void Write(std::string_view bytes) override { data_.append(bytes); }
    std::uint64_t Position() const override { return base_ + data_.size(); }
    const std::string& data() const { return data_; }

  private:
    std::uint64_t base_;
    std::string data_;
};

bool UnzipAvailable() {
    return std::system("command -v unzip >/dev/null 2>&1") == 0;
}

}  // namespace

TEST(LinkTarget, TargetsThatAreNotUrlsAreDropped) {
    for (const char* bad :
         {"http://[::1", "http://[::1]x/", "http://[nonsense]/", "http://exa mple.com/",
          "http://host:99999/", "http://host:8a/", "http://a..b/", "http://.host/",
          "http://1.2.3.256/", "http://host.0x1g/", "http://bücher.example/", "http://host\\path",
          "http://%68ost/", "https://user@/", "http://host<x>/"}) {
        EXPECT_FALSE(SafeHref(bad).has_value()) << bad;
    }
}

TEST(LinkTarget, ValidHostsAndAddressesAreKept) {
    EXPECT_EQ(SafeHref("http://[::1]/"), "http://[::1]/");
    EXPECT_EQ(SafeHref("http://[2001:db8::7]:8080/a b"), "http://[2001:db8::7]:8080/a%20b");
    EXPECT_EQ(SafeHref("http://127.0.0.1:80"), "http://127.0.0.1:80");
    EXPECT_EQ(SafeHref("https://example.org./x?q#f"), "https://example.org./x?q#f");
    EXPECT_EQ(SafeHref("http://user:pw@my_host.example:/"), "http://user:pw@my_host.example:/");
    EXPECT_EQ(SafeHref("http://route66.example"), "http://route66.example");
    // Mail addresses are not web hosts; their characters are only encoded.
    EXPECT_EQ(SafeHref("mailto:a b@host"), "mailto:a%20b@host");
    // Brackets outside an IPv6 host are not allowed in a URI.
    EXPECT_EQ(SafeHref("http://[::1]/a[1]?b]#[c"), "http://[::1]/a%5B1%5D?b%5D#%5Bc");
    EXPECT_EQ(SafeHref("http://u[x]@host/"), "http://u%5Bx%5D@host/");
    EXPECT_EQ(SafeHref("mailto:[x]@host"), "mailto:%5Bx%5D@host");
}

TEST(BookValidity, MalformedLinksLeaveTheirTextAndACleanBook) {
    const std::string rtf =
        "{\\rtf1\\ansi{\\field{\\*\\fldinst HYPERLINK \"http://[::1\"}{\\fldrslt Loopback}}, "
        "{\\field{\\*\\fldinst HYPERLINK \"http://exa mple.com/\"}{\\fldrslt Spaced}} and "
        "{\\field{\\*\\fldinst HYPERLINK \"https://example.org/ok\"}{\\fldrslt Fine}}."
        "{\\field{\\*\\fldinst HYPERLINK \"http://host.example/a[1] b|c\"}{\\fldrslt Odd}}\\par}";
    const Document doc = ReadRtf(rtf);
    TempDir dir;
    const std::string path = dir / "links.epub";
    const auto entries = WriteAndRead(doc, path);
    const std::string content = Entry(entries, ContentFiles(entries).at(0)).data;
    EXPECT_NE(content.find("Loopback, Spaced and <a href=\"https://example.org/ok\">Fine</a>."
                           "<a href=\"http://host.example/a%5B1%5D%20b%7Cc\">Odd</a>"),
              std::string::npos)
        << content;
    const EpubcheckResult result = RunEpubcheck(path);
    EXPECT_TRUE(result.Clean()) << result.output;
}

TEST(BookValidity, ClassicContainerBelowTheLimits) {
    MemorySink sink;
    ZipWriter zip(sink, DosTime{}, 1);
    zip.AddStored("mimetype", "application/epub+zip");
    zip.Finish();
    EXPECT_EQ(sink.data().find("PK\x06\x06"), std::string::npos);
    EXPECT_EQ(ReadZip(sink.data()).size(), 1u);
}

TEST(BookValidity, MoreEntriesThanAClassicDirectoryCounts) {
    constexpr int kEntries = 70000;
    MemorySink sink;
    ZipWriter zip(sink, DosTime{}, 1);
    zip.AddStored("mimetype", "application/epub+zip");
    for (int i = 1; i < kEntries; ++i) {
        zip.BeginEntry("f/" + std::to_string(i));
        zip.Write(std::to_string(i * 7));
        zip.EndEntry();
    }
    zip.Finish();
    const auto entries = ReadZip(sink.data());
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kEntries));
    EXPECT_EQ(entries[65535].name, "f/65535");
    EXPECT_EQ(entries.back().data, std::to_string((kEntries - 1) * 7));
    if (UnzipAvailable()) {
        TempDir dir;
        const std::string path = dir / "many.zip";
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(sink.data().data(), 1, sink.data().size(), f);
        std::fclose(f);
        EXPECT_EQ(std::system(("unzip -tqq '" + path + "' >/dev/null").c_str()), 0);
    }
}

TEST(BookValidity, EntriesPastFourGigabytesKeepTheirOffsets) {
    constexpr std::uint64_t kBase = 5ull << 30;
    FarSink sink(kBase);
    {
        ZipWriter zip(sink, DosTime{}, 1);
        zip.BeginEntry("far.txt");
        zip.Write("far away");
        zip.EndEntry();
        zip.Finish();
    }
    const std::string& b = sink.data();
    // Classic end record: the directory's offset only in the ZIP64 record.
    const std::size_t end = b.size() - 22;
    ASSERT_EQ(Get(b, end, 4), 0x06054b50u);
    EXPECT_EQ(Get(b, end + 16, 4), 0xffffffffu);
    ASSERT_EQ(Get(b, end - 20, 4), 0x07064b50u);
    const std::uint64_t zip64End = Get(b, end - 20 + 8, 8) - kBase;
    ASSERT_EQ(Get(b, zip64End, 4), 0x06064b50u);
    EXPECT_EQ(Get(b, zip64End + 32, 8), 1u);
    const std::uint64_t directory = Get(b, zip64End + 48, 8) - kBase;
    ASSERT_EQ(Get(b, directory, 4), 0x02014b50u);
    EXPECT_EQ(Get(b, directory + 6, 2), 45u);
    EXPECT_EQ(Get(b, directory + 42, 4), 0xffffffffu);
    const std::size_t extra = directory + 46 + 7;
    EXPECT_EQ(Get(b, extra, 2), 1u);
    EXPECT_EQ(Get(b, extra + 4, 8), kBase);  // the entry's local header, where it really is
}

TEST(BookValidity, SixtySixThousandChaptersMakeABook) {
    Document doc;
    constexpr int kChapters = 66000;
    for (int i = 1; i <= kChapters; ++i) {
        AddBlock(doc, BlockKind::Heading, 1, "Chapter " + std::to_string(i));
        AddBlock(doc, BlockKind::Paragraph, 0, "Text " + std::to_string(i) + ".");
    }
    TempDir dir;
    const std::string path = dir / "many.epub";
    const auto entries = WriteAndRead(doc, path);
    EXPECT_GT(entries.size(), 65535u);
    EXPECT_NE(Entry(entries, ContentFiles(entries).back()).data.find("Text 66000."),
              std::string::npos);
    if (UnzipAvailable()) {
        EXPECT_EQ(std::system(("unzip -tqq '" + path + "' >/dev/null").c_str()), 0);
    }
}
