#version 450 core
// Fast approximate anti-aliasing on display values: finds luminance edges, walks along each edge
// to both of its ends to learn where on the stair-step the pixel sits, and resamples the image
// across the edge by that much, so that a hard diagonal becomes a smooth ramp while flat areas
// and soft gradients stay untouched. Thin features and single-pixel speckles get a smaller
// sub-pixel blend from the average of the 3x3 neighbourhood.
// Two passes: edgePS (edgeExactPS where the viewport covers its region texel for texel) writes
// every pixel unchanged and marks in depth the few whose contrast makes an edge (0 there, 1
// elsewhere); mainPS then runs only where the mark lets the depth test pass, so the flat parts of
// the image never pay for the search.

layout(std140, binding = 0) uniform FxaaConstants {
  vec2 gRegionScale;   // the viewport as a fraction of the source image
  vec2 gRegionOffset;
};

layout(binding = 0) uniform sampler2D gSource;

// Contrast below max(kEdgeThresholdMin, kEdgeThreshold * brightest neighbour) is no edge.
const float kEdgeThreshold = 0.125;
const float kEdgeThresholdMin = 0.0312;

vec2 gTexel;
vec2 gUvMin;
vec2 gUvMax;

// Samples stay inside the viewport's region, so edges never wrap around to the far side.
vec4 Sample(vec2 uv) { return textureLod(gSource, clamp(uv, gUvMin, gUvMax), 0.0); }
float Luma(vec3 c) { return dot(clamp(c, 0.0, 1.0), vec3(0.299, 0.587, 0.114)); }
float LumaAt(vec2 uv) { return Luma(Sample(uv).rgb); }
float LumaAt(vec2 uv, float dx, float dy) { return LumaAt(uv + vec2(dx, dy) * gTexel); }

// Sets the texel size and the region's bounds; gives the pixel's position within the region.
vec2 BeginPixel(vec2 unclamped) {
  gTexel = 1.0 / vec2(max(textureSize(gSource, 0), ivec2(1)));
  gUvMin = gRegionOffset + 0.5 * gTexel;
  gUvMax = max(gRegionOffset + gRegionScale - 0.5 * gTexel, gUvMin);
  return clamp(unclamped, gUvMin, gUvMax);
}

// The luminance of the centre and its four direct neighbours, and whether their contrast makes
// the centre an edge pixel.
struct Cross {
  float m, n, s, w, e;
  float range;
  bool edge;
};

Cross CrossOf(float m, float n, float s, float w, float e) {
  Cross c = Cross(m, n, s, w, e, 0.0, false);
  float lumaMin = min(m, min(min(n, s), min(w, e)));
  float lumaMax = max(m, max(max(n, s), max(w, e)));
  c.range = lumaMax - lumaMin;
  c.edge = c.range >= max(kEdgeThresholdMin, lumaMax * kEdgeThreshold);
  return c;
}

Cross CrossAt(vec2 uv, vec4 center) {
  return CrossOf(Luma(center.rgb), LumaAt(uv, 0.0, -1.0), LumaAt(uv, 0.0, 1.0), LumaAt(uv, -1.0, 0.0),
                 LumaAt(uv, 1.0, 0.0));
}

// The luminance of the texel `offset` away from `texel`, kept inside the region [lo, hi].
float LumaAt(ivec2 texel, ivec2 offset, ivec2 lo, ivec2 hi) {
  return Luma(texelFetch(gSource, clamp(texel + offset, lo, hi), 0).rgb);
}

// Whether the pixel at `texel` with colour `center` is on an edge: the search's test, on the four
// neighbours' texels read directly. Without filtering a read costs a quarter of a filtered
// sample, and the edge passes run on every pixel.
bool EdgeAt(ivec2 texel, vec4 center, ivec2 lo, ivec2 hi) {
  return CrossOf(Luma(center.rgb), LumaAt(texel, ivec2(0, -1), lo, hi), LumaAt(texel, ivec2(0, 1), lo, hi),
                 LumaAt(texel, ivec2(-1, 0), lo, hi), LumaAt(texel, ivec2(1, 0), lo, hi)).edge;
}

//@entry mainVS vs
//@include include/regionTriangleVS.inc

//@entry mainPS ps
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;

// How much of the sub-pixel blend to apply (0 none, 1 full softness).
const float kSubpixelQuality = 0.75;
// Step lengths, in texels, of the walk along an edge: fine near the pixel, coarser far away.
const int kSearchSteps = 12;
const float kSearchStep[kSearchSteps] = float[](1.0, 1.0, 1.0, 1.0, 1.0, 1.5, 2.0, 2.0, 2.0, 2.0, 4.0, 8.0);

void main() {
  vec2 uv = BeginPixel(vUv);
  vec4 center = Sample(uv);
  Cross contrast = CrossAt(uv, center);
  if (!contrast.edge) {
    outColor = center;
    return;
  }
  float lumaM = contrast.m;
  float lumaN = contrast.n;
  float lumaS = contrast.s;
  float lumaW = contrast.w;
  float lumaE = contrast.e;
  float range = contrast.range;

  float lumaNW = LumaAt(uv, -1.0, -1.0);
  float lumaNE = LumaAt(uv, 1.0, -1.0);
  float lumaSW = LumaAt(uv, -1.0, 1.0);
  float lumaSE = LumaAt(uv, 1.0, 1.0);

  // A horizontal edge changes from row to row: compare second differences across rows and
  // across columns, the centre weighted twice.
  float acrossRows = abs(lumaNW + lumaSW - 2.0 * lumaW) + 2.0 * abs(lumaN + lumaS - 2.0 * lumaM) +
                     abs(lumaNE + lumaSE - 2.0 * lumaE);
  float acrossColumns = abs(lumaNW + lumaNE - 2.0 * lumaN) + 2.0 * abs(lumaW + lumaE - 2.0 * lumaM) +
                        abs(lumaSW + lumaSE - 2.0 * lumaS);
  bool horizontal = acrossRows >= acrossColumns;

  // Which side of the pixel the edge lies on: the neighbour with the steeper change.
  float lumaBefore = horizontal ? lumaN : lumaW;
  float lumaAfter = horizontal ? lumaS : lumaE;
  float gradientBefore = abs(lumaBefore - lumaM);
  float gradientAfter = abs(lumaAfter - lumaM);
  bool edgeBefore = gradientBefore >= gradientAfter;
  float stepAcross = horizontal ? gTexel.y : gTexel.x;
  if (edgeBefore) stepAcross = -stepAcross;
  float lumaEdge = 0.5 * (lumaM + (edgeBefore ? lumaBefore : lumaAfter));
  float gradientScaled = 0.25 * max(gradientBefore, gradientAfter);

  // Walk along the edge, half a texel across it, until the luminance there leaves the edge's.
  vec2 along = horizontal ? vec2(gTexel.x, 0.0) : vec2(0.0, gTexel.y);
  vec2 onEdge = uv + (horizontal ? vec2(0.0, 0.5 * stepAcross) : vec2(0.5 * stepAcross, 0.0));
  vec2 uvNegative = onEdge - along;
  vec2 uvPositive = onEdge + along;
  float endNegative = LumaAt(uvNegative) - lumaEdge;
  float endPositive = LumaAt(uvPositive) - lumaEdge;
  bool doneNegative = abs(endNegative) >= gradientScaled;
  bool donePositive = abs(endPositive) >= gradientScaled;
  for (int i = 1; i < kSearchSteps && !(doneNegative && donePositive); ++i) {
    if (!doneNegative) {
      uvNegative -= along * kSearchStep[i];
      endNegative = LumaAt(uvNegative) - lumaEdge;
      doneNegative = abs(endNegative) >= gradientScaled;
    }
    if (!donePositive) {
      uvPositive += along * kSearchStep[i];
      endPositive = LumaAt(uvPositive) - lumaEdge;
      donePositive = abs(endPositive) >= gradientScaled;
    }
  }

  // The nearer end decides: the pixel lies on the step that ends there, and moves across the
  // edge by how far it is from that end relative to the step's length.
  float distanceNegative = horizontal ? uv.x - uvNegative.x : uv.y - uvNegative.y;
  float distancePositive = horizontal ? uvPositive.x - uv.x : uvPositive.y - uv.y;
  bool negativeNearer = distanceNegative < distancePositive;
  float nearest = min(distanceNegative, distancePositive);
  float stepLength = max(distanceNegative + distancePositive, 1e-8);
  float edgeOffset = 0.5 - nearest / stepLength;
  // Only when the nearer end turns the way the centre does is the pixel on the step's low side.
  bool centreBelowEdge = lumaM < lumaEdge;
  bool endBelowEdge = (negativeNearer ? endNegative : endPositive) < 0.0;
  if (endBelowEdge == centreBelowEdge) edgeOffset = 0.0;

  // Sub-pixel aliasing: how far the centre stands out from its neighbourhood's average.
  float lumaAverage = (2.0 * (lumaN + lumaS + lumaW + lumaE) + lumaNW + lumaNE + lumaSW + lumaSE) / 12.0;
  float standOut = clamp(abs(lumaAverage - lumaM) / range, 0.0, 1.0);
  float smoothStandOut = (3.0 - 2.0 * standOut) * standOut * standOut;
  float subpixelOffset = smoothStandOut * smoothStandOut * kSubpixelQuality;

  float offset = max(edgeOffset, subpixelOffset);
  vec2 resampled = uv + (horizontal ? vec2(0.0, offset * stepAcross) : vec2(offset * stepAcross, 0.0));
  outColor = Sample(resampled);
}

//@entry edgePS ps
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;

// Any viewport: the copy samples the image as the search does.
void main() {
  vec2 uv = BeginPixel(vUv);
  vec4 center = Sample(uv);
  outColor = center;
  vec2 size = 1.0 / gTexel;
  gl_FragDepth = EdgeAt(ivec2(uv * size), center, ivec2(gUvMin * size), ivec2(gUvMax * size)) ? 0.0 : 1.0;
}

//@entry edgeExactPS ps
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;

// A viewport that covers its region texel for texel (the usual case): every read is a texel.
void main() {
  vec2 size = vec2(textureSize(gSource, 0));
  ivec2 texel = ivec2(vUv * size);
  ivec2 lo = ivec2(gRegionOffset * size + 0.5);
  ivec2 hi = ivec2((gRegionOffset + gRegionScale) * size - 0.5);
  vec4 center = texelFetch(gSource, texel, 0);
  outColor = center;
  gl_FragDepth = EdgeAt(texel, center, lo, hi) ? 0.0 : 1.0;
}
