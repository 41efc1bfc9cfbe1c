#version 450 core
// Blurs the occlusion of the "ssao" pass, vertically and then horizontally, over 9 pixels with
// the two outer ones at half weight: every phase of the 4x4 noise pattern counts exactly twice, so
// the pattern averages away on open surfaces. Neighbours on another surface (a depth that jumps)
// are left out, so occlusion does not bleed across silhouettes and edges stay sharp. The combine
// darkens the image by the blurred occlusion (red).
// Every texture here is screen-sized, like the targets drawn, so pixels are read where they are.

layout(std140, binding = 0) uniform SsaoBlurConstants {
  vec2 gRegionScale;  // the viewport as a fraction of the screen-sized images
  vec2 gRegionOffset;
};

//@entry VS vs
//@include include/regionTriangleVS.inc

//@entry PSVertical ps
//@include include/ssaoBlur.inc
void main() { outColor = BlurAlong(ivec2(0, 1)); }

//@entry PSHorizontal ps
//@include include/ssaoBlur.inc
void main() { outColor = BlurAlong(ivec2(1, 0)); }

//@entry PSCombine ps
layout(binding = 0) uniform sampler2D gSource;
layout(binding = 1) uniform sampler2D gOcclusion;
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;
//@include include/finite.inc
void main() {
  vec4 source = textureLod(gSource, vUv, 0.0);
  ivec2 size = textureSize(gOcclusion, 0);
  float open = texelFetch(gOcclusion, clamp(ivec2(gl_FragCoord.xy), ivec2(0), size - 1), 0).r;
  outColor = vec4(FiniteColor(source.rgb) * open, Finite(source.a, 0.0));
}
