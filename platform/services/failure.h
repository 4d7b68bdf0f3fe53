#pragma once
// A platform failure that no procedure catches: it reaches the event that was
// being handled, which shows the toolkit's error report and ends the program.
#include <stdexcept>
#include <string>

namespace platform {

class PlatformFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace platform
