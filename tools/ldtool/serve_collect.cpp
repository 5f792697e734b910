// The portal's collection endpoints: the log-and-crash service takes a JSON
// record by POST, the step-log server takes bare GETs. The starter relies on
// nothing they answer, so both simply accept; the request log is what tests
// read.
#include <httplib.h>

#include "tools/ldtool/serve_router.h"

namespace ld::tool::serve {
namespace {

void RegisterCollection(Router& router) {
  router.Post("/tracebook/v1/log", [](const httplib::Request&, Reply& reply, Context&) {
    reply.content_type = "application/json";
    reply.body = "{\"result\":\"ok\"}\n";
  });
  router.Get("/log.html", [](const httplib::Request&, Reply& reply, Context&) {
    reply.content_type = "text/html";
    reply.body = "<html><body>ok</body></html>\n";
  });
}

}  // namespace

LD_SERVE_ENDPOINTS(collection, kOrderDefault, RegisterCollection);

}  // namespace ld::tool::serve
