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
    "Serves DIR over HTTP on 127.0.0.1 (GET/HEAD of files) with the collection\n"
    "endpoints POST /tracebook/v1/log and GET /log.html. Prints\n"
    "\"listening on 127.0.0.1:PORT\" once bound (--port 0, the default, picks a\n"
    "free port). Every request is appended to FILE as one JSON line.\n"
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

  httplib::Server server;
  // Headers and body go out in separate writes; with Nagle on, the body of
  // every answer on a reused connection waits for the client's delayed
  // acknowledgement (about 40 ms a request).
  server.set_tcp_nodelay(true);
  server.set_keep_alive_max_count(1000);
  // A connection kept for reuse holds its thread until the keep-alive time
  // runs out, and a Windows client keeps every finished connection; with the
  // library's few threads a new connection waited seconds behind idle ones.
  server.new_task_queue = [] { return new httplib::ThreadPool(kServeThreads); };
  server.set_read_timeout(5, 0);
  server.set_payload_max_length(64u << 20);
  serve::Router router(server, context);
  serve::RegisterAllGroups(router);

  int bound =
      port == 0 ? server.bind_to_any_port("127.0.0.1")
                : (server.bind_to_port("127.0.0.1", static_cast<int>(port)) ? static_cast<int>(port)
                                                                            : -1);
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

  std::printf("listening on 127.0.0.1:%d\n", bound);
  std::fflush(stdout);

  // The watcher owns the stop decision so the listener thread needs no
  // signal-safe code of its own.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(exit_after);
  std::atomic<bool> listener_done{false};
  std::thread watcher([&] {
    while (!g_signalled && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stopping = true;
    // A stop asked for before the listener runs is lost, so keep asking
    // until the listener has returned.
    while (!listener_done) {
      server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  server.listen_after_bind();
  listener_done = true;
  bool by_signal = g_signalled != 0;
  stopping = true;
  g_signalled = 1;  // ends the watcher should the listener have failed on its own
  watcher.join();
  std::fprintf(stderr, "ldtool: serve: stopped (%s)\n", by_signal ? "signal" : "exit-after");
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(serve, "serve", "serve a download-server tree and collection endpoints on loopback",
                RunServe);

}  // namespace ld::tool
