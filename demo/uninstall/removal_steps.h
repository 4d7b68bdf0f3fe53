#pragma once
// Everything of Pelmora that the setup program leaves behind, as removal steps, in the order
// of removal: the program group (Program Manager's, and the folder of links that the setup
// makes where none answers), the eight files, their folder, the product key, the vendor
// key, and last the uninstall key, so that an interrupted removal can be started again from
// the list of installed programs.
#include <array>
#include <span>

#include "demo/common/wide_text.h"
#include "demo/uninstall/removal.h"
#include "product/pelmora.h"

namespace demo {

class ProductRemoval {
 public:
  // The steps for the product installed in `folder`.
  explicit ProductRemoval(const WidePath& folder);
  // The steps point into the object's labels.
  ProductRemoval(const ProductRemoval&) = delete;
  ProductRemoval& operator=(const ProductRemoval&) = delete;

  std::span<RemovalStep> Steps() { return std::span(steps_).first(count_); }

 private:
  static constexpr std::size_t kStepCount = product::kProductFiles.size() + 9;

  // Adds a step whose target is `target`, or its label when there is no target.
  void Add(const Utf8Path& label, std::string_view target, Presence (*check)(std::string_view),
           bool (*remove)(std::string_view), bool isLeftover = true);

  std::array<Utf8Path, kStepCount> labels_;
  std::array<RemovalStep, kStepCount> steps_;
  std::size_t count_ = 0;
};

}  // namespace demo
