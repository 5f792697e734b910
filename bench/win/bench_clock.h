// The clock of the Windows benchmarks: the performance counter, read as
// milliseconds, and a stopwatch on it for the phase timings.
//
// Any thread; the counter frequency is read once, on first use. Nothing here
// fails (the counter exists on every system the starter runs on).
#pragma once

#include <windows.h>

namespace ld {

// Milliseconds on the performance counter since an arbitrary start.
inline double NowMilliseconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Seconds since construction.
class Stopwatch {
 public:
  double Seconds() const { return (NowMilliseconds() - start_) / 1000.0; }

 private:
  double start_ = NowMilliseconds();
};

}  // namespace ld
