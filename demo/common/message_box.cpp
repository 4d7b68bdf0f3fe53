#include "demo/common/message_box.h"

#include "demo/common/wide_text.h"

namespace demo {

int ShowMessage(HWND owner, std::string_view text, std::string_view title, UINT style) {
  return MessageBoxW(owner, ToWide(text).c_str(), ToWide(title).c_str(), style);
}

}  // namespace demo
