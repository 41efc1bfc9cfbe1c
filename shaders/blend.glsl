#version 450 core
// Mixes image B into image A. Colour modes: 0 Normal (B), 1 Add (A + B), 2 Mul (A * B),
// 3 Diff (|A - B|), any other value Normal; the mixed colour covers A as far as B's alpha does.
// Alpha modes: 0 Normal (B over A), 1 MaskA (A's alpha), 2 MaskB (B's alpha), 3 Opaque (1), any
// other value Normal. Both images are read texel for texel.

layout(std140, binding = 0) uniform BlendConstants {
  int gColorMode;
  int gAlphaMode;
};

//@entry VS vs
//@include include/cornerTriangleVS.inc

//@entry PS ps
layout(binding = 0) uniform sampler2D gImageA;
layout(binding = 1) uniform sampler2D gImageB;
layout(location = 0) in vec2 vCorner;
layout(location = 0) out vec4 outColor;

vec3 MixedColor(vec3 a, vec3 b) {
  if (gColorMode == 1) return a + b;
  if (gColorMode == 2) return a * b;
  if (gColorMode == 3) return abs(a - b);
  return b;
}

float MixedAlpha(float a, float b) {
  if (gAlphaMode == 1) return a;
  if (gAlphaMode == 2) return b;
  if (gAlphaMode == 3) return 1.0;
  return b + a * (1.0 - b);
}

void main() {
  vec4 a = texture(gImageA, vCorner);
  vec4 b = texture(gImageB, vCorner);
  float cover = clamp(b.a, 0.0, 1.0);
  outColor = vec4(mix(a.rgb, MixedColor(a.rgb, b.rgb), cover), MixedAlpha(a.a, cover));
}
