#include "platform/terminal/board_layout.h"

#include <algorithm>
#include <numeric>

namespace qov::terminal {

int target_at(const std::vector<Target>& targets, int row, int column) {
  for (int i = static_cast<int>(targets.size()) - 1; i >= 0; --i)
    if (targets[i].area.contains(row, column))
      return i;
  return -1;
}

std::vector<int> reading_order(const std::vector<Target>& targets) {
  std::vector<int> order(targets.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const Rect &ra = targets[a].area, &rb = targets[b].area;
    return ra.row != rb.row ? ra.row < rb.row : ra.column < rb.column;
  });
  return order;
}

int moved_focus(const std::vector<int>& order, int focus, int step) {
  if (order.empty())
    return -1;
  int n = static_cast<int>(order.size());
  auto it = std::find(order.begin(), order.end(), focus);
  if (it == order.end())
    return step >= 0 ? order.front() : order.back();
  int at = static_cast<int>(it - order.begin());
  return order[((at + step) % n + n) % n];
}

} // namespace qov::terminal
