#ifndef KORVALE_DOCUMENT_PREVIEW_PLACEMENT_H_
#define KORVALE_DOCUMENT_PREVIEW_PLACEMENT_H_

// Where the previewer draws an image's bitmap inside its one-tile preview
// area: enlarged by a whole number so that small bitmaps are seen, never
// more than four times, and centred.

namespace kv {

inline constexpr int kPreviewAreaWidth = 160;  // one map tile
inline constexpr int kPreviewAreaHeight = 131;
inline constexpr int kMaxPreviewZoom = 4;

struct PreviewPlacement {
  int zoom = 0;  // 0: nothing is drawn
  int x = 0;     // top-left of the drawn bitmap in the area
  int y = 0;
  int width = 0;  // drawn size: the bitmap's times the zoom
  int height = 0;
};

// A bitmap of `width` x `height` pixels. Each dimension below the area's
// allows the area's size divided by it (one not below allows 1); the zoom
// is the smaller, at most 4. A bitmap with no pixels is not drawn.
PreviewPlacement PlacePreview(int width, int height);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_PREVIEW_PLACEMENT_H_
