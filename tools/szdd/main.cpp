// szdd: compresses a file into SZDD mode "A", expands one, or shows its header.
#include <cstdio>
#include <string_view>

#include "tools/szdd/szdd_commands.h"

namespace {

constexpr const char* kUsageText =
    "usage: szdd compress IN [OUT]   (OUT defaults to IN with its last character as '_')\n"
    "       szdd expand IN [OUT]     (OUT defaults to IN with the character its header records)\n"
    "       szdd info FILE\n"
    "exit codes: 1 usage, 2 input unreadable, 3 not SZDD, 4 damaged, 5 output unwritable,\n"
    "            6 unknown compression mode, 7 input too large\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tools::szdd;
  const std::string_view command = argc > 1 ? argv[1] : "";
  std::optional<std::filesystem::path> out;
  if (argc == 4) out = argv[3];
  if ((command == "compress" || command == "expand") && (argc == 3 || argc == 4)) {
    return command == "compress" ? Compress(argv[2], out) : Expand(argv[2], out);
  }
  if (command == "info" && argc == 3) return Info(argv[2]);
  std::fputs(kUsageText, stderr);
  return ExitCode::kUsage;
}
