#include "text/FileSignatures.h"

#include <magic.h>

namespace text {

FileSignatures::~FileSignatures() {
    if (cookie_ != nullptr) {
        magic_close(static_cast<magic_t>(cookie_));
    }
}

bool FileSignatures::Load() {
    if (cookie_ != nullptr || !loadError_.empty()) {
        return cookie_ != nullptr;
    }
    // Compressed files are judged by their own signature, never unpacked.
    magic_t cookie = magic_open(MAGIC_MIME_TYPE | MAGIC_NO_CHECK_COMPRESS);
    if (cookie == nullptr) {
        loadError_ = "cannot open the file-type database";
        return false;
    }
    if (magic_load(cookie, nullptr) != 0) {
        const char* why = magic_error(cookie);
        loadError_ = std::string("cannot load the file-type database: ") +
                     (why != nullptr ? why : "unknown error");
        magic_close(cookie);
        return false;
    }
    cookie_ = cookie;
    return true;
}

std::optional<std::string> FileSignatures::MimeTypeOf(std::string_view head) {
    if (!Load()) {
        return std::nullopt;
    }
    const char* type = magic_buffer(static_cast<magic_t>(cookie_), head.data(), head.size());
    if (type == nullptr) {
        return std::string("application/octet-stream");  // nothing recognised
    }
    return std::string(type);
}

}  // namespace text
