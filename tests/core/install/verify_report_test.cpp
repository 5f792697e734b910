#include "core/install/verify_report.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(VerifyReport, SizeReportNumbersItsRowsAfterTheHead) {
  const std::vector<std::string> rows = {
      VerifyRow("TABLA", "http://h/dist/TABLA/a.dat.zip", "10", "12"),
      VerifyRow("TABLA", "http://h/dist/TABLA/b.dat.zip", "0", "7"),
  };
  EXPECT_EQ("| TABLA | http://h/dist/TABLA/a.dat.zip | 10 | 12 |\n", rows[0]);
  const std::string report = SizeMismatchReport(rows);
  EXPECT_EQ(0u, report.find("\"downloaded file SIZE unexpected\"\n"));
  const std::string tail =
      "|| no || package || remote address || size || ToBe(in .hul) ||\n"
      "| 1 | TABLA | http://h/dist/TABLA/a.dat.zip | 10 | 12 |\n"
      "| 2 | TABLA | http://h/dist/TABLA/b.dat.zip | 0 | 7 |\n";
  ASSERT_GE(report.size(), tail.size());
  EXPECT_EQ(tail, report.substr(report.size() - tail.size()));
  EXPECT_EQ("", SizeMismatchReport({}));
}

TEST(VerifyReport, TimeReportHeadAndTimeText) {
  const std::string report = TimeMismatchReport({VerifyRow("p", "a", "x", "y")});
  EXPECT_EQ(0u, report.find("\"downloaded file Date-time unexpected\"\n"));
  EXPECT_NE(std::string::npos,
            report.find("|| no || package || remote address || date-time || ToBe(in .hul) ||\n"
                        "| 1 | p | a | x | y |\n"));
  // 2007-03-04 is a Sunday.
  const std::string text = VerifyTimeText(TimeFromFields(2007, 3, 4, 5, 6, 7));
  EXPECT_EQ(0u, text.find("2007-03-04."));
  EXPECT_EQ(" 05:06:07", text.substr(text.size() - 9));
  EXPECT_EQ(std::string("2007-03-04.") + KoreanDayName(0) + " 05:06:07", text);
}

TEST(VerifyReport, SupportTexts) {
  EXPECT_EQ("http://a\nhttp://b\n", FailedDownloadsText({"http://a", "http://b"}));
  const std::string unreplaced = UnreplacedFilesText({"C:\\G\\a.dll"});
  EXPECT_EQ(
      "\n"
      "C:\\G\\a.dll\n",
      unreplaced.substr(unreplaced.find('\n')));
  EXPECT_EQ('[', unreplaced.front());
  EXPECT_EQ("WARNING] file CHECKSOM different <C:\\G\\a.exe> hul:0000beef downloaded:0badf00d",
            ChecksumWarningText("C:\\G\\a.exe", 0xBEEF, 0xBADF00D));
}

TEST(VerifyReport, ResultFailedBeatsUnreplaced) {
  EXPECT_EQ(-1, VerifyResult(1, 3));
  EXPECT_EQ(3, VerifyResult(0, 3));
  EXPECT_EQ(0, VerifyResult(0, 0));
}

}  // namespace
}  // namespace ld
