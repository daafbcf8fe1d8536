// Objects a program makes and deletes around every drawing call (pens, brushes, fonts): deleted
// ones are kept, up to a few dozen, and handed out again, so that a frame allocates none once
// warm.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace platform {

template <typename T>
class Spares {
 public:
  // A fresh T{}, from the kept ones where there are any.
  T* take() {
    if (spares_.empty()) return new T{};
    T* object = spares_.back().release();
    spares_.pop_back();
    *object = T{};
    return object;
  }
  void give(T* object) {
    if (spares_.size() < kKeep) {
      spares_.emplace_back(object);
    } else {
      delete object;
    }
  }

 private:
  static constexpr size_t kKeep = 64;
  std::vector<std::unique_ptr<T>> spares_;
};

}  // namespace platform
