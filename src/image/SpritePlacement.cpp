#include "image/SpritePlacement.h"

namespace orvane {
namespace {

constexpr float kReferenceAspect = 1.7777778f;  // 1920 / 1080
constexpr float kReferenceWidth = 1920.0f;
constexpr float kReferenceHeight = 1080.0f;
// The quad lies at depth 0, well inside this range.
constexpr float kNear = 100.0f;
constexpr float kFar = -100.0f;

float PivotTexels(int32_t pivot, float textureWidth) {
  if (pivot == kPivotLeft) return textureWidth;
  if (pivot == kPivotRight) return 0.0f;
  return textureWidth / 2.0f;
}

}  // namespace

SpriteRect PlaceSprite(const SpriteInputs& in) {
  const float vw = in.viewportWidth;
  const float vh = in.viewportHeight;
  const float k = kReferenceAspect / (vw / vh) * (vw / kReferenceWidth) * in.scaleX;
  const float m = vh / kReferenceHeight * in.scaleY;
  SpriteRect rect;
  rect.width = k * in.textureWidth;
  rect.height = m * in.textureHeight;
  rect.left = vw * (in.positionX * 0.5f + 0.5f) - k * PivotTexels(in.pivot, in.textureWidth);
  const float bottom = vh * (in.positionY * 0.5f + 0.5f) + rect.height / 2.0f;
  rect.top = bottom - rect.height;
  return rect;
}

Matrix SpriteMatrix(const SpriteRect& rect, float viewportWidth, float viewportHeight) {
  Matrix placement = Identity();
  placement.m[0][0] = rect.width;
  placement.m[1][1] = rect.height;
  placement.m[3][0] = rect.left;
  placement.m[3][1] = rect.top + rect.height;  // the quad's y = 0 edge is its bottom
  return Multiply(placement, OrthographicOffCenter(0.0f, viewportWidth, viewportHeight, 0.0f, kNear, kFar));
}

Matrix OrthographicOffCenter(float left, float right, float bottom, float top, float nearPlane, float farPlane) {
  Matrix p;
  p.m[0][0] = 2.0f / (right - left);
  p.m[1][1] = 2.0f / (top - bottom);
  p.m[2][2] = 1.0f / (farPlane - nearPlane);
  p.m[3][0] = (left + right) / (left - right);
  p.m[3][1] = (top + bottom) / (bottom - top);
  p.m[3][2] = nearPlane / (nearPlane - farPlane);
  p.m[3][3] = 1.0f;
  return p;
}

}  // namespace orvane
