// Installation state machine: the HS_STATE values, their log names and the
// transition function of the 25 driver events.
//
// The main thread applies events 0 and 1 before the installation driver
// exists; afterwards only the driver thread applies events. Any thread (the
// remote-log senders in particular) may read the current and previous state.
#pragma once

#include <atomic>
#include <cstdint>

namespace ld {

// Values as written to logs; HS_STATE_INVALID doubles as the "no transition"
// result of the transition function.
enum HS_STATE : int32_t {
  HS_STATE_INVALID = -1,
  HS_STATE_INITIAL = 0,
  HS_STATE_WAITING_FOR_SELF_UPDATE = 1,
  HS_STATE_READY_TO_GET_GAMESTRING = 2,
  HS_STATE_WAITING_FOR_GET_GAMESTRING = 3,
  HS_STATE_READY_TO_GET_GAMEKIND = 4,
  HS_STATE_WAITING_FOR_GET_GAMEKIND = 5,
  HS_STATE_READY_TO_GET_HUL_FILE = 6,
  HS_STATE_WAITING_FOR_GET_HUL_FILE = 7,
  HS_STATE_READY_TO_CHECK_HUL = 8,
  HS_STATE_WAITING_FOR_CHECK_HUL = 9,
  HS_STATE_READY_TO_INSTALL_PACKAGE = 10,
  HS_STATE_WAITING_FOR_INSTALL_PACKAGE = 11,
  HS_STATE_READY_TO_UPDATE_FILE = 12,
  HS_STATE_WAITING_FOR_UPDATE_FILE = 13,
  HS_STATE_READY_TO_RUN_GAME = 14,
  HS_STATE_WAITING_FOR_RUN_GAME = 15,
  HS_STATE_GAME_RUNNING = 16,
  HS_STATE_SERVICE_ERROR = 17,
};

// Driver events 0..24, named after the moment the driver sends them.
namespace hs_event {
inline constexpr int kSelfUpdateCheckBegins = 0;
inline constexpr int kSelfUpdateCheckDone = 1;
inline constexpr int kSelfUpdateFailed = 2;  // defined but never sent
inline constexpr int kGamestringBegins = 3;
inline constexpr int kGamestringObtained = 4;
inline constexpr int kGamestringFailed = 5;
inline constexpr int kGamekindBegins = 6;
inline constexpr int kGamekindDownloaded = 7;
inline constexpr int kGamekindFailed = 8;
inline constexpr int kHulBegins = 9;
inline constexpr int kHulRead = 10;
inline constexpr int kHulFailed = 11;
inline constexpr int kCheckHulBegins = 12;
inline constexpr int kPackagesToInstall = 13;
inline constexpr int kUserStartedInstall = 14;
inline constexpr int kPackagesInstalledNoFiles = 15;
inline constexpr int kInstallFailed = 16;  // disk space or package download
inline constexpr int kFilesToUpdate = 17;
inline constexpr int kFileUpdateBegins = 18;
inline constexpr int kFilesUpdated = 19;
inline constexpr int kFileUpdateFailed = 20;
inline constexpr int kNothingToDo = 21;
inline constexpr int kGameStartBegins = 22;
inline constexpr int kGameStarted = 23;
inline constexpr int kGameStartFailed = 24;
inline constexpr int kCount = 25;
}  // namespace hs_event

// Log name of a state; "HS_STATE_INVALID" for any value outside -1..17.
// Returns a static string; never null.
const char* HsStateName(int state);

// The state that `event` leads to from `state`, or HS_STATE_INVALID when the
// pair is not a transition (unknown states and events included).
int HsTransition(int state, int event);

// Current and previous state of one run. Both start at HS_STATE_INITIAL.
// Writers must be one thread at a time (see the file comment); reads are safe
// from any thread, though a reader may see the two values from different
// moments.
class InstallStateMachine {
 public:
  // Applies an event. An invalid pair returns -1 and changes nothing; a pair
  // leading to the current state returns it and changes nothing; otherwise
  // previous = current, current = new, and the new state is returned.
  int Apply(int event);

  int current() const { return current_.load(); }
  int previous() const { return previous_.load(); }

 private:
  std::atomic<int32_t> current_{HS_STATE_INITIAL};
  std::atomic<int32_t> previous_{HS_STATE_INITIAL};
};

}  // namespace ld
