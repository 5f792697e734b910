#include "starter/net/internet_open.h"

namespace ld {

InternetHandle OpenInternetHandle(const char* agent) {
  // Some old proxy set-ups refused the empty proxy name and others the null
  // one; the third try repeats the first after whatever the second changed.
  InternetHandle handle(::InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, "", nullptr, 0));
  if (!handle) {
    handle.Reset(::InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  }
  if (!handle) {
    handle.Reset(::InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, "", nullptr, 0));
  }
  return handle;
}

bool SetReceiveTimeout(HINTERNET handle, DWORD milliseconds) {
  return ::InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &milliseconds,
                              sizeof milliseconds) != FALSE;
}

}  // namespace ld
