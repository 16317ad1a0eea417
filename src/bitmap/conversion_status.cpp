#include "bitmap/conversion_status.h"

namespace kv {

bool IsSupportedDepth(int depth) {
  switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

}  // namespace kv
