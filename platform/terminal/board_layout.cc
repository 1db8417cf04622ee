#include "platform/terminal/board_layout.h"

#include <algorithm>
#include <numeric>

namespace qov::terminal {

bool overlap(const Rect& a, const Rect& b) {
  return a.row < b.row + b.rows && b.row < a.row + a.rows && a.column < b.column + b.columns &&
         b.column < a.column + a.columns;
}

Rect united(const Rect& a, const Rect& b) {
  int top = std::min(a.row, b.row), left = std::min(a.column, b.column);
  int bottom = std::max(a.row + a.rows, b.row + b.rows);
  int right = std::max(a.column + a.columns, b.column + b.columns);
  return {top, left, bottom - top, right - left};
}

Rect caption_place(const Rect& picture, int width) {
  int row = picture.row + std::max(1, picture.rows) - 1;
  int column =
      width <= picture.columns ? picture.column + (picture.columns - width) / 2 : picture.column;
  return {row, column, 1, width};
}

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
