#pragma once
// libmspack's SZDD expander over memory instead of files, so that a benchmark measures the
// expander and not the file system (libmspack's own I/O seam, mspack_system).
#include <cstdint>
#include <vector>

namespace bench {

// Expands an SZDD file with libmspack; false when libmspack reports an error.
bool ExpandWithLibmspack(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& out);

}  // namespace bench
