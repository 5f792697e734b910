#include "tools/ldtool/serve_log.h"

#include <chrono>
#include <map>

namespace ld::tool::serve {
namespace {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is malformed.
size_t Utf8Length(const std::string& s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n;
  unsigned min;
  unsigned cp;
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) {
    n = 2, min = 0x80, cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    n = 3, min = 0x800, cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    n = 4, min = 0x10000, cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool IsUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    size_t n = Utf8Length(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

}  // namespace

std::string JsonQuote(const std::string& bytes) {
  const bool utf8 = IsUtf8(bytes);
  std::string out = "\"";
  char esc[8];
  for (char ch : bytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && !utf8)) {
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    } else {
      out += ch;
    }
  }
  out += '"';
  return out;
}

std::string Base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                 (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                 static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

RequestLog::~RequestLog() {
  if (file_) std::fclose(file_);
}

bool RequestLog::Open(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "ab");
  return file_ != nullptr;
}

void RequestLog::Append(const LogEntry& entry) {
  // Repeated header names are rare (WinINet sends each once); joining keeps
  // the object shape simple for the tests that read it.
  std::map<std::string, std::string> headers;
  std::vector<std::string> order;
  for (const auto& [name, value] : entry.headers) {
    auto it = headers.find(name);
    if (it == headers.end()) {
      headers.emplace(name, value);
      order.push_back(name);
    } else {
      it->second += ", " + value;
    }
  }
  long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  std::lock_guard<std::mutex> lock(mutex_);
  if (!file_) return;
  std::string line = "{\"seq\":" + std::to_string(++seq_) + ",\"time_ms\":" + std::to_string(now) +
                     ",\"method\":" + JsonQuote(entry.method) +
                     ",\"target\":" + JsonQuote(entry.target) +
                     ",\"path\":" + JsonQuote(entry.path) + ",\"headers\":{";
  for (size_t i = 0; i < order.size(); ++i) {
    if (i) line += ',';
    line += JsonQuote(order[i]) + ":" + JsonQuote(headers[order[i]]);
  }
  line += "},\"body\":" + JsonQuote(entry.body) + ",\"body_base64\":\"" + Base64(entry.body) +
          "\",\"status\":" + std::to_string(entry.status) +
          ",\"faults\":" + JsonQuote(entry.faults) + "}\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

}  // namespace ld::tool::serve
