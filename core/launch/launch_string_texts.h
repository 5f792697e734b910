// Texts the starter shows and reports when the launch string cannot be
// obtained or is rejected: the connection failure detail, the status text,
// the time texts and the kind-mode diagnostic. Pure; strings loaded from the
// string table are passed in by the caller; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/time_value.h"

namespace ld {

// Name of a WinINet error the gamestring request reports by name:
// 12002 "INTERNET_TIMEOUT", 12007 "INTERNET_NAME_NOT_RESOLVED", 12029
// "INTERNET_CANNOT_CONNECT", 12031 "INTERNET_CONNECTION_RESET", 12152
// "HTTP_INVALID_SERVER_RESPONSE"; null for any other.
const char* ConnectionFailureName(std::uint32_t error);

// "<name>_<extended>" for a named error, "<error>_<extended>" otherwise.
std::string OpenFailureDetail(std::uint32_t error, int extended);

// String 165 ("...(Code:%u)\n%s") filled with the status and string 166.
// Only the first "%u" (or "%d", as some tables spell it) and the first "%s"
// are filled; other conversions in a translated text show as they stand.
std::string StatusFailureText(const std::string& format, unsigned status,
                              const std::string& server_label);

// "UTC: <time>\nLocal: <time>", each time as the timestamp text.
std::string TimeText(const BrokenDownTime& utc, const BrokenDownTime& local,
                     bool with_milliseconds);

// "\n( gamestring time : <decoded shutdown value> )", or "" when the first
// gamestring has no (or an empty) "shutdown" parameter.
std::string GamestringTimeText(std::string_view first_gamestring);

// Text of the expired-gamestring box: string 168 (cut to 511 bytes), "\n",
// the time text without milliseconds and the gamestring time text.
std::string ExpiredGamestringText(std::string message, const BrokenDownTime& utc,
                                  const BrokenDownTime& local, std::string_view first_gamestring);

// Kind-mode diagnostic after a rejected launch string: the command-line copy,
// the first and the second gamestring with their lengths, then the time text
// with milliseconds and the gamestring time text.
std::string GamestringDiagnosticText(const std::string& command_copy, const std::string& first,
                                     const std::string& second, const BrokenDownTime& utc,
                                     const BrokenDownTime& local);

}  // namespace ld
