#include "tests/e2e/robot/press.h"

namespace robot {
namespace {

// How long the script waits for a handler before it assumes a modal window or a long job.
constexpr DWORD kHandlerMs = 1000;

struct Delivery {
  HWND window;
  UINT message;
  WPARAM wParam;
};

DWORD WINAPI Deliver(void* context) {
  const Delivery* delivery = static_cast<Delivery*>(context);
  SendMessageW(delivery->window, delivery->message, delivery->wParam, 0);
  delete delivery;
  return 0;
}

}  // namespace

bool Press(HWND window, UINT message, WPARAM wParam) {
  auto* delivery = new Delivery{window, message, wParam};
  HANDLE thread = CreateThread(nullptr, 0, Deliver, delivery, 0, nullptr);
  if (!thread) {
    delete delivery;
    return false;
  }
  WaitForSingleObject(thread, kHandlerMs);
  CloseHandle(thread);
  return true;
}

}  // namespace robot
