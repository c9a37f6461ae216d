// Runtime failures of the tool: a 16-bit failure number carried as an exception
// inside a procedure and handed to the error reporter where the procedure traps it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace mirudana {

namespace failure {
inline constexpr std::int16_t kInvalidCall = 5;
inline constexpr std::int16_t kOverflow = 6;
inline constexpr std::int16_t kOutOfMemory = 7;
inline constexpr std::int16_t kSubscriptOutOfRange = 9;
inline constexpr std::int16_t kTypeMismatch = 13;
inline constexpr std::int16_t kInternalError = 51;
inline constexpr std::int16_t kBadFileName = 52;
inline constexpr std::int16_t kFileNotFound = 53;
inline constexpr std::int16_t kBadFileMode = 54;
inline constexpr std::int16_t kFileAlreadyOpen = 55;
inline constexpr std::int16_t kDeviceIO = 57;
inline constexpr std::int16_t kFileAlreadyExists = 58;
inline constexpr std::int16_t kDiskFull = 61;
inline constexpr std::int16_t kInputPastEnd = 62;
inline constexpr std::int16_t kTooManyFiles = 67;
inline constexpr std::int16_t kDeviceUnavailable = 68;
inline constexpr std::int16_t kPermissionDenied = 70;
inline constexpr std::int16_t kDiskNotReady = 71;
inline constexpr std::int16_t kPathFileAccess = 75;
inline constexpr std::int16_t kPathNotFound = 76;
inline constexpr std::int16_t kComponentMissing = 339;
inline constexpr std::int16_t kCancelled = 32755;
}  // namespace failure

// The runtime's own Japanese description of a failure number.
std::string failureDescription(std::int16_t number);

// Whether a file was being read or written when the system refused: the same
// error says different things to the user (EACCES: may not read / may not write).
enum class FileAccess { Reading, Writing };

// The failure number that stands for an operating-system error (an errno value).
std::int16_t failureFromErrno(int err, FileAccess access = FileAccess::Reading);

// The text that tells the user why a file could not be read or written.
std::string errnoDescription(int err, FileAccess access);

class Failure : public std::runtime_error {
  public:
    // With the runtime's own description of `number`.
    explicit Failure(std::int16_t number);
    // With a description of its own (what()), such as an errnoDescription.
    Failure(std::int16_t number, const std::string& description);

    std::int16_t number() const noexcept { return number_; }

  private:
    std::int16_t number_;
};

// Throws the failure that stands for the operating-system error `err`, described
// as errnoDescription does.
[[noreturn]] void throwErrno(int err, FileAccess access);

// The failure number for an exception caught at a trapping boundary:
// a Failure keeps its own, an exhausted allocation is kOutOfMemory, anything else
// kInternalError.
std::int16_t failureNumberOf(const std::exception& e) noexcept;

}  // namespace mirudana
