// Base64 decoding of launch-string values and URL encoding of step-log
// values, each against its inverse.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <string>

#include "core/base/base64.h"
#include "core/base/url_encode.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0;
  int held = 0;
  for (unsigned char c : bytes) {
    bits = (bits << 8) | c;
    held += 8;
    while (held >= 6) out += kAlphabet[(bits >> (held -= 6)) & 63];
  }
  if (held > 0) out += kAlphabet[(bits << (6 - held)) & 63];
  while (out.size() % 4) out += '=';
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::size_t bound = input.ConsumeIntegralInRange<std::size_t>(0, 512);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string decoded = ld::Base64Decode(text);
  LD_FUZZ_CHECK(decoded.find('\0') == std::string::npos);
  LD_FUZZ_CHECK(decoded.size() <= text.size() * 3 / 4 + 1);
  const std::string plain = text.substr(0, text.find('\0'));
  LD_FUZZ_CHECK(ld::Base64Decode(Base64Encode(plain)) == plain);

  // Percent-decoding the encoded text gives the bytes back.
  const std::string encoded = ld::UrlEncode(text);
  std::string back;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '+') {
      back += ' ';
    } else if (c == '%') {
      LD_FUZZ_CHECK(i + 2 < encoded.size());
      const int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
      LD_FUZZ_CHECK(high >= 0 && low >= 0);
      back += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      LD_FUZZ_CHECK(std::isalnum(static_cast<unsigned char>(c)) || c == '@' || c == '.');
      back += c;
    }
  }
  LD_FUZZ_CHECK(back == text);

  std::string bounded = "untouched";
  const bool fits = ld::UrlEncodeBounded(text, bound, &bounded);
  LD_FUZZ_CHECK(fits == (encoded.size() <= bound));
  LD_FUZZ_CHECK(fits ? bounded == encoded : bounded == "untouched");
  return 0;
}
