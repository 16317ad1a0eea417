#ifndef KORVALE_MAP_MAP_MOSAIC_H_
#define KORVALE_MAP_MAP_MOSAIC_H_

#include "bitmap/conversion_front.h"
#include "map/c_image_container.h"

namespace kv {

// The whole map at output scale, put together from its tiles: the images
// after the overview, column by column, each column as many tiles high as
// the map height needs. Tiles missing at the end leave black. Throws
// ErrUnknown for an empty container and ErrNotOurFile (with a reason) when
// the stated map size is one no map's tiles can cover.
RgbImage RenderMosaic(const CImageContainer& container);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_MOSAIC_H_
