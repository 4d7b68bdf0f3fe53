// szdd: compresses a file into SZDD mode "A", expands one, or shows its header.
#include <cstdio>
#include <string_view>

#include "tools/szdd/szdd_commands.h"

namespace {

constexpr const char* kUsageText =
    "usage: szdd compress IN [OUT]   (OUT defaults to IN with its last character as '_')\n"
    "       szdd expand IN [OUT]     (OUT defaults to IN with the character its header records)\n"
    "       szdd info FILE\n"
    "OUT may be a device, a pipe or a link to a file; it may not be IN.\n"
    "exit codes: 0 done, 1 usage (or OUT is IN), 2 input unreadable, 3 not SZDD,\n"
    "            4 damaged, 5 output unwritable, 6 unknown compression mode,\n"
    "            7 input too large (compress reads at most 128 MiB)\n";

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
