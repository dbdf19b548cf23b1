// The option records are plain aggregates; their defaults are the member initialisers.
#include "media/options.h"

namespace velmora::media {
static_assert(static_cast<int>(TOptionTargetType::ttDVD) == 3);
static_assert(static_cast<int>(TOptionNormType::ntNTSC) == 2);
}  // namespace velmora::media
