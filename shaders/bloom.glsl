#version 450 core
// Bloom, first and last step. "PSExtract" keeps the light above the threshold, scaled so that
// the threshold maps to none and one unit above it to full glow, into the half-size glow target;
// the bilinear read of the full-size source averages each 2x2 block, so small bright details do
// not flicker in and out as they move. "PSBloom" adds the blurred glow to the image, each with
// its own intensity and saturation. Non-finite constants count as 0 (saturations as 1), and
// non-finite light as none, so nothing NaN leaves these passes.

layout(std140, binding = 0) uniform BloomConstants {
  float gExtractThreshold;
  vec2 gExtractRegionScale;  // the viewport as a fraction of the source image
  vec2 gExtractRegionOffset;
  float gBloomIntensity;
  float gBloomSaturation;
  float gBaseIntensity;
  float gBaseSaturation;
  vec2 gBloomRegionScale;
  vec2 gBloomRegionOffset;
};

//@entry VS vs
//@include include/cornerTriangleVS.inc

//@entry PSExtract ps
layout(binding = 0) uniform sampler2D gSource;
layout(location = 0) in vec2 vCorner;
layout(location = 0) out vec4 outColor;
//@include include/finite.inc
void main() {
  vec3 light = max(FiniteColor(textureLod(gSource, vCorner * gExtractRegionScale + gExtractRegionOffset, 0.0).rgb), 0.0);
  float threshold = Finite(gExtractThreshold, 0.0);
  vec3 glow = clamp((light - threshold) / max(1.0 - threshold, 0.01), 0.0, 1.0);
  outColor = vec4(glow, 1.0);
}

//@entry PSBloom ps
layout(binding = 0) uniform sampler2D gSource;
layout(binding = 1) uniform sampler2D gGlow;
layout(location = 0) in vec2 vCorner;
layout(location = 0) out vec4 outColor;
//@include include/finite.inc

vec3 Saturate(vec3 c, float saturation) {
  float grey = dot(c, vec3(0.3, 0.59, 0.11));
  return mix(vec3(grey), c, saturation);
}

void main() {
  vec4 base = textureLod(gSource, vCorner * gBloomRegionScale + gBloomRegionOffset, 0.0);
  vec3 glow = textureLod(gGlow, vCorner, 0.0).rgb;
  vec3 image = Saturate(FiniteColor(base.rgb), Finite(gBaseSaturation, 1.0)) * Finite(gBaseIntensity, 0.0);
  vec3 added = Saturate(glow, Finite(gBloomSaturation, 1.0)) * Finite(gBloomIntensity, 0.0);
  outColor = vec4(FiniteColor(image + max(added, 0.0)), Finite(base.a, 0.0));
}
