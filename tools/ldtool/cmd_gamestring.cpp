// `ldtool gamestring dump` and `ldtool gamestring analyse`: show a launch
// string the way the starter's dump box shows it, and run the record's
// analysis on a gamestring server answer, so operators can check what the
// starter will make of a launch string without running it.
#include <cstdio>
#include <string>
#include <vector>

#include "core/launch/gamestring.h"
#include "core/launch/gamestring_dump.h"
#include "core/launch/launch_record.h"
#include "core/launch/program_flags.h"
#include "tools/ldtool/command.h"

namespace ld::tool {
namespace {

const char kDumpUsage[] =
    "usage: ldtool gamestring dump [--second] TEXT\n"
    "Prints the launch-string dump of TEXT exactly as the starter's dump box\n"
    "shows it: the title line, the text, its head, its key=value parts and any\n"
    "other parameters. --second reads TEXT as a second gamestring (the gamestring\n"
    "server's answer, length-prefixed fields). The new format applies when TEXT\n"
    "contains \"ludoria://P=&\".\n";

const char kAnalyseUsage[] =
    "usage: ldtool gamestring analyse TEXT\n"
    "Analyses TEXT as a second gamestring in the old (channel) format, as the\n"
    "starter does after the gamestring request. On success prints gameid=,\n"
    "title=, dist=, home=, hul=, name=, version=, memberid=, identifier= and\n"
    "executor= lines and exits 0; otherwise prints \"error: WORD\" (the failure\n"
    "word, empty for an answer without \"channel://\") and exits 1.\n";

// Splits args into options and exactly one TEXT ("--" ends the options, so a
// TEXT that starts with "-" can be given). Returns false with a message.
bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& known,
               std::vector<std::string>* options, std::string* text, std::string* message) {
  bool have_text = false;
  bool options_done = false;
  for (const std::string& a : args) {
    if (!options_done && a == "--") {
      options_done = true;
      continue;
    }
    if (!options_done && a.size() > 1 && a[0] == '-') {
      bool is_known = false;
      for (const std::string& k : known) is_known = is_known || a == k;
      if (!is_known) {
        *message = "unknown option '" + a + "'";
        return false;
      }
      options->push_back(a);
      continue;
    }
    if (have_text) {
      *message = "expected one TEXT, got more (quote the launch string)";
      return false;
    }
    *text = a;
    have_text = true;
  }
  if (!have_text) {
    *message = "missing TEXT";
    return false;
  }
  return true;
}

bool WantsHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--") return false;
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int RunDump(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::fputs(kDumpUsage, stdout);
    return kExitOk;
  }
  std::vector<std::string> options;
  std::string text;
  std::string message;
  if (!ParseArgs(args, {"--second"}, &options, &text, &message))
    return UsageError("gamestring dump: " + message);
  const bool second = !options.empty();
  const std::string dump = LaunchStringDumpText(text, second, FormatOfCommandLine(text));
  std::fwrite(dump.data(), 1, dump.size(), stdout);
  std::fputc('\n', stdout);
  return kExitOk;
}

int RunAnalyse(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::fputs(kAnalyseUsage, stdout);
    return kExitOk;
  }
  std::vector<std::string> options;
  std::string text;
  std::string message;
  if (!ParseArgs(args, {}, &options, &text, &message))
    return UsageError("gamestring analyse: " + message);
  LaunchRecord record;
  ProgramFlags flags;
  record.second_gamestring = text;
  std::string word;
  if (!record.AnalyseOldFormat(flags, &word)) {
    std::printf("error:%s%s\n", word.empty() ? "" : " ", word.c_str());
    return kExitFailure;
  }
  auto line = [](const char* name, const std::string& value) {
    std::printf("%s=", name);
    std::fwrite(value.data(), 1, value.size(), stdout);
    std::fputc('\n', stdout);
  };
  line("gameid", record.game_id);
  line("title", record.game_title);
  line("dist", record.download_root);
  line("home", record.home_address);
  line("hul", record.hul_root);
  line("name", record.game_code);
  std::printf("version=%.2f\n", record.version);
  line("memberid", record.member_id);
  line("identifier", record.identifier);
  line("executor", record.executor);
  return kExitOk;
}

}  // namespace

LD_TOOL_COMMAND(gamestring_dump, "gamestring dump", "show a launch string as the dump box does",
                RunDump);
LD_TOOL_COMMAND(gamestring_analyse, "gamestring analyse",
                "analyse a gamestring server answer (old format)", RunAnalyse);

}  // namespace ld::tool
