// Parsing a large update list: 100,000 files in 1,000 directories, the size
// of the biggest packages. Goal: well under 100 ms per parse on this machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/update_list/update_list.h"
#include "core/update_list/update_list_parser.h"

namespace {

constexpr int kDirs = 1000;
constexpr int kFilesPerDir = 100;

// days_span: file dates are drawn from this many consecutive days (a
// package's files usually come from a few years of builds).
std::string MakeList(int days_span) {
  std::mt19937 rng(7);
  std::string text =
      "[HEADER]\r\nprjname TABLA\r\npubdate 20240102-030405\r\ntchksum 1\r\ntfileno 100000\r\n"
      "tzipsize 1\r\ndownloadurl http://dl.test/dist\r\nversion 1.5.0\r\n[INSTALL]\r\n";
  text.reserve(8 << 20);
  char line[256];
  for (int d = 0; d < kDirs; ++d) {
    std::snprintf(line, sizeof line, "/data/area%03d/textures\r\n", d);
    text += line;
    for (int f = 0; f < kFilesPerDir; ++f) {
      // A date from days_span days after 2015-01-01, as year/month/day via
      // 31-day months would be wrong; step through a real calendar instead.
      const int offset = static_cast<int>(rng() % static_cast<unsigned>(days_span));
      int y = 2015, m = 1, day = 1 + offset;
      static const int kLen[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
      for (;;) {
        const int len = kLen[m - 1] + (m == 2 && y % 4 == 0 && (y % 100 != 0 || y % 400 == 0));
        if (day <= len) break;
        day -= len;
        if (++m > 12) m = 1, ++y;
      }
      std::snprintf(
          line, sizeof line, "tile_%03d_%02d_diffuse.dds,%d,%u,%u,%04d%02d%02d-%02u%02u%02u\r\n", d,
          f, static_cast<int>(rng()), static_cast<unsigned>(rng() % 5000000),
          static_cast<unsigned>(rng() % 3000000), y, m, day, static_cast<unsigned>(rng() % 24),
          static_cast<unsigned>(rng() % 60), static_cast<unsigned>(rng() % 60));
      text += line;
    }
  }
  return text;
}

void Parse(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    ld::UpdateList list;
    ld::ParseUpdateList(text, ld::UpdateListFolders(), &list);
    if (list.install.size() != kDirs || list.install.back().files.size() != kFilesPerDir)
      state.SkipWithError("list not parsed whole");
    benchmark::DoNotOptimize(list);
  }
  state.SetItemsProcessed(state.iterations() * kDirs * kFilesPerDir);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// Dates over three years: the usual case.
void BM_Parse100kFiles(benchmark::State& state) {
  static const std::string text = MakeList(3 * 365);
  Parse(state, text);
}
BENCHMARK(BM_Parse100kFiles)->Unit(benchmark::kMillisecond);

// Dates over 100 years, so most lines fall on a day not seen before and the
// C library's conversion dominates.
void BM_Parse100kFilesScatteredDates(benchmark::State& state) {
  static const std::string text = MakeList(100 * 365);
  Parse(state, text);
}
BENCHMARK(BM_Parse100kFilesScatteredDates)->Unit(benchmark::kMillisecond);

// Loading from disk, as the starter does after the download.
void BM_Load100kFiles(benchmark::State& state) {
  const std::string text = MakeList(3 * 365);
  const std::string path =
      (std::filesystem::temp_directory_path() / "update_list_bench.hul").string();
  std::ofstream(path, std::ios::binary) << text;
  for (auto _ : state) {
    ld::UpdateList list;
    if (!ld::LoadUpdateList(path, ld::UpdateListFolders(), &list))
      state.SkipWithError("cannot load");
    benchmark::DoNotOptimize(list);
  }
  state.SetItemsProcessed(state.iterations() * kDirs * kFilesPerDir);
  std::filesystem::remove(path);
}
BENCHMARK(BM_Load100kFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
