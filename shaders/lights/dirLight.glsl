#version 450 core
// A directional light over the G-buffer: one full-screen triangle per light, added to what the
// lights before it left. The first light of a pass also adds the scene's emitted light.

//@entry VS vs
// One triangle that covers the target, made from the vertex index alone.
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 uv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0, 0.0, 1.0);
}

//@entry PS ps
// What every light of a light pass shares.
layout(std140, binding = 0) uniform LightPassConstants {
  mat4 gInvWorldViewProj;  // clip space of the output rectangle to world space
  mat4 gInvView;           // view space to world space: the camera frame
  vec4 gEyePos;
  vec2 gRegionScale;       // the output rectangle on the screen, as fractions of its size
  vec2 gRegionOffset;
};
layout(std140, binding = 1) uniform DirLightConstants {
  vec4 gLightDir;     // the way the light travels, world space
  vec4 gLightColor;
  float gFirstLight;  // 1: the pass's first light, which adds the emitted light
};
layout(location = 0) out vec4 outColor;

//@include include/deferredShading.inc

void main() {
  Surface s = ReadSurface(gl_FragCoord.xy);
  if (!s.covered) discard;
  vec3 toLight = -SafeNormalize(gLightDir.xyz, vec3(0.0));
  vec3 color = Shade(s, toLight, gLightColor.rgb);
  if (gFirstLight > 0.5) color += s.emissive;
  outColor = LitColor(color);
}
