#include "doclib/epub/BookIdentity.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

namespace Tessaly::Docs {

namespace {

std::string UuidText(std::array<std::uint8_t, 16> bytes, std::uint8_t version) {
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0f) | (version << 4));
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3f) | 0x80);  // RFC 4122 variant
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            out.push_back('-');
        }
        out.push_back(kHex[bytes[i] >> 4]);
        out.push_back(kHex[bytes[i] & 0x0f]);
    }
    return out;
}

std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    x ^= x >> 31;
    return x;
}

std::uint64_t Rotl(std::uint64_t x, int r) {
    return (x << r) | (x >> (64 - r));
}

// A fast 128-bit hash (two multiply-rotate lanes over 8-byte words). It only has to tell
// documents apart, not resist an attacker.
class ContentHash {
  public:
    void Add(std::string_view data) {
        std::size_t i = 0;
        for (; i + 8 <= data.size(); i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, data.data() + i, 8);
            AddWord(w);
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, data.data() + i, data.size() - i);
        AddWord(tail ^ (static_cast<std::uint64_t>(data.size()) << 56));
        AddWord(data.size());
    }
    void AddWord(std::uint64_t w) {
        a_ = Rotl(a_ ^ (w * 0x9e3779b97f4a7c15ULL), 31) * 0xc2b2ae3d27d4eb4fULL;
        b_ = Rotl(b_ + (w ^ 0x165667b19e3779f9ULL), 27) * 0x27d4eb2f165667c5ULL + a_;
    }
    std::array<std::uint8_t, 16> Digest() const {
        const std::uint64_t hi = Mix(a_ ^ Rotl(b_, 17));
        const std::uint64_t lo = Mix(b_ + hi);
        std::array<std::uint8_t, 16> out{};
        for (int i = 0; i < 8; ++i) {
            out[i] = static_cast<std::uint8_t>(hi >> (8 * i));
            out[8 + i] = static_cast<std::uint8_t>(lo >> (8 * i));
        }
        return out;
    }

  private:
    std::uint64_t a_ = 0x243f6a8885a308d3ULL;
    std::uint64_t b_ = 0x13198a2e03707344ULL;
};

}  // namespace

std::optional<std::time_t> SourceDateEpoch() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    std::int64_t seconds = 0;
    for (const char* p = value; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9' || seconds > 100'000'000'000LL) {
            return std::nullopt;
        }
        seconds = seconds * 10 + (*p - '0');
    }
    return static_cast<std::time_t>(seconds);
}

std::string RandomUuid() {
    std::random_device device;  // the kernel's random source (getrandom)
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        const std::uint32_t r = device();
        for (std::size_t k = 0; k < 4; ++k) {
            bytes[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
        }
    }
    return UuidText(bytes, 4);
}

std::string ContentUuid(const Document& doc) {
    ContentHash hash;
    const Metadata& m = doc.metadata;
    for (const std::string* field :
         {&m.title, &m.author, &m.language, &m.subject, &m.description}) {
        hash.Add(*field);
    }
    for (const std::string& coauthor : m.coauthors) {
        hash.Add(coauthor);
    }
    for (const Contributor& contributor : m.contributors) {
        hash.Add(contributor.name);
        hash.Add(contributor.role);
    }
    hash.Add(doc.text);
    for (const Block& block : doc.blocks) {
        hash.AddWord(static_cast<std::uint64_t>(block.kind) | (std::uint64_t{block.level} << 8) |
                     (static_cast<std::uint64_t>(block.alignment) << 16) |
                     (std::uint64_t{block.spanCount} << 32));
    }
    for (const Span& span : doc.spans) {
        hash.AddWord(span.length ^ (std::uint64_t{span.format} << 32) ^
                     (std::uint64_t{span.ref} << 40));
    }
    for (const std::string& link : doc.links) {
        hash.Add(link);
    }
    hash.AddWord(doc.notes.size());
    return UuidText(hash.Digest(), 8);
}

std::string FormatUtc(std::time_t seconds) {
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buffer;
}

BookIdentity MakeBookIdentity(const Document& doc) {
    BookIdentity identity;
    if (const auto epoch = SourceDateEpoch()) {
        identity.modified = *epoch;
        identity.identifier = "urn:uuid:" + ContentUuid(doc);
    } else {
        identity.modified = std::time(nullptr);
        identity.identifier = "urn:uuid:" + RandomUuid();
    }
    return identity;
}

}  // namespace Tessaly::Docs
