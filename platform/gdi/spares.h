// Objects a program makes and deletes around every drawing call (pens, brushes, fonts): deleted
// ones are kept, up to a few dozen, and handed out again, so that a frame allocates none once
// warm.
#pragma once

#include <cstddef>

namespace platform {

template <typename T>
class Spares {
 public:
  Spares() = default;
  Spares(const Spares&) = delete;
  Spares& operator=(const Spares&) = delete;
  ~Spares() {
    for (size_t i = 0; i < count_; ++i) delete kept_[i];
  }

  // A fresh T{}, from the kept ones where there are any.
  T* take() {
    if (count_ == 0) return new T{};
    T* object = kept_[--count_];
    *object = T{};
    return object;
  }
  void give(T* object) {
    if (count_ < kKeep) {
      kept_[count_++] = object;
    } else {
      delete object;
    }
  }

 private:
  static constexpr size_t kKeep = 64;
  T* kept_[kKeep];
  size_t count_ = 0;
};

}  // namespace platform
