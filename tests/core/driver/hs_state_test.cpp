#include "core/driver/hs_state.h"

#include <string>

#include <gtest/gtest.h>

namespace ld {
namespace {

constexpr int X = -1;  // no transition

// Row = state -1..17, column = event 0..24. Written out independently of the
// production table so a typo in either shows up as a mismatch.
constexpr int kExpected[19][25] = {
    //       0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24
    /*-1*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 0*/ {1, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 1*/ {X, 2, 17, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 2*/ {X, X, X, 3, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 3*/ {X, X, X, X, 4, 17, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 4*/ {X, X, X, X, X, X, 5, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 5*/ {X, X, X, X, X, X, X, 6, 17, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 6*/ {X, X, X, X, X, X, X, X, X, 7, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 7*/ {X, X, X, X, X, X, X, X, X, X, 8, 17, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 8*/ {X, X, X, X, X, X, X, X, X, X, X, X, 9, X, X, X, X, X, X, X, X, X, X, X, X},
    /* 9*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, 10, X, X, X, 12, X, X, X, 14, X, X, X},
    /*10*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, 11, X, X, X, X, X, X, X, X, X, X},
    /*11*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, 14, 17, 12, X, X, X, X, X, X, X},
    /*12*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, 13, X, X, X, X, X, X},
    /*13*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, 14, 17, X, X, X, X},
    /*14*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, 15, X, X},
    /*15*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, 16, 17},
    /*16*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
    /*17*/ {X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
};

TEST(HsStateTest, TransitionOfEveryStateAndEvent) {
  for (int state = -1; state <= 17; ++state) {
    for (int event = 0; event < hs_event::kCount; ++event) {
      EXPECT_EQ(HsTransition(state, event), kExpected[state + 1][event])
          << "state " << state << " event " << event;
    }
  }
}

TEST(HsStateTest, UnknownStatesAndEventsHaveNoTransition) {
  for (int state : {-100, -2, 18, 1000}) {
    for (int event = -1; event <= hs_event::kCount; ++event)
      EXPECT_EQ(HsTransition(state, event), HS_STATE_INVALID) << state << "/" << event;
  }
  for (int state = -1; state <= 17; ++state) {
    EXPECT_EQ(HsTransition(state, -1), HS_STATE_INVALID);
    EXPECT_EQ(HsTransition(state, hs_event::kCount), HS_STATE_INVALID);
  }
}

TEST(HsStateTest, Names) {
  const char* const kNames[] = {
      "HS_STATE_INVALID",
      "HS_STATE_INITIAL",
      "HS_STATE_WAITING_FOR_SELF_UPDATE",
      "HS_STATE_READY_TO_GET_GAMESTRING",
      "HS_STATE_WAITING_FOR_GET_GAMESTRING",
      "HS_STATE_READY_TO_GET_GAMEKIND",
      "HS_STATE_WAITING_FOR_GET_GAMEKIND",
      "HS_STATE_READY_TO_GET_HUL_FILE",
      "HS_STATE_WAITING_FOR_GET_HUL_FILE",
      "HS_STATE_READY_TO_CHECK_HUL",
      "HS_STATE_WAITING_FOR_CHECK_HUL",
      "HS_STATE_READY_TO_INSTALL_PACKAGE",
      "HS_STATE_WAITING_FOR_INSTALL_PACKAGE",
      "HS_STATE_READY_TO_UPDATE_FILE",
      "HS_STATE_WAITING_FOR_UPDATE_FILE",
      "HS_STATE_READY_TO_RUN_GAME",
      "HS_STATE_WAITING_FOR_RUN_GAME",
      "HS_STATE_GAME_RUNNING",
      "HS_STATE_SERVICE_ERROR",
  };
  for (int state = -1; state <= 17; ++state)
    EXPECT_STREQ(HsStateName(state), kNames[state + 1]) << state;
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

TEST(HsStateTest, InvalidEventChangesNothing) {
  InstallStateMachine m;
  EXPECT_EQ(m.Apply(1), -1);
  EXPECT_EQ(m.current(), 0);
  ASSERT_EQ(m.Apply(0), 1);
  ASSERT_EQ(m.Apply(1), 2);
  // An event the driver sends off its path (e.g. 16 before 11) is ignored.
  EXPECT_EQ(m.Apply(16), -1);
  EXPECT_EQ(m.Apply(0), -1);
  EXPECT_EQ(m.current(), 2);
  EXPECT_EQ(m.previous(), 1);
}

TEST(HsStateTest, FinalStatesAcceptNothing) {
  InstallStateMachine m;
  for (int e : {0, 2}) m.Apply(e);
  ASSERT_EQ(m.current(), HS_STATE_SERVICE_ERROR);
  for (int event = 0; event < hs_event::kCount; ++event) EXPECT_EQ(m.Apply(event), -1);
  EXPECT_EQ(m.current(), HS_STATE_SERVICE_ERROR);
  EXPECT_EQ(m.previous(), HS_STATE_WAITING_FOR_SELF_UPDATE);
}

}  // namespace
}  // namespace ld
