#include "bitmap/conversion_front.h"

#include <new>

#include "base/exceptions.h"
#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palm_bitmap_encoder.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/raise_conversion_error.h"

namespace kv {

namespace {

ConvertedBitmap StoredRecord(ConversionSettings& settings, std::span<const std::uint8_t> bytes) {
  PalmBitmapDescriptor bitmap;
  ConversionStatus status = ParsePalmBitmap(bytes, &bitmap);
  ConvertedBitmap converted;
  converted.compressed = bitmap.IsCompressed();
  // The record must be displayable, so its pixels must expand.
  if (status == ConversionStatus::kOk) status = DecompressPalmBitmap(&bitmap);
  if (status != ConversionStatus::kOk) RaiseConversionError(status, "");
  converted.record.assign(bytes.begin(), bytes.end());
  converted.width = bitmap.width;
  converted.height = bitmap.height;
  converted.depth = bitmap.pixelSize;
  settings.compressBitmaps = converted.compressed;
  return converted;
}

// The BMP reader or the image source the encoder reads from.
PixelSource* OpenPixels(ConversionContext& context, const ConversionSource& source,
                        const ConversionOptions& options) {
  if (!options.sourceIsBmp) {
    if (source.image == nullptr) throw ErrUnknownImageKind();
    return source.image;
  }
  // Parsing is cheap, so every conversion sets the reader up on its bytes;
  // tiles thus never read through a set-up made for another source.
  ConversionStatus status =
      context.bmp_reader.SetUp(source.bytes, PixelMode::kColour, &context.conversion_message);
  if (status != ConversionStatus::kOk) RaiseConversionError(status, context.conversion_message);
  return &context.bmp_reader;
}

ConvertedBitmap Encode(ConversionContext& context, const ConversionSettings& settings,
                       const ConversionSource& source, const ConversionOptions& options) {
  PixelSource* pixels = OpenPixels(context, source, options);
  OutputBuffer output;
  EncodedBitmapSize size;
  const int compression = settings.compressBitmaps ? kCompressWhenSmaller : kCompressNever;
  ConversionStatus status = EncodePalmBitmap(*pixels, options, settings.scale, compression,
                                             context.palette, &output, &size);
  // Pixels a damaged image could not decode read as black; refuse the result.
  if (status == ConversionStatus::kOk && source.image != nullptr && !options.sourceIsBmp) {
    status = source.image->read_status();
  }
  if (status != ConversionStatus::kOk) RaiseConversionError(status, context.conversion_message);
  ConvertedBitmap converted;
  converted.record = std::move(output.bytes);
  converted.width = size.width;
  converted.height = size.height;
  converted.depth = size.depth;
  PalmBitmapDescriptor header;
  converted.compressed =
      ParsePalmBitmap(converted.record, &header) == ConversionStatus::kOk && header.IsCompressed();
  return converted;
}

MapConversionRequest MapRequest(const ConversionSettings& settings,
                                const ConversionOptions& options) {
  MapConversionRequest request;
  request.overview = options;
  request.scale = settings.scale;
  request.compression = settings.compressBitmaps ? kCompressWhenSmaller : kCompressNever;
  return request;
}

// Pixels a damaged image could not decode read as black; refuse the result.
void RaiseUnlessRead(ConversionContext& context, ConversionStatus status,
                     const ConversionSource& source, const ConversionOptions& options) {
  if (status == ConversionStatus::kOk && source.image != nullptr && !options.sourceIsBmp) {
    status = source.image->read_status();
  }
  if (status != ConversionStatus::kOk) RaiseConversionError(status, context.conversion_message);
}

MapConversion ConvertMapSource(ConversionContext& context, const ConversionSettings& settings,
                               const ConversionSource& source, const ConversionOptions& options) {
  PixelSource* pixels = OpenPixels(context, source, options);
  MapConversion converted;
  const ConversionStatus status =
      ConvertMap(*pixels, MapRequest(settings, options), context, &converted);
  RaiseUnlessRead(context, status, source, options);
  return converted;
}

}  // namespace

MapConversion ConvertToOverviewAndTiles(ConversionContext& context, ConversionSettings& settings,
                                        const ConversionSource& source,
                                        const ConversionOptions& overview) {
  if (source.kind == kInvalidSourceKind) throw ErrUnknownImageKind();
  context.conversion_message.clear();
  try {
    if (source.kind == kPalmBitmapSourceKind) {
      MapConversion stored;
      stored.overview = StoredRecord(settings, source.bytes);
      return stored;
    }
    return ConvertMapSource(context, settings, source, overview);
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
}

MapBitmapsEstimate EstimateOverviewAndTiles(ConversionContext& context,
                                            const ConversionSettings& settings,
                                            const ConversionSource& source,
                                            const ConversionOptions& overview,
                                            std::size_t sample_tiles) {
  if (source.kind == kInvalidSourceKind) throw ErrUnknownImageKind();
  context.conversion_message.clear();
  MapBitmapsEstimate estimate;
  if (source.kind == kPalmBitmapSourceKind) {
    estimate.overview_bytes = source.bytes.size();
    return estimate;
  }
  try {
    PixelSource* pixels = OpenPixels(context, source, overview);
    const ConversionStatus status = EstimateMapBitmaps(*pixels, MapRequest(settings, overview),
                                                       sample_tiles, context.cancel, &estimate);
    RaiseUnlessRead(context, status, source, overview);
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
  return estimate;
}

ConvertedBitmap ConvertToPalmBitmap(ConversionContext& context, ConversionSettings& settings,
                                    const ConversionSource& source,
                                    const ConversionOptions& options) {
  if (source.kind == kInvalidSourceKind) throw ErrUnknownImageKind();
  context.conversion_message.clear();
  try {
    if (source.kind == kPalmBitmapSourceKind) return StoredRecord(settings, source.bytes);
    return Encode(context, settings, source, options);
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
}

}  // namespace kv
