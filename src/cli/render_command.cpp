#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "base/exceptions.h"
#include "base/file_extension.h"
#include "base/replace_file_writer.h"
#include "cli/commands.h"
#include "cli/png_file.h"
#include "document/input_overwrite.h"
#include "map/map_file.h"
#include "map/map_mosaic.h"

namespace kv::cli {

namespace {

struct RenderOptions {
  std::string map;
  std::string output;
  std::size_t image = 0;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  ReplaceFileWriter writer;
  if (const int error = writer.Begin(path); error != 0)
    ThrowSystemFailure<ErrFileCreate>(path.c_str(), error);
  if (std::fwrite(bytes.data(), 1, bytes.size(), writer.file()) != bytes.size() ||
      writer.Commit() != 0) {
    throw ErrFileWrite(path.c_str());
  }
}

void RefuseToOverwriteMap(const RenderOptions& options) {
  RefuseToOverwriteInput(options.output, std::array{InputFile{options.map, kMapRole}});
}

void LoadMap(const std::string& path, CImageContainer* container) {
  ConversionSettings settings;
  LoadMapFile(path, *container, settings, nullptr);
}

// A wrong index is the user's slip, not a failure of the map: it is a usage
// error, told with the numbers the map has.
void CheckImageIndex(const RenderOptions& options, std::size_t image_count) {
  if (options.image < image_count) return;
  std::string message = "the map " + options.map;
  if (image_count == 0) {
    message += " holds no images";
  } else {
    message += " has " + std::to_string(image_count) + " images, numbered 0 to " +
               std::to_string(image_count - 1) + "; there is no image " +
               std::to_string(options.image);
  }
  throw CLI::ValidationError("--image", message);
}

void Render(const RenderOptions& options, const CImageContainer& container) {
  const std::vector<std::uint8_t>& bytes = container.ImageAt(options.image)->bitmap().bytes;
  if (HasFileExtension(options.output, "png")) {
    WritePngFile(options.output, DecodePalmBitmapRgb(bytes));
  } else {
    WriteBytes(options.output, RenderPalmBitmapAsBmp(bytes));
  }
  std::cout << options.output << "\n";
}

void Mosaic(const RenderOptions& options) {
  RefuseToOverwriteMap(options);
  CImageContainer container("Map", nullptr);
  LoadMap(options.map, &container);
  RgbImage mosaic;
  try {
    mosaic = RenderMosaic(container);
  } catch (LException& error) {
    if (error.file_name() == nullptr) error.set_file_name(options.map.c_str());
    throw;
  }
  WritePngFile(options.output, mosaic);
  std::cout << options.output << "\n";
}

int RunRender(CliContext& context, const RenderOptions& options) {
  CImageContainer container("Map", nullptr);
  int result = RunReported(context, kContextOpen, [&]() {
    RefuseToOverwriteMap(options);
    LoadMap(options.map, &container);
  });
  if (result != 0) return result;
  // Outside RunReported, which would report it as a failure.
  CheckImageIndex(options, container.image_count());
  return RunReported(context, kContextOpen, [&]() { Render(options, container); });
}

}  // namespace

void AddRenderCommands(CLI::App& app, CliContext& context, int* exit_code) {
  auto render = std::make_shared<RenderOptions>();
  CLI::App* command = app.add_subcommand("render", "Write one image of a map as BMP or PNG");
  command->add_option("MAP", render->map, "Map database (.prc)")->required();
  command->add_option("--image", render->image, "Index of the image (0 is the overview)")
      ->capture_default_str();
  command->add_option("-o,--output", render->output, "OUT.bmp or OUT.png")->required();
  command->callback([&context, exit_code, render]() { *exit_code = RunRender(context, *render); });

  auto mosaic = std::make_shared<RenderOptions>();
  command = app.add_subcommand("mosaic", "Put a map's tiles together into one PNG picture");
  command->add_option("MAP", mosaic->map, "Map database (.prc)")->required();
  command->add_option("-o,--output", mosaic->output, "OUT.png")->required();
  command->callback([&context, exit_code, mosaic]() {
    *exit_code = RunReported(context, kContextOpen, [&]() { Mosaic(*mosaic); });
  });
}

}  // namespace kv::cli
