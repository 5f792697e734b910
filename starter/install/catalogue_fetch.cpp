#include "starter/install/catalogue_fetch.h"

#include <windows.h>

#include "core/install/download_rules.h"
#include "core/base/error_codes.h"
#include "starter/download/download_log.h"
#include "starter/download/downloader.h"
#include "starter/platform/folders.h"
#include "starter/net/internet_open.h"
#include "starter/report/message_boxes.h"
#include "starter/platform/profile_file_win.h"
#include "starter/download/url_moniker_download.h"

namespace ld {
namespace {

constexpr DWORD kCataloguePiece = 4096;

void ForgetListsOf(Catalogue* catalogue) {
  for (auto& games : catalogue->base_games) games.clear();
  catalogue->companion = CompanionProgram();
}

}  // namespace

bool LoadCatalogue(const ListFetchSettings& settings, const std::string& game_id,
                   const std::string& default_shortcut_name, Catalogue* catalogue) {
  ForgetListsOf(catalogue);
  bool own_path = true;
  const std::string target = PrepareDownloadTarget(settings.list_folder, "gamekind.ini", "ini",
                                                   settings.kind_mode, &own_path);

  InternetHandle internet = OpenDownloadHandle();
  if (internet) {
    SetReceiveTimeout(internet.Get(), kUpdateListReceiveTimeoutMs);
    const std::string address = CatalogueAddress(settings.hul_root);
    if (!DownloadFile(internet.Get(), kCataloguePiece, target, address, nullptr, nullptr, false) &&
        FAILED(UrlDownload(address, target))) {
      RemoveFailedDownload(target, own_path);
    }
    internet.Reset();
  } else {
    const DWORD error = ::GetLastError();
    LogDownloadEvent(error_code::kNoInternet, "Internet Open Error");
    ::SetLastError(error);
    ErrorBox(error_code::kNoInternet);
  }

  if (!IsPlainFile(target)) return false;
  ReadCatalogue(WinProfileFile(target), game_id, default_shortcut_name, catalogue);
  return true;
}

}  // namespace ld
