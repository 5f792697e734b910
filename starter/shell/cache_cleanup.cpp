#include "starter/shell/cache_cleanup.h"

#include <windows.h>
#include <wininet.h>

#include <set>
#include <utility>
#include <vector>

#include "core/base/ascii.h"
#include "core/shell/shell_rules.h"
#include "starter/report/message_boxes.h"

namespace ld {
namespace {

constexpr DWORD kFirstEntrySize = 80;
constexpr char kReportDetail[] = "인터넷 임시파일 삭제 정보";

// The entry buffer grows to whatever size the system asks for; an entry
// that still does not fit ends the walk rather than loop.
class CacheWalk {
 public:
  CacheWalk() : buffer_(kFirstEntrySize) {}
  ~CacheWalk() {
    if (find_) ::FindCloseUrlCache(find_);
  }
  CacheWalk(const CacheWalk&) = delete;
  CacheWalk& operator=(const CacheWalk&) = delete;

  // The next entry, or null at the end.
  const INTERNET_CACHE_ENTRY_INFOA* Next() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      DWORD size = static_cast<DWORD>(buffer_.size());
      BOOL ok;
      if (!find_) {
        HANDLE find = ::FindFirstUrlCacheEntryA(nullptr, Entry(), &size);
        ok = find != nullptr;
        if (ok) find_ = find;
      } else {
        ok = ::FindNextUrlCacheEntryA(find_, Entry(), &size);
      }
      if (ok) return Entry();
      if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer_.size()) return nullptr;
      buffer_.resize(size);
    }
    return nullptr;
  }

 private:
  INTERNET_CACHE_ENTRY_INFOA* Entry() {
    return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer_.data());
  }

  struct Bytes {
    explicit Bytes(std::size_t n) { resize(n); }
    void resize(std::size_t n) {
      words.resize((n + 7) / 8);
      bytes = n;
    }
    char* data() { return reinterpret_cast<char*>(words.data()); }
    std::size_t size() const { return bytes; }
    std::vector<unsigned long long> words;  // keeps the entry aligned
    std::size_t bytes = 0;
  } buffer_;
  HANDLE find_ = nullptr;
};

}  // namespace

int CleanLauncherPages(const std::string& game_id, const std::string& domain, bool kind_mode) {
  const std::string game = AsciiLowered(game_id);
  std::set<std::string> selected;
  {
    CacheWalk walk;
    while (const INTERNET_CACHE_ENTRY_INFOA* entry = walk.Next()) {
      if (entry->lpszSourceUrlName == nullptr) continue;
      CacheEntryKind kind;
      kind.cookie = (entry->CacheEntryType & COOKIE_CACHE_ENTRY) != 0;
      kind.history = (entry->CacheEntryType & URLHISTORY_CACHE_ENTRY) != 0;
      kind.sparse = (entry->CacheEntryType & SPARSE_CACHE_ENTRY) != 0;
      const std::string url = entry->lpszSourceUrlName;
      if (IsOutdatedLauncherPage(url, kind, domain, game)) selected.insert(url);
    }
  }
  int deleted = 0;
  std::vector<std::pair<std::string, bool>> results;
  for (const std::string& url : selected) {
    const bool ok = ::DeleteUrlCacheEntryA(url.c_str()) != FALSE;
    if (ok) ++deleted;
    results.emplace_back(url, ok);
  }
  if (kind_mode && !results.empty())
    SupportBox(kReportDetail, CacheCleanReport(results), MB_ICONINFORMATION);
  return deleted;
}

}  // namespace ld
