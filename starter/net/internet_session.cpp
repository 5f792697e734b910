#include "starter/net/internet_session.h"

#include "core/report/report_hosts.h"
#include "starter/net/internet_open.h"

namespace ld {

InternetHandle OpenSenderRoot(const char* agent) {
  InternetHandle root = OpenInternetHandle(agent);
  if (root) SetReceiveTimeout(root.Get(), kSenderReceiveTimeoutMs);
  return root;
}

InternetHandle ConnectHttp(const InternetHandle& root, const std::string& host) {
  std::string name;
  int port = 0;
  SplitHostPort(host, &name, &port);
  const INTERNET_PORT internet_port =
      port == 0 ? INTERNET_DEFAULT_HTTP_PORT : static_cast<INTERNET_PORT>(port);
  return InternetHandle(::InternetConnectA(root.Get(), name.c_str(), internet_port, "", "",
                                           INTERNET_SERVICE_HTTP, 0, 0));
}

InternetHandle OpenHttpRequest(const InternetHandle& connection, const char* verb,
                               const std::string& path) {
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                      INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI;
  return InternetHandle(::HttpOpenRequestA(connection.Get(), verb, path.c_str(), nullptr, nullptr,
                                           nullptr, flags, 0));
}

}  // namespace ld
