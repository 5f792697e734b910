#include "core/launch/token_refresh.h"

#include <json/reader.h>
#include <json/value.h>

#include <memory>

#include "core/launch/gamestring_edit.h"

namespace ld {

bool EscapeAccessToken(std::string_view token, std::string* out) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (char ch : token) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      escaped += ch;
    } else if (c == ' ') {
      escaped += '+';
    } else {
      escaped += '%';
      escaped += kHex[c >> 4];
      escaped += kHex[c & 15];
    }
    if (escaped.size() > kEscapedTokenLimit) return false;
  }
  *out = std::move(escaped);
  return true;
}

bool TokenRefreshBody(const std::string& p0, const std::string& p1, const std::string& p4,
                      const std::string& p8, std::string* body) {
  std::string token;
  if (!EscapeAccessToken(p4, &token)) return false;
  std::string text =
      "memberno=" + p0 + "&gameid=" + p1 + "&accesstoken=" + token + "&webidentifier=" + p8;
  if (text.size() > kTokenBodyLimit) return false;
  *body = std::move(text);
  return true;
}

std::string TokenRefreshCheck(const std::string& p0, const std::string& p1, const std::string& p4,
                              const std::string& p8) {
  if (p1.empty()) return "GameId is NullOrEmpty";
  if (p0.empty()) return "MemberNo is NullOrEmpty";
  if (p4.empty()) return "KRT AccessToken is NullOrEmpty";
  if (p8.empty()) return "Web Cookie is NullOrEmpty";
  return std::string();
}

std::string TokenRefreshHeaders(std::size_t body_length) {
  // Well below kTokenHeaderLimit: the only variable part is a number.
  return "Accept: text/*\r\n"
         "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)\r\n"
         "Content-type: application/x-www-form-urlencoded\r\n"
         "Content-length: " +
         std::to_string(body_length) + "\r\n\n";
}

bool ParseTokenAnswer(const std::string& text, TokenAnswer* answer) {
  Json::CharReaderBuilder builder;
  builder["allowComments"] = true;
  builder["collectComments"] = false;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return false;
  if (!root.isObject()) return false;
  auto member = [&root](const char* name) {
    const Json::Value& v = root[name];
    return v.isString() ? v.asString() : std::string();
  };
  answer->access_token = member("accesstoken");
  answer->web_identifier = member("webidentifier");
  return true;
}

void ApplyTokenAnswer(const TokenAnswer& answer, LaunchRecord* record) {
  SetPair(record->first_gamestring, "P4", answer.access_token, "");
  SetPair(record->first_gamestring, "P8", answer.web_identifier, "");
  record->second_gamestring = record->first_gamestring;
}

}  // namespace ld
