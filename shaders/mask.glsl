#version 450 core
// Keeps the image where the mask passes: the mask's channels weighted by "gChannelMask" (usually
// one channel picked) above "gThreshold"; "gInvert" over 0.5 keeps it where the mask does not
// pass. Elsewhere the pixel becomes transparent black. Both images are read texel for texel.

layout(std140, binding = 0) uniform MaskConstants {
  vec4 gChannelMask;
  float gThreshold;
  float gInvert;
};

//@entry VS vs
//@include include/cornerTriangleVS.inc

//@entry PS ps
layout(binding = 0) uniform sampler2D gImage;
layout(binding = 1) uniform sampler2D gMask;
layout(location = 0) in vec2 vCorner;
layout(location = 0) out vec4 outColor;
void main() {
  vec4 image = texture(gImage, vCorner);
  float value = dot(texture(gMask, vCorner), gChannelMask);
  bool passes = value > gThreshold;  // NaN anywhere never passes
  if (gInvert > 0.5) passes = !passes;
  outColor = passes ? image : vec4(0.0);
}
