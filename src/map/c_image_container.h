#ifndef KORVALE_MAP_C_IMAGE_CONTAINER_H_
#define KORVALE_MAP_C_IMAGE_CONTAINER_H_

// The images of one map document, in list order, and the resources of a
// re-opened map that the program keeps without interpreting them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bitmap/conversion_context.h"
#include "bitmap/conversion_front.h"
#include "bitmap/image_source.h"
#include "map/c_image.h"
#include "map/image_list_observer.h"
#include "pdb/database.h"

namespace kv {

// Runs the conversion work it is given to its end and rethrows what the
// work threw; the desktop program runs it on a worker thread while its
// window keeps answering.
using ConversionRunner = std::function<void(const std::function<void()>& work)>;

class CImageContainer {
 public:
  // A resource written back byte for byte.
  struct PalmResource {
    ResourceInfo info;
    std::vector<std::uint8_t> bytes;
  };

  // `base_name` is the default document name that NextImageName numbers.
  // The observer may be null.
  CImageContainer(std::string base_name, ImageListObserver* observer);
  ~CImageContainer();
  CImageContainer(const CImageContainer&) = delete;
  CImageContainer& operator=(const CImageContainer&) = delete;

  // Appends the image and tells the list, which selects it. Throws
  // ErrImageListFull when the list already holds kMaxImages images.
  CImage& AddImage(std::unique_ptr<CImage> image);
  // Appends the images in order and tells the list once. Throws
  // ErrImageListFull, adding none, when they do not all fit.
  void AddImages(std::vector<std::unique_ptr<CImage>> images);
  // Moves a listed image to `position` in the list without it (the end when
  // the position is that list's length). False when the image is not listed.
  bool MoveImage(const CImage* image, std::size_t position);
  // Takes the image out of the list; null when it is not listed. An image
  // not converted yet loses its source.
  std::unique_ptr<CImage> RemoveImage(const CImage* image);

  // Adds a source image: with `convert` an overview of the whole source
  // fitted into one tile (its colour table built when `build_palette`),
  // followed by the tiles, column by column, each converted with the
  // overview's table; without, the main image alone, unconverted (the
  // source stays the caller's: AddImageFromFile and AddImageFromSource keep
  // it for the later conversion). Returns the main image. `name` null
  // takes NextImageName(). Throws ErrImageListFull before converting
  // anything when the tiles would not fit the list, and the conversion's
  // exceptions (ErrAlreadyReported when the conversion context was
  // cancelled); the list is then unchanged.
  CImage& AddSourceImage(const ConversionSource& source, bool convert, bool source_is_bmp,
                         bool build_palette, const std::string* name, std::uint32_t date,
                         std::uint16_t resource_id, ConversionSettings& settings);
  // Reads the whole file at `path` and adds it as BMP bytes, converted with
  // a new colour table and dated now. File errors name the path.
  CImage& AddImageFromFile(int kind, const std::string& path, const std::string* name, bool convert,
                           ConversionSettings& settings);
  // Adds an open image source read from `path`, converted with a new colour
  // table and dated now, and keeps the source open while the container
  // lives.
  CImage& AddImageFromSource(ImageSourcePtr source, bool convert, const std::string* name,
                             ConversionSettings& settings, const std::string& path = {});
  // Both keep an image added unconverted with its source (the file's bytes
  // or the open source) and fill its unconverted_source(), so that it can
  // be shown now and converted later.

  // True while an image of the list waits for its conversion.
  bool HasUnconvertedImages() const;
  // Converts every unconverted image as an import would have (overview with
  // a new colour table, then its tiles just behind it in the list), at the
  // settings' depth, compression and scale. Everything is converted before
  // the list changes: a failure or cancel (ErrAlreadyReported) leaves it
  // as it was.
  void ConvertUnconvertedImages(ConversionSettings& settings);

  // Encodes every image again from its reference bitmap at `depth` (none:
  // each at the depth it has now), with compression as the settings say, in
  // list order: the first image builds the colour table the others share.
  // An image whose reference already has that depth and compression takes
  // the reference as it is. Images not converted yet have no bitmap and are
  // passed over. Progress goes to the conversion context, one step per
  // image, and its cancel stops the work with ErrAlreadyReported. Every
  // bitmap is encoded before any is replaced: a failure or cancel leaves all
  // images as they were.
  void ReencodeImages(const ConversionSettings& settings, std::optional<int> depth);

  // "<base name> <n>", counting from 1.
  std::string NextImageName();

  ConversionContext& conversion_context() { return conversion_; }
  // How the conversions run; none runs them on the calling thread. The work
  // given to it touches no image of the list, so whatever shows the list may
  // go on reading it meanwhile.
  void set_conversion_runner(ConversionRunner runner) { runner_ = std::move(runner); }

  // True after changes to the list or a name, or when an image's colour
  // depth differs from the depth it was last saved with.
  bool IsModified() const;
  void SetModified() { modified_ = true; }
  void ClearModified() { modified_ = false; }
  // After a successful save: every image's depth is its saved depth.
  void MarkSaved();

  std::size_t image_count() const { return images_.size(); }
  // Null outside the list; index 0 is the first image.
  CImage* ImageAt(std::size_t index) const;
  const std::vector<std::unique_ptr<CImage>>& images() const { return images_; }

  std::vector<PalmResource>& preserved_resources() { return preserved_; }
  const std::vector<PalmResource>& preserved_resources() const { return preserved_; }

  ImageListObserver* observer() const { return observer_; }

  // An image added unconverted and what it is to be converted from.
  struct UnconvertedEntry {
    CImage* image = nullptr;
    int kind = 0;
    std::vector<std::uint8_t> bmp_bytes;  // BMP sources
    ImageSourcePtr source;                // other sources
  };

 private:
  std::vector<std::unique_ptr<CImage>>::iterator Find(const CImage* image);

  // The overview's bitmap and the tiles' images, made by the conversion
  // runner's work: the window's thread only lists them.
  struct ConvertedImages {
    BitmapRecord overview;
    std::vector<std::unique_ptr<CImage>> tiles;
  };
  ConvertedImages ConvertSource(const ConversionSource& source, bool source_is_bmp,
                                bool build_palette, ConversionSettings& settings,
                                const std::string& main_name, std::uint32_t date);
  void KeepUnconverted(CImage& image, const std::string& path, UnconvertedEntry entry);
  void RunConversion(const std::function<void()>& work);
  void ReportStep(std::uint64_t done, std::uint64_t total);

  int name_counter_ = 1;
  std::string base_name_;
  bool modified_ = false;
  std::vector<std::unique_ptr<CImage>> images_;
  std::vector<PalmResource> preserved_;
  ImageListObserver* observer_;
  ConversionContext conversion_;
  ImageSourcePtr kept_source_;
  std::vector<UnconvertedEntry> unconverted_;
  ConversionRunner runner_;
};

// The image list's orderings: "less" means earlier; ties go by name,
// compared without regard to case.
bool LessByName(const CImage& a, const CImage& b);
bool LessByDate(const CImage& a, const CImage& b);  // whole days
bool LessBySize(const CImage& a, const CImage& b);  // bitmap bytes
bool LessByArea(const CImage& a, const CImage& b);  // width x height
bool LessByDepth(const CImage& a, const CImage& b);

}  // namespace kv

#endif  // KORVALE_MAP_C_IMAGE_CONTAINER_H_
