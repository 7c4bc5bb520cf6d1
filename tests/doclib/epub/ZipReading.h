#pragma once
// Reads back the containers the writer makes, independently of it: the central directory,
// each entry's local header, and the inflated data checked against the stored CRC.

#include <cstdint>
#include <string>
#include <vector>

namespace quillane::test {

struct ZipEntryInfo {
    std::string name;
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint16_t time = 0;
    std::uint16_t date = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
    std::uint16_t localExtraLength = 0;
    std::string data;  // inflated
};

// Throws std::runtime_error on anything malformed (bad signatures, sizes, CRC).
std::vector<ZipEntryInfo> ReadZip(const std::string& bytes);

// The entry with that name; throws when there is none.
const ZipEntryInfo& Entry(const std::vector<ZipEntryInfo>& entries, const std::string& name);

// Text of the XHTML content files in order, markup removed and entities resolved, so it can
// be set against the document's text.
std::string ContentText(const std::vector<ZipEntryInfo>& entries);

}  // namespace quillane::test
