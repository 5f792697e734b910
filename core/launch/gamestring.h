// Getters of the launch string (the "gamestring"): pure functions over byte
// strings in the ANSI code page. Nothing is escaped or unescaped; values are
// taken byte for byte. All of them may be called from any thread on strings
// the caller owns, and none fails: a missing key gives an empty or zero result.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ld {

// Which grammar the run uses; decided once at start from the whole command
// line and passed explicitly to every getter that has a format branch.
enum class GamestringFormat { kOld, kNew };

inline constexpr std::string_view kAddressPrefix = "ludoria://";
inline constexpr std::string_view kNewFormatMarker = "ludoria://P=&";

// Keys whose pairs the gamestring request moves out of the server address
// into the second gamestring as length-prefixed fields, in this order.
inline constexpr std::array<std::string_view, 12> kMovedKeys = {
    "k22e", "k3e", "fc", "sx", "ag", "k300e", "rdm", "enc", "p139", "kpw", "gtype", "clk2"};

// kNew when command_line contains "ludoria://P=&" anywhere (case-sensitive).
GamestringFormat FormatOfCommandLine(std::string_view command_line);

// Position just behind the first occurrence of marker anywhere in text, or
// std::string_view::npos when marker does not occur.
std::size_t SkipPrefix(std::string_view text, std::string_view marker);

// Looks up the first occurrence of pair_text ("key=", with its "="); it may
// start inside a longer key. Returns pair_text's length when found, else 0.
// When found and value is not null, *value receives the bytes up to the next
// "&" (or the end); when not found *value is left alone.
std::size_t PairValue(std::string_view text, std::string_view pair_text,
                      std::string* value = nullptr);

// Value read the way the record analysis reads channel fields: from the
// first occurrence of key (e.g. "k93e:") to the first "=" behind it, then up
// to the next "&" or the end. Length prefixes are ignored, so a value holding
// "&" is cut there. Empty when missing.
std::string AnalysisValue(std::string_view text, std::string_view key);

// Base64-decoded value of the first "name=" found ignoring ASCII case (may lie
// inside a longer key). Empty when missing; *found (if given) tells whether
// the name was there, which matters for an empty value.
std::string NamedParameter(std::string_view text, std::string_view name, bool* found = nullptr);

// True when text contains key + "=" anywhere; with an empty key, when text
// contains "=" at all.
bool HasPair(std::string_view key, std::string_view text);

// Zone code byte: new format from P2 (number & 0xF00: 0x100 -> '3',
// 0x400 -> '1'); old format the byte behind the first "&p189=". 0 when none.
char ZoneCode(std::string_view text, GamestringFormat format);

// Game id of a first gamestring: new format P1 (decoded), old format the value
// of "k22e=". No case conversion. Empty when missing.
std::string GameIdOfGamestring(std::string_view text, GamestringFormat format);

// Leading decimal integer the way C's atoi reads it (white space, optional
// sign, digits); 0 without digits; clamped to the 32-bit range instead of
// overflowing.
int LeadingInt(std::string_view text);

}  // namespace ld
