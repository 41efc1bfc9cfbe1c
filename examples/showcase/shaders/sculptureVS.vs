#version 450 core
// Vertex stage of the showcase's ray-marched sculpture: one triangle that covers the output, made
// from the vertex index alone, and for each corner the ray through it, as the points where it
// meets the near and far planes in the space of the object (homogeneous: the pixel stage
// divides). Interpolated across the triangle they give every pixel its own ray.

layout(std140, binding = 0) uniform DrawConstants {
  mat4 gWorldViewProj;
  mat4 gWorldView;
  mat4 gProj;
  vec4 gBaseColor;
  vec4 gSpecularMapColor;
  float gRoughness;
  float gMetalness;
  vec4 gEmissiveColor;
};

out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec4 vNear;
layout(location = 1) out vec4 vFar;

void main() {
  vec2 uv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  vec2 ndc = vec2(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0);
  mat4 clipToObject = inverse(gWorldViewProj);
  vNear = vec4(ndc, 0.0, 1.0) * clipToObject;
  vFar = vec4(ndc, 1.0, 1.0) * clipToObject;
  gl_Position = vec4(ndc, 0.0, 1.0);
}
