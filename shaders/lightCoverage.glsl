#version 450 core
// Where a light pass can light: the pixels its scene drew (the G-buffer's albedo alpha is 1
// there). Marked in depth, 0 on them and 1 elsewhere, colour untouched; the lights then test
// "greater or equal" against the mark, so that empty pixels are rejected before they are shaded.

//@entry VS vs
// One triangle that covers the target at depth 0, made from the vertex index alone.
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 uv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0, 0.0, 1.0);
}

//@entry PS ps
layout(binding = 0) uniform sampler2D gAlbedo;  // rgb base colour, a 1 where geometry is
void main() { gl_FragDepth = texelFetch(gAlbedo, ivec2(gl_FragCoord.xy), 0).a > 0.5 ? 0.0 : 1.0; }
