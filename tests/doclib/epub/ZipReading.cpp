#include "tests/doclib/epub/ZipReading.h"

#include <zlib.h>

#include <stdexcept>

namespace quillane::test {

namespace {

std::uint32_t Get(const std::string& b, std::size_t at, int bytes) {
    if (at + static_cast<std::size_t>(bytes) > b.size()) {
        throw std::runtime_error("zip: read past the end");
    }
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

std::uint64_t Get64(const std::string& b, std::size_t at) {
    return Get(b, at, 4) | (static_cast<std::uint64_t>(Get(b, at + 4, 4)) << 32);
}

std::string Inflate(const std::string& compressed, std::uint32_t expectedSize) {
    z_stream s{};
    if (inflateInit2(&s, -15) != Z_OK) {
        throw std::runtime_error("zip: inflateInit2");
    }
    std::string out(expectedSize, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    s.avail_in = static_cast<uInt>(compressed.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&s, Z_FINISH);
    const bool consumedAll = s.avail_in == 0;
    inflateEnd(&s);
    if (rc != Z_STREAM_END || !consumedAll) {
        throw std::runtime_error("zip: bad deflate stream");
    }
    return out;
}

}  // namespace

std::vector<ZipEntryInfo> ReadZip(const std::string& b) {
    if (b.size() < 22) {
        throw std::runtime_error("zip: too short");
    }
    const std::size_t end = b.size() - 22;  // we never write an archive comment
    if (Get(b, end, 4) != 0x06054b50) {
        throw std::runtime_error("zip: no end of central directory");
    }
    std::uint64_t count = Get(b, end + 10, 2);
    std::uint64_t dirSize = Get(b, end + 12, 4);
    std::uint64_t at = Get(b, end + 16, 4);
    std::uint64_t dirEnd = end;
    if (count == 0xffff || dirSize == 0xffffffffu || at == 0xffffffffu) {
        // ZIP64: the locator stands right before the classic record and names the ZIP64 one.
        if (end < 20 || Get(b, end - 20, 4) != 0x07064b50) {
            throw std::runtime_error("zip: no ZIP64 locator");
        }
        dirEnd = Get64(b, end - 20 + 8);
        if (dirEnd + 56 != end - 20 || Get(b, dirEnd, 4) != 0x06064b50) {
            throw std::runtime_error("zip: bad ZIP64 end of central directory");
        }
        count = Get64(b, dirEnd + 32);
        dirSize = Get64(b, dirEnd + 40);
        at = Get64(b, dirEnd + 48);
    }
    if (at + dirSize != dirEnd) {
        throw std::runtime_error("zip: central directory size mismatch");
    }
    std::vector<ZipEntryInfo> entries;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (Get(b, at, 4) != 0x02014b50) {
            throw std::runtime_error("zip: bad central header");
        }
        ZipEntryInfo e;
        e.flags = static_cast<std::uint16_t>(Get(b, at + 8, 2));
        e.method = static_cast<std::uint16_t>(Get(b, at + 10, 2));
        e.time = static_cast<std::uint16_t>(Get(b, at + 12, 2));
        e.date = static_cast<std::uint16_t>(Get(b, at + 14, 2));
        e.crc = Get(b, at + 16, 4);
        e.compressedSize = Get(b, at + 20, 4);
        e.size = Get(b, at + 24, 4);
        const std::uint32_t nameLength = Get(b, at + 28, 2);
        const std::uint32_t extra = Get(b, at + 30, 2);
        const std::uint32_t comment = Get(b, at + 32, 2);
        e.offset = Get(b, at + 42, 4);
        e.name = b.substr(at + 46, nameLength);
        std::uint64_t local = e.offset;
        if (e.offset == 0xffffffffu) {
            const std::size_t field = at + 46 + nameLength;
            if (extra < 12 || Get(b, field, 2) != 1 || Get(b, field + 2, 2) != 8) {
                throw std::runtime_error("zip: no ZIP64 offset for " + e.name);
            }
            local = Get64(b, field + 4);
        }
        at += 46 + nameLength + extra + comment;

        if (Get(b, local, 4) != 0x04034b50) {
            throw std::runtime_error("zip: bad local header for " + e.name);
        }
        const std::uint32_t localName = Get(b, local + 26, 2);
        e.localExtraLength = static_cast<std::uint16_t>(Get(b, local + 28, 2));
        if (b.substr(local + 30, localName) != e.name) {
            throw std::runtime_error("zip: local name differs for " + e.name);
        }
        const std::size_t dataAt = local + 30 + localName + e.localExtraLength;
        const std::string raw = b.substr(dataAt, e.compressedSize);
        if (raw.size() != e.compressedSize) {
            throw std::runtime_error("zip: data cut short for " + e.name);
        }
        if ((e.flags & 8) != 0) {
            const std::size_t d = dataAt + e.compressedSize;
            if (Get(b, d, 4) != 0x08074b50 || Get(b, d + 4, 4) != e.crc ||
                Get(b, d + 8, 4) != e.compressedSize || Get(b, d + 12, 4) != e.size) {
                throw std::runtime_error("zip: bad data descriptor for " + e.name);
            }
        } else if (Get(b, local + 14, 4) != e.crc || Get(b, local + 18, 4) != e.compressedSize ||
                   Get(b, local + 22, 4) != e.size) {
            throw std::runtime_error("zip: local sizes differ for " + e.name);
        }
        if (e.method == 0) {
            e.data = raw;
        } else if (e.method == 8) {
            e.data = Inflate(raw, e.size);
        } else {
            throw std::runtime_error("zip: unknown method");
        }
        if (e.data.size() != e.size || crc32(0, reinterpret_cast<const Bytef*>(e.data.data()),
                                             static_cast<uInt>(e.data.size())) != e.crc) {
            throw std::runtime_error("zip: CRC mismatch for " + e.name);
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

const ZipEntryInfo& Entry(const std::vector<ZipEntryInfo>& entries, const std::string& name) {
    for (const ZipEntryInfo& e : entries) {
        if (e.name == name) {
            return e;
        }
    }
    throw std::runtime_error("zip: no entry " + name);
}

std::string ContentText(const std::vector<ZipEntryInfo>& entries) {
    std::string text;
    for (const ZipEntryInfo& e : entries) {
        if (e.name.rfind("EPUB/text/", 0) != 0) {
            continue;
        }
        const std::string& x = e.data;
        const std::size_t body = x.find("<body>");
        const std::size_t bodyEnd = x.rfind("</body>");
        for (std::size_t i = body + 6; i < bodyEnd; ++i) {
            if (x[i] == '<') {
                const std::size_t close = x.find('>', i);
                if (x.compare(i, 5, "<br/>") == 0) {
                    text.push_back('\n');
                }
                i = close;
            } else if (x[i] == '&') {
                const std::size_t semi = x.find(';', i);
                const std::string entity = x.substr(i, semi - i + 1);
                text.append(entity == "&amp;"  ? "&"
                            : entity == "&lt;" ? "<"
                            : entity == "&gt;" ? ">"
                                               : "\"");
                i = semi;
            } else if (x[i] != '\n') {
                text.push_back(x[i]);
            }
        }
    }
    return text;
}

}  // namespace quillane::test
