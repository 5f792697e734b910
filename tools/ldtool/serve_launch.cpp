// The portal's launch-string servers on loopback: the gamestring server,
// the identifier and token ("plum") refresh servers and the launcher page.
// Operators give the answers in files under the served root, so a test or a
// demo decides exactly what the starter receives:
//   gamestring/<ID>.txt   answer of GET /gamestring/<ID> (a channel-form
//                         second gamestring; any query is accepted and logged)
//   plum/identifier.txt   answer of the identifier refresh (both paths)
//   plum/token.json       answer of the token refresh
//   plum/token.status     its HTTP status, when not 200 (a number)
// Missing files give 404 for the gamestring server and a fixed answer for the
// refreshes. The request log (body included) is what tests read.
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/ldtool/serve_router.h"

namespace ld::tool::serve {
namespace {

constexpr char kDefaultIdentifier[] = "refreshed-identifier";
constexpr char kDefaultTokenAnswer[] =
    "{\"accesstoken\":\"refreshed-token\",\"webidentifier\":\"refreshed-web-identifier\"}\n";

bool ReadAnswer(const Context& context, const std::string& relative, std::string* text) {
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::path(context.root) / relative;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  *text = all.str();
  return true;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void GamestringAnswer(const httplib::Request& req, Reply& reply, Context& context) {
  // The id is one path segment of letters, digits, "_" and "-" (the route
  // pattern), so it cannot leave the answer folder.
  const std::string id = req.matches[1];
  reply.content_type = "text/plain";
  if (!ReadAnswer(context, "gamestring/" + id + ".txt", &reply.body)) {
    reply.status = 404;
    reply.body = "no gamestring for " + id + "\n";
  }
}

void IdentifierAnswer(const httplib::Request&, Reply& reply, Context& context) {
  reply.content_type = "text/plain";
  if (!ReadAnswer(context, "plum/identifier.txt", &reply.body)) reply.body = kDefaultIdentifier;
}

void TokenAnswer(const httplib::Request&, Reply& reply, Context& context) {
  reply.content_type = "application/json";
  if (!ReadAnswer(context, "plum/token.json", &reply.body)) reply.body = kDefaultTokenAnswer;
  // A token server's error answers are JSON too.
  std::string status;
  if (ReadAnswer(context, "plum/token.status", &status)) {
    const int code = std::atoi(status.c_str());
    if (code >= 100 && code <= 599) reply.status = code;
  }
}

void LauncherPage(const httplib::Request& req, Reply& reply, Context&) {
  std::string items;
  for (const auto& [name, value] : req.params)
    items += "<li>" + HtmlEscape(name) + " = " + HtmlEscape(value) + "</li>\n";
  reply.content_type = "text/html";
  reply.body =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Ludoria launcher</title>"
      "</head>\n<body><h1>Ludoria launcher page</h1>\n<ul>\n" +
      items + "</ul></body></html>\n";
}

void RegisterLaunch(Router& router) {
  router.Get("/gamestring/([A-Za-z0-9_-]+)", GamestringAnswer);
  router.Post("/identifier/refresh\\.qrx", IdentifierAnswer);
  router.Post("/gstr/cocas/get\\.qrx", IdentifierAnswer);
  router.Post("/identifier/vesper/refresh\\.qrx", TokenAnswer);
  router.Get("/launcher\\.qrx", LauncherPage);
}

}  // namespace

LD_SERVE_ENDPOINTS(launch, kOrderDefault, RegisterLaunch);

}  // namespace ld::tool::serve
