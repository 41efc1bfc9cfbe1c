#version 450 core
// The covering triangle of an image shader, made from the vertex index alone: three vertices,
// no vertex buffers. vUv (0, 0) is the top-left corner of the viewport, (1, 1) the bottom-right.
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec2 vUv;
void main() {
  vUv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(vUv.x * 2.0 - 1.0, 1.0 - vUv.y * 2.0, 0.0, 1.0);
}
