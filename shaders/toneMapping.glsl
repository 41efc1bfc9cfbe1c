#version 450 core
// Tone mapping: the lit image holds linear light of any brightness; this pass scales it by the
// exposure, rolls it off with a filmic curve (a fit of the ACES reference transform: a toe that
// keeps shadows rich, a shoulder that brings highlights softly to white and desaturates them as
// film does) and encodes the result for the display with the sRGB transfer curve. Every image
// before this pass is linear; every image after it holds display values.

layout(std140, binding = 0) uniform ToneMappingConstants {
  float gExposure;
  vec2 gRegionScale;   // the viewport as a fraction of the source image
  vec2 gRegionOffset;
};

//@entry mainVS vs
//@include include/regionTriangleVS.inc

//@entry mainPS ps
layout(binding = 0) uniform sampler2D gSource;
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;

// Exposure 1 puts a mid-grey surface (linear 0.18) near the middle of the display range.
const float kMiddleGreyGain = 1.6;
// The largest value a half-float target holds: brighter light (or infinity) saturates to white.
const float kLargestLight = 65504.0;

// From linear sRGB primaries into the space the curve was fitted in, and back, with the
// reference transform's look (a slight saturation of mid tones) folded in. Written row by row,
// and applied as `v * matrix`, which takes the dot product of v with each written row.
const mat3 kToCurveSpace = mat3(
    0.59719, 0.35458, 0.04823,
    0.07600, 0.90834, 0.01566,
    0.02840, 0.13383, 0.83777);
const mat3 kFromCurveSpace = mat3(
     1.60475, -0.53108, -0.07367,
    -0.10208,  1.10813, -0.00605,
    -0.00327, -0.07276,  1.07602);

vec3 FilmicCurve(vec3 x) {
  vec3 numerator = x * (x + 0.0245786) - 0.000090537;
  vec3 denominator = x * (0.983729 * x + 0.4329510) + 0.238081;
  return numerator / denominator;
}

vec3 LinearToDisplay(vec3 c) {
  return mix(c * 12.92, 1.055 * pow(c, vec3(1.0 / 2.4)) - 0.055, greaterThan(c, vec3(0.0031308)));
}

// NaN becomes black and negative light none, so one bad pixel cannot spread through later passes.
vec3 SanitizeLight(vec3 c) {
  c = mix(c, vec3(0.0), isnan(c));
  return clamp(c, vec3(0.0), vec3(kLargestLight));
}

void main() {
  vec4 source = textureLod(gSource, vUv, 0.0);
  float exposure = isnan(gExposure) ? 0.0 : gExposure;
  vec3 light = SanitizeLight(SanitizeLight(source.rgb) * (exposure * kMiddleGreyGain));
  vec3 mapped = FilmicCurve(light * kToCurveSpace) * kFromCurveSpace;
  vec3 display = LinearToDisplay(clamp(mapped, 0.0, 1.0));
  float alpha = isnan(source.a) ? 0.0 : clamp(source.a, 0.0, 1.0);
  outColor = vec4(display, alpha);
}
