// The ZIP container writer and the atomic file beneath it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "doclib/Document.h"
#include "doclib/epub/ZipWriter.h"
#include "fileio/AtomicFile.h"
#include "tests/doclib/epub/ZipReading.h"
#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;
using quillane::test::ReadZip;

namespace {

std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) {
        // Half text, half random bytes: compressible but not trivially.
        const auto r = rng();
        c = (r & 1) != 0 ? static_cast<char>('a' + (r >> 8) % 26) : static_cast<char>(r >> 16);
    }
    return s;
}

std::size_t EntriesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

}  // namespace

TEST(ZipWriter, StoredFirstEntryHasNoExtraFieldAndKnownSizes) {
    MemorySink sink;
    ZipWriter zip(sink, ToDosTime(1700000000), 1);
    zip.AddStored("mimetype", "application/epub+zip");
    zip.BeginEntry("a.txt");
    zip.Write("hello");
    zip.EndEntry();
    zip.Finish();
    const std::string& bytes = sink.data();
    // Reading systems sniff these exact bytes at the start of the file.
    ASSERT_GT(bytes.size(), 58u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_EQ(bytes.substr(30, 8), "mimetype");
    EXPECT_EQ(bytes.substr(38, 20), "application/epub+zip");
    const auto entries = ReadZip(bytes);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "mimetype");
    EXPECT_EQ(entries[0].method, 0);
    EXPECT_EQ(entries[0].flags, 0);
    EXPECT_EQ(entries[0].localExtraLength, 0);
    EXPECT_EQ(entries[1].method, 8);
    EXPECT_EQ(entries[1].data, "hello");
}

TEST(ZipWriter, StreamedEntriesRoundTripWhateverThePieceSizes) {
    MemorySink sink;
    const std::string big = Noise(3'000'000, 7);
    {
        ZipWriter zip(sink, ToDosTime(1700000000), 1);
        zip.BeginEntry("empty");
        zip.EndEntry();
        zip.BeginEntry("big");
        std::mt19937 rng(3);
        for (std::size_t at = 0; at < big.size();) {
            const std::size_t n = std::min<std::size_t>(big.size() - at, 1 + rng() % 200'000);
            zip.Write(std::string_view(big).substr(at, n));
            at += n;
        }
        zip.EndEntry();
        zip.BeginEntry("dir/small");
        zip.Write("x");
        zip.EndEntry();
        zip.Finish();
    }
    const auto entries = ReadZip(sink.data());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].data, "");
    EXPECT_EQ(entries[1].data, big);
    EXPECT_LT(entries[1].compressedSize, big.size());
    EXPECT_EQ(entries[2].name, "dir/small");
    EXPECT_EQ(entries[2].data, "x");
}

TEST(ZipWriter, EveryEntryCarriesTheOneTimestamp) {
    // 2024-02-29 13:45:58 UTC
    const DosTime t = ToDosTime(1709214358);
    EXPECT_EQ(t.date, ((2024 - 1980) << 9) | (2 << 5) | 29);
    EXPECT_EQ(t.time, (13 << 11) | (45 << 5) | (58 / 2));
    MemorySink sink;
    ZipWriter zip(sink, t, 1);
    zip.AddStored("a", "1");
    zip.BeginEntry("b");
    zip.EndEntry();
    zip.Finish();
    for (const auto& e : ReadZip(sink.data())) {
        EXPECT_EQ(e.date, t.date) << e.name;
        EXPECT_EQ(e.time, t.time) << e.name;
    }
}

TEST(ZipWriter, TimesOutsideTheDosRangeBecomeItsFirstDay) {
    for (std::time_t early : {std::time_t{0}, std::time_t{315532799}}) {
        const DosTime t = ToDosTime(early);
        EXPECT_EQ(t.date, (1 << 5) | 1);
        EXPECT_EQ(t.time, 0);
    }
    EXPECT_EQ(ToDosTime(315532800).date, (1 << 5) | 1);  // 1980-01-01 itself
}

TEST(ZipWriter, MisuseIsAnErrorNotACorruptArchive) {
    MemorySink sink;
    ZipWriter zip(sink, ToDosTime(1700000000), 1);
    EXPECT_THROW(zip.Write("x"), DocumentError);
    EXPECT_THROW(zip.EndEntry(), DocumentError);
    zip.BeginEntry("a");
    EXPECT_THROW(zip.BeginEntry("b"), DocumentError);
    EXPECT_THROW(zip.Finish(), DocumentError);
    zip.EndEntry();
    zip.Finish();
    EXPECT_THROW(zip.BeginEntry("c"), DocumentError);
    EXPECT_EQ(ReadZip(sink.data()).size(), 1u);
}

TEST(AtomicFile, AppearsOnlyOnCommitWithNormalPermissions) {
    quillane::test::TempDir dir;
    const std::string path = dir / "book.epub";
    const mode_t old = umask(027);
    {
        AtomicFile file(path);
        file.Write("abc");
        file.Write(std::string(600'000, 'z'));  // larger than the buffer
        EXPECT_EQ(file.Position(), 600'003u);
        EXPECT_FALSE(std::filesystem::exists(path));
        file.Commit();
    }
    umask(old);
    EXPECT_EQ(quillane::test::ReadFile(path), "abc" + std::string(600'000, 'z'));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);  // no temporary left beside it
}

TEST(AtomicFile, AnUncommittedFileLeavesTheOldOneAndNoTrace) {
    quillane::test::TempDir dir;
    const std::string path = dir / "book.epub";
    quillane::test::WriteFile(path, "old book");
    {
        AtomicFile file(path);
        file.Write(std::string(400'000, 'n'));
        // destroyed without Commit, as when writing the book throws
    }
    EXPECT_EQ(quillane::test::ReadFile(path), "old book");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(AtomicFile, CommitReplacesAnExistingFile) {
    quillane::test::TempDir dir;
    const std::string path = dir / "book.epub";
    quillane::test::WriteFile(path, "old book");
    AtomicFile file(path);
    file.Write("new book");
    file.Commit();
    EXPECT_EQ(quillane::test::ReadFile(path), "new book");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// Both ways of staging the data keep the path untouched until the commit; the unnamed one
// shows nothing at all in the folder meanwhile.
TEST(AtomicFile, NamedAndUnnamedStagingBothCommitWholeOrNothing) {
    for (const AtomicFile::Staging staging :
         {AtomicFile::Staging::kNamed, AtomicFile::Staging::kBest}) {
        quillane::test::TempDir dir;
        const std::string path = dir / "book.epub";
        quillane::test::WriteFile(path, "old book");
        {
            AtomicFile abandoned(path, staging);
            abandoned.Write(std::string(300'000, 'a'));
            EXPECT_EQ(EntriesIn(dir.path()), abandoned.unnamed() ? 1u : 2u);
        }
        EXPECT_EQ(quillane::test::ReadFile(path), "old book");
        EXPECT_EQ(EntriesIn(dir.path()), 1u);
        const mode_t old = umask(022);
        {
            AtomicFile file(path, staging);
            if (staging == AtomicFile::Staging::kNamed) {
                EXPECT_FALSE(file.unnamed());
            }
            file.Write("new book");
            file.Commit();
            AtomicFile fresh(dir / "fresh.epub", staging);
            fresh.Write("fresh");
            fresh.Commit();
        }
        umask(old);
        EXPECT_EQ(quillane::test::ReadFile(path), "new book");
        EXPECT_EQ(quillane::test::ReadFile(dir / "fresh.epub"), "fresh");
        struct stat st {};
        ASSERT_EQ(stat((dir / "fresh.epub").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u);
        EXPECT_EQ(EntriesIn(dir.path()), 2u);
    }
}

TEST(AtomicFile, FailuresNameThePathAndTheCause) {
    quillane::test::TempDir dir;
    const std::string missing = dir / "no-such-folder/book.epub";
    try {
        AtomicFile file(missing);
        FAIL() << "created a file in a missing folder";
    } catch (const DocumentError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "cannot create '" + missing + "': No such file or directory");
    }
    // A folder in the way: the rename fails, the folder stays, the temporary goes.
    const std::string folder = dir / "taken.epub";
    std::filesystem::create_directory(folder);
    quillane::test::WriteFile(folder + "/inside", "keep");
    {
        AtomicFile file(folder);
        file.Write("data");
        try {
            file.Commit();
            FAIL() << "replaced a folder";
        } catch (const DocumentError& e) {
            EXPECT_NE(std::string(e.what()).find("'" + folder + "'"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(quillane::test::ReadFile(folder + "/inside"), "keep");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// An entry is compressed whole up to the limit and streamed beyond it; both read back alike,
// whether the limit is crossed by one large piece or by a last small one, and the buffers
// reused from one entry to the next carry nothing over.
TEST(ZipWriter, EntriesAtAndAcrossTheWholeEntryLimitRoundTrip) {
    constexpr std::size_t kLimit = ZipWriter::kWholeEntryLimit;
    const std::string noise = Noise(kLimit + 2, 11);
    MemorySink sink;
    {
        ZipWriter zip(sink, ToDosTime(1700000000), 1);
        zip.BeginEntry("at-limit");
        zip.Write(std::string_view(noise).substr(0, kLimit));
        zip.EndEntry();
        zip.BeginEntry("small-after-large");
        zip.Write("tiny");
        zip.EndEntry();
        zip.BeginEntry("one-past-by-a-last-byte");
        zip.Write(std::string_view(noise).substr(0, kLimit));
        zip.Write(std::string_view(noise).substr(kLimit, 1));
        zip.EndEntry();
        zip.BeginEntry("past-in-one-piece");
        zip.Write(noise);
        zip.EndEntry();
        zip.BeginEntry("empty-after-streamed");
        zip.EndEntry();
        zip.BeginEntry("small-after-streamed");
        zip.Write("after");
        zip.Write(" streaming");
        zip.EndEntry();
        zip.Finish();
    }
    const auto entries = ReadZip(sink.data());
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_TRUE(entries[0].data == noise.substr(0, kLimit));
    EXPECT_EQ(entries[1].data, "tiny");
    EXPECT_TRUE(entries[2].data == noise.substr(0, kLimit + 1));
    EXPECT_TRUE(entries[3].data == noise);
    EXPECT_EQ(entries[4].data, "");
    EXPECT_EQ(entries[5].data, "after streaming");
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.method, 8) << entry.name;
        EXPECT_LE(entry.compressedSize, entry.size + 64) << entry.name;
    }
}
