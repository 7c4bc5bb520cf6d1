#include "doclib/epub/ZipWriter.h"

#include <libdeflate.h>

#include <limits>

#include "doclib/DocumentError.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kDataDescriptorSignature = 0x08074b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kEndOfCentralSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndOfCentralSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint16_t kVersionNeeded = 20;       // deflate
constexpr std::uint16_t kVersionNeededZip64 = 45;  // ZIP64 records
constexpr std::uint16_t kZip64ExtraTag = 0x0001;
// A 32-bit field holding this (or a 16-bit one holding 0xffff) says "see the ZIP64 record".
constexpr std::uint32_t kZip64Marker32 = 0xffffffffu;
constexpr std::uint16_t kZip64Marker16 = 0xffffu;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kFlagDataDescriptor = 1 << 3;
constexpr std::size_t kOutChunk = 64 * 1024;

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    }
}

void Put64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    }
}

std::uint32_t Crc(std::uint32_t crc, std::string_view data) {
    // zlib takes at most a uInt per call.
    while (!data.empty()) {
        const auto n =
            static_cast<uInt>(std::min<std::size_t>(data.size(), std::numeric_limits<uInt>::max()));
        crc =
            static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(data.data()), n));
        data.remove_prefix(n);
    }
    return crc;
}

}  // namespace

DosTime ToDosTime(std::time_t utcSeconds) {
    std::tm tm{};
    if (utcSeconds < 315532800 || gmtime_r(&utcSeconds, &tm) == nullptr || tm.tm_year > 207) {
        // Before 1980-01-01 or past 2107: the format cannot say it; take its first day.
        return DosTime{0, static_cast<std::uint16_t>((0 << 9) | (1 << 5) | 1)};
    }
    DosTime t;
    t.time = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
    t.date =
        static_cast<std::uint16_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    return t;
}

ZipWriter::ZipWriter(ByteSink& sink, DosTime stamp, int level) : sink_(sink), stamp_(stamp) {
    // Negative window bits: raw deflate, no zlib wrapper, as ZIP wants it.
    if (deflateInit2(&stream_, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw DocumentError("cannot start the compressor");
    }
    streamReady_ = true;
    out_.resize(kOutChunk);
    // Both compressors take zlib's levels; 1 is the fastest that compresses.
    wholeCompressor_ = libdeflate_alloc_compressor(level);
    if (wholeCompressor_ == nullptr) {
        throw DocumentError("cannot start the compressor");
    }
}

ZipWriter::~ZipWriter() {
    if (streamReady_) {
        deflateEnd(&stream_);
    }
    libdeflate_free_compressor(wholeCompressor_);
}

std::uint32_t ZipWriter::Size32(std::uint64_t value) const {
    // Content files are cut far below this; one entry this large is a fault, not a book.
    if (value >= kZip64Marker32) {
        throw DocumentError("a file of the book is too large for its container (over 4 GB)");
    }
    return static_cast<std::uint32_t>(value);
}

void ZipWriter::WriteLocalHeader(const Entry& entry) {
    std::string header;
    Put32(header, kLocalHeaderSignature);
    Put16(header, kVersionNeeded);
    Put16(header, entry.flags);
    Put16(header, entry.method);
    Put16(header, stamp_.time);
    Put16(header, stamp_.date);
    // With a data descriptor these three are zero here and follow the data.
    Put32(header, entry.crc);
    Put32(header, Size32(entry.compressedSize));
    Put32(header, Size32(entry.size));
    Put16(header, static_cast<std::uint16_t>(entry.name.size()));
    Put16(header, 0);  // no extra field
    header.append(entry.name);
    sink_.Write(header);
}

void ZipWriter::AddStored(std::string_view name, std::string_view data) {
    if (inEntry_ || finished_) {
        throw DocumentError("container entry written out of order");
    }
    Entry entry;
    entry.name = std::string(name);
    entry.method = kMethodStored;
    entry.crc = Crc(0, data);
    entry.compressedSize = data.size();
    entry.size = data.size();
    entry.offset = sink_.Position();
    WriteLocalHeader(entry);
    sink_.Write(data);
    entries_.push_back(std::move(entry));
}

void ZipWriter::BeginEntry(std::string_view name) {
    if (inEntry_ || finished_) {
        throw DocumentError("container entry written out of order");
    }
    Entry entry;
    entry.name = std::string(name);
    entry.method = kMethodDeflated;
    entry.flags = kFlagDataDescriptor;
    entry.offset = sink_.Position();
    WriteLocalHeader(entry);
    entries_.push_back(std::move(entry));
    gathered_.clear();
    streaming_ = false;
    inEntry_ = true;
}

void ZipWriter::StartStreaming() {
    if (deflateReset(&stream_) != Z_OK) {
        throw DocumentError("cannot reset the compressor");
    }
    streaming_ = true;
    Stream(gathered_);
    gathered_.clear();
}

void ZipWriter::Stream(std::string_view data) {
    while (!data.empty()) {
        const auto n =
            static_cast<uInt>(std::min<std::size_t>(data.size(), std::numeric_limits<uInt>::max()));
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        stream_.avail_in = n;
        Deflate(Z_NO_FLUSH);
        data.remove_prefix(n);
    }
}

void ZipWriter::CompressWhole() {
    Entry& entry = entries_.back();
    const std::size_t bound = libdeflate_deflate_compress_bound(wholeCompressor_, gathered_.size());
    if (packed_.size() < bound) {
        packed_.resize(bound);
    }
    const std::size_t produced = libdeflate_deflate_compress(
        wholeCompressor_, gathered_.data(), gathered_.size(), packed_.data(), packed_.size());
    if (produced == 0) {
        throw DocumentError("the compressor failed");
    }
    sink_.Write(std::string_view(packed_.data(), produced));
    entry.compressedSize = produced;
    gathered_.clear();
}

void ZipWriter::Deflate(int flush) {
    Entry& entry = entries_.back();
    int rc = Z_OK;
    do {
        stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
        stream_.avail_out = static_cast<uInt>(out_.size());
        rc = deflate(&stream_, flush);
        if (rc == Z_STREAM_ERROR) {
            throw DocumentError("the compressor failed");
        }
        const std::size_t produced = out_.size() - stream_.avail_out;
        if (produced > 0) {
            sink_.Write(std::string_view(out_.data(), produced));
            entry.compressedSize += produced;
        }
    } while (stream_.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
}

void ZipWriter::Write(std::string_view data) {
    if (!inEntry_) {
        throw DocumentError("container entry written out of order");
    }
    Entry& entry = entries_.back();
    entry.crc = Crc(entry.crc, data);
    entry.size += data.size();
    if (!streaming_) {
        if (gathered_.size() + data.size() <= kWholeEntryLimit) {
            gathered_.append(data);
            return;
        }
        StartStreaming();
    }
    Stream(data);
}

void ZipWriter::EndEntry() {
    if (!inEntry_) {
        throw DocumentError("container entry written out of order");
    }
    if (streaming_) {
        stream_.next_in = nullptr;
        stream_.avail_in = 0;
        Deflate(Z_FINISH);
    } else {
        CompressWhole();
    }
    inEntry_ = false;
    const Entry& entry = entries_.back();
    std::string descriptor;
    Put32(descriptor, kDataDescriptorSignature);
    Put32(descriptor, entry.crc);
    Put32(descriptor, Size32(entry.compressedSize));
    Put32(descriptor, Size32(entry.size));
    sink_.Write(descriptor);
}

void ZipWriter::Finish() {
    if (inEntry_ || finished_) {
        throw DocumentError("container finished out of order");
    }
    const std::uint64_t directoryStart = sink_.Position();
    std::string directory;
    for (const Entry& entry : entries_) {
        // An entry that begins past 4 GB keeps its offset in a ZIP64 extra field.
        const bool farOffset = entry.offset >= kZip64Marker32;
        const std::uint16_t needed = farOffset ? kVersionNeededZip64 : kVersionNeeded;
        Put32(directory, kCentralHeaderSignature);
        Put16(directory, needed);  // made by: MS-DOS attributes
        Put16(directory, needed);
        Put16(directory, entry.flags);
        Put16(directory, entry.method);
        Put16(directory, stamp_.time);
        Put16(directory, stamp_.date);
        Put32(directory, entry.crc);
        Put32(directory, Size32(entry.compressedSize));
        Put32(directory, Size32(entry.size));
        Put16(directory, static_cast<std::uint16_t>(entry.name.size()));
        Put16(directory, farOffset ? 12 : 0);  // extra field
        Put16(directory, 0);                   // comment
        Put16(directory, 0);                   // disk number
        Put16(directory, 0);                   // internal attributes
        Put32(directory, 0);                   // external attributes
        Put32(directory, farOffset ? kZip64Marker32 : static_cast<std::uint32_t>(entry.offset));
        directory.append(entry.name);
        if (farOffset) {
            Put16(directory, kZip64ExtraTag);
            Put16(directory, 8);
            Put64(directory, entry.offset);
        }
        if (directory.size() >= kOutChunk) {
            sink_.Write(directory);
            directory.clear();
        }
    }
    sink_.Write(directory);
    const std::uint64_t directoryEnd = sink_.Position();
    const std::uint64_t directorySize = directoryEnd - directoryStart;
    const std::uint64_t count = entries_.size();
    // Past 65,534 entries or 4 GB the classic end record cannot say where the directory is:
    // the ZIP64 end record and its locator come first and the classic fields say so.
    const bool zip64 = count >= kZip64Marker16 || directoryStart >= kZip64Marker32 ||
                       directorySize >= kZip64Marker32;
    std::string end;
    if (zip64) {
        Put32(end, kZip64EndOfCentralSignature);
        Put64(end, 44);  // size of the rest of this record
        Put16(end, kVersionNeededZip64);
        Put16(end, kVersionNeededZip64);
        Put32(end, 0);  // this disk
        Put32(end, 0);  // disk of the directory
        Put64(end, count);
        Put64(end, count);
        Put64(end, directorySize);
        Put64(end, directoryStart);
        Put32(end, kZip64LocatorSignature);
        Put32(end, 0);  // disk of the ZIP64 end record
        Put64(end, directoryEnd);
        Put32(end, 1);  // total disks
    }
    const auto count16 =
        zip64 && count >= kZip64Marker16 ? kZip64Marker16 : static_cast<std::uint16_t>(count);
    Put32(end, kEndOfCentralSignature);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, count16);
    Put16(end, count16);
    Put32(end, directorySize >= kZip64Marker32 ? kZip64Marker32
                                               : static_cast<std::uint32_t>(directorySize));
    Put32(end, directoryStart >= kZip64Marker32 ? kZip64Marker32
                                                : static_cast<std::uint32_t>(directoryStart));
    Put16(end, 0);  // comment length
    sink_.Write(end);
    finished_ = true;
}

}  // namespace Tessaly::Docs
