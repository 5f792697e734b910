// Profile files with the corners where INI readers differ, and the answers
// the system's profile functions give for them. The portable reader's test
// checks these answers natively; the Windows test runs the system functions
// and the portable reader over the same files and demands that both give
// them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/profile/profile_reader.h"

namespace ld::test {

struct ProfileQuery {
  enum Kind { kString, kInt, kSection } kind;
  std::string section;
  std::string key;
  std::string def;     // kString
  std::size_t size;    // kString buffer size
  int def_int;         // kInt
  std::string expect;  // kString value; kSection lines joined with "|"
  int expect_int;      // kInt
};

struct ProfileCase {
  const char* name;
  bool exists;  // false: the file is missing
  std::string text;
  std::vector<ProfileQuery> queries;
};

inline ProfileQuery S(const std::string& section, const std::string& key, const std::string& def,
                      const std::string& expect, std::size_t size = kProfileValueBufferSize) {
  return {ProfileQuery::kString, section, key, def, size, 0, expect, 0};
}
inline ProfileQuery I(const std::string& section, const std::string& key, int def, int expect) {
  return {ProfileQuery::kInt, section, key, "", 0, def, "", expect};
}
inline ProfileQuery L(const std::string& section, const std::string& expect) {
  return {ProfileQuery::kSection, section, "", "", 0, 0, expect, 0};
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "|" : "") + lines[i];
  return out;
}

inline std::string LongIdSection(int count) {
  std::string text = "[unity_games]\r\n";
  for (int i = 0; i < count; ++i) text += "game" + std::to_string(1000 + i) + "\r\n";
  return text;
}

inline std::string LongIdLines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("game" + std::to_string(1000 + i));
  return JoinLines(lines);
}

inline const std::vector<ProfileCase>& ProfileCases() {
  static const std::string kLong(3000, 'v');
  static const std::vector<ProfileCase> cases = {
      {"case",
       true,
       "[Games]\r\nTabla=1\r\n[GAMES]\r\ntabla=2\r\nOther=3\r\n",
       {S("Games", "Tabla", "d", "1"), S("gAmEs", "TABLA", "d", "1"), S("GAMES", "other", "d", "d"),
        L("games", "Tabla=1")}},
      {"duplicates",
       true,
       "[A]\nk=first\nK=second\nk=third\n[B]\nk=b\n[a]\nk=again\nonly=dup\n",
       {S("A", "k", "d", "first"), S("a", "only", "d", "d"), S("B", "K", "d", "b"),
        L("a", "k=first|K=second|k=third")}},
      {"whitespace",
       true,
       " \t[ Spaced Section ]\t\r\n\t key one \t=\t value  with  inner \t\r\n"
       " k2=   \r\n\x1a k3 = v\x1a\r\n  \r\n\t\r\n",
       {S("Spaced Section", "key one", "d", "value  with  inner"),
        S(" Spaced Section ", "\tkey one ", "d", "value  with  inner"),
        S("spaced section", "key  one", "d", "d"), S("Spaced Section", "k2", "d", ""),
        S("Spaced Section", "k3", "d", "v"),
        L("Spaced Section", "key one=value  with  inner|k2=|k3=v"), L(" Spaced Section ", "")}},
      {"quotes",
       true,
       "[Q]\nq1=\"quoted\"\nq2='single'\nq3=\"mismatch'\nq4=\"\nq5=\"\"\nq6=\" padded \"\n"
       "q7=\"a\"b\"\nq8=x\"y\"\nqi=\"42\"\n",
       {S("Q", "q1", "d", "quoted"), S("Q", "q2", "d", "single"), S("Q", "q3", "d", "\"mismatch'"),
        S("Q", "q4", "d", "\""), S("Q", "q5", "d", ""), S("Q", "q6", "d", " padded "),
        S("Q", "q7", "d", "a\"b"), S("Q", "q8", "d", "x\"y\""), S("Q", "q1", "d", "quot", 5),
        S("Q", "q1", "d", "quoted", 9), S("Q", "q1", "d", "quoted", 8), I("Q", "qi", -1, 42),
        L("Q",
          "q1=\"quoted\"|q2='single'|q3=\"mismatch'|q4=\"|q5=\"\"|q6=\" padded \"|q7=\"a\"b\"|"
          "q8=x\"y\"|qi=\"42\"")}},
      {"defaults",
       true,
       "[S]\nbare\nk=v\n",
       {S("S", "nokey", "dflt   ", "dflt"), S("S", "nokey", "  lead", "  lead"),
        S("S", "nokey", "\"qd\"", "qd"), S("S", "nokey", "\"qd\"  ", "qd"), S("S", "nokey", "", ""),
        S("S", "nokey", "tab\t", "tab\t"), S("S", "bare", "d", "d"), S("nosection", "k", "d", "d"),
        I("S", "nokey", -5, -5), I("S", "bare", 7, 7), L("S", "bare|k=v"), L("nosection", "")}},
      {"long values",
       true,
       "[L]\nlong=" + kLong + "\nshort=ab\n" + LongIdSection(600),
       {S("L", "long", "d", kLong.substr(0, 1022)), S("L", "long", "d", kLong.substr(0, 99), 100),
        S("L", "short", "d", "", 1), S("L", "short", "d", "a", 2), S("L", "short", "d", "ab", 3),
        L("unity_games", LongIdLines(600))}},
      {"empty values",
       true,
       "[E]\nk=\nk2 =\n=v\n=v2\nk3=x\n=v3\n[F]\n=f\n",
       {S("E", "k", "d", ""), S("E", "k2", "d", ""), S("E", "", "d", "v"), S("F", "", "d", "f"),
        I("E", "k", 9, 9), L("E", "k=|k2=|=v|k3=x|=v3"), L("F", "=f")}},
      {"comments",
       true,
       ";leading comment\n[C]\n;comment\n;k=c\nk=v ; not a comment\n#hash=1\n  ; indented\n",
       {S("C", "k", "d", "v ; not a comment"), S("C", ";k", "d", "c"), S("C", "#hash", "d", "1"),
        L("C", "k=v ; not a comment|#hash=1")}},
      {"integers",
       true,
       "[N]\ni1=  42abc\ni2=-7\ni3=0x1F\ni4=abc\ni5=\ni6=4294967297\ni7=+5\ni8= 0b101\n"
       "i9=0o17\ni10=010\ni11=99999999999999999999999999999999999999\ni12=-0x10\n"
       "i13=  -  3\ni14=0X1F\ni15=-\ni16=2147483648\ni17=4294967295\ni18=0b102\ni19=\"\"\n"
       "i20=0x\n",
       {I("N", "i1", -99, 42),
        I("N", "i2", -99, -7),
        I("N", "i3", -99, 31),
        I("N", "i4", -99, 0),
        I("N", "i5", -99, -99),
        I("N", "i6", -99, 1),
        I("N", "i7", -99, 5),
        I("N", "i8", -99, 5),
        I("N", "i9", -99, 15),
        I("N", "i10", -99, 10),
        I("N", "i11", -99, -1610612737),
        I("N", "i12", -99, -16),
        I("N", "i13", -99, 0),
        I("N", "i14", -99, 0),
        I("N", "i15", -99, 0),
        I("N", "i16", -99, -2147483647 - 1),
        I("N", "i17", -99, -1),
        I("N", "i18", -99, 2),
        I("N", "i19", -99, -99),
        I("N", "i20", -99, 0),
        I("N", "missing", 3, 3),
        I("nosection", "i2", 4, 4)}},
      {"headers",
       true,
       "pre=1\n[x]y] junk\nkx=2\n[nobracket\nkn=3\n[C] ; trailing\nc=1\n[]\ne=4\n[D]x=5\n",
       {S("", "pre", "d", "1"), S("x]y", "kx", "d", "2"), S("x]y", "[nobracket", "d", "d"),
        S("x]y", "kn", "d", "3"), S("C", "c", "d", "1"), S("", "e", "d", "d"),
        S("D", "x", "d", "d"), L("", "pre=1"), L("x]y", "kx=2|[nobracket|kn=3")}},
      {"byte order mark", true, "\xEF\xBB\xBF[First]\r\nk=bom\r\n", {S("First", "k", "d", "bom")}},
      {"line endings",
       true,
       "[M]\rk=mac\r[N]\rn=1\r[U]\nk=unix\rstill=2\n[W]\r\nw=3",
       {S("M", "k", "d", "mac"), S("N", "n", "d", "1"), S("U", "k", "d", "unix"),
        S("U", "still", "d", "2"), S("W", "w", "d", "3")}},
      {"word lists",
       true,
       "[unity_games]\ntabla, deeprun\nTABLA=1\n  solo  \n[no_base2005]\n",
       {L("unity_games", "tabla, deeprun|TABLA=1|solo"), L("no_base2005", ""),
        S("unity_games", "tabla, deeprun", "d", "d"), S("unity_games", "TABLA", "d", "1")}},
      {"missing file", false, "", {S("A", "k", "dflt", "dflt"), I("A", "k", 12, 12), L("A", "")}},
  };
  return cases;
}

// The reader's answer to one query, the recorded answer, and a label for
// failure messages, shared by the portable and the Windows tests.
inline std::string Answer(const ProfileReader& reader, const ProfileQuery& q) {
  switch (q.kind) {
    case ProfileQuery::kString:
      return reader.GetString(q.section, q.key, q.def, q.size);
    case ProfileQuery::kInt:
      return std::to_string(reader.GetInt(q.section, q.key, q.def_int));
    case ProfileQuery::kSection:
      return JoinLines(reader.GetSection(q.section));
  }
  return std::string();
}

inline std::string Expected(const ProfileQuery& q) {
  return q.kind == ProfileQuery::kInt ? std::to_string(q.expect_int) : q.expect;
}

inline std::string Describe(const ProfileQuery& q) {
  static const char* kinds[] = {"string", "int", "section"};
  return std::string(kinds[q.kind]) + " [" + q.section + "] '" + q.key + "' def '" + q.def +
         "' size " + std::to_string(q.size);
}

}  // namespace ld::test
