#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "base/exceptions.h"
#include "cli/commands.h"
#include "cli/png_file.h"
#include "map/map_file.h"
#include "map/map_mosaic.h"

namespace kv::cli {

namespace {

struct RenderOptions {
  std::string map;
  std::string output;
  std::size_t image = 0;
};

bool IsPng(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".png";
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  if (!file) throw ErrFileCreate(path.c_str());
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) throw ErrFileWrite(path.c_str());
}

void LoadMap(const std::string& path, CImageContainer* container) {
  ConversionSettings settings;
  LoadMapFile(path, *container, settings, nullptr);
}

void Render(const RenderOptions& options) {
  CImageContainer container("Map", nullptr);
  LoadMap(options.map, &container);
  const CImage* image = container.ImageAt(options.image);
  if (image == nullptr) throw ErrUnknown(options.map.c_str());
  if (IsPng(options.output)) {
    WritePngFile(options.output, DecodePalmBitmapRgb(image->bitmap().bytes));
  } else {
    WriteBytes(options.output, RenderPalmBitmapAsBmp(image->bitmap().bytes));
  }
  std::cout << options.output << "\n";
}

void Mosaic(const RenderOptions& options) {
  CImageContainer container("Map", nullptr);
  LoadMap(options.map, &container);
  WritePngFile(options.output, RenderMosaic(container));
  std::cout << options.output << "\n";
}

}  // namespace

void AddRenderCommands(CLI::App& app, CliContext& context, int* exit_code) {
  auto render = std::make_shared<RenderOptions>();
  CLI::App* command = app.add_subcommand("render", "Write one image of a map as BMP or PNG");
  command->add_option("MAP", render->map, "Map database (.prc)")->required();
  command->add_option("--image", render->image, "Index of the image (0 is the overview)")
      ->capture_default_str();
  command->add_option("-o,--output", render->output, "OUT.bmp or OUT.png")->required();
  command->callback([&context, exit_code, render]() {
    *exit_code = RunReported(context, kContextOpen, [&]() { Render(*render); });
  });

  auto mosaic = std::make_shared<RenderOptions>();
  command = app.add_subcommand("mosaic", "Put a map's tiles together into one PNG picture");
  command->add_option("MAP", mosaic->map, "Map database (.prc)")->required();
  command->add_option("-o,--output", mosaic->output, "OUT.png")->required();
  command->callback([&context, exit_code, mosaic]() {
    *exit_code = RunReported(context, kContextOpen, [&]() { Mosaic(*mosaic); });
  });
}

}  // namespace kv::cli
