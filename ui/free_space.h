#pragma once
// The free-space figure of the destination chooser: the kilobytes free on a drive, and
// the text that shows them.
#include <cstdint>
#include <string>

#include "platform/services/file_system.h"

namespace ui {

// (free clusters / 1024) x bytes per cluster, rounded to the nearest whole number (ties to
// the even one). The counts are unsigned, so a large disk is never negative; a figure
// beyond the signed 32-bit range is held at its largest value.
std::int32_t FreeKilobytes(const platform::DiskSpace& space);

// The digits grouped in threes with `separator` and without insignificant zeros, as the
// mask "#,###,###,###,###" writes them: 1234567 gives "1,234,567", 0 gives nothing.
std::string GroupThousands(std::int32_t value, const std::string& separator);

}  // namespace ui
