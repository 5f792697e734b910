#include "installer/install_worker.h"

#include <shlobj.h>

#include "installer/resources/resource_ids.h"
#include "installer/system_libraries.h"
#include "installer/win_handles.h"

namespace ld::installer {
namespace {

constexpr DWORD kPiece = 1024;
constexpr long kCancelled = -1;

bool IsFolder(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell folder function comes from SHFolder.dll at run time, which also
// serves systems whose shell predates it.
bool ApplicationDataFolder(std::string* folder) {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  HMODULE library = LoadSystemLibrary("SHFolder.dll");
  if (!library) return false;
  auto get = reinterpret_cast<GetFolderPath>(
      reinterpret_cast<void*>(::GetProcAddress(library, "SHGetFolderPathA")));
  char path[MAX_PATH] = {};
  bool ok = get && SUCCEEDED(get(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path));
  ::FreeLibrary(library);
  if (ok) *folder = path;
  return ok && path[0] != '\0';
}

void AddHidden(const std::string& path, DWORD attributes, long* error) {
  if (!::SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN))
    *error = static_cast<long>(::GetLastError());
}

// The steps after the version check; returns the result code, or kCancelled.
long Install(WorkerContext* context, long* error) {
  std::string appdata;
  if (!ApplicationDataFolder(&appdata)) return kResultNoAppData;
  std::string folder = appdata + "\\Ludoria";
  if (!IsFolder(folder)) {
    if (!::CreateDirectoryA(folder.c_str(), nullptr)) {
      *error = static_cast<long>(::GetLastError());
      return kResultNoDataFolder;
    }
  }
  AddHidden(folder, ::GetFileAttributesA(folder.c_str()), error);

  if (!context->gate.Pass()) return kCancelled;
  std::string target = folder + "\\ldstarter.exe";
  if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileA(target.c_str())) {
      *error = static_cast<long>(::GetLastError());
      return kResultCannotDelete;
    }
  }

  DWORD write_error = 0;
  int code = WriteCarriedStarter(target, context, &write_error);
  if (code == kCancelled) return kCancelled;
  if (code != 0) {
    *error = static_cast<long>(write_error);
    return kResultResourceBase + code;
  }

  DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    *error = static_cast<long>(::GetLastError());
    return kResultWrittenFileMissing;
  }
  AddHidden(target, attributes, error);
  return kResultInstalled;
}

void Run(WorkerContext* context) {
  long error = 0;
  long result =
      PublishedStarterIsNewer(context->hosts) ? long{kResultOutdated} : long{kResultInstalled};
  if (result == kResultInstalled)
    result = context->gate.Pass() ? Install(context, &error) : kCancelled;
  // A cancelled run ends quietly: the dialog is closing and waits for it.
  if (result == kCancelled) return;
  context->result = result;
  context->error = error;
  context->state = result == kResultInstalled  ? kStateDone
                   : result == kResultOutdated ? kStateOutdated
                                               : kStateFailed;
  ::PostMessageA(context->dialog, kMsgWorkerDone, 0, 0);
  ::Sleep(200);
  ::InvalidateRect(context->dialog, nullptr, FALSE);
}

}  // namespace

int WriteCarriedStarter(const std::string& target, WorkerContext* context, DWORD* error) {
  HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_CARRIED_STARTER),
                                MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return 1;
  HGLOBAL loaded = ::LoadResource(nullptr, found);
  if (!loaded) return 2;
  DWORD size = ::SizeofResource(nullptr, found);
  if (size == 0) return 3;
  const char* bytes = static_cast<const char*>(::LockResource(loaded));
  if (!bytes) return 4;

  KernelHandle file(::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (!file) {
    *error = ::GetLastError();
    return 5;
  }
  DWORD written = 0;
  bool cancelled = false;
  while (written < size) {
    if (!context->gate.Pass()) {
      cancelled = true;
      break;
    }
    DWORD piece = size - written < kPiece ? size - written : kPiece, put = 0;
    if (!::WriteFile(file.get(), bytes + written, piece, &put, nullptr) || put == 0) {
      *error = ::GetLastError();
      break;
    }
    written += put;
    context->percent = static_cast<long>(static_cast<unsigned long long>(written) * 100 / size);
    ::InvalidateRect(context->dialog, &kProgressRect, FALSE);
    ::Sleep(0);
  }
  file.Reset();
  if (!cancelled && written == size) return 0;
  // A cut program in the data folder would be started and crash; leave none.
  ::DeleteFileA(target.c_str());
  return cancelled ? kCancelled : 6;
}

DWORD WINAPI InstallWorker(void* param) {
  auto* context = static_cast<WorkerContext*>(param);
  try {
    Run(context);
  } catch (...) {
    context->result = kResultNoThread;
    context->state = kStateFailed;
    ::PostMessageA(context->dialog, kMsgWorkerDone, 0, 0);
  }
  return 0;
}

}  // namespace ld::installer
