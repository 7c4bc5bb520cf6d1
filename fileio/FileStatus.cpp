#include "fileio/FileStatus.h"

#include <sys/stat.h>

#include <system_error>

namespace fileio {

namespace {

std::string WhatItIs(unsigned fileType) {
    switch (fileType) {
        case S_IFDIR:
            return "a folder";
        case S_IFIFO:
            return "a named pipe";
        case S_IFCHR:
        case S_IFBLK:
            return "a device";
        case S_IFSOCK:
            return "a socket";
        case S_IFLNK:
            return "a symbolic link";
        default:
            return "not a file";
    }
}

std::string Size(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0) {
        return std::to_string(bytes / kMiB) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

}  // namespace

std::string FileStatus::Describe() const {
    switch (kind_) {
        case Kind::kOk:
            return "success";
        case Kind::kSystem:
            return std::generic_category().message(error_);
        case Kind::kNotRegularFile:
            return "it is " + WhatItIs(static_cast<unsigned>(detail_)) + ", not a regular file";
        case Kind::kTooLarge:
            return "it is larger than " + Size(detail_);
    }
    return "unknown failure";
}

}  // namespace fileio
