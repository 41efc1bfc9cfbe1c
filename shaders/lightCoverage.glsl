#version 450 core
// Where a light pass can light, marked in a depth-stencil mask: stencil 1 on the pixels its scene
// drew (the G-buffer's albedo alpha is 1 there) with the scene's depth, colour untouched. Lights
// then pass only on stencil 1, so that empty pixels are rejected before they are shaded, and a
// light volume's far side passes only in front of the scene's depth: surfaces beyond the volume
// are out of the light's reach.

//@entry VS vs
// One triangle that covers the target, made from the vertex index alone.
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 uv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0, 0.0, 1.0);
}

//@entry PS ps
layout(binding = 0) uniform sampler2D gAlbedo;  // rgb base colour, a 1 where geometry is
layout(binding = 1) uniform sampler2D gDepth;   // the scene's depth
void main() {
  ivec2 texel = ivec2(gl_FragCoord.xy);
  if (!(texelFetch(gAlbedo, texel, 0).a > 0.5)) discard;
  gl_FragDepth = texelFetch(gDepth, texel, 0).r;
}
