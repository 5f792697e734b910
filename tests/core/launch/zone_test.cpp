#include "core/launch/zone.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(ZoneTest, ZoneValueOfText) {
  constexpr GamestringFormat kOld = GamestringFormat::kOld;
  constexpr GamestringFormat kNew = GamestringFormat::kNew;
  const struct {
    const char* text;
    GamestringFormat format;
    char zone;
  } kCases[] = {
      // Old format: only "&p189=" counts, the byte right behind it, any byte.
      {"ludoria://gs.example/gs.qrx?k22e=g1&p189=3&k3e=x", kOld, '3'},
      {"ludoria://gs.example/gs.qrx?p189=1&k22e=g1", kOld, kNoZone},
      {"ludoria://gs.example/gs.qrx?k22e=g1&p189=", kOld, kNoZone},
      {"ludoria://gs.example/gs.qrx?k22e=g1", kOld, kNoZone},
      {"ludoria://gs.example/gs.qrx?a=1&p189=27", kOld, '2'},
      {"ludoria://gs.example/gs.qrx?a=1&p189=&y=1", kOld, '&'},
      {"ludoria://gs.example/gs.qrx?a=1&p189=5&p189=1", kOld, '5'},
      {"ludoria://gs.example/gs.qrx?a=1&P189=3", kOld, kNoZone},
      {"", kOld, kNoZone},
      // New format: P2 decoded, read as a number, bits 0x0F00.
      {"ludoria://P=&P0=dXNlcg==&P1=ZzE=&P2=MjU2", kNew, '3'},          // 256
      {"ludoria://P=&P0=dXNlcg==&P1=ZzE=&P2=MTAyNA==", kNew, '1'},      // 1024
      {"ludoria://P=&P0=dXNlcg==&P1=ZzE=&P2=MTI4MA==", kNew, kNoZone},  // 1280
      {"ludoria://P=&P2=MTI3OQ==", kNew, '1'},                          // 1279 = 0x4FF
      {"ludoria://P=&P2=NTEx", kNew, '3'},                              // 511 = 0x1FF
      {"ludoria://P=&P2=NDA5Ng==", kNew, kNoZone},                      // 4096
      {"ludoria://P=&P2=ODAw", kNew, kNoZone},                          // 800 = 0x320
      {"ludoria://P=&P2=IDI1NmFiYw==", kNew, '3'},                      // " 256abc"
      {"ludoria://P=&P2=LTM4NDA=", kNew, '3'},                          // -3840
      {"ludoria://P=&p2=MjU2", kNew, '3'},                              // name ignores case
      {"ludoria://P=&P2=&P1=ZzE=", kNew, kNoZone},                      // empty value
      {"ludoria://P=&P1=ZzE=&p189=3", kNew, kNoZone},                   // p189 is old only
      {"ludoria://P=&P1=ZzE=&P2=MjU2&x=1", kOld, kNoZone},              // P2 is new only
      // An overflowing number must not wrap into a zone.
      {"ludoria://P=&P2=OTk5OTk5OTk5OTk5OTk5OTk5OTk5OTk5OTk5OTk5", kNew, kNoZone},
  };
  for (const auto& c : kCases) EXPECT_EQ(ZoneValue(c.text, c.format), c.zone) << c.text;
}

TEST(ZoneTest, ZoneNumberAndTestZone) {
  const struct {
    char zone;
    int number;
    bool test_zone;
  } kCases[] = {
      {kNoZone, 0, false}, {'0', 0, true}, {'1', 1, true},
      {'5', 5, true},      {'6', 0, true}, {'/', 0, true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ZoneNumber(c.zone), c.number) << static_cast<int>(c.zone);
    EXPECT_EQ(IsTestZone(c.zone), c.test_zone) << static_cast<int>(c.zone);
  }
}

}  // namespace
}  // namespace ld
