#pragma once

#include "resources/DecodedImage.h"
#include "resources/ImageError.h"

namespace orvane {

// Outcome of the DDS reader and the image decoder: an image, or an error code and no pixels.
struct ImageResult {
  ImageError error = ImageError::None;
  DecodedImage image;

  bool Ok() const { return error == ImageError::None; }
  static ImageResult Failure(ImageError code) { return {code, {}}; }
};

}  // namespace orvane
