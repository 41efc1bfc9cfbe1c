#version 450 core
// Bloom's blur over the half-size glow target, vertically then horizontally: a Gaussian whose
// reach is "gBloomRadius" pixels of the full-size image (the weight is about 4% there). Taps lie
// at most 1.5 texels apart, read with bilinear filtering, so even a wide glow has no gaps for a
// thin bright line to fall into, and it stays smooth and steady as the image moves.

layout(std140, binding = 0) uniform BloomBlurConstants {
  float gBloomRadius;
};

//@entry VS vs
//@include include/cornerTriangleVS.inc

//@entry PSVertical ps
//@include include/bloomBlur.inc
void main() { outColor = BlurAlong(vec2(0.0, 1.0)); }

//@entry PSHorizontal ps
//@include include/bloomBlur.inc
void main() { outColor = BlurAlong(vec2(1.0, 0.0)); }
