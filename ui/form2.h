#pragma once
// The backdrop: a borderless window over the work area, painted with a blue gradient and
// carrying the product's title. It stands behind the wizard until the program ends.
#include <memory>
#include <vector>

#include "platform/forms/form.h"

namespace ui {

class Form2 : public platform::Form {
 public:
  explicit Form2(platform::Platform& platform);

  platform::Label Label1;
  platform::Label Label2;

  // The strips, as the control array Shape1(0) to Shape1(n).
  platform::Shape& Shape1(int index) { return *strips_.at(static_cast<std::size_t>(index)); }
  int ShapeCount() const { return static_cast<int>(strips_.size()); }

 protected:
  void Form_Load() override;

 private:
  platform::Shape& LoadStrip();

  std::vector<std::unique_ptr<platform::Shape>> strips_;
};

}  // namespace ui
