#pragma once
// Expansion of SZDD mode "A" files. It streams: its memory is a few fixed buffers, whatever
// expanded length a header claims, and no input makes it read or write out of bounds.
#include <cstdint>

#include "codec/byte_stream.h"
#include "codec/szdd_format.h"

namespace codec::szdd {

enum class Status {
  kOk,
  kNotSzdd,      // no SZDD signature
  kBadData,      // a damaged or truncated header or stream
  kReadFailed,   // the source could not be read
  kWriteFailed,  // the sink refused bytes
  kUnknownMode,  // a compression mode other than "A"
};

struct Expansion {
  Status status = Status::kOk;
  Header header;              // as read; default when the header is missing or cut short
  std::uint64_t written = 0;  // bytes handed to the sink
};

// Reads an SZDD file from `source` and writes its expanded bytes to `sink`. Expansion ends
// once the header's expanded length has been written; a stream that ends before is damaged.
Expansion Expand(ByteSource& source, ByteSink& sink);

}  // namespace codec::szdd
