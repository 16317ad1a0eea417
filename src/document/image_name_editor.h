#ifndef KORVALE_DOCUMENT_IMAGE_NAME_EDITOR_H_
#define KORVALE_DOCUMENT_IMAGE_NAME_EDITOR_H_

// Renaming an image from the previewer's name field while the user types.
// An image may not be left without a name: one emptied and left is given
// back the name it had when the editing began.

#include <cstddef>
#include <string>
#include <string_view>

#include "map/map_layout.h"

namespace kv {

class CImage;

class ImageNameEditor {
 public:
  // The field got the focus while `shown` is shown (none: nothing to edit).
  void Begin(CImage* shown);
  // The user changed the text to `text` while `shown` is shown. Renames the
  // edited image when it is still the shown one (keeping at most
  // kMaxImageNameLength bytes, never half a character) and returns it;
  // otherwise returns null.
  CImage* TextChanged(const CImage* shown, std::string_view text);
  // The field lost the focus. Returns the edited image when its emptied
  // name was put back, else null; either way the editing ends.
  CImage* End();
  // The edited image is gone: the editing ends without touching it.
  void Forget();

  const CImage* edited() const { return edited_; }

 private:
  CImage* edited_ = nullptr;
  std::string saved_name_;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMAGE_NAME_EDITOR_H_
