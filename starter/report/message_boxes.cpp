#include "starter/report/message_boxes.h"

#include <atomic>
#include <cstdio>

#include "starter/report/box_presenter.h"
#include "starter/platform/string_table.h"

namespace ld {

const char kSupportCaption[] = "루드스타터 고객지원";

namespace {

void AppendDetail(const char* detail, std::string* caption) {
  if (detail != nullptr && detail[0] != '\0') {
    caption->append(" : ");
    caption->append(detail);
  }
}

int Present(const std::string& text, std::string caption, std::size_t caption_limit, UINT style) {
  CutAnsiText(&caption, caption_limit);
  return CurrentBoxPresenter().Show(nullptr, text, caption, style);
}

std::atomic<bool*> g_error_box_flag{nullptr};

void MarkErrorBoxShown() {
  if (bool* flag = g_error_box_flag.load()) *flag = true;
}

}  // namespace

void SetErrorBoxFlag(bool* flag) { g_error_box_flag.store(flag); }

void CutAnsiText(std::string* text, std::size_t limit) {
  if (text->size() <= limit) return;
  std::size_t end = 0;
  while (end < text->size()) {
    std::size_t step =
        (::IsDBCSLeadByte(static_cast<BYTE>((*text)[end])) && end + 1 < text->size()) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  text->resize(end);
}

std::string ErrorCaption(std::uint32_t code, const char* detail, std::size_t limit) {
  char code_text[16];
  std::snprintf(code_text, sizeof(code_text), "%08X", static_cast<unsigned>(code));
  std::string caption = LoadText(IDS_CAPTION);
  caption += ") ";
  caption += code_text;
  AppendDetail(detail, &caption);
  CutAnsiText(&caption, limit);
  return caption;
}

std::string WindowsErrorText(DWORD error) {
  std::string text;
  char* message = nullptr;
  DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&message),
      0, nullptr);
  if (length > 0 && message != nullptr) text.assign(message, length);
  if (message != nullptr) ::LocalFree(message);
  if (text.empty()) text = LoadText(IDS_UNKNOWN_ERROR);
  char code_text[32];
  std::snprintf(code_text, sizeof(code_text), "[Code:%d]", static_cast<int>(error));
  text += code_text;
  return text;
}

int ErrorBox(std::uint32_t code, const char* detail) {
  DWORD error = ::GetLastError();
  std::string text = WindowsErrorText(error);
  MarkErrorBoxShown();
  return Present(text, ErrorCaption(code, detail, kErrorBoxCaptionLimit), kErrorBoxCaptionLimit,
                 kErrorBoxStyle);
}

int ErrorBoxWithText(std::uint32_t code, const std::string& text, const char* detail,
                     UINT extra_flags) {
  MarkErrorBoxShown();
  return Present(text, ErrorCaption(code, detail, kTextBoxCaptionLimit), kTextBoxCaptionLimit,
                 extra_flags | kErrorBoxStyle);
}

int ErrorBoxById(std::uint32_t code, unsigned string_id, const char* detail) {
  DWORD caller_error = ::GetLastError();
  std::string text;
  if (TryLoadText(string_id, kErrorBoxStringLimit + 1, &text)) {
    return ErrorBoxWithText(code, text, detail, 0);
  }
  // A failed load replaces the caller's error with "resource not found",
  // which says nothing about what went wrong.
  ::SetLastError(caller_error);
  return ErrorBox(code, nullptr);
}

int ShowMessageBox(const char* caption, const char* detail, const std::string& text,
                   UINT extra_flags) {
  std::string full_caption = caption != nullptr ? std::string(caption) : LoadText(IDS_CAPTION);
  AppendDetail(detail, &full_caption);
  return Present(text, full_caption, kTextBoxCaptionLimit, extra_flags | kBoxBaseStyle);
}

int SupportBox(const char* detail, const std::string& text, UINT extra_flags) {
  std::string caption = kSupportCaption;
  AppendDetail(detail, &caption);
  return Present(text, caption, kTextBoxCaptionLimit, extra_flags | kBoxBaseStyle);
}

}  // namespace ld
