#include "document/preview_placement.h"

#include <algorithm>

namespace kv {

PreviewPlacement PlacePreview(int width, int height) {
  PreviewPlacement placement;
  if (width <= 0 || height <= 0) return placement;
  const int across = width < kPreviewAreaWidth ? kPreviewAreaWidth / width : 1;
  const int down = height < kPreviewAreaHeight ? kPreviewAreaHeight / height : 1;
  placement.zoom = std::min({across, down, kMaxPreviewZoom});
  placement.width = width * placement.zoom;
  placement.height = height * placement.zoom;
  placement.x = (kPreviewAreaWidth - placement.width) / 2;
  placement.y = (kPreviewAreaHeight - placement.height) / 2;
  return placement;
}

}  // namespace kv
