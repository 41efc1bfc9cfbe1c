#version 450 core
// Particles into the G-buffer: each point (position, colour, size) becomes a camera-facing
// sprite of size * gSize, round, shaded like a small sphere so that lights catch it, glowing in
// its own colour towards the centre and dissolving towards its rim. Targets as gbuffer.glsl
// writes them.

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

//@entry mainVS vs
layout(location = 0) in vec3 inPosition;
layout(location = 3) in vec4 inColor;
layout(location = 2) in vec2 inSize;  // x: size
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec4 vColor;
layout(location = 1) out float vSize;
void main() {
  // View space: the geometry stage spreads the corners there, facing the camera.
  gl_Position = vec4(inPosition, 1.0) * gWorldView;
  vColor = inColor;
  vSize = inSize.x;
}

//@entry mainGS gs
layout(points) in;
layout(triangle_strip, max_vertices = 4) out;
layout(std140, binding = 1) uniform SpriteConstants {
  vec2 gSize;
};
in gl_PerVertex { vec4 gl_Position; } gl_in[];
layout(location = 0) in vec4 vColor[];
layout(location = 1) in float vSize[];
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec4 gColor;
layout(location = 1) out vec2 gCorner;     // -1 ... 1, y up
layout(location = 2) out float gViewDepth;
void main() {
  vec2 halfSize = 0.5 * vSize[0] * gSize;
  // Shrunk away, behind the eye, or not a number: no sprite.
  if (!(halfSize.x > 0.0 && halfSize.y > 0.0) || !(gl_in[0].gl_Position.z > 0.0)) return;
  // Bottom-left, top-left, bottom-right, top-right: clockwise on screen, so front facing.
  const vec2 corners[4] = vec2[](vec2(-1.0, -1.0), vec2(-1.0, 1.0), vec2(1.0, -1.0), vec2(1.0, 1.0));
  for (int i = 0; i < 4; ++i) {
    vec4 view = gl_in[0].gl_Position + vec4(corners[i] * halfSize, 0.0, 0.0);
    gl_Position = view * gProj;
    gColor = vColor[0];
    gCorner = corners[i];
    gViewDepth = view.z;
    EmitVertex();
  }
  EndPrimitive();
}

//@entry mainPS ps
layout(location = 0) in vec4 gColor;
layout(location = 1) in vec2 gCorner;
layout(location = 2) in float gViewDepth;
layout(location = 0) out vec4 outAlbedo;
layout(location = 1) out vec4 outNormal;
layout(location = 2) out vec4 outMaterial;
layout(location = 3) out vec4 outEmissive;

// A fixed pattern of thresholds in 0 ... 1 across neighbouring pixels.
float Dither(vec2 pixel) { return fract(52.9829189 * fract(dot(pixel, vec2(0.06711056, 0.00583715)))); }

void main() {
  float r2 = dot(gCorner, gCorner);
  if (r2 > 1.0) discard;
  // The G-buffer has no blending: the rim dissolves in a dither instead of fading.
  float coverage = 1.0 - smoothstep(0.55, 1.0, r2);
  if (coverage < Dither(gl_FragCoord.xy)) discard;
  // A sphere's normal across the disc, facing the eye (view space looks along +z).
  vec3 normal = normalize(vec3(gCorner.x, gCorner.y, -sqrt(max(1.0 - r2, 0.0))));
  vec3 color = max(gColor.rgb, vec3(0.0));
  float glow = (1.0 - r2) * (1.0 - r2);
  outAlbedo = vec4(clamp(color, 0.0, 1.0) * gBaseColor.rgb, 1.0);
  outNormal = vec4(normal, gViewDepth);
  outMaterial = vec4(clamp(gRoughness, 0.02, 1.0), clamp(gMetalness, 0.0, 1.0),
                     dot(gSpecularMapColor.rgb, vec3(0.2126, 0.7152, 0.0722)), 1.0);
  outEmissive = vec4(color * glow + gEmissiveColor.rgb, 1.0);
}
