// The ZIP container writer.
#include <gtest/gtest.h>

#include <random>

#include "doclib/Document.h"
#include "doclib/epub/ZipWriter.h"
#include "tests/doclib/epub/ZipReading.h"

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
