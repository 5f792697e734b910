// The loopback portal of the Windows tests (tests/win/with_portal.sh starts
// `ldtool serve` and names it in the environment) and its request log, read
// back as JSON lines.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/win/support/win_test_support.h"

namespace ld::test {

// Skips the test when the portal is not up (no native ldtool).
#define LD_REQUIRE_PORTAL()                                                           \
  do {                                                                                \
    if (::ld::test::PortalAddress().empty())                                          \
      GTEST_SKIP() << "LD_TEST_PORTAL not set: run through tests/win/with_portal.sh"; \
  } while (0)

inline std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// "127.0.0.1:PORT", or empty.
inline std::string PortalAddress() { return Env("LD_TEST_PORTAL"); }

// A host setting that refuses connections at once.
inline const char kDeadHost[] = "127.0.0.1:1";

// A Unix path as Wine reaches it through its Z: drive; other paths (and "")
// unchanged.
inline std::string WinePath(const std::string& unix_path) {
  if (unix_path.empty() || unix_path[0] != '/') return unix_path;
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// The request log as a Windows path (the script gives the Unix path).
inline std::string RequestLogPath() { return WinePath(Env("LD_TEST_REQUEST_LOG")); }

// The folder the portal serves, as a Unix path, or "".
inline std::string PortalRootUnix() { return Env("LD_TEST_PORTAL_ROOT"); }

// Every complete line of the request log, parsed.
inline std::vector<Json::Value> ReadRequestLog() {
  std::vector<Json::Value> entries;
  const std::string text = ReadWholeFile(RequestLogPath());
  std::size_t begin = 0;
  for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
    Json::Value entry;
    if (Json::Reader().parse(text.substr(begin, end - begin), entry)) entries.push_back(entry);
  }
  return entries;
}

// Entries matching `match`, after waiting (at most timeout_ms) until at least
// `at_least` of them are there. Senders are waited for before this is called,
// and the server logs a request before it answers, so the wait is only a
// safety margin.
inline std::vector<Json::Value> LoggedRequests(const std::function<bool(const Json::Value&)>& match,
                                               std::size_t at_least, DWORD timeout_ms = 5000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    std::vector<Json::Value> found;
    for (const Json::Value& entry : ReadRequestLog()) {
      if (match(entry)) found.push_back(entry);
    }
    if (found.size() >= at_least || ::GetTickCount() - start >= timeout_ms) return found;
    ::Sleep(50);
  }
}

// Header value by name, ignoring the case of the name as HTTP does; "" when
// missing.
inline std::string Header(const Json::Value& entry, const std::string& name) {
  const Json::Value& headers = entry["headers"];
  for (const std::string& key : headers.getMemberNames()) {
    if (key.size() == name.size() && ::_stricmp(key.c_str(), name.c_str()) == 0)
      return headers[key].asString();
  }
  return std::string();
}

// A text unique to this test process and call, to find its own requests in
// a log that other tests share.
inline std::string UniqueTag(const char* prefix) {
  static int counter = 0;
  return std::string(prefix) + std::to_string(::GetCurrentProcessId()) + "x" +
         std::to_string(++counter);
}

}  // namespace ld::test
