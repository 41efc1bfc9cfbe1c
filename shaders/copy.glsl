#version 450 core
// Copies the texture at slot 0 over a full-screen triangle, texel for texel; "RegionVS" copies
// only the region of it given by gRegionScale and gRegionOffset (fractions of the texture), the
// part of a screen-sized target that a smaller image was drawn in.

//@entry VS vs
// One triangle that covers the target, made from the vertex index alone: uv (0, 0) is the
// top-left corner, as every target is stored top row first.
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec2 vUv;
void main() {
  vUv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(vUv.x * 2.0 - 1.0, 1.0 - vUv.y * 2.0, 0.0, 1.0);
}

//@entry RegionVS vs
layout(std140, binding = 0) uniform CopyRegionConstants {
  vec2 gRegionScale;
  vec2 gRegionOffset;
};
//@include include/regionTriangleVS.inc

//@entry PS ps
layout(binding = 0) uniform sampler2D gSource;
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;
void main() { outColor = texture(gSource, vUv); }
