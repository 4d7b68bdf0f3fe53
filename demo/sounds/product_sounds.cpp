#include "demo/sounds/product_sounds.h"

#include <array>

#include "product/pelmora.h"

namespace demo {
namespace {

using enum Waveform;

// Two falling notes, G5 then C5, with a little square for an edge.
constexpr std::array kStop = {
    Voice{Sine, 784, 784, 0, 150, 5, 40, 14000},
    Voice{Square, 784, 784, 0, 150, 5, 40, 2500},
    Voice{Sine, 523, 523, 140, 240, 5, 60, 14000},
    Voice{Square, 523, 523, 140, 240, 5, 60, 2500},
};

// A rising arpeggio, C5 E5 G5 C6, each note ringing on under the next.
constexpr std::array kStart = {
    Voice{Sine, 523, 523, 0, 260, 4, 20, 9000},
    Voice{Sine, 659, 659, 110, 260, 4, 20, 9000},
    Voice{Sine, 784, 784, 220, 260, 4, 20, 9000},
    Voice{Sine, 1047, 1047, 330, 380, 4, 40, 10000},
};

// A burst of noise that darkens as it dies away, over a low thump.
constexpr std::array kShot = {
    Voice{Noise, 4500, 300, 0, 350, 2, 10, 20000},
    Voice{Sine, 160, 50, 0, 200, 2, 20, 13000},
};

// A very short tick.
constexpr std::array kClick = {
    Voice{Noise, 5000, 5000, 0, 30, 1, 2, 16000},
    Voice{Sine, 1800, 1200, 0, 20, 1, 2, 9000},
};

// A plain beep at A5.
constexpr std::array kBeep = {
    Voice{Sine, 880, 880, 0, 220, 5, 150, 9000},
    Voice{Square, 880, 880, 0, 220, 5, 150, 4000},
};

constexpr std::array kProductSounds = {
    ProductSound{product::kSounds[0].installedName, kStop},
    ProductSound{product::kSounds[1].installedName, kStart},
    ProductSound{product::kSounds[2].installedName, kShot},
    ProductSound{product::kSounds[3].installedName, kClick},
    ProductSound{product::kSounds[4].installedName, kBeep},
};

}  // namespace

std::span<const ProductSound> ProductSounds() { return kProductSounds; }

}  // namespace demo
