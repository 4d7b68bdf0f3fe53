#pragma once
// How a fuzz target reports a broken rule: it names the rule and aborts, so that libFuzzer
// keeps the input that broke it.
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void Require(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken rule: %s\n", rule);
  std::abort();
}

}  // namespace fuzz
