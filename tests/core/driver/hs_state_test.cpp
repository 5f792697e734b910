#include "core/driver/hs_state.h"

#include <map>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(HsStateTest, TransitionOfEveryStateAndEvent) {
  // {state, event} -> next state, written out independently of the
  // production table; every pair not listed has no transition.
  const std::map<std::pair<int, int>, int> kTransitions = {
      {{0, 0}, 1},    {{1, 1}, 2},    {{1, 2}, 17},   {{2, 3}, 3},    {{3, 4}, 4},
      {{3, 5}, 17},   {{4, 6}, 5},    {{5, 7}, 6},    {{5, 8}, 17},   {{6, 9}, 7},
      {{7, 10}, 8},   {{7, 11}, 17},  {{8, 12}, 9},   {{9, 13}, 10},  {{9, 17}, 12},
      {{9, 21}, 14},  {{10, 14}, 11}, {{11, 15}, 14}, {{11, 16}, 17}, {{11, 17}, 12},
      {{12, 18}, 13}, {{13, 19}, 14}, {{13, 20}, 17}, {{14, 22}, 15}, {{15, 23}, 16},
      {{15, 24}, 17},
  };
  for (int state :
       {-100, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}) {
    for (int event = -1; event <= hs_event::kCount; ++event) {
      auto it = kTransitions.find({state, event});
      EXPECT_EQ(HsTransition(state, event),
                it == kTransitions.end() ? HS_STATE_INVALID : it->second)
          << "state " << state << " event " << event;
    }
  }
}

TEST(HsStateTest, Names) {
  EXPECT_STREQ(HsStateName(-1), "HS_STATE_INVALID");
  EXPECT_STREQ(HsStateName(0), "HS_STATE_INITIAL");
  EXPECT_STREQ(HsStateName(8), "HS_STATE_READY_TO_CHECK_HUL");
  EXPECT_STREQ(HsStateName(17), "HS_STATE_SERVICE_ERROR");
  for (int state : {-2, 18, 0x7FFFFFFF, -0x7FFFFFFF - 1})
    EXPECT_STREQ(HsStateName(state), "HS_STATE_INVALID") << state;
}

TEST(HsStateTest, MachineStartsInitialAndRecordsPrevious) {
  InstallStateMachine m;
  EXPECT_EQ(m.current(), 0);
  EXPECT_EQ(m.previous(), 0);
  // The path of a complete game: no install, no update.
  const int path[][2] = {{0, 1}, {1, 2},  {3, 3},  {4, 4},   {6, 5},   {7, 6},
                         {9, 7}, {10, 8}, {12, 9}, {21, 14}, {22, 15}, {23, 16}};
  int before = 0;
  for (const auto& step : path) {
    EXPECT_EQ(m.Apply(step[0]), step[1]) << "event " << step[0];
    EXPECT_EQ(m.current(), step[1]);
    EXPECT_EQ(m.previous(), before);
    before = step[1];
  }
}

TEST(HsStateTest, EventsOffThePathAndAfterTheEndChangeNothing) {
  InstallStateMachine m;
  EXPECT_EQ(m.Apply(1), -1);
  EXPECT_EQ(m.current(), 0);
  ASSERT_EQ(m.Apply(0), 1);
  EXPECT_EQ(m.Apply(16), -1);  // e.g. 16 before 11
  ASSERT_EQ(m.Apply(2), HS_STATE_SERVICE_ERROR);
  for (int event = 0; event < hs_event::kCount; ++event) EXPECT_EQ(m.Apply(event), -1);
  EXPECT_EQ(m.current(), HS_STATE_SERVICE_ERROR);
  EXPECT_EQ(m.previous(), HS_STATE_WAITING_FOR_SELF_UPDATE);
}

}  // namespace
}  // namespace ld
