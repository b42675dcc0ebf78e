#include "vorlin_geometry/xycut.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

#include "vorlin_geometry/float_rules.h"
#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

namespace {

// A horizontal cut projects onto y and splits lower from upper; a vertical cut projects onto x
// and splits left from right.
enum Axis : std::size_t { kHorizontal = 0, kVertical = 1 };

constexpr float kEqualGapWidth = 0.0001f;
constexpr float kDefaultReferenceHeight = 1.0f;

Axis other(Axis axis) { return axis == kHorizontal ? kVertical : kHorizontal; }

// A set of boxes awaiting a cut: the same slice [begin, end) of both sorted lists below.
struct Part {
  std::size_t begin = 0, end = 0;
  Axis preferred = kHorizontal;

  std::size_t size() const { return end - begin; }
};

class XyCut {
 public:
  XyCut(std::span<const BBox> boxes, float gap_factor, bool right_to_left)
      : right_to_left_(right_to_left), in_lower_part_(boxes.size(), false) {
    std::vector<float> heights;
    for (const BBox& b : boxes) {
      start_[kHorizontal].push_back(b.y0);
      end_[kHorizontal].push_back(b.y1);
      start_[kVertical].push_back(b.x0);
      end_[kVertical].push_back(b.x1);
      centre_[kHorizontal].push_back(b.centre_y());
      centre_[kVertical].push_back(b.centre_x());
      const float height = b.height();
      if (is_valid_size(height)) heights.push_back(height);
    }
    min_gap_ = gap_factor * upper_median(heights).value_or(kDefaultReferenceHeight);
  }

  std::vector<std::size_t> run() {
    const std::size_t n = start_[0].size();
    // The boxes sorted by interval start along each axis (ties in input order). Splits partition
    // slices of these lists stably, so every part stays sorted without sorting again and a page
    // that is peeled one box at a time costs linear work per level, not a sort.
    for (Axis axis : {kHorizontal, kVertical}) {
      sorted_[axis].resize(n);
      std::iota(sorted_[axis].begin(), sorted_[axis].end(), std::size_t{0});
      stable_sort_by_float_key(sorted_[axis], [&](std::size_t p) { return start_[axis][p]; },
                               SortOrder::Ascending);
    }
    // An explicit stack instead of recursion: a page peeled one box at a time nests n deep.
    std::vector<Part> pending = {Part{0, n, kHorizontal}};
    while (!pending.empty()) {
      const Part part = pending.back();
      pending.pop_back();
      if (part.size() < 2) {
        const std::span<std::size_t> members = slice(part, kHorizontal);
        order_.insert(order_.end(), members.begin(), members.end());
        continue;
      }
      auto cut = try_cut(part, part.preferred);
      if (!cut) cut = try_cut(part, other(part.preferred));
      if (!cut) {
        append_leaf(part);
        continue;
      }
      // The part read first goes on top of the stack.
      pending.push_back(cut->second);
      pending.push_back(cut->first);
    }
    return std::move(order_);
  }

 private:
  using Split = std::pair<Part, Part>;  // read first, read second

  std::span<std::size_t> slice(const Part& part, Axis axis) {
    return std::span(sorted_[axis]).subspan(part.begin, part.size());
  }

  // A cut along `axis` that leaves both parts non-empty. A split that leaves one side empty
  // (only possible with inverted or non-finite boxes) counts as no cut.
  std::optional<Split> try_cut(const Part& part, Axis axis) {
    const std::optional<float> position = best_gap(slice(part, axis), axis);
    if (!position) return std::nullopt;
    const std::size_t lower_count = mark_lower(part, axis, *position);
    if (lower_count == 0 || lower_count == part.size()) return std::nullopt;
    for (Axis list : {kHorizontal, kVertical}) partition(slice(part, list));
    const std::size_t middle = part.begin + lower_count;
    Split split{Part{part.begin, middle, other(axis)}, Part{middle, part.end, other(axis)}};
    if (!reads_first(split.first, split.second, axis)) std::swap(split.first, split.second);
    return split;
  }

  // Middle of the widest empty stretch of the projection that is at least the minimum gap.
  std::optional<float> best_gap(std::span<const std::size_t> sorted, Axis axis) const {
    const std::vector<float>& starts = start_[axis];
    const std::vector<float>& ends = end_[axis];
    const bool later_wins_ties = axis == kHorizontal || right_to_left_;
    std::optional<float> best_position;
    float best_width = 0;
    float reach = ends[sorted.front()];
    for (std::size_t p : sorted.subspan(1)) {
      const float start = starts[p];
      if (start > reach && start - reach >= min_gap_) {
        const float width = start - reach;
        const float position = (reach + start) * 0.5f;
        bool accept = false;
        if (!best_position) {
          accept = true;
        } else if (std::fabs(width - best_width) >= kEqualGapWidth) {
          accept = width > best_width;
        } else {
          // Equal widths: the uppermost gap wins, and the rightmost when reading right to left.
          accept = later_wins_ties && position > *best_position;
        }
        if (accept) {
          best_position = position;
          best_width = width;
        }
      }
      // Not max_num: a NaN reach must stay NaN so that the axis yields no cut.
      if (ends[p] > reach) reach = ends[p];
    }
    return best_position;
  }

  // Marks the boxes centred below / left of `position` (NaN centres are not) and counts them.
  std::size_t mark_lower(const Part& part, Axis axis, float position) {
    const std::vector<float>& centres = centre_[axis];
    std::size_t count = 0;
    for (std::size_t p : slice(part, kHorizontal)) {
      in_lower_part_[p] = centres[p] < position;
      count += in_lower_part_[p] ? 1 : 0;
    }
    return count;
  }

  // Stable partition of `list`: marked boxes first, each side keeping its order.
  void partition(std::span<std::size_t> list) {
    scratch_.clear();
    auto out = list.begin();
    for (std::size_t p : list) {
      if (in_lower_part_[p]) {
        *out++ = p;
      } else {
        scratch_.push_back(p);
      }
    }
    std::copy(scratch_.begin(), scratch_.end(), out);
  }

  // Whether `a` is read before `b` after a cut along `axis`: the upper part, else the left part
  // (the right part when reading right to left). NaN centres are ignored.
  bool reads_first(const Part& a, const Part& b, Axis axis) {
    const std::vector<float>& centres = centre_[axis];
    const auto fold = [&](const Part& part, float initial, float (*combine)(float, float)) {
      float value = initial;
      for (std::size_t p : slice(part, kHorizontal)) value = combine(value, centres[p]);
      return value;
    };
    constexpr float kInf = std::numeric_limits<float>::infinity();
    if (axis == kVertical && !right_to_left_) {
      return fold(a, kInf, min_num) <= fold(b, kInf, min_num);
    }
    return fold(a, -kInf, max_num) >= fold(b, -kInf, max_num);
  }

  // Top to bottom by y centre, then along the reading direction by x centre, else input order.
  void append_leaf(const Part& part) {
    const std::span<std::size_t> members = slice(part, kHorizontal);
    std::vector<std::size_t> leaf(members.begin(), members.end());
    std::sort(leaf.begin(), leaf.end());
    const std::vector<float>& cy = centre_[kHorizontal];
    const std::vector<float>& cx = centre_[kVertical];
    const auto x_before = right_to_left_ ? float_greater_nan_last : float_less_nan_last;
    std::stable_sort(leaf.begin(), leaf.end(), [&](std::size_t a, std::size_t b) {
      if (float_greater_nan_last(cy[a], cy[b])) return true;
      if (float_greater_nan_last(cy[b], cy[a])) return false;
      return x_before(cx[a], cx[b]);
    });
    order_.insert(order_.end(), leaf.begin(), leaf.end());
  }

  bool right_to_left_;
  float min_gap_ = 0;
  std::array<std::vector<float>, 2> start_, end_, centre_;
  std::array<std::vector<std::size_t>, 2> sorted_;
  std::vector<bool> in_lower_part_;
  std::vector<std::size_t> scratch_;
  std::vector<std::size_t> order_;
};

}  // namespace

std::vector<std::size_t> xycut_order(std::span<const BBox> boxes, float gap_factor,
                                     bool right_to_left) {
  return XyCut(boxes, gap_factor, right_to_left).run();
}

}  // namespace vorlin_geometry
