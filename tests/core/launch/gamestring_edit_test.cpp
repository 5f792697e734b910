#include "core/launch/gamestring_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace ld {
namespace {

TEST(GamestringEdit, SetAndRemovePairs) {
  // {text, key, value, anchor, result, text after}
  const std::tuple<const char*, const char*, const char*, const char*, SetPairResult, const char*>
      cases[] = {
          // Replaced: start, middle, end, followed by a blank.
          {"zz=1&P0=a", "zz", "2", "", SetPairResult::kReplaced, "zz=2&P0=a"},
          {"ludoria://P=&P0=a&zz=1&P1=b", "zz", "2", "", SetPairResult::kReplaced,
           "ludoria://P=&P0=a&zz=2&P1=b"},
          {"u?a=1&zz=1 tail", "zz", "2", "", SetPairResult::kReplaced, "u?a=1&zz=2 tail"},
          {"u?zz=1&zz=5", "zz", "2", "", SetPairResult::kReplaced, "u?zz=2&zz=5"},  // first only
          // Another key that starts with the same letters is not the key.
          {"u?zz1=0&zz=5", "zz", "2", "", SetPairResult::kReplaced, "u?zz1=0&zz=2"},
          // Inserted behind the anchor's pair, or behind the P marker.
          {"ludoria://P=&P0=a", "zz", "2", "", SetPairResult::kInserted, "ludoria://P=&zz=2&P0=a"},
          {"u?k22e=G&k3e=m", "k300e", "T", "k22e", SetPairResult::kInserted,
           "u?k22e=G&k300e=T&k3e=m"},
          {"u?a=1&k22e=G", "k300e", "T", "k22e", SetPairResult::kInserted, "u?a=1&k22e=G&k300e=T"},
          {"u?a=1", "zz", "2", "", SetPairResult::kInserted, "u?a=1&zz=2"},
          // Appended when neither key nor anchor is there.
          {"", "zz", "2", "", SetPairResult::kAppended, "zz=2"},
          {"u?a=1", "zz", "2", "k22e", SetPairResult::kAppended, "u?a=1&zz=2"},
          {"plain", "zz", "2", "", SetPairResult::kAppended, "plain&zz=2"},
          // Values are inserted byte for byte.
          {"", "zz", "a&b=c", "", SetPairResult::kAppended, "zz=a&b=c"},
      };
  for (const auto& [before, key, value, anchor, result, after] : cases) {
    std::string text = before;
    EXPECT_EQ(SetPair(text, key, value, anchor), result) << before;
    EXPECT_EQ(text, after) << before;
  }

  // {text, pair, removed, text after}
  const std::tuple<const char*, const char*, bool, const char*> removals[] = {
      {"u?k22e=X", "k22e", true, "u?"},                         // the "?" stays
      {"u?a=1&k22e=X", "k22e", true, "u?a=1"},                  // last: the "&" before it goes
      {"u?k22e=X&a=1", "k22e", true, "u?a=1"},                  // first: the "&" behind it goes
      {"k22e=X&a=1", "k22e", true, "a=1"},                      // at the very start
      {"u?ak22e=1&k22e=2", "k22e", false, "u?ak22e=1&k22e=2"},  // later ones not tried
      {"u?k22e=X&k22e=Y", "k22e", true, "u?k22e=Y"},            // one at a time
      {"u?a=1&k22e", "k22e", true, "u?a=1"},                    // key without "="
      {"u?k3e=m&k300e=T", "k3e", true, "u?k300e=T"},
  };
  for (const auto& [before, pair, removed, after] : removals) {
    std::string text = before;
    EXPECT_EQ(RemovePair(text, pair), removed) << before;
    EXPECT_EQ(text, after) << before;
  }
}

}  // namespace
}  // namespace ld
