#version 450 core
// A textured rectangle over the image: the unit quad placed by "gScreen", the texture tinted by
// "gColor" and blended over what the image holds by its alpha.

layout(std140, binding = 0) uniform SpriteConstants {
  mat4 gScreen;  // the unit quad to clip space
  vec4 gColor;
};

//@entry VS vs
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord;
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec2 vUv;
void main() {
  gl_Position = vec4(inPosition, 1.0) * gScreen;
  vUv = inTexcoord;
}

//@entry PS ps
layout(binding = 0) uniform sampler2D gTexture;
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;
void main() { outColor = texture(gTexture, vUv) * gColor; }
