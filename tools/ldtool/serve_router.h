// The loopback portal server's routing core: endpoint groups fill a Reply,
// the router applies the test fault switches, writes the request log line and
// hands the reply to the HTTP library.
//
// Threads: handlers run on the HTTP library's worker threads, several at once;
// everything reached through Context is either read-only after start-up or
// guarded by its own lock (RequestLog, Faults).
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/ldtool/serve_faults.h"
#include "tools/ldtool/serve_log.h"

namespace httplib {
class Server;
struct Request;
}  // namespace httplib

namespace ld::tool::serve {

// What an endpoint answers. Either body or file_path (a regular file streamed
// from disk) carries the content; HEAD requests get the headers only.
struct Reply {
  int status = 200;
  std::string content_type = "application/octet-stream";
  std::string body;
  std::string file_path;
  std::vector<std::pair<std::string, std::string>> headers;
};

// Shared by all endpoint groups of one server run. Owned by the serve
// command; outlives the server.
struct Context {
  std::string root;  // the served tree; never empty
  // "--set KEY=VALUE" options, for endpoint groups that need settings of
  // their own without new command-line switches.
  std::multimap<std::string, std::string> settings;
  RequestLog* log = nullptr;              // may be null: no request log
  Faults* faults = nullptr;               // never null
  std::atomic<bool>* stopping = nullptr;  // set when the server shuts down
};

using Endpoint = std::function<void(const httplib::Request&, Reply&, Context&)>;

// Thin layer over httplib::Server so every endpoint gets the same logging and
// faults. Routes match the decoded path (without query) against an ECMAScript
// regular expression, in registration order.
class Router {
 public:
  Router(httplib::Server& server, Context& context) : server_(server), context_(context) {}

  void Get(const std::string& pattern, Endpoint endpoint);  // GET and HEAD
  void Post(const std::string& pattern, Endpoint endpoint);
  void Any(const std::string& pattern, Endpoint endpoint);  // every method we route

  Context& context() { return context_; }

 private:
  httplib::Server& server_;
  Context& context_;
};

// An endpoint group registers its routes here. Groups register in ascending
// order; the file tree (a catch-all) uses kOrderLast.
using GroupRegistrar = void (*)(Router& router);
inline constexpr int kOrderDefault = 100;
inline constexpr int kOrderLast = 1000;
bool RegisterGroup(int order, const char* name, GroupRegistrar registrar);
void RegisterAllGroups(Router& router);

}  // namespace ld::tool::serve

// Registers an endpoint group from its own .cpp file (serve_*.cpp).
#define LD_SERVE_ENDPOINTS(ident, order, registrar) \
  static const bool ld_serve_group_##ident =        \
      ::ld::tool::serve::RegisterGroup(order, #ident, registrar)
