#include "core/launch/launch_record.h"

#include <cstdlib>
#include <new>

#include "core/base/ascii.h"
#include "core/launch/gamestring.h"

namespace ld {
namespace {

constexpr std::string_view kChannel = "channel://";
constexpr std::string_view kMetp = "metp://";
// Compiled to code page 949 in Windows builds.
constexpr char kPortalKoreanName[] = "루도리아";

void WriteIfNotEmpty(std::string& field, std::string value) {
  if (!value.empty()) field = std::move(value);
}

// The decimal real the way C's atof reads a leading number; 0 without one.
double LeadingReal(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// Fields shared by both formats, read from text into a scratch record.
void ReadCommonFields(std::string_view text, LaunchRecord& r) {
  const std::string version = AnalysisValue(text, "k91e:");
  if (!version.empty()) r.version = LeadingReal(version);
  WriteIfNotEmpty(r.executor, AnalysisValue(text, "executor"));
}

// Publishes a finished analysis into target and flags. The flags copy, the
// only step that can throw, comes first; the swap and move after it cannot,
// so both are committed together or not at all.
void CommitAnalysis(LaunchRecord& analysed, const std::string& game_id, ProgramFlags& flags,
                    LaunchRecord& target) {
  std::string current = flags.current_game_id;
  WriteIfNotEmpty(current, game_id);
  flags.current_game_id.swap(current);
  target = std::move(analysed);
}

// Hands the failure word (empty on success) to a caller that asked for it.
bool Outcome(bool ok, const std::string& word, std::string* failure_word) {
  if (failure_word) *failure_word = ok ? std::string() : word;
  return ok;
}

}  // namespace

void LaunchRecord::Reset() { *this = LaunchRecord(); }

void LaunchRecord::CopyGameId(std::string_view id) {
  game_id.assign(id.substr(0, kGameIdCapacity));
}

void LaunchRecord::CopyMemberId(std::string_view id) {
  member_id.assign(id.substr(0, kMemberIdCapacity));
}

bool LaunchRecord::AnalyseOldFormat(ProgramFlags& flags, std::string* failure_word) {
  std::string word;
  bool ok = false;
  try {
    // Work on a copy so a failure half way leaves the record as it was.
    LaunchRecord r = *this;
    std::string_view text = second_gamestring;
    const std::size_t behind_prefix = SkipPrefix(text, kAddressPrefix);
    if (behind_prefix != std::string_view::npos) text.remove_prefix(behind_prefix);

    const std::size_t channel = text.find(kChannel);
    const std::size_t metp =
        channel == std::string_view::npos ? channel : text.find(kMetp, channel + kChannel.size());
    std::size_t cursor = metp == std::string_view::npos ? metp : metp + kMetp.size();
    for (int slash = 0; slash < 3 && cursor != std::string_view::npos; ++slash) {
      cursor = text.find('/', cursor);
      if (cursor != std::string_view::npos) ++cursor;
    }
    const std::size_t semicolon =
        cursor == std::string_view::npos ? cursor : text.find(';', cursor);

    if (channel == std::string_view::npos) {
      word.clear();  // no channel: the server's answer has expired
    } else if (channel > kGameIdCapacity) {
      word = "gameid";
    } else if (metp == std::string_view::npos) {
      word = "metp";
    } else if (cursor == std::string_view::npos) {
      word = "slash";
    } else if (semicolon == std::string_view::npos) {
      word = "semicolon";
    } else {
      const std::string game_id(text.substr(0, channel));
      const std::string_view fields = text.substr(semicolon + 1);
      WriteIfNotEmpty(r.game_id, game_id);
      WriteIfNotEmpty(r.game_title, AnalysisValue(fields, "k93e:"));
      WriteIfNotEmpty(r.download_root, AnalysisValue(fields, "k89e:"));
      WriteIfNotEmpty(r.home_address, AnalysisValue(fields, "k95e:"));
      WriteIfNotEmpty(r.hul_root, AnalysisValue(fields, "k96e:"));
      WriteIfNotEmpty(r.game_code, AnalysisValue(fields, "k60e:"));
      const std::string member = AnalysisValue(fields, "k3e");
      if (!member.empty()) r.CopyMemberId(member);
      WriteIfNotEmpty(r.identifier, AnalysisValue(fields, "k301e"));
      ReadCommonFields(fields, r);
      CommitAnalysis(r, game_id, flags, *this);
      ok = true;
    }
  } catch (const std::bad_alloc&) {
    word = "alloc";
  }
  return Outcome(ok, word, failure_word);
}

bool LaunchRecord::AnalyseNewFormat(const NewFormatSources& sources, ProgramFlags& flags,
                                    std::string* failure_word) {
  std::string word;
  bool ok = false;
  try {
    LaunchRecord r = *this;
    const std::string_view text = second_gamestring;
    const std::string name = NamedParameter(text, "P1");
    if (name.size() > kGameIdCapacity) {
      word = "gameid";
    } else {
      const std::string game_id = AsciiLowered(name);
      WriteIfNotEmpty(r.game_id, game_id);
      WriteIfNotEmpty(r.game_code, name);
      r.game_title = kPortalKoreanName;
      if (!sources.download_root.empty()) {
        r.download_root = sources.download_root + "/dist";
        r.hul_root = sources.download_root + "/hul";
      }
      WriteIfNotEmpty(r.home_address, sources.home_address);
      const std::string member = NamedParameter(text, "P0");
      if (!member.empty()) r.CopyMemberId(member);
      std::string raw;
      if (PairValue(text, "P8=", &raw)) WriteIfNotEmpty(r.identifier, raw);
      WriteIfNotEmpty(r.identifier, AnalysisValue(text, "k301e"));
      for (auto [pair, field] :
           {std::pair{"P0=", &r.p0}, {"P1=", &r.p1}, {"P4=", &r.p4}, {"P8=", &r.p8}}) {
        raw.clear();
        if (PairValue(text, pair, &raw)) WriteIfNotEmpty(*field, raw);
      }
      ReadCommonFields(text, r);
      CommitAnalysis(r, game_id, flags, *this);
      ok = true;
    }
  } catch (const std::bad_alloc&) {
    word = "alloc";
  }
  return Outcome(ok, word, failure_word);
}

}  // namespace ld
