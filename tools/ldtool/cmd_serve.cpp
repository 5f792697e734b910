// `ldtool serve`: the portal on loopback for tests and demos. Binds 127.0.0.1
// only and always stops by itself (--exit-after), on SIGINT or on SIGTERM.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tools/ldtool/command.h"
#include "tools/ldtool/serve_router.h"
#include "tools/ldtool/serve_tls.h"

namespace ld::tool {
namespace {

constexpr long long kDefaultExitAfter = 600;
constexpr long long kMaxExitAfter = 86400;
// Threads answering connections; each idle kept connection takes one.
constexpr std::size_t kServeThreads = 64;

volatile std::sig_atomic_t g_signalled = 0;

void OnSignal(int) { g_signalled = 1; }

const char kUsage[] =
    "usage: ldtool serve --root DIR [--port N] [--log FILE] [--exit-after SECONDS]\n"
    "                    [--fault KIND:VALUE[#N]:PATH]... [--set KEY=VALUE]...\n"
    "                    [--https-port N] [--tls-cert PEM --tls-key PEM]\n"
    "Serves DIR over HTTP on 127.0.0.1 (GET/HEAD of files) with the collection\n"
    "endpoints POST /tracebook/v1/log and GET /log.html, the gamestring server\n"
    "GET /gamestring/ID (answer: DIR/gamestring/ID.txt), the identifier refresh\n"
    "POST /identifier/refresh.qrx and /gstr/cocas/get.qrx (answer:\n"
    "DIR/plum/identifier.txt), the token refresh POST\n"
    "/identifier/vesper/refresh.qrx (answer: DIR/plum/token.json, its status\n"
    "in DIR/plum/token.status when not 200) and the\n"
    "launcher page /launcher.qrx. The same endpoints answer over HTTPS on a\n"
    "second port (--https-port, 0 picks one) with a self-signed certificate made\n"
    "at start, or the one given by --tls-cert and --tls-key. Prints\n"
    "\"https listening on 127.0.0.1:PORT\" and then \"listening on\n"
    "127.0.0.1:PORT\" once both are bound (--port 0, the default, picks a free\n"
    "port). Every request is appended to FILE as one JSON line.\n"
    "Faults: status:CODE:PATH, delay:MS:PATH, cut:BYTES:PATH; '#N' limits a\n"
    "switch to the first N requests; a PATH ending in '*' is a prefix.\n"
    "Stops after SECONDS (default 600), on SIGINT or on SIGTERM.\n";

bool ParseInt(const std::string& text, long long lo, long long hi, long long* out) {
  if (text.empty() || text.size() > 12) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

int RunServe(const std::vector<std::string>& args) {
  serve::Context context;
  serve::Faults faults;
  serve::RequestLog log;
  std::atomic<bool> stopping{false};
  context.faults = &faults;
  context.stopping = &stopping;
  long long port = 0;
  long long exit_after = kDefaultExitAfter;
  std::string log_path;
  long long https_port = 0;
  std::string cert_path;
  std::string key_path;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (i + 1 >= args.size()) return UsageError("serve: " + a + " needs a value or is unknown");
    const std::string& v = args[++i];
    std::string error;
    if (a == "--root") {
      context.root = v;
    } else if (a == "--port") {
      if (!ParseInt(v, 0, 65535, &port)) return UsageError("serve: bad --port " + v);
    } else if (a == "--https-port") {
      if (!ParseInt(v, 0, 65535, &https_port)) return UsageError("serve: bad --https-port " + v);
    } else if (a == "--tls-cert") {
      cert_path = v;
    } else if (a == "--tls-key") {
      key_path = v;
    } else if (a == "--log") {
      log_path = v;
    } else if (a == "--exit-after") {
      if (!ParseInt(v, 1, kMaxExitAfter, &exit_after))
        return UsageError("serve: --exit-after must be 1.." + std::to_string(kMaxExitAfter));
    } else if (a == "--fault") {
      if (!faults.Parse(v, &error)) return UsageError("serve: " + error);
    } else if (a == "--set") {
      size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0) return UsageError("serve: --set wants KEY=VALUE");
      context.settings.emplace(v.substr(0, eq), v.substr(eq + 1));
    } else {
      return UsageError("serve: unknown option " + a);
    }
  }
  std::error_code ec;
  if (context.root.empty()) return UsageError("serve: --root DIR is required");
  if (!std::filesystem::is_directory(context.root, ec)) {
    std::fprintf(stderr, "ldtool: serve: %s is not a directory\n", context.root.c_str());
    return kExitFailure;
  }
  if (!log_path.empty()) {
    if (!log.Open(log_path)) {
      std::fprintf(stderr, "ldtool: serve: cannot open log %s\n", log_path.c_str());
      return kExitFailure;
    }
    context.log = &log;
  }

  if (cert_path.empty() != key_path.empty())
    return UsageError("serve: --tls-cert and --tls-key go together");
  serve::TlsIdentity identity;
  std::string tls_error;
  if (!(cert_path.empty() ? identity.MakeSelfSigned(&tls_error)
                          : identity.Load(cert_path, key_path, &tls_error))) {
    std::fprintf(stderr, "ldtool: serve: %s\n", tls_error.c_str());
    return kExitFailure;
  }

  httplib::Server server;
  httplib::SSLServer secure_server(identity.certificate(), identity.key());
  if (!secure_server.is_valid()) {
    std::fprintf(stderr, "ldtool: serve: the HTTPS listener cannot use its certificate\n");
    return kExitFailure;
  }
  serve::Router router(server, context);
  serve::Router secure_router(secure_server, context);
  for (httplib::Server* s :
       {static_cast<httplib::Server*>(&server), static_cast<httplib::Server*>(&secure_server)}) {
    // Headers and body go out in separate writes; with Nagle on, the body of
    // every answer on a reused connection waits for the client's delayed
    // acknowledgement (about 40 ms a request).
    s->set_tcp_nodelay(true);
    s->set_keep_alive_max_count(1000);
    // A connection kept for reuse holds its thread until the keep-alive time
    // runs out, and a Windows client keeps every finished connection; with
    // the library's few threads a new connection waited seconds behind idle
    // ones.
    s->new_task_queue = [] { return new httplib::ThreadPool(kServeThreads); };
    s->set_read_timeout(5, 0);
    s->set_payload_max_length(64u << 20);
  }
  serve::RegisterAllGroups(router);
  serve::RegisterAllGroups(secure_router);

  auto bind = [](httplib::Server& s, long long wanted) {
    if (wanted == 0) return s.bind_to_any_port("127.0.0.1");
    return s.bind_to_port("127.0.0.1", static_cast<int>(wanted)) ? static_cast<int>(wanted) : -1;
  };
  int secure_bound = bind(secure_server, https_port);
  if (secure_bound <= 0) {
    std::fprintf(stderr, "ldtool: serve: cannot bind 127.0.0.1:%lld for HTTPS\n", https_port);
    return kExitFailure;
  }
  int bound = bind(server, port);
  if (bound <= 0) {
    std::fprintf(stderr, "ldtool: serve: cannot bind 127.0.0.1:%lld\n", port);
    return kExitFailure;
  }

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  // Scripts wait for the plain line, so the HTTPS one is printed first.
  std::printf("https listening on 127.0.0.1:%d\n", secure_bound);
  std::printf("listening on 127.0.0.1:%d\n", bound);
  std::fflush(stdout);

  // The watcher owns the stop decision so the listener thread needs no
  // signal-safe code of its own.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(exit_after);
  std::atomic<bool> listener_done{false};
  std::atomic<bool> secure_listener_done{false};
  std::thread watcher([&] {
    while (!g_signalled && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stopping = true;
    // A stop asked for before the listener runs is lost, so keep asking
    // until the listener has returned.
    while (!listener_done || !secure_listener_done) {
      server.stop();
      secure_server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::thread secure_listener([&] {
    secure_server.listen_after_bind();
    secure_listener_done = true;
  });
  server.listen_after_bind();
  listener_done = true;
  bool by_signal = g_signalled != 0;
  stopping = true;
  g_signalled = 1;  // ends the watcher should the listener have failed on its own
  watcher.join();
  secure_listener.join();
  std::fprintf(stderr, "ldtool: serve: stopped (%s)\n", by_signal ? "signal" : "exit-after");
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(serve, "serve", "serve a download-server tree and collection endpoints on loopback",
                RunServe);

}  // namespace ld::tool
