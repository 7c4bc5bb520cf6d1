#pragma once
// A streaming ZIP writer for the EPUB container (ZIP as in PKWARE's APPNOTE): stored or raw
// deflated entries, one fixed DOS timestamp for all of them, and a central directory at the
// end. A deflated entry is followed by a data descriptor. The entries of a book are small (its
// pages are cut small): one is gathered and compressed whole by libdeflate, about twice as fast
// as zlib's streaming at the same level; an entry that grows past kWholeEntryLimit is compressed
// by zlib as its bytes arrive, so no large entry ever sits whole in memory. Past 65,534 entries
// or 4 GB of container the directory gets ZIP64 records; a single entry stays below 4 GB.

#include <zlib.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/epub/ByteSink.h"

struct libdeflate_compressor;

namespace Tessaly::Docs {

// A time as the two 16-bit DOS fields of a ZIP header. Times before 1980 (the first DOS year)
// become 1980-01-01 00:00; seconds are stored in steps of two.
struct DosTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};
DosTime ToDosTime(std::time_t utcSeconds);

class ZipWriter {
  public:
    // The largest entry compressed whole; a larger one is streamed.
    static constexpr std::size_t kWholeEntryLimit = std::size_t{16} << 20;

    // `level` is the zlib deflate level for deflated entries.
    ZipWriter(ByteSink& sink, DosTime stamp, int level);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // A whole entry stored uncompressed, its sizes and checksum in the local header and no
    // extra field: what the EPUB `mimetype` entry must look like.
    void AddStored(std::string_view name, std::string_view data);

    // A deflated entry written in pieces: BeginEntry, any number of Write, EndEntry.
    void BeginEntry(std::string_view name);
    void Write(std::string_view data);
    void EndEntry();

    // Writes the central directory; no entry may follow.
    void Finish();

  private:
    struct Entry {
        std::string name;
        std::uint16_t method = 0;
        std::uint16_t flags = 0;
        std::uint32_t crc = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t offset = 0;
    };

    void WriteLocalHeader(const Entry& entry);
    void Deflate(int flush);
    // Hands what was gathered of the entry to zlib, which takes the rest as it comes.
    void StartStreaming();
    // Feeds zlib, which takes at most a uInt at a time.
    void Stream(std::string_view data);
    void CompressWhole();
    std::uint32_t Size32(std::uint64_t value) const;

    ByteSink& sink_;
    DosTime stamp_;
    z_stream stream_{};
    bool streamReady_ = false;
    bool inEntry_ = false;
    bool finished_ = false;
    std::vector<Entry> entries_;
    std::string out_;  // compressed bytes on their way to the sink
    libdeflate_compressor* wholeCompressor_ = nullptr;
    bool streaming_ = false;
    std::string gathered_;  // the entry so far, while it is compressed whole
    std::string packed_;    // its compressed form; both reused from entry to entry
};

}  // namespace Tessaly::Docs
