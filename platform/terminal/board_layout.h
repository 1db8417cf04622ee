// Where the things of a window sit, which one a mouse click hits, and the
// order in which the keys move the focus.
#pragma once

#include <cstdint>
#include <vector>

namespace qov::terminal {

struct Rect {
  int row = 0, column = 0, rows = 0, columns = 0;

  bool contains(int r, int c) const {
    return r >= row && r < row + rows && c >= column && c < column + columns;
  }
};

// True when the two share a cell.
bool overlap(const Rect& a, const Rect& b);

// The smallest rectangle holding both.
Rect united(const Rect& a, const Rect& b);

// Where a caption `width` cells wide is written over a picture drawn in
// `picture`: on its bottom row, centred when it fits the picture's width,
// else from the picture's first column on, running past its right edge.
Rect caption_place(const Rect& picture, int width);

// Something the user can act on: a button (its key code) or a list.
struct Target {
  Rect area;
  int16_t code = 0;
};

// The target under a cell, the one drawn last winning; -1 for none.
int target_at(const std::vector<Target>& targets, int row, int column);

// The indexes of the targets in reading order (by row, then column, then
// the order they were drawn), which is the order Tab and the arrows follow.
std::vector<int> reading_order(const std::vector<Target>& targets);

// Moves the focus `step` places along the order, wrapping round; from no
// focus (-1) forward goes to the first and backward to the last. Gives the
// target index, -1 when there is none.
int moved_focus(const std::vector<int>& order, int focus, int step);

} // namespace qov::terminal
