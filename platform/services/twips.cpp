#include "platform/services/twips.h"

namespace platform {

int ScaleRounded(int value, int numerator, int denominator) {
  const int product = value * numerator;
  const int half = denominator / 2;
  // Division cuts towards zero: half a denominator away from zero first makes it round.
  return (product < 0 ? product - half : product + half) / denominator;
}

}  // namespace platform
