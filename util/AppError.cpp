#include "util/AppError.h"

#include <cerrno>

namespace quillane {

std::string StandardDescription(int number) {
    switch (number) {
        case errc::kInvalidArgument:
            return "Invalid procedure call or argument";
        case errc::kOverflow:
            return "Overflow";
        case errc::kTypeMismatch:
            return "Type mismatch";
        case errc::kFileNotFound:
            return "File not found";
        case errc::kBadFileMode:
            return "Bad file mode";
        case errc::kDeviceIo:
            return "Device I/O error";
        case errc::kPermissionDenied:
            return "Permission denied";
        case errc::kPathNotFound:
            return "Path not found";
        case errc::kInvalidPicture:
            return "Invalid picture";
        case errc::kBufferTooSmall:
            return "The buffer is too small for the selected file names";
        default:
            return "Application-defined or object-defined error";
    }
}

void Raise(int number) {
    throw AppError(number, StandardDescription(number));
}

void RaiseFromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            Raise(errc::kFileNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
            Raise(errc::kPermissionDenied);
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            Raise(errc::kPathNotFound);
        default:
            Raise(errc::kDeviceIo);
    }
}

}  // namespace quillane
