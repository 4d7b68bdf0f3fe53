#pragma once
// The commands of the szdd tool. Each returns the tool's exit code and, on failure, has
// printed one line to standard error.
#include <filesystem>
#include <optional>
#include <string>

namespace tools::szdd {

enum ExitCode : int {
  kSuccess = 0,
  kUsage = 1,            // also an output that names the input
  kInputUnreadable = 2,  // missing, a folder, or it cannot be read
  kNotSzdd = 3,
  kDamaged = 4,  // a damaged or truncated SZDD file
  kOutputUnwritable = 5,
  kUnknownMode = 6,  // SZDD, but a compression mode other than "A"
  kTooLarge = 7,     // an input to compress beyond tools::kMaxInputSize
};

// `in` compressed into `out`, by default `in` with its last character replaced by "_".
int Compress(const std::filesystem::path& in, std::optional<std::filesystem::path> out);
// `in` expanded into `out`, by default `in` with its "_" replaced by the character its header
// records.
int Expand(const std::filesystem::path& in, std::optional<std::filesystem::path> out);
// Prints the header of `file` and whether its stream expands cleanly.
int Info(const std::filesystem::path& file);

// The default names.
std::optional<std::filesystem::path> CompressedName(const std::filesystem::path& in);
std::optional<std::filesystem::path> ExpandedName(const std::filesystem::path& in,
                                                  std::uint8_t lastChar);

}  // namespace tools::szdd
