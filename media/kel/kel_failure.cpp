#include "media/kel/kel_failure.h"

namespace corvane::kel {

uint32_t& ThreadLastArchiveError() {
  thread_local uint32_t code = 0;
  return code;
}

}  // namespace corvane::kel
