// lz32_expand: expands one file with the system's LZ expansion library, as the setup program
// does: LZOpenFile for the source (OF_READ) and the destination (OF_CREATE), LZCopy, LZClose.
//
//   lz32_expand SOURCE DESTINATION
// Prints LZCopy's result; exit status 0 when it is the size of an expanded file.
#include <windows.h>
#include <lzexpand.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: lz32_expand SOURCE DESTINATION\n", stderr);
    return 2;
  }
  OFSTRUCT sourceRecord{};
  OFSTRUCT destinationRecord{};
  const INT source = LZOpenFileW(argv[1], &sourceRecord, OF_READ);
  if (source < 0) {
    std::printf("LZOpenFile (source): %d, error %u\n", source, sourceRecord.nErrCode);
    return 1;
  }
  const INT destination = LZOpenFileW(argv[2], &destinationRecord, OF_CREATE);
  if (destination < 0) {
    std::printf("LZOpenFile (destination): %d, error %u\n", destination,
                destinationRecord.nErrCode);
    LZClose(source);
    return 1;
  }
  const LONG copied = LZCopy(source, destination);
  LZClose(source);
  LZClose(destination);
  std::printf("LZCopy: %ld\n", static_cast<long>(copied));
  return copied < 0 ? 1 : 0;
}
