// What GDI keeps between calls, in one object that a reset replaces. It is never freed at exit,
// as the handle table is not: a deletion made while the process ends still finds it.
#include "kept.h"

#include "objects.h"

namespace platform {

Kept::Kept() = default;
Kept::~Kept() = default;

namespace kept_instance {

Kept* current = new Kept;

}  // namespace kept_instance

void kept_reset() {
  delete kept_instance::current;
  kept_instance::current = new Kept;
}

}  // namespace platform
