// Deletes a local file or a whole folder; in kind mode a failure is told to
// the user, who may open the folder in the Explorer to deal with it.
//
// Threads: the main thread (start-up commands, self-update) and the driver
// thread (old lists, catalogue, files to replace). The question box blocks
// only the caller.
#pragma once

#include <string>

namespace ld {

// True when nothing stands at `path` afterwards: a missing path counts as
// deleted; a folder goes depth first with read-only entries made normal. The
// answer to the kind-mode question never changes the result.
bool DeleteWithReport(const std::string& path, bool kind_mode);

}  // namespace ld
