// Member-id scrambling of the portal. Old-format launch strings may carry the
// member id scrambled as hex text; the step log reports it in plain form. The
// portal owns the scheme: the starter only reverses it, and ldtool applies it
// to make test ids. Pure functions, callable from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ld {

// The 64 key words shared with the portal's scrambler. Only their low 8 bits
// take part. A deployment setting: core/launch/member_id_table.cpp holds the
// compiled-in table, and a build for another portal replaces that file.
const std::array<uint32_t, 64>& MemberIdTable();

// Reverses the scrambling. `hex` is 2N data digits followed by a two-digit
// check byte, upper or lower case. Returns the N plain bytes, cut at the
// first NUL byte. Returns "" for empty or odd-length input, for input with a
// character that is no hex digit (a plain id, e.g. Korean letters), and when
// the check byte is not the sum of the N data bytes modulo 256.
std::string UnscrambleMemberId(std::string_view hex);

// The portal's direction: upper-case hex of the scrambled bytes plus the check
// byte, so that UnscrambleMemberId(ScrambleMemberId(s)) == s for any s
// without NUL bytes. "" for empty input.
std::string ScrambleMemberId(std::string_view plain);

}  // namespace ld
