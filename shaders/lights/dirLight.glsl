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

// ---- shading: the same text in dirLight.glsl and pointLight.glsl (a test compares them) ----
// The G-buffer as shaders/gbuffer.glsl writes it, and the depth of the scene at slot 4.
layout(binding = 0) uniform sampler2D gAlbedo;    // rgb base colour, a 1 where geometry is
layout(binding = 1) uniform sampler2D gNormal;    // xyz view-space normal, w view depth
layout(binding = 2) uniform sampler2D gMaterial;  // roughness, metalness, reflectance at normal incidence
layout(binding = 3) uniform sampler2D gEmissive;  // rgb emitted light
layout(binding = 4) uniform sampler2D gDepth;

const float kPi = 3.14159265;
// Below this roughness a punctual light's highlight outshines what a half-float target holds.
const float kMinRoughness = 0.08;
const float kMaxRadiance = 60000.0;

struct Surface {
  bool covered;    // geometry was drawn at the pixel and its position is known
  vec3 position;   // world space
  vec3 normal;     // world space, unit (zero where the G-buffer holds none)
  vec3 toEye;      // unit
  vec3 albedo;
  float roughness;
  float metalness;
  float reflectance;
  vec3 emissive;
};

vec3 SafeNormalize(vec3 v, vec3 fallback) {
  float length2 = dot(v, v);
  return length2 > 1e-20 ? v * inversesqrt(length2) : fallback;
}

Surface ReadSurface(vec2 fragCoord) {
  ivec2 texel = ivec2(fragCoord);
  vec4 albedo = texelFetch(gAlbedo, texel, 0);
  vec4 normal = texelFetch(gNormal, texel, 0);
  vec4 material = texelFetch(gMaterial, texel, 0);
  // From the pixel to the output rectangle's clip space (y up, top row first), then to the world.
  vec2 screenUv = fragCoord / vec2(textureSize(gAlbedo, 0));
  vec2 uv = (screenUv - gRegionOffset) / gRegionScale;
  vec4 clip = vec4(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0, texelFetch(gDepth, texel, 0).r, 1.0);
  vec4 world = clip * gInvWorldViewProj;

  Surface s;
  s.covered = albedo.a > 0.5 && abs(world.w) > 1e-20;
  s.position = world.xyz / world.w;
  s.normal = SafeNormalize((vec4(normal.xyz, 0.0) * gInvView).xyz, vec3(0.0));
  s.toEye = SafeNormalize(gEyePos.xyz - s.position, s.normal);
  s.albedo = albedo.rgb;
  s.roughness = clamp(material.r, kMinRoughness, 1.0);
  s.metalness = clamp(material.g, 0.0, 1.0);
  s.reflectance = clamp(material.b, 0.0, 1.0);
  s.emissive = texelFetch(gEmissive, texel, 0).rgb;
  return s;
}

// Light reflected towards the eye from light arriving along `toLight` (unit). Metalness
// workflow: GGX distribution, height-correlated Smith visibility, Schlick Fresnel; the diffuse
// part gets only what specular reflection leaves, and metals have none.
vec3 Shade(Surface s, vec3 toLight, vec3 radiance) {
  float nl = dot(s.normal, toLight);
  if (!(nl > 0.0)) return vec3(0.0);
  float nv = max(dot(s.normal, s.toEye), 1e-4);
  vec3 h = SafeNormalize(toLight + s.toEye, s.normal);
  float nh = max(dot(s.normal, h), 0.0);
  float vh = max(dot(s.toEye, h), 0.0);

  float a = s.roughness * s.roughness;
  float a2 = a * a;
  float d = nh * nh * (a2 - 1.0) + 1.0;
  float distribution = a2 / (kPi * d * d);
  float visibility = 0.5 / (nl * sqrt(nv * nv * (1.0 - a2) + a2) + nv * sqrt(nl * nl * (1.0 - a2) + a2));
  vec3 f0 = mix(vec3(s.reflectance), s.albedo, s.metalness);
  vec3 fresnel = f0 + (1.0 - f0) * pow(1.0 - vh, 5.0);

  vec3 specular = distribution * visibility * fresnel;
  vec3 diffuse = (1.0 - fresnel) * (1.0 - s.metalness) * s.albedo / kPi;
  // A light's colour is what a white matte surface facing it reflects: irradiance colour * pi.
  return (diffuse + specular) * radiance * (kPi * nl);
}

// Lights add up in the target, so whatever is not a finite colour becomes black here; alpha 1
// marks the pixel as lit.
vec4 LitColor(vec3 color) {
  if (any(isnan(color)) || any(isinf(color))) color = vec3(0.0);
  return vec4(clamp(color, -kMaxRadiance, kMaxRadiance), 1.0);
}
// ---- end of shading ----

void main() {
  Surface s = ReadSurface(gl_FragCoord.xy);
  if (!s.covered) discard;
  vec3 toLight = -SafeNormalize(gLightDir.xyz, vec3(0.0));
  vec3 color = Shade(s, toLight, gLightColor.rgb);
  if (gFirstLight > 0.5) color += s.emissive;
  outColor = LitColor(color);
}
