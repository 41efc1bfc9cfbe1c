#version 450 core
// Film grain and glitches on display values. The grain is fresh noise every frame (seeded by the
// time), mostly luminance with a little colour, strongest in the mid tones as on film, and
// centred on zero so that it leaves the image's brightness as it is. "Glitch" from 0 to 1 tears
// the picture: bands of lines jump sideways for a moment and the colour channels split apart.

layout(std140, binding = 0) uniform GrainConstants {
  float gStrength;     // 1: grain a viewer notices without looking for it
  float gFadeIn;       // 0: none; 1: black
  float gTime;         // seconds
  vec2 gRegionScale;   // the viewport as a fraction of the source image
  vec2 gRegionOffset;
  vec2 gScreenSize;    // the viewport in pixels
  float gGlitch;
  float gPixelScale;   // drawn pixels per output pixel (supersampled capture): the size of one grain
};

//@entry VS vs
//@include include/regionTriangleVS.inc

//@entry PS ps
layout(binding = 0) uniform sampler2D gSource;
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;

// Standard deviation of the grain, in display values, per unit of strength.
const float kGrainPerStrength = 0.012;
// Share of the grain that differs between the colour channels.
const float kColourGrain = 0.2;
// Glitch bands change this many times a second.
const float kGlitchRate = 12.0;

float Finite(float x) { return (isnan(x) || isinf(x)) ? 0.0 : x; }
float PixelScale() { return clamp(Finite(gPixelScale), 1.0, 16.0); }

// A well-mixed 3D integer hash: every output bit depends on every input bit.
uvec3 Hash(uvec3 v) {
  v = v * 1664525u + 1013904223u;
  v.x += v.y * v.z;
  v.y += v.z * v.x;
  v.z += v.x * v.y;
  v ^= v >> 16u;
  v.x += v.y * v.z;
  v.y += v.z * v.x;
  v.z += v.x * v.y;
  return v;
}
vec3 Uniform3(uvec3 v) { return vec3(Hash(v) >> 8u) * (1.0 / 16777216.0); }

// Noise of mean 0 and standard deviation 1, near-Gaussian (a sum of three uniforms).
float GrainNoise(uvec3 seed) {
  vec3 u = Uniform3(seed);
  return (u.x + u.y + u.z - 1.5) * 2.0;
}

// Where the pixel samples, and how far the channels split, for glitch amount g.
vec2 GlitchedUv(vec2 uv, float g, uint frame, out float split) {
  split = 0.0;
  if (g <= 0.0) return uv;
  float row = floor(gl_FragCoord.y / PixelScale());
  vec3 bandPick = Uniform3(uvec3(frame, 17u, 0u));
  float bandHeight = 2.0 + floor(bandPick.x * 30.0);
  uint band = uint(max(row / bandHeight, 0.0));
  vec3 chance = Uniform3(uvec3(frame, band, 1u));
  float shift = 0.0;
  bool torn = chance.x < 0.6 * g;
  if (torn) shift = (chance.y - 0.5) * 0.5 * g;
  split = g * (0.004 + (torn ? 0.03 * chance.z : 0.0));
  return uv + vec2(shift * gRegionScale.x, 0.0);
}

void main() {
  float time = Finite(gTime);
  float glitch = clamp(Finite(gGlitch), 0.0, 1.0);
  uint frame = uint(floor(abs(time) * kGlitchRate));

  float split;
  vec2 uv = GlitchedUv(vUv, glitch, frame, split);
  vec2 splitUv = vec2(split * gRegionScale.x, 0.0);
  vec4 base = textureLod(gSource, uv, 0.0);
  vec3 color = base.rgb;
  if (split != 0.0) {  // the channels part only while glitching: one read per pixel otherwise
    color.r = textureLod(gSource, uv + splitUv, 0.0).r;
    color.b = textureLod(gSource, uv - splitUv, 0.0).b;
  }
  color = mix(color, vec3(0.0), isnan(color));

  uvec2 pixel = uvec2(max(floor(gl_FragCoord.xy / PixelScale()), vec2(0.0)));
  uint seed = floatBitsToUint(time);
  float mono = GrainNoise(uvec3(pixel, seed));
  vec3 chroma = vec3(GrainNoise(uvec3(pixel, seed ^ 0x9E3779B9u)), GrainNoise(uvec3(pixel, seed ^ 0x7F4A7C15u)),
                     GrainNoise(uvec3(pixel, seed ^ 0x85EBCA6Bu)));
  vec3 noise = mix(vec3(mono), chroma, kColourGrain);
  float luma = clamp(dot(color, vec3(0.2126, 0.7152, 0.0722)), 0.0, 1.0);
  float response = 0.25 + 3.0 * luma * (1.0 - luma);
  float amount = clamp(abs(Finite(gStrength)) * kGrainPerStrength, 0.0, 1.0);
  color += noise * (amount * response);

  float fade = clamp(Finite(gFadeIn), 0.0, 1.0);
  outColor = vec4(max(color, vec3(0.0)) * (1.0 - fade), base.a);
}
