#include "bench/libmspack_in_memory.h"

#include <mspack.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace bench {
namespace {

// The "file names" that libmspack passes back to open() point at these.
struct MemoryFile {
  const std::vector<std::uint8_t>* in = nullptr;
  std::vector<std::uint8_t>* out = nullptr;
  off_t position = 0;
};

MemoryFile* Of(mspack_file* file) { return reinterpret_cast<MemoryFile*>(file); }

mspack_file* Open(mspack_system*, const char* name, int) {
  return reinterpret_cast<mspack_file*>(const_cast<char*>(name));
}
void Close(mspack_file*) {}

int Read(mspack_file* file, void* buffer, int bytes) {
  MemoryFile& memory = *Of(file);
  const auto left = static_cast<off_t>(memory.in->size()) - memory.position;
  const int count = static_cast<int>(std::min<off_t>(bytes, left));
  std::memcpy(buffer, memory.in->data() + memory.position, static_cast<std::size_t>(count));
  memory.position += count;
  return count;
}

int Write(mspack_file* file, void* buffer, int bytes) {
  const auto* data = static_cast<const std::uint8_t*>(buffer);
  Of(file)->out->insert(Of(file)->out->end(), data, data + bytes);
  return bytes;
}

int Seek(mspack_file* file, off_t offset, int mode) {
  MemoryFile& memory = *Of(file);
  const off_t size = static_cast<off_t>(memory.in ? memory.in->size() : memory.out->size());
  const off_t base = mode == MSPACK_SYS_SEEK_START ? 0
                     : mode == MSPACK_SYS_SEEK_CUR ? memory.position
                                                   : size;
  if (base + offset < 0 || base + offset > size) return 1;
  memory.position = base + offset;
  return 0;
}

off_t Tell(mspack_file* file) { return Of(file)->position; }
void Message(mspack_file*, const char*, ...) {}
void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void Free(void* pointer) { std::free(pointer); }
void Copy(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }

mspack_system memorySystem = {Open,    Close, Read, Write, Seek,   Tell,
                              Message, Alloc, Free, Copy,  nullptr};

}  // namespace

bool ExpandWithLibmspack(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& out) {
  MemoryFile in{&file, nullptr, 0};
  MemoryFile result{nullptr, &out, 0};
  out.clear();
  msszdd_decompressor* expander = mspack_create_szdd_decompressor(&memorySystem);
  const int error = expander->decompress(expander, reinterpret_cast<const char*>(&in),
                                         reinterpret_cast<const char*>(&result));
  mspack_destroy_szdd_decompressor(expander);
  return error == MSPACK_ERR_OK;
}

}  // namespace bench
