// Importing a source image, with the calibration file that names it or the
// one found beside it.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "base/exceptions.h"
#include "base/failure_reason.h"
#include "base/file_extension.h"
#include "base/message_tables.h"
#include "bitmap/bmp/bmp_layout.h"
#include "bitmap/tile_grid.h"
#include "calibration/calibration_file_finder.h"
#include "calibration/calibration_file_import.h"
#include "calibration/calibration_text_writer.h"
#include "calibration/ozi_map_reader.h"
#include "calibration/raise_import_error.h"
#include "calibration/source_calibration.h"
#include "document/document.h"
#include "document/image_kind.h"
#include "document/import_progress.h"
#include "map/map_text.h"

namespace kv {

namespace {

// Where a calibration file's image is looked for when the file does not
// say, in this order.
constexpr std::string_view kImageExtensions[] = {"bmp", "tif", "tiff", "jpg", "jpeg",
                                                 "png", "gif", "kap",  "cap"};

// The other calibration files the import chooser offers: they name their
// image too (an OziExplorer ".map" on its line 2, a ".geo" in its keys) or
// stand beside it under its name (".pca").
bool IsForeignCalibrationFile(const std::string& path) {
  const int type = CalibrationFileType(path);
  return type == kCalibrationFileMap || type == kCalibrationFileGeo || type == kCalibrationFilePca;
}

std::string ImageExtensionOf(const CalibrationImport& import, const std::string& stem) {
  std::string_view extension = import.image_extension;
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  if (!extension.empty()) return std::string(extension);
  extension = FileExtension(import.image_name);
  if (!extension.empty()) return std::string(extension);
  for (std::string_view candidate : kImageExtensions) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(stem + "." + std::string(candidate), ignored)) {
      return std::string(candidate);
    }
  }
  return std::string();
}

// A file that did not open, with the system's reason (missing, not
// readable, a folder).
[[noreturn]] void ThrowNotOpened(const std::string& path) {
  ErrFileOpen error(path.c_str());
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    code = std::make_error_code(std::errc::is_a_directory);
  } else if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);
  } else {
    code = std::error_code(errno, std::generic_category());
  }
  if (code) error.set_system_error(code.value());
  throw error;
}

// A calibration file whose image stands nowhere beside it: the image is
// what is missing, so the error names the image the file names (or the
// calibration file's own name without extension), not the calibration file.
[[noreturn]] void ThrowImageMissing(const std::string& calibration_path,
                                    const CalibrationImport& import, const std::string& stem) {
  std::string image = stem;
  const std::string_view named = import.image_name;
  if (!named.empty()) {
    const std::size_t slash = named.find_last_of("/\\");
    const std::string_view file = slash == std::string_view::npos ? named : named.substr(slash + 1);
    image = (std::filesystem::path(stem).parent_path() / std::string(file)).string();
  }
  ErrFileOpen error(image.c_str());
  error.set_reason(kReasonImageNotBeside, calibration_path.c_str());
  throw error;
}

void ThrowIfOziImageMissing(const std::string& map_path) {
  const std::string image = OziMapImagePath(map_path);
  std::error_code ignored;
  if (image.empty() || std::filesystem::exists(image, ignored))
    throw ErrNotAnImage(map_path.c_str());
  ErrFileOpen error(image.c_str());
  error.set_reason(kReasonNamedImageMissing, map_path.c_str());
  throw error;
}

[[noreturn]] void ThrowUnsupportedSystem(const std::string& path, const GeoTiffReport& report) {
  ErrOffTheEarth error(path.c_str());
  error.set_reason(kReasonSystemOffTheEarth, report.coordinate_system.c_str());
  throw error;
}

// Width and height of a BMP file; zero when it does not read as one.
void BmpSize(const std::string& path, int* width, int* height) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  BmpLayout layout;
  std::string message;
  if (ParseBmp(bytes, &layout, &message) != ConversionStatus::kOk) return;
  *width = static_cast<int>(layout.width);
  *height = static_cast<int>(layout.height);
}

std::string WithCounts(std::string format, std::size_t half, std::size_t quarter) {
  for (const std::size_t count : {half, quarter}) {
    const std::size_t at = format.find("%s");
    if (at == std::string::npos) break;
    format.replace(at, 2, std::to_string(count));
  }
  return format;
}

void SetCornerTexts(CImage& image, const BoundTextSet& texts) {
  image.set_corner_text(kTopLeftLongitude, texts.west);
  image.set_corner_text(kTopLeftLatitude, texts.north);
  image.set_corner_text(kBottomRightLongitude, texts.east);
  image.set_corner_text(kBottomRightLatitude, texts.south);
}

}  // namespace

bool SetCornerTextsFromBounds(CImage& image, const CalibrationRecord& record) {
  const std::optional<BoundTextSet> texts = FormatBoundTexts(record);
  if (!texts) return false;
  SetCornerTexts(image, *texts);
  return true;
}

CDocument::ImportPlan CDocument::PlanImport(const std::string& path) {
  ImportPlan plan;
  plan.image_path = path;
  plan.kind = ImageKind(path);
  plan.map_name =
      CutToStoredLength(std::filesystem::path(path).stem().string(), kMaxImageNameLength);
  if (!IsCalibrationKind(plan.kind) && !IsForeignCalibrationFile(path)) return plan;

  plan.calibration_path = path;
  plan.calibration = ReadCalibrationFile(path, std::nullopt, 0, 0);
  const CalibrationImport& import = plan.calibration.import;
  const std::string stem(PathWithoutExtension(path));
  const std::string ozi_image =
      CalibrationFileType(path) == kCalibrationFileMap ? OziMapImagePath(path) : std::string();
  std::error_code ignored;
  if (!ozi_image.empty() && std::filesystem::is_regular_file(ozi_image, ignored)) {
    plan.image_path = ozi_image;
    plan.kind = ImageKind(ozi_image);
  } else {
    const std::string extension = ImageExtensionOf(import, stem);
    if (extension.empty()) {
      // The image an OziExplorer file names is the one missing.
      if (!ozi_image.empty()) ThrowIfOziImageMissing(path);
      ThrowImageMissing(path, import, stem);
    }
    plan.image_path = stem + "." + extension;
    plan.kind = ImageKindOfExtension(extension);
  }
  if (!import.image_name.empty()) {
    plan.map_name = CutToStoredLength(import.image_name, kMaxImageNameLength);
  }
  return plan;
}

ImportSource CDocument::SourceOfImport(const std::string& path) {
  const ImportPlan plan = PlanImport(path);
  return {plan.image_path, plan.kind};
}

ImportedCalibrationFile CDocument::ReadCalibrationFile(
    const std::string& path, const std::optional<WorldFileSystem>& world_system, std::int32_t width,
    std::int32_t height) {
  ImportedCalibrationFile file;
  const ImportStatus status =
      ImportCalibrationRecord(path, world_system, Environment(), width, height, &file);
  // Chosen where a calibration belongs, an image (or anything else) is
  // named for what it is not, not as an image of unknown kind.
  if (status == ImportStatus::kNotFound) throw ErrNotACalibrationFile(path.c_str());
  if (status != ImportStatus::kOk) RaiseImportError(status, path, ImportErrorDetail(file));
  return file;
}

std::optional<TakenCalibration> CDocument::ReadCalibrationBeside(const std::string& image_path,
                                                                 std::int32_t width,
                                                                 std::int32_t height,
                                                                 CalibrationRecord* record) {
  CalibrationImport import;
  FoundCalibrationFile found;
  const int type = FindCalibrationFile(image_path, Environment(), &import, width, height, &found);
  if (type == kCalibrationFileNone) return std::nullopt;
  RememberInput(found.path, kCalibrationFileRole);
  // A file beside the image that does not read as a calibration (say a
  // ".map" of another program) is passed over; one that reads as a place
  // off the Earth is refused.
  std::string refusal;
  const ImportStatus status =
      ReadImportedCalibration(import, type, app_.negative_letters, width, height, record, &refusal);
  if (status != ImportStatus::kOk) RaiseImportError(status, found.path, refusal);
  return TakenCalibration{found.path, FormatOfCalibrationFile(type), std::move(import.warnings)};
}

int CDocument::ImportImage(const std::string& path, bool reset_calibration) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  if (!folder.empty()) app_.last_image_folder = folder + "/";
  return ImportSourceImage(path, reset_calibration, true);
}

int CDocument::ImportSourceImage(const std::string& path, bool reset_calibration,
                                 bool show_options) {
  const Snapshot before = TakeSnapshot();
  ImportPlan plan;
  DocumentFailure failure;
  if (!CaptureFailure([&]() { plan = PlanImport(path); }, path, &failure)) {
    RestoreSnapshot(before);
    return Report(kContextImport, failure);
  }
  if (reset_calibration) ClearCalibrationRecord(&app_.calibration);
  if (reset_calibration && !plan.calibration_path.empty()) {
    app_.calibration = plan.calibration.record;
  }
  if (show_options &&
      !ui_.RunConversionOptions({plan.image_path, plan.kind}, &plan.map_name, &app_.settings)) {
    RestoreSnapshot(before);
    return -1;
  }
  plan.map_name = CutToStoredLength(plan.map_name, kMaxImageNameLength);
  const bool ok = CaptureFailure(
      [&]() {
        WaitCursor wait(ui_);
        ImportProgress progress(ui_, *container_);
        source_path_ = plan.image_path;
        std::optional<SourceCalibration> own_calibration;
        // Import converts into overview and tiles; Open adds the image alone.
        CImage& image = AddSourceByKind(plan.image_path, plan.kind, plan.map_name, show_options,
                                        &own_calibration);
        list_.Select(0);
        // Import makes the map, so it says what calibration the map got;
        // Open only shows the image.
        CalibrateImported(image, plan, own_calibration, reset_calibration, show_options);
        Tell(StoredNameNotices(plan.map_name));
      },
      plan.image_path, &failure);
  app_.import_state.needs_image_size = false;
  if (!ok) {
    RestoreSnapshot(before);
    return Report(kContextImport, failure);
  }
  RememberInput(plan.image_path, kSourceImageRole);
  RememberInput(plan.calibration_path, kCalibrationFileRole);
  UpdateTitle();
  ui_.Repaint();
  return 0;
}

std::string CDocument::SmallerScaleCounts(int width, int height) const {
  if (width <= 0 || height <= 0) return std::string();
  // The map's images at a scale: those listed, the overview and its tiles.
  const auto images_at = [&](int den) {
    return container_->image_count() + 1 +
           TileGridFor(width, height, kTileWidth, kTileHeight, ScaleRatio{1, den}).count();
  };
  return WithCounts(app_.smaller_scale_counts, images_at(2), images_at(4));
}

CImage& CDocument::AddSourceByKind(const std::string& path, int kind, const std::string& name,
                                   bool convert,
                                   std::optional<SourceCalibration>* own_calibration) {
  int width = 0;
  int height = 0;
  try {
    return AddConvertedSource(path, kind, name, convert, own_calibration, &width, &height);
  } catch (ErrImageListFull& error) {
    // Too many tiles at this scale: how many a smaller one would give.
    if (kind == kImageKindBmp) BmpSize(path, &width, &height);
    const std::string counts = SmallerScaleCounts(width, height);
    if (!counts.empty()) error.set_reason(counts.c_str());
    throw;
  }
}

CImage& CDocument::AddConvertedSource(const std::string& path, int kind, const std::string& name,
                                      bool convert,
                                      std::optional<SourceCalibration>* own_calibration, int* width,
                                      int* height) {
  // A folder opens for reading and then fails at its first read, or is
  // taken by GDAL for a data set; either way it is no image to open.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored))
    ThrowSystemFailure<ErrFileOpen>(path.c_str(), EISDIR);
  ConversionSettings& settings = app_.settings;
  if (kind == kImageKindBmp) {
    return container_->AddImageFromFile(kImageKindBmp, path, &name, convert, settings);
  }
  ImageSourcePtr source;
  if (kind == kImageKindChart) {
    const ConversionStatus status = library_.Open(path, ImageSourceKind::kChart, &source);
    if (status == ConversionStatus::kOpenFailed) ThrowNotOpened(path);
    if (status != ConversionStatus::kOk || !source) throw ErrUnknownImageKind(path.c_str());
    // A chart without reference points is imported uncalibrated, and the
    // search beside it and the notice say so.
    if (std::optional<SourceCalibrationRecord> chart = ReadChartCalibration(*source)) {
      *own_calibration =
          SourceCalibration{std::move(chart->record),
                            {path, CalibrationSourceFormat::kChart, std::move(chart->warnings)}};
    }
    *width = source->Width();
    *height = source->Height();
    return container_->AddImageFromSource(std::move(source), convert, &name, settings, path);
  }
  if (kind == kImageKindTiff) {
    // A TIFF without georeferencing is imported without calibration.
    GeoTiffSourceCalibration geotiff;
    const ImportStatus read = ReadGeoTiffSourceCalibration(path, app_.negative_letters, &geotiff);
    // Georeferenced, but not on the Earth as the handheld knows it: saying
    // so beats an uncalibrated map nobody was told about.
    if (read == ImportStatus::kGeoTiffUnsupportedSystem)
      ThrowUnsupportedSystem(path, geotiff.report);
    if (read == ImportStatus::kOffTheEarth) RaiseImportError(read, path, geotiff.refusal);
    if (read == ImportStatus::kOk) {
      *own_calibration =
          SourceCalibration{std::move(geotiff.record),
                            {path, CalibrationSourceFormat::kGeoTiff, std::move(geotiff.warnings)}};
    }
  }
  const ConversionStatus status = library_.Open(path, ImageSourceKind::kRaster, &source);
  // An OziExplorer file given as the source opens its image through GDAL;
  // when that image is missing, the image is what the error names.
  if (status != ConversionStatus::kOk && HasFileExtension(path, "map"))
    ThrowIfOziImageMissing(path);
  // A calibration file stands here when its image was not found: that
  // image, not the calibration file, is what did not open.
  if (status == ConversionStatus::kNotAnImage && !IsCalibrationKind(kind))
    throw ErrNotAnImage(path.c_str());
  if (status != ConversionStatus::kOk || !source) ThrowNotOpened(path);
  *width = source->Width();
  *height = source->Height();
  return container_->AddImageFromSource(std::move(source), convert, &name, settings, path);
}

void CDocument::SourceSize(const CImage& image, std::int32_t* width, std::int32_t* height) const {
  const ScaleRatio scale = app_.settings.scale;
  const std::int64_t num = scale.scaleNum > 0 ? scale.scaleNum : 1;
  const std::int64_t den = scale.scaleDen > 0 ? scale.scaleDen : 1;
  *width = static_cast<std::int32_t>(std::int64_t{image.map_width()} * den / num);
  *height = static_cast<std::int32_t>(std::int64_t{image.map_height()} * den / num);
}

void CDocument::CalibrateImported(CImage& image, const ImportPlan& plan,
                                  const std::optional<SourceCalibration>& own_calibration,
                                  bool reset_calibration, bool tell) {
  CalibrationRecord& record = app_.calibration;
  std::int32_t width = 0;
  std::int32_t height = 0;
  SourceSize(image, &width, &height);
  std::optional<TakenCalibration> taken;
  if (!plan.calibration_path.empty()) {
    taken = TakenCalibration{plan.calibration_path, FormatOfCalibrationFile(plan.calibration.type),
                             plan.calibration.import.warnings};
  }
  if (own_calibration) {
    record = own_calibration->record;
    taken = own_calibration->taken;
  }
  const bool given = !plan.calibration_path.empty() || own_calibration || !reset_calibration;
  if (!given) {
    taken = ReadCalibrationBeside(plan.image_path, width, height, &record);
  } else if (app_.import_state.needs_image_size && !plan.calibration_path.empty()) {
    // A ".jpr" holding world file numbers: read again, now with the size.
    ImportedCalibrationFile file =
        ReadCalibrationFile(plan.calibration_path, std::nullopt, width, height);
    record = std::move(file.record);
    if (taken) taken->warnings = std::move(file.import.warnings);
  }
  FitCalibrationToImage(image, &record);

  const CalibrationImport& import = plan.calibration.import;
  if (!SetCornerTextsFromBounds(image, record) && given) {
    SetCornerTexts(image,
                   {import.north_text, import.west_text, import.south_text, import.east_text});
  }
  StoreCalibrationText(image);
  list_.Refresh(image);
  // A calibration kept from the previous document was told about then.
  if (taken || !given) Tell(CalibrationNotices(taken, record, plan.image_path, tell));
}

void CDocument::Tell(const std::vector<Notice>& notices) {
  for (const Notice& notice : notices) ui_.Notify(notice);
}

void CDocument::FitCalibrationToImage(const CImage& image, CalibrationRecord* record) const {
  record->width = static_cast<std::int32_t>(image.map_width());
  record->height = static_cast<std::int32_t>(image.map_height());
  ScaleCalibrationPoints(record, app_.settings.scale.scaleNum, app_.settings.scale.scaleDen);
}

void CDocument::StoreCalibrationText(CImage& image) const {
  const std::optional<std::string> text =
      WriteCalibrationText(app_.calibration, app_.calibration.pending_text);
  if (!text) {
    image.SetCalibration(nullptr, 0);
    return;
  }
  // Stored with its terminating NUL.
  image.SetCalibration(reinterpret_cast<const std::uint8_t*>(text->c_str()), text->size() + 1);
}

}  // namespace kv
