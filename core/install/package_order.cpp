#include "core/install/package_order.h"

namespace ld {

std::vector<std::size_t> InstallOrder(std::size_t package_count) {
  std::vector<std::size_t> order;
  order.reserve(package_count);
  for (std::size_t i = 1; i < package_count; ++i) order.push_back(i);
  if (package_count > 0) order.push_back(0);
  return order;
}

}  // namespace ld
