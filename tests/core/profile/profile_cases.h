// Profile files with the corners where INI readers differ, and the answers
// the system's profile functions give for them. The portable reader's test
// checks these answers natively; the Windows test runs the system functions
// and the portable reader over the same files and demands that both give
// them.
#pragma once

#include <string>
#include <vector>

#include "core/profile/profile_reader.h"

namespace ld::test {

struct ProfileQuery {
  char kind;  // 's' string, 'i' number, 'l' the section's lines joined with "|"
  std::string section, key, def, expect;
  std::size_t size;  // 's': the buffer size
};

struct ProfileCase {
  const char* name;
  bool exists;  // false: the file is missing
  std::string text;
  std::vector<ProfileQuery> queries;
};

inline ProfileQuery S(const std::string& section, const std::string& key, const std::string& def,
                      const std::string& expect, std::size_t size = kProfileValueBufferSize) {
  return {'s', section, key, def, expect, size};
}
inline ProfileQuery I(const std::string& section, const std::string& key, int def, int expect) {
  return {'i', section, key, std::to_string(def), std::to_string(expect), 0};
}
inline ProfileQuery L(const std::string& section, const std::string& expect) {
  return {'l', section, "", "", expect, 0};
}
inline ProfileCase C(const char* name, const std::string& text, std::vector<ProfileQuery> q) {
  return {name, true, text, q};
}

// 600 game ids, each after `separator`: longer than the system's first
// section buffer.
inline std::string LongIds(const std::string& separator) {
  std::string text;
  for (int i = 1000; i < 1600; ++i) text += separator + "game" + std::to_string(i);
  return text;
}

inline const std::vector<ProfileCase>& ProfileCases() {
  static const std::vector<ProfileCase> cases = {
      C("case and duplicates", "[Games]\r\nTabla=1\r\nTABLA=2\r\n[GAMES]\r\ntabla=3\r\nOther=4\r\n",
        {S("gAmEs", "tabla", "d", "1"), S("GAMES", "other", "d", "d"),
         L("games", "Tabla=1|TABLA=2")}),
      C("whitespace",
        " \t[ Spaced ]\t\r\n\t key one \t=\t v  w \t\r\n k2=  \r\n\x1a k3 = v\x1a\r\n\t\r\n",
        {S(" Spaced ", "\tkey one ", "d", "v  w"), S("spaced", "key  one", "d", "d"),
         L("Spaced", "key one=v  w|k2=|k3=v")}),
      C("quotes", "[Q]\nq1=\"quoted\"\nq2='single'\nq3=\"mismatch'\nq7=\"a\"b\"\nqi=\"42\"\n",
        {S("Q", "q1", "d", "quoted"), S("Q", "q2", "d", "single"), S("Q", "q3", "d", "\"mismatch'"),
         S("Q", "q7", "d", "a\"b"), S("Q", "q1", "d", "quot", 5), S("Q", "q1", "d", "quoted", 8),
         I("Q", "qi", -1, 42)}),
      C("defaults", "[S]\nbare\nk=v\n",
        {S("S", "nokey", "dflt   ", "dflt"), S("S", "nokey", "\"qd\"  ", "qd"),
         S("S", "bare", "d", "d"), I("S", "bare", 7, 7), L("S", "bare|k=v")}),
      C("long values",
        "[L]\nlong=" + std::string(3000, 'v') + "\nshort=ab\n[unity_games]" + LongIds("\r\n"),
        {S("L", "long", "d", std::string(1022, 'v')), S("L", "short", "d", "", 1),
         S("L", "short", "d", "a", 2), L("unity_games", LongIds("|").substr(1))}),
      C("empty values and comments",
        "[E]\nk=\nk2 =\n=v\n=v2\nk3=x\n=v3\n[C]\n;k=c\nk=v ; not a comment\n#hash=1\n  ; x\n",
        {S("E", "k", "d", ""), S("E", "", "d", "v"), I("E", "k", 9, 9), S("C", ";k", "d", "c"),
         L("E", "k=|k2=|=v|k3=x|=v3"), L("C", "k=v ; not a comment|#hash=1")}),
      C("integers",
        "[N]\ni1=  42abc\ni2=-0x1F\ni4=99999999999999999999999999999999999999\n"
        "i5= 0b101\ni6=0o17\ni7=010\ni8=  -  3\ni9=0X1F\ni10=2147483648\n",
        {I("N", "i1", -9, 42), I("N", "i2", -9, -31), I("N", "i4", -9, -1610612737),
         I("N", "i5", -9, 5), I("N", "i6", -9, 15), I("N", "i7", -9, 10), I("N", "i8", -9, 0),
         I("N", "i9", -9, 0), I("N", "i10", -9, -2147483647 - 1)}),
      C("headers", "pre=1\n[x]y] junk\nkx=2\n[nobracket\nkn=3\n[]\ne=4\n[D]x=5\n",
        {S("", "pre", "d", "1"), S("x]y", "kn", "d", "3"), S("", "e", "d", "d"),
         S("D", "x", "d", "d"), L("x]y", "kx=2|[nobracket|kn=3")}),
      C("byte order mark", "\xEF\xBB\xBF[First]\r\nk=bom\r\n", {S("First", "k", "d", "bom")}),
      C("line endings", "[M]\rk=mac\r[U]\nk=unix\rstill=2\n[W]\r\nw=3",
        {S("M", "k", "d", "mac"), S("U", "still", "d", "2"), S("W", "w", "d", "3")}),
      {"missing file", false, "", {S("A", "k", "dflt", "dflt"), I("A", "k", 12, 12), L("A", "")}},
  };
  return cases;
}

// The reader's answer to one query, the recorded answer, and a label for
// failure messages, shared by the portable and the Windows tests.
inline std::string Answer(const ProfileReader& reader, const ProfileQuery& q) {
  if (q.kind == 's') return reader.GetString(q.section, q.key, q.def, q.size);
  if (q.kind == 'i') return std::to_string(reader.GetInt(q.section, q.key, std::stoi(q.def)));
  std::string lines;
  for (const std::string& line : reader.GetSection(q.section)) lines += "|" + line;
  return lines.substr(lines.empty() ? 0 : 1);
}

inline std::string Expected(const ProfileQuery& q) { return q.expect; }

inline std::string Describe(const ProfileQuery& q) {
  return q.kind + (" [" + q.section + "] '" + q.key + "' def '" + q.def + "'");
}

}  // namespace ld::test
