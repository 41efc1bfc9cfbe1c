#pragma once
// Where a sprite lands on the screen: sized relative to a 1080-pixel-high screen, so that a
// sprite covers the same share of the picture at every resolution and keeps its texture's aspect.

#include <cstdint>

#include "render/Matrix.h"

namespace orvane {

enum SpritePivot : int32_t { kPivotCenter = 0, kPivotLeft = 1, kPivotRight = 2 };

struct SpriteInputs {
  float positionX = 0.0f;  // -1 left edge ... 1 right edge
  float positionY = 0.0f;  // -1 top ... 1 bottom
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int32_t pivot = kPivotCenter;
  float textureWidth = 0.0f;  // texels
  float textureHeight = 0.0f;
  float viewportWidth = 0.0f;  // pixels
  float viewportHeight = 0.0f;
};

// The sprite's rectangle in viewport pixels (y down): left, top and size.
struct SpriteRect {
  float left = 0.0f;
  float top = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
};

SpriteRect PlaceSprite(const SpriteInputs& in);

// The matrix that takes the unit quad (x 0..1, y 0..-1) onto the rectangle, in clip space.
Matrix SpriteMatrix(const SpriteRect& rect, float viewportWidth, float viewportHeight);

// Left-handed off-centre orthographic projection.
Matrix OrthographicOffCenter(float left, float right, float bottom, float top, float nearPlane, float farPlane);

}  // namespace orvane
