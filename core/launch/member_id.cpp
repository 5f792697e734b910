#include "core/launch/member_id.h"

namespace ld {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Callers have checked that every character is a hex digit.
uint8_t HexByte(std::string_view hex, std::size_t at) {
  return static_cast<uint8_t>(HexDigit(hex[at]) * 16 + HexDigit(hex[at + 1]));
}

// Byte i (counting from 1) is masked with word i mod 64 and with the number of
// data digits; both directions use the same mask.
uint8_t Mask(std::size_t i, std::size_t data_digits) {
  return static_cast<uint8_t>(MemberIdTable()[i % 64] ^ (data_digits & 0xFF));
}

}  // namespace

std::string UnscrambleMemberId(std::string_view hex) {
  if (hex.size() < 2 || hex.size() % 2 != 0) return std::string();
  // Text with other characters never came from the scrambler. Reading them
  // as 0 would let any plain id of non-hex letters pass the check (all zero
  // bytes sum to a zero check byte) and turn it into key bytes.
  for (char c : hex) {
    if (HexDigit(c) < 0) return std::string();
  }
  const std::size_t data_digits = hex.size() - 2;
  const std::size_t n = data_digits / 2;
  unsigned sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += HexByte(hex, 2 * i);
  if ((sum & 0xFF) != HexByte(hex, data_digits)) return std::string();

  std::string plain;
  plain.reserve(n);
  for (std::size_t i = 1; i <= n; ++i) {
    const char c = static_cast<char>(HexByte(hex, 2 * (i - 1)) ^ Mask(i, data_digits));
    if (c == '\0') break;  // the result is text
    plain.push_back(c);
  }
  return plain;
}

std::string ScrambleMemberId(std::string_view plain) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  if (plain.empty()) return std::string();
  const std::size_t data_digits = 2 * plain.size();
  std::string hex;
  hex.reserve(data_digits + 2);
  unsigned sum = 0;
  auto put = [&hex](uint8_t b) {
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0xF]);
  };
  for (std::size_t i = 1; i <= plain.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(plain[i - 1]) ^ Mask(i, data_digits);
    sum += b;
    put(b);
  }
  put(static_cast<uint8_t>(sum & 0xFF));
  return hex;
}

}  // namespace ld
