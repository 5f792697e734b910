// Rules of the token refresh (new format): the form body, the header block,
// the empty-value check and what the JSON answer does to the launch string.
// Pure; the caller owns every string; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/launch/launch_record.h"

namespace ld {

// Capacities the servers were built around; a longer text is refused rather
// than cut, since a cut token or body would be sent as if it were whole.
inline constexpr std::size_t kEscapedTokenLimit = 511;
inline constexpr std::size_t kTokenBodyLimit = 2047;
inline constexpr std::size_t kTokenHeaderLimit = 255;

// ASCII letters and digits stay, a space becomes "+", every other byte "%XX"
// (upper-case hex). False (*out untouched) when the result would exceed
// kEscapedTokenLimit bytes.
bool EscapeAccessToken(std::string_view token, std::string* out);

// "memberno=<p0>&gameid=<p1>&accesstoken=<escaped p4>&webidentifier=<p8>";
// only the token is escaped. False when the token or the body is too long.
bool TokenRefreshBody(const std::string& p0, const std::string& p1, const std::string& p4,
                      const std::string& p8, std::string* body);

// The first empty value, as the message the report carries: P1 "GameId is
// NullOrEmpty", P0 "MemberNo is NullOrEmpty", P4 "KRT AccessToken is
// NullOrEmpty", P8 "Web Cookie is NullOrEmpty"; "" when none is empty.
std::string TokenRefreshCheck(const std::string& p0, const std::string& p1, const std::string& p4,
                              const std::string& p8);

// The header block: Accept, User-Agent, Content-type and Content-length lines,
// the last one ended by "\r\n\n" as the servers have always received it.
std::string TokenRefreshHeaders(std::size_t body_length);

struct TokenAnswer {
  std::string access_token;    // "accesstoken", empty when missing
  std::string web_identifier;  // "webidentifier", empty when missing
};

// Parses the answer as JSON (comments allowed). False when it is not JSON or
// not an object; a member that is missing or not a string reads as empty.
bool ParseTokenAnswer(const std::string& text, TokenAnswer* answer);

// Sets "P4" and then "P8" on the first gamestring (empty anchor, so a missing
// pair lands right behind the "P=" marker) and makes the second gamestring a
// copy of the first.
void ApplyTokenAnswer(const TokenAnswer& answer, LaunchRecord* record);

}  // namespace ld
