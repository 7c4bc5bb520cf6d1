#pragma once
// The program's one exception type: a numbered run-time error with its description,
// as the error report shows it ("Type mismatch", "File not found", ...).

#include <stdexcept>
#include <string>

namespace quillane {

// Run-time error numbers the program raises and tests for.
namespace errc {
inline constexpr int kInvalidArgument = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kDeviceIo = 57;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidPicture = 481;
inline constexpr int kBufferTooSmall = 20476;
}  // namespace errc

class AppError : public std::runtime_error {
  public:
    AppError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

  private:
    int number_;
};

// The standard wording for the numbers above.
std::string StandardDescription(int number);

// Raises AppError with the standard wording for `number`.
[[noreturn]] void Raise(int number);

// Maps an errno value from a failed file operation to our error (53, 70, 76, 57).
[[noreturn]] void RaiseFromErrno(int errnoValue);

}  // namespace quillane
