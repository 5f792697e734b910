// Where the time of a package installation goes, file by file: the steps a
// download worker takes (request, transfer, the downloader writing the zip,
// unpacking, deleting the zip, a worker thread's start and end) timed one
// after another on the calling thread, so their costs do not overlap.
//
// Threads: the calling thread only (the main thread of install_bench).
// Failures of single steps are counted, never fatal.
#pragma once

#include <cstddef>
#include <string>

#include "core/install/install_paths.h"
#include "core/install/package_descriptor.h"

namespace ld {

// Runs the steps for the first `limit` records of `package` (all when 0),
// fetching them from `source` (as the installation's SourceOf gives it) into
// `folder`, and prints one "probe_<step>_ms=<mean>" line per step and
// "probe_files=<n>". Returns the number of failed steps.
int ProbeInstallSteps(const PackageDescriptor& package, const PackageSource& source,
                      const std::string& folder, std::size_t limit);

}  // namespace ld
