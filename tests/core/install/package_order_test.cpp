#include "core/install/package_order.h"

#include <gtest/gtest.h>

namespace ld {
namespace {

TEST(InstallOrder, BasesFirstGameLast) {
  EXPECT_EQ(std::vector<std::size_t>{}, InstallOrder(0));
  EXPECT_EQ(std::vector<std::size_t>{0}, InstallOrder(1));
  EXPECT_EQ((std::vector<std::size_t>{1, 2, 3, 0}), InstallOrder(4));
}

}  // namespace
}  // namespace ld
