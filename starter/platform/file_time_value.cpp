#include "starter/platform/file_time_value.h"

namespace ld {

TimeValue TimeFromFileTime(const FILETIME& file_time) {
  FILETIME local;
  SYSTEMTIME broken;
  if (!::FileTimeToLocalFileTime(&file_time, &local) || !::FileTimeToSystemTime(&local, &broken))
    return 0;
  if (broken.wYear < 1900) return 0;
  return TimeFromFields(broken.wYear, broken.wMonth, broken.wDay, broken.wHour, broken.wMinute,
                        broken.wSecond);
}

}  // namespace ld
