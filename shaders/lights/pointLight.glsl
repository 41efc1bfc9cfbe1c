#version 450 core
// A point light over the G-buffer: the light volume (a sphere somewhat larger than the light's
// reach, its far side drawn) covers the pixels the light can touch; each adds to what the lights
// before it left. The light falls off with the square of the distance, windowed smoothly to
// zero at its radius.

layout(std140, binding = 1) uniform PointLightConstants {
  mat4 gWorldViewProj;  // the light volume's
  vec4 gLightPos;       // world space
  vec4 gLightCol;
  float gLightRadius;
  float gLightBrightness;
};

//@entry VS vs
layout(location = 0) in vec3 inPosition;
out gl_PerVertex { vec4 gl_Position; };
void main() { gl_Position = vec4(inPosition, 1.0) * gWorldViewProj; }

//@entry PS ps
// What every light of a light pass shares.
layout(std140, binding = 0) uniform LightPassConstants {
  mat4 gInvWorldViewProj;  // clip space of the output rectangle to world space
  mat4 gInvView;           // view space to world space: the camera frame
  vec4 gEyePos;
  vec2 gRegionScale;       // the output rectangle on the screen, as fractions of its size
  vec2 gRegionOffset;
};
layout(location = 0) out vec4 outColor;

//@include include/deferredShading.inc

// 1 at the light, the inverse square further out, and exactly 0 from the radius on.
float Falloff(float dist, float radius) {
  float x = dist / radius;
  float window = clamp(1.0 - x * x * x * x, 0.0, 1.0);
  return window * window / (dist * dist + 1.0);
}

void main() {
  Surface s = ReadSurface(gl_FragCoord.xy);
  if (!s.covered) discard;
  vec3 toLight = gLightPos.xyz - s.position;
  float dist = length(toLight);
  vec3 radiance = gLightCol.rgb * (gLightBrightness * Falloff(dist, gLightRadius));
  outColor = LitColor(Shade(s, SafeNormalize(toLight, s.normal), radiance));
}
