#include "vorlin_geometry/column_order.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "vorlin_geometry/xycut.h"

namespace vorlin_geometry {

std::vector<std::size_t> column_reading_order(std::span<const BBox> boxes,
                                              std::span<const ColumnSlot> slots, float gap_factor) {
  if (boxes.size() != slots.size()) {
    throw std::invalid_argument("column_reading_order: one slot per box");
  }
  std::vector<std::size_t> by_slot(boxes.size());
  std::iota(by_slot.begin(), by_slot.end(), std::size_t{0});
  std::ranges::stable_sort(by_slot,
                           [&](std::size_t l, std::size_t r) { return slots[l] < slots[r]; });

  std::vector<std::size_t> order;
  order.reserve(boxes.size());
  std::vector<BBox> cell;
  for (std::size_t begin = 0; begin < by_slot.size();) {
    std::size_t end = begin;
    cell.clear();
    while (end < by_slot.size() && slots[by_slot[end]] == slots[by_slot[begin]]) {
      cell.push_back(boxes[by_slot[end]]);
      ++end;
    }
    for (std::size_t position : xycut_order(cell, gap_factor, false)) {
      order.push_back(by_slot[begin + position]);
    }
    begin = end;
  }
  return order;
}

}  // namespace vorlin_geometry
