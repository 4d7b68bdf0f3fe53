// mkicon: turns the text picture of the program's icon into an .ico file.
#include <cstdio>
#include <string>

#include "tools/common/host_files.h"
#include "tools/mkicon/icon_picture.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: mkicon PICTURE.txt OUT.ico\n", stderr);
    return 1;
  }
  std::vector<std::uint8_t> text;
  if (!tools::ReadWholeFile(argv[1], text)) {
    std::fprintf(stderr, "mkicon: cannot read %s\n", argv[1]);
    return 2;
  }
  tools::mkicon::IconPicture picture;
  std::string error;
  if (!tools::mkicon::ParsePicture(std::string(text.begin(), text.end()), picture, error)) {
    std::fprintf(stderr, "mkicon: %s: %s\n", argv[1], error.c_str());
    return 3;
  }
  if (!tools::WriteWholeFile(argv[2], tools::mkicon::EncodeIcon(picture))) {
    std::fprintf(stderr, "mkicon: cannot write %s\n", argv[2]);
    return 4;
  }
  return 0;
}
