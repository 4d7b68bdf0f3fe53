// stampchm FILE SECONDS: sets the compile time that chmcmd wrote into the help file FILE to the
// time of day of SECONDS since 1970 (UTC), so that a build of the same sources gives the same
// file whenever it runs.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "demo/chm/compile_time.h"
#include "tools/common/host_files.h"

int main(int argc, char** argv) {
  char* end = nullptr;
  const long long seconds = argc == 3 ? std::strtoll(argv[2], &end, 10) : 0;
  if (argc != 3 || end == argv[2] || *end != '\0') {
    std::fprintf(stderr, "usage: stampchm FILE SECONDS-SINCE-1970\n");
    return 2;
  }
  std::vector<std::uint8_t> chm;
  if (!tools::ReadWholeFile(argv[1], chm)) {
    std::fprintf(stderr, "stampchm: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string failure = demo::SetCompileTime(chm, demo::MillisecondsOfDay(seconds));
  if (!failure.empty()) {
    std::fprintf(stderr, "stampchm: %s: %s\n", argv[1], failure.c_str());
    return 1;
  }
  if (!tools::WriteWholeFile(argv[1], chm)) {
    std::fprintf(stderr, "stampchm: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
