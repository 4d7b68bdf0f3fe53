#pragma once
// The five sounds that Pelmora plays, each a file name and the voices that make it.
#include <span>
#include <string_view>

#include "demo/sounds/synth.h"

namespace demo {

struct ProductSound {
  std::string_view fileName;
  std::span<const Voice> voices;
};

std::span<const ProductSound> ProductSounds();

}  // namespace demo
