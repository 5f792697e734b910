// Event and error codes of the starter. The high 16 bits name the area, the
// low 16 bits the case; boxes and log records show them as "%08X". The few
// small codes (0x10, 0x88, 0xB5 ...) predate that numbering and are kept as
// the collection service knows them.
#pragma once

#include <cstdint>

namespace ld::error_code {

// Start-up and environment.
inline constexpr uint32_t kMutexCreate = 0x00010001;        // single-instance mutex not made
inline constexpr uint32_t kAlreadyRunning = 0x00010002;     // string 145
inline constexpr uint32_t kComponentsTooOld = 0x00100001;   // string 150
inline constexpr uint32_t kNoCommandLine = 0x00180008;      // string 144
inline constexpr uint32_t kNoLanguageAtStart = 0x00170001;  // string 160

// Install folder record in the registry.
inline constexpr uint32_t kNoLanguageForFolder = 0x000B0003;  // string 160
inline constexpr uint32_t kInstallKeyOpen = 0x00050001;
inline constexpr uint32_t kGameKeyOpen = 0x00050004;
inline constexpr uint32_t kRegistryWrite = 0x0013000E;

// Launch string and its servers.
inline constexpr uint32_t kGamestringServerOpen = 0x00030002;
inline constexpr uint32_t kNoInternet = 0x00030003;            // string 163
inline constexpr uint32_t kGamestringUnreadable = 0x00030004;  // string 164
inline constexpr uint32_t kGamestringInvalid = 0x00110004;     // strings 167, 168
inline constexpr uint32_t kGamestringAnswer = 0x00000010;      // server answers, logged only

// Driver, downloads and installation.
inline constexpr uint32_t kRunFailed = 0x00000097;  // 151: failure not yet shown
inline constexpr uint32_t kDownloadFile = 0x00000088;
inline constexpr uint32_t kUpdateListUnreadable = 0x0018000D;
inline constexpr uint32_t kGameUpdateListDamaged = 0x000000B5;  // 181
inline constexpr uint32_t kBaseUpdateListDamaged = 0x000000B6;  // 182
inline constexpr uint32_t kGamekindDownload = 0x0018000C;       // string 176
inline constexpr uint32_t kDiskSpaceOrFiles = 0x0018000A;       // strings 146, 179
inline constexpr uint32_t kPackageNoInternet = 0x00160002;

// Game start.
inline constexpr uint32_t kExecutableInvalid = 0x0018000E;  // string 257
inline constexpr uint32_t kGameStart = 0x00180007;          // string 258
inline constexpr uint32_t kInvalidGamestring = 0x000A0001;  // string 147

// Milestones of one game (TRIOKA) logged with the launch string's executor.
inline constexpr uint32_t kExecutorMilestone = 0x00190001;

}  // namespace ld::error_code
