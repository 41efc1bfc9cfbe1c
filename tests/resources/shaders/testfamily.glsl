#version 450 core
// A family for the shader-file tests: a full-screen triangle and two pixel entries.
layout(std140, binding = 0) uniform Constants {
  vec4 gColor;
};

//@entry VS vs
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec2 uv;
void main() {
  uv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(uv * 2.0 - 1.0, 0.0, 1.0);
}

//@entry PSRed ps
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 color;
void main() { color = vec4(1.0, 0.0, 0.0, 1.0) * gColor; }

//@entry PSBlue ps
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 color;
void main() { color = vec4(uv, 1.0, 1.0) * gColor; }
