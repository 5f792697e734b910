#include "tools/ldtool/serve_router.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace ld::tool::serve {
namespace {

// Files up to this size are answered from memory; larger ones are streamed.
constexpr std::uintmax_t kInlineLimit = 1 << 20;
constexpr size_t kChunk = 64 * 1024;

struct Group {
  int order;
  const char* name;
  GroupRegistrar registrar;
};

std::vector<Group>& Groups() {
  static std::vector<Group> groups;
  return groups;
}

std::string DescribeFaults(const FaultSet& f) {
  std::string out;
  auto add = [&out](const char* name, long long v) {
    if (v < 0) return;
    if (!out.empty()) out += ' ';
    out += name + std::string("=") + std::to_string(v);
  };
  add("status", f.status);
  add("delay", f.delay_ms);
  add("cut", f.cut_after);
  return out;
}

// Waits in small steps so a shutting-down server is not held up by a delay.
void Delay(long long ms, const std::atomic<bool>* stopping) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    if (stopping && stopping->load()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// A body sent through a provider so the connection can be cut part-way: the
// headers promise `total` bytes, the provider stops after `limit`.
void SetCutBody(httplib::Response& res, std::shared_ptr<std::string> body, size_t limit,
                const std::string& type) {
  res.set_content_provider(
      body->size(), type, [body, limit](size_t offset, size_t length, httplib::DataSink& sink) {
        if (offset >= limit) return false;
        size_t n = std::min({length, limit - offset, kChunk});
        return sink.write(body->data() + offset, n) && offset + n < body->size();
      });
}

void SetFileBody(httplib::Response& res, const std::string& path, std::uintmax_t size,
                 long long cut_after, const std::string& type) {
  auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
  size_t limit = cut_after >= 0 ? static_cast<size_t>(cut_after) : static_cast<size_t>(size);
  res.set_content_provider(static_cast<size_t>(size), type,
                           [in, limit](size_t offset, size_t length, httplib::DataSink& sink) {
                             if (offset >= limit) return false;
                             std::string buf(std::min({length, limit - offset, kChunk}), '\0');
                             in->seekg(static_cast<std::streamoff>(offset));
                             in->read(&buf[0], static_cast<std::streamsize>(buf.size()));
                             if (in->gcount() <= 0) return false;
                             return sink.write(buf.data(), static_cast<size_t>(in->gcount()));
                           });
}

void Emit(const httplib::Request& req, httplib::Response& res, Reply& reply,
          const FaultSet& faults) {
  res.status = reply.status;
  for (const auto& [name, value] : reply.headers) res.set_header(name.c_str(), value);
  if (!reply.file_path.empty()) {
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(reply.file_path, ec);
    if (ec) {
      res.status = 404;
      res.set_content("not found\n", "text/plain");
      return;
    }
    bool cut = faults.cut_after >= 0 && static_cast<std::uintmax_t>(faults.cut_after) < size;
    if (size > kInlineLimit || cut) {
      SetFileBody(res, reply.file_path, size, cut ? faults.cut_after : -1, reply.content_type);
      return;
    }
    std::ifstream in(reply.file_path, std::ios::binary);
    reply.body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (faults.cut_after >= 0 && static_cast<size_t>(faults.cut_after) < reply.body.size() &&
      req.method != "HEAD") {
    SetCutBody(res, std::make_shared<std::string>(std::move(reply.body)),
               static_cast<size_t>(faults.cut_after), reply.content_type);
    return;
  }
  res.set_content(reply.body, reply.content_type.c_str());
}

void Dispatch(const Endpoint& endpoint, const httplib::Request& req, httplib::Response& res,
              Context& context) {
  Reply reply;
  FaultSet faults = context.faults->Match(req.path);
  if (faults.status >= 0) {
    reply.status = faults.status;
    reply.content_type = "text/plain";
    reply.body = "fault " + std::to_string(faults.status) + "\n";
  } else {
    try {
      endpoint(req, reply, context);
    } catch (...) {
      reply = Reply();
      reply.status = 500;
      reply.content_type = "text/plain";
      reply.body = "internal error\n";
    }
  }
  if (context.log) {
    LogEntry entry;
    entry.method = req.method;
    entry.target = req.target;
    entry.path = req.path;
    for (const auto& [name, value] : req.headers) {
      // The library adds these for its own bookkeeping; they were not sent.
      if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
          name == "LOCAL_PORT")
        continue;
      entry.headers.emplace_back(name, value);
    }
    entry.body = req.body;
    entry.status = reply.status;
    entry.faults = DescribeFaults(faults);
    context.log->Append(entry);
  }
  if (faults.delay_ms > 0) Delay(faults.delay_ms, context.stopping);
  Emit(req, res, reply, faults);
}

}  // namespace

void Router::Get(const std::string& pattern, Endpoint endpoint) {
  Context* context = &context_;
  server_.Get(pattern, [endpoint, context](const httplib::Request& req, httplib::Response& res) {
    Dispatch(endpoint, req, res, *context);
  });
}

void Router::Post(const std::string& pattern, Endpoint endpoint) {
  Context* context = &context_;
  server_.Post(pattern, [endpoint, context](const httplib::Request& req, httplib::Response& res) {
    Dispatch(endpoint, req, res, *context);
  });
}

void Router::Any(const std::string& pattern, Endpoint endpoint) {
  Get(pattern, endpoint);
  Post(pattern, endpoint);
  Context* context = &context_;
  auto handler = [endpoint, context](const httplib::Request& req, httplib::Response& res) {
    Dispatch(endpoint, req, res, *context);
  };
  server_.Put(pattern, handler);
  server_.Delete(pattern, handler);
  server_.Patch(pattern, handler);
  server_.Options(pattern, handler);
}

bool RegisterGroup(int order, const char* name, GroupRegistrar registrar) {
  auto& groups = Groups();
  Group group{order, name, registrar};
  auto at = std::upper_bound(groups.begin(), groups.end(), group,
                             [](const Group& a, const Group& b) { return a.order < b.order; });
  groups.insert(at, group);
  return true;
}

void RegisterAllGroups(Router& router) {
  for (const Group& group : Groups()) group.registrar(router);
}

}  // namespace ld::tool::serve
