#version 450 core
// Draws meshes into the G-buffer. What the four targets hold, for the light, ambient-occlusion
// and split passes that read them (all colours linear):
//   0 Albedo    rgb base colour                          a 1 where geometry was drawn
//   1 Normal    xyz view-space unit normal               w view-space depth (distance along the view)
//   2 Material  r roughness  g metalness  b specular reflectance at normal incidence   a 1
//   3 Emissive  rgb emitted light                        a 1
// Material textures (slots 0-3: albedo, roughness, metalness, emissive) arrive as the sampler reads
// them: colour files are sRGB textures that it decodes to linear light, images from the image chain
// and float files are linear already, roughness and metalness are read as stored. A missing one is
// a white texel, so the constants alone decide.

//@include include/drawConstants.inc

//@entry VS vs
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord;
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec3 vViewNormal;
layout(location = 1) out float vViewDepth;
layout(location = 2) out vec2 vUv;
void main() {
  vec4 position = vec4(inPosition, 1.0);
  gl_Position = position * gWorldViewProj;
  vViewNormal = (vec4(inNormal, 0.0) * gNormalMatrix).xyz;
  vViewDepth = (position * gWorldView).z;
  vUv = inTexcoord;
}

//@entry PS ps
layout(binding = 0) uniform sampler2D gAlbedoTex;
layout(binding = 1) uniform sampler2D gRoughnessTex;
layout(binding = 2) uniform sampler2D gMetalnessTex;
layout(binding = 3) uniform sampler2D gEmissiveTex;
layout(location = 0) in vec3 vViewNormal;
layout(location = 1) in float vViewDepth;
layout(location = 2) in vec2 vUv;
layout(location = 0) out vec4 outAlbedo;
layout(location = 1) out vec4 outNormal;
layout(location = 2) out vec4 outMaterial;
layout(location = 3) out vec4 outEmissive;

void main() {
  vec3 albedo = gBaseColor.rgb * texture(gAlbedoTex, vUv).rgb;
  float roughness = clamp(gRoughness * texture(gRoughnessTex, vUv).r, 0.02, 1.0);
  float metalness = clamp(gMetalness * texture(gMetalnessTex, vUv).r, 0.0, 1.0);
  float specular = dot(gSpecularMapColor.rgb, vec3(0.2126, 0.7152, 0.0722));
  vec3 emissive = gEmissiveColor.rgb * texture(gEmissiveTex, vUv).rgb;
  vec3 normal = normalize(vViewNormal);
  // Faces seen from behind (open meshes, quads) light as their front.
  if (!gl_FrontFacing) normal = -normal;
  outAlbedo = vec4(albedo, 1.0);
  outNormal = vec4(normal, vViewDepth);
  outMaterial = vec4(roughness, metalness, specular, 1.0);
  outEmissive = vec4(emissive, 1.0);
}
