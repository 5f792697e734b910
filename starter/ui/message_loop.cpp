#include "starter/ui/message_loop.h"

#include "starter/resources/ui_resource_ids.h"
#include "starter/ui/c_window.h"

namespace ld {
namespace {

void Handle(HWND window, HACCEL accelerators, MSG* message) {
  if (accelerators != nullptr && window != nullptr &&
      ::TranslateAcceleratorA(window, accelerators, message)) {
    return;
  }
  ::TranslateMessage(message);
  ::DispatchMessageA(message);
}

}  // namespace

int RunMessageLoop(HWND window, HACCEL accelerators) {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) Handle(window, accelerators, &message);
  return static_cast<int>(message.wParam);
}

bool PumpMessages(HWND window, HACCEL accelerators) {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    Handle(window, accelerators, &message);
  }
  return true;
}

HACCEL LoadStarterAccelerators() {
  return ::LoadAcceleratorsA(ProgramInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
}

}  // namespace ld
