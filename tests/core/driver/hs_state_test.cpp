#include "core/driver/hs_state.h"

#include <climits>

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(HsState, TransitionsNamesAndMachine) {
  // {state, event, next state}, written out apart from the production table;
  // every other pair has no transition.
  const int kTransitions[][3] = {
      {0, 0, 1},    {1, 1, 2},    {1, 2, 17},   {2, 3, 3},    {3, 4, 4},    {3, 5, 17},
      {4, 6, 5},    {5, 7, 6},    {5, 8, 17},   {6, 9, 7},    {7, 10, 8},   {7, 11, 17},
      {8, 12, 9},   {9, 13, 10},  {9, 17, 12},  {9, 21, 14},  {10, 14, 11}, {11, 15, 14},
      {11, 16, 17}, {11, 17, 12}, {12, 18, 13}, {13, 19, 14}, {13, 20, 17}, {14, 22, 15},
      {15, 23, 16}, {15, 24, 17}};
  for (const auto& t : kTransitions)
    EXPECT_EQ(HsTransition(t[0], t[1]), t[2]) << t[0] << " " << t[1];
  int valid = 0;
  for (int state = -3; state <= 18; ++state)
    for (int event = -1; event <= hs_event::kCount; ++event)
      valid += HsTransition(state, event) != HS_STATE_INVALID;
  EXPECT_EQ(valid, 26);
  EXPECT_STREQ(HsStateName(0), "HS_STATE_INITIAL");
  EXPECT_STREQ(HsStateName(17), "HS_STATE_SERVICE_ERROR");
  for (int state : {-2, -1, 18, INT_MIN}) EXPECT_STREQ(HsStateName(state), "HS_STATE_INVALID");

  InstallStateMachine m;
  EXPECT_EQ(m.Apply(1), -1);  // off the path: nothing changes
  EXPECT_EQ(m.current(), 0);
  // The path of a complete game: no install, no update.
  int before = 0;
  for (int event : {0, 1, 3, 4, 6, 7, 9, 10, 12, 21, 22, 23}) {
    const int next = m.Apply(event);
    EXPECT_EQ(next, HsTransition(before, event)) << event;
    EXPECT_EQ(m.previous(), before);
    before = next;
  }
  EXPECT_EQ(m.Apply(24), -1);
  EXPECT_EQ(m.current(), 16);
}

}  // namespace
}  // namespace ld
