#include "vorlin_geometry/column_order.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/xycut.h"

namespace vorlin_geometry {

namespace {

// How many of `cell`'s boxes, from the top, each lie wholly above all the boxes left below them;
// `by_top` receives the cell's positions top down. Such a box is read first whatever stands side
// by side under it: the cut would first split off the page's foot, then cut the rest down the
// middle and read a centred chapter heading after the short text to the left of its centre.
std::size_t peel_tops(std::span<const BBox> cell, std::vector<std::size_t>& by_top) {
  by_top.resize(cell.size());
  std::iota(by_top.begin(), by_top.end(), std::size_t{0});
  std::ranges::stable_sort(by_top, [&](std::size_t l, std::size_t r) {
    return float_greater_nan_last(cell[l].y1, cell[r].y1);
  });
  std::size_t peeled = 0;
  // Written so that a NaN edge stops the peeling.
  while (peeled + 1 < by_top.size() &&
         cell[by_top[peeled]].y0 >= cell[by_top[peeled + 1]].y1) {
    ++peeled;
  }
  return peeled;
}

}  // namespace

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
  std::vector<BBox> cell, rest;
  std::vector<std::size_t> by_top;
  for (std::size_t begin = 0; begin < by_slot.size();) {
    std::size_t end = begin;
    cell.clear();
    while (end < by_slot.size() && slots[by_slot[end]] == slots[by_slot[begin]]) {
      cell.push_back(boxes[by_slot[end]]);
      ++end;
    }
    // The rest keep their order, on which the cut breaks ties.
    const std::size_t peeled = peel_tops(cell, by_top);
    std::vector<bool> taken(cell.size(), false);
    for (std::size_t k = 0; k < peeled; ++k) {
      taken[by_top[k]] = true;
      order.push_back(by_slot[begin + by_top[k]]);
    }
    rest.clear();
    by_top.clear();  // now the rest's positions in the cell
    for (std::size_t k = 0; k < cell.size(); ++k) {
      if (taken[k]) continue;
      rest.push_back(cell[k]);
      by_top.push_back(k);
    }
    for (std::size_t position : xycut_order(rest, gap_factor, false)) {
      order.push_back(by_slot[begin + by_top[position]]);
    }
    begin = end;
  }
  return order;
}

}  // namespace vorlin_geometry
