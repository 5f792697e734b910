#include "core/install/executable_list.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(ExecutableList, OnlyProgramFilesOfTheRoot) {
  struct Case {
    const char* dir;
    const char* name;
    bool expected;
  };
  const Case cases[] = {
      {"\\", "game.exe", true}, {"\\", "LIB.DLL", true},    {"\\", "readme.txt", false},
      {"", "game.exe", false},  {"\\data", "x.dll", false}, {"C:\\WINDOWS", "x.dll", false},
  };
  for (const Case& c : cases) {
    FileRecord record;
    record.dir_path = c.dir;
    record.name = c.name;
    EXPECT_EQ(c.expected, IsRootProgramRecord(record)) << c.dir << c.name;
  }
  EXPECT_EQ("C:\\Ludoria\\game.exe", RootProgramPath("C:\\Ludoria", "game.exe"));
}

}  // namespace
}  // namespace ld
