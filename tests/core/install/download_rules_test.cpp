#include "core/install/download_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace ld {
namespace {

TEST(DownloadRulesTest, PackagePieceIsWholeKilobytesAboveTheSizeUpTo40) {
  struct Case {
    uint32_t size;
    uint32_t piece;
  } cases[] = {
      {0, 1024},          {1023, 1024},         {1024, 2048}, {5000, 5120}, {40 * 1024 - 1, 40960},
      {40 * 1024, 40960}, {0xFFFFFFFFu, 40960},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackageDownloadBufferSize(c.size), c.piece) << c.size;
  }
}

TEST(DownloadRulesTest, BoundedFormatKeepsAtMostFieldMinusOneCharacters) {
  EXPECT_EQ(BoundedFormat(200, "[ERR]x(%s)(%d)", "a", 5), "[ERR]x(a)(5)");
  const std::string long_text(500, 'q');
  const std::string cut = BoundedFormat(kLogTextField, "u : %s", long_text.c_str());
  EXPECT_EQ(cut.size(), 199u);
  EXPECT_EQ(cut, ("u : " + long_text).substr(0, 199));
  EXPECT_EQ(BoundedFormat(200, "%s", std::string(199, 'z').c_str()).size(), 199u);
  EXPECT_EQ(BoundedFormat(0, "abc"), "");
  EXPECT_EQ(BoundedFormat(1, "abc"), "");
}

TEST(DownloadRulesTest, UpdateListFailureTextNamesTheCaseOnlyInKindMode) {
  EXPECT_EQ(ClassifyUpdateListFailure(false, false), UpdateListFailure::kDownload);
  EXPECT_EQ(ClassifyUpdateListFailure(true, true), UpdateListFailure::kDownload);
  EXPECT_EQ(ClassifyUpdateListFailure(true, false), UpdateListFailure::kLocalFile);

  EXPECT_EQ(UpdateListFailureText("Failed.", false, "http://h/x"), "Failed.");
  EXPECT_EQ(UpdateListFailureText("Failed.", true, "http://h/x"), "Failed.\n( http://h/x )");
}

TEST(DownloadRulesTest, AddressesOfListsAndCatalogue) {
  EXPECT_EQ(UpdateListAddress("http://d.example/hul", "TABLA"),
            "http://d.example/hul/newhul/TABLA.hul");
  EXPECT_EQ(CatalogueAddress("http://d.example/hul"), "http://d.example/hul/newhul/gamekind.ini");
}

TEST(DownloadRulesTest, ATransferIsCompleteWhenItReachedTheAnnouncedLength) {
  EXPECT_TRUE(TransferComplete(false, 0, 0));
  EXPECT_TRUE(TransferComplete(false, 100, 3));  // nothing announced: nothing to compare
  EXPECT_TRUE(TransferComplete(true, 0, 0));
  EXPECT_TRUE(TransferComplete(true, 100, 100));
  EXPECT_FALSE(TransferComplete(true, 100, 99));
  EXPECT_FALSE(TransferComplete(true, 5000000000ull, 705032704ull));  // beyond 32 bits
}

}  // namespace
}  // namespace ld
