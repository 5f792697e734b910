// The download-server tree: GET and HEAD of the regular files under the
// served root, 404 for everything else. Registered last because it catches
// every path; other methods on unknown paths get 405.
#include <httplib.h>

#include <filesystem>

#include "tools/ldtool/serve_router.h"

namespace ld::tool::serve {
namespace {

// A decoded request path maps into the root only when no segment can climb
// out of it ("..", ".") or smuggle a separator or NUL.
bool SafeRelative(const std::string& path, std::string* relative) {
  if (path.empty() || path[0] != '/') return false;
  std::string rel = path.substr(1);
  size_t start = 0;
  while (start <= rel.size()) {
    size_t end = rel.find('/', start);
    if (end == std::string::npos) end = rel.size();
    std::string segment = rel.substr(start, end - start);
    if (segment == ".." || segment == "." ||
        segment.find_first_of(std::string("\\\0", 2)) != std::string::npos)
      return false;
    if (segment.empty() && end != rel.size()) return false;  // "//" inside the path
    start = end + 1;
  }
  *relative = rel;
  return true;
}

void ServeFile(const httplib::Request& req, Reply& reply, Context& context) {
  std::string relative;
  std::error_code ec;
  std::filesystem::path full;
  bool ok = SafeRelative(req.path, &relative) && !relative.empty();
  if (ok) {
    full = std::filesystem::path(context.root) / relative;
    ok = std::filesystem::is_regular_file(full, ec);
  }
  if (!ok) {
    reply.status = 404;
    reply.content_type = "text/plain";
    reply.body = "not found\n";
    return;
  }
  std::string ext = full.extension().string();
  if (ext == ".html" || ext == ".htm") reply.content_type = "text/html";
  reply.file_path = full.string();
}

void RegisterFiles(Router& router) {
  router.Get(".*", ServeFile);
  router.Any(".*", [](const httplib::Request& req, Reply& reply, Context&) {
    reply.status = req.method == "POST" ? 404 : 405;
    reply.content_type = "text/plain";
    reply.body = reply.status == 404 ? "not found\n" : "method not allowed\n";
  });
}

}  // namespace

LD_SERVE_ENDPOINTS(files, kOrderLast, RegisterFiles);

}  // namespace ld::tool::serve
