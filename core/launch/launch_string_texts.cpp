#include "core/launch/launch_string_texts.h"

#include "core/launch/gamestring.h"
#include "core/base/timestamp_text.h"

namespace ld {

const char* ConnectionFailureName(std::uint32_t error) {
  switch (error) {
    case 12002:
      return "INTERNET_TIMEOUT";
    case 12007:
      return "INTERNET_NAME_NOT_RESOLVED";
    case 12029:
      return "INTERNET_CANNOT_CONNECT";
    case 12031:
      return "INTERNET_CONNECTION_RESET";
    case 12152:
      return "HTTP_INVALID_SERVER_RESPONSE";
    default:
      return nullptr;
  }
}

std::string OpenFailureDetail(std::uint32_t error, int extended) {
  const char* name = ConnectionFailureName(error);
  return (name ? std::string(name) : std::to_string(error)) + "_" + std::to_string(extended);
}

std::string StatusFailureText(const std::string& format, unsigned status,
                              const std::string& server_label) {
  std::string text = format;
  std::size_t number = text.find("%u");
  const std::size_t signed_number = text.find("%d");
  if (signed_number < number) number = signed_number;
  if (number != std::string::npos) text.replace(number, 2, std::to_string(status));
  const std::size_t label = text.find("%s");
  if (label != std::string::npos) text.replace(label, 2, server_label);
  return text;
}

std::string TimeText(const BrokenDownTime& utc, const BrokenDownTime& local,
                     bool with_milliseconds) {
  return TimestampText(utc, "UTC", with_milliseconds) + "\n" +
         TimestampText(local, "Local", with_milliseconds);
}

std::string GamestringTimeText(std::string_view first_gamestring) {
  const std::string value = NamedParameter(first_gamestring, "shutdown");
  if (value.empty()) return std::string();
  return "\n( gamestring time : " + value + " )";
}

std::string ExpiredGamestringText(std::string message, const BrokenDownTime& utc,
                                  const BrokenDownTime& local, std::string_view first_gamestring) {
  if (message.size() > 511) message.resize(511);
  return message + "\n" + TimeText(utc, local, false) + GamestringTimeText(first_gamestring);
}

std::string GamestringDiagnosticText(const std::string& command_copy, const std::string& first,
                                     const std::string& second, const BrokenDownTime& utc,
                                     const BrokenDownTime& local) {
  return "[1st gamestring] (" + std::to_string(command_copy.size()) + ")\n\"" + command_copy +
         "\"\n[1st gamestring modified] (" + std::to_string(first.size()) + ")\n\"" + first +
         "\"\n[2nd gamestring] (" + std::to_string(second.size()) + ")\n\"" + second +
         "\"\n[Time]\n" + TimeText(utc, local, true) + GamestringTimeText(first);
}

}  // namespace ld
