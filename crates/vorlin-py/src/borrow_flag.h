#pragma once
// The borrow flag carried by ParseOptions and Document objects: any number of shared readers, or
// one exclusive writer. Under the GIL a conflict does not happen in practice; the flag turns one
// into a RuntimeError instead of a torn read. The guards release what they took.

#include <Python.h>

#include <atomic>
#include <cstdint>

namespace vorlin_py {

class BorrowFlag {
 public:
  // False when a writer holds the object.
  bool try_share() {
    std::int64_t seen = state_.load();
    while (seen >= 0) {
      if (state_.compare_exchange_weak(seen, seen + 1)) return true;
    }
    return false;
  }
  void unshare() { state_.fetch_sub(1); }
  // False when anyone holds the object.
  bool try_lock() {
    std::int64_t expected = 0;
    return state_.compare_exchange_strong(expected, -1);
  }
  void unlock() { state_.store(0); }

 private:
  std::atomic<std::int64_t> state_ = 0;  // readers, or -1 for one writer
};

// Holds a shared borrow for its lifetime; check `held()` and raise when it is false.
class SharedBorrow {
 public:
  explicit SharedBorrow(BorrowFlag& flag) : flag_(flag.try_share() ? &flag : nullptr) {
    if (flag_ == nullptr) PyErr_SetString(PyExc_RuntimeError, "Already mutably borrowed");
  }
  ~SharedBorrow() {
    if (flag_ != nullptr) flag_->unshare();
  }
  SharedBorrow(const SharedBorrow&) = delete;
  SharedBorrow& operator=(const SharedBorrow&) = delete;
  bool held() const { return flag_ != nullptr; }

 private:
  BorrowFlag* flag_;
};

class ExclusiveBorrow {
 public:
  explicit ExclusiveBorrow(BorrowFlag& flag) : flag_(flag.try_lock() ? &flag : nullptr) {
    if (flag_ == nullptr) PyErr_SetString(PyExc_RuntimeError, "Already borrowed");
  }
  ~ExclusiveBorrow() {
    if (flag_ != nullptr) flag_->unlock();
  }
  ExclusiveBorrow(const ExclusiveBorrow&) = delete;
  ExclusiveBorrow& operator=(const ExclusiveBorrow&) = delete;
  bool held() const { return flag_ != nullptr; }

 private:
  BorrowFlag* flag_;
};

}  // namespace vorlin_py
