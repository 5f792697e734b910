// The message boxes through which the starter tells the user why something
// failed, and the text of Windows error numbers. Every box goes through the
// current BoxPresenter (box_presenter.h), has no owner window, and is
// topmost, set to the foreground and system modal.
//
// Threads: the main thread and the installation driver thread both show
// boxes; a box blocks only its caller. Error boxes set the program-wide
// error-box flag that the driver reads at its end (cStarterApp's flags, which
// the application object registers when it is created).
//
// Texts are ANSI code page bytes (code page 949 for Korean), including the
// Korean literals here, which Windows builds compile to code page 949.
// Captions are cut at their limits without splitting a double-byte character.
// Each box returns the button pressed (IDOK, IDYES ...), 0 when it could not
// be shown.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace ld {

// Style bits every box of this family carries.
inline constexpr UINT kBoxBaseStyle = MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST;
inline constexpr UINT kErrorBoxStyle = MB_ICONEXCLAMATION | kBoxBaseStyle;

// Caption limits in characters (bytes).
inline constexpr std::size_t kErrorBoxCaptionLimit = 254;
inline constexpr std::size_t kTextBoxCaptionLimit = 259;
// Longest text an error box by string id shows.
inline constexpr std::size_t kErrorBoxStringLimit = 254;

// Caption of the support box: "루드스타터 고객지원" (starter customer support).
extern const char kSupportCaption[];

// Where error boxes record that one was shown; null (the default) records
// nothing. The flag is not owned and must outlive the boxes.
void SetErrorBoxFlag(bool* flag);

// "<string 135>) <code as %08X>", then " : <detail>" when a non-empty detail
// is given, cut to `limit`.
std::string ErrorCaption(std::uint32_t code, const char* detail, std::size_t limit);

// The system's text for `error` in the default language, or string 148
// ("<Unknown Error>") when there is none, followed by "[Code:<error>]".
std::string WindowsErrorText(DWORD error);

// Shows the text of the last Windows error (taken on entry) under the error
// caption (254 characters at most). Sets the error-box flag.
int ErrorBox(std::uint32_t code, const char* detail = nullptr);

// Shows `text` under the error caption (259 characters at most) with
// `extra_flags` added to the error style. Sets the error-box flag.
int ErrorBoxWithText(std::uint32_t code, const std::string& text, const char* detail = nullptr,
                     UINT extra_flags = 0);

// Shows string `string_id` (254 characters at most) as ErrorBoxWithText does;
// when the string cannot be loaded, ErrorBox without detail. The Windows error
// the caller left is the one an ErrorBox shows.
int ErrorBoxById(std::uint32_t code, unsigned string_id, const char* detail = nullptr);

// Shows `text` under `caption` (string 135 when null), then " : <detail>",
// 259 characters at most. Leaves the error-box flag alone.
int ShowMessageBox(const char* caption, const char* detail, const std::string& text,
                   UINT extra_flags = 0);

// Shows `text` under the support caption, then " : <detail>". Leaves the
// error-box flag alone.
int SupportBox(const char* detail, const std::string& text, UINT extra_flags = 0);

// Cuts `text` to at most `limit` bytes, never between the two bytes of a
// double-byte character of the system code page.
void CutAnsiText(std::string* text, std::size_t limit);

}  // namespace ld
