#version 450 core
// Ambient occlusion from the G-buffer's normal target (xyz view-space unit normal, w view-space
// depth; 0 where nothing was drawn). Each pixel tests 14 points around it within "gOcclusionRadius",
// on the side its normal faces, turned by a 4x4 noise texel so that neighbouring pixels test
// different directions (the blur that follows averages the 4x4 pattern away). A point counts as
// occluded when the surface seen through it lies more than "gSurfaceEpsilon" in front of it (the
// point is inside or behind geometry), as long as that surface is near the pixel in depth. The
// result, in red, is how much of the pixel's surroundings are open, 1 where nothing occludes;
// green and blue hold the pixel's depth for the blur (include/ssaoDepth.inc).

layout(std140, binding = 0) uniform SsaoConstants {
  vec4 gFrustumCorner;  // the far plane's upper-right corner in view space
  vec4 gOffsets[14];    // sample offsets, lengths 0.24 to 1 of the radius
  mat4 gProj;           // view space to clip space
  vec2 gScreenSize;     // the viewport in pixels
  float gOcclusionFadeEnd;
  float gOcclusionFadeStart;
  float gOcclusionRadius;
  float gSurfaceEpsilon;
  float gOcclusionPower;
  vec2 gRegionScale;  // the viewport as a fraction of the normal target
  vec2 gRegionOffset;
};

//@entry VS vs
//@include include/regionTriangleVS.inc

//@entry PS ps
layout(binding = 0) uniform sampler2D gNormals;
layout(binding = 1) uniform sampler2D gNoise;
layout(location = 0) in vec2 vUv;
layout(location = 0) out vec4 outColor;

//@include include/finite.inc
//@include include/ssaoDepth.inc

// The normal and depth of the pixel at a position on the screen-sized normal target.
vec4 NormalDepthAt(vec2 screenUv) {
  ivec2 size = textureSize(gNormals, 0);
  ivec2 texel = clamp(ivec2(floor(screenUv * vec2(size))), ivec2(0), size - 1);
  return texelFetch(gNormals, texel, 0);
}

// The point at `depth` seen through `corner` (0..1 over the viewport, y down).
vec3 ViewPosition(vec2 corner, float depth) {
  vec2 ndc = vec2(corner.x * 2.0 - 1.0, 1.0 - corner.y * 2.0);
  if (abs(gProj[0][0]) < 1e-12 || abs(gProj[1][1]) < 1e-12) {
    return vec3(ndc * gFrustumCorner.xy / max(gFrustumCorner.z, 1e-6), 1.0) * depth;
  }
  float w = depth * gProj[3][2] + gProj[3][3];
  float x = (ndc.x * w - depth * gProj[0][2] - gProj[0][3]) / gProj[0][0];
  float y = (ndc.y * w - depth * gProj[1][2] - gProj[1][3]) / gProj[1][1];
  return vec3(x, y, depth);
}

// Where a view-space point lands, as a corner position over the viewport; false behind the eye.
bool Project(vec3 p, out vec2 corner) {
  vec4 clip = vec4(p, 1.0) * gProj;
  corner = vec2(0.0);
  if (!(clip.w > 1e-6)) return false;
  vec2 ndc = clip.xy / clip.w;
  corner = vec2(ndc.x * 0.5 + 0.5, 0.5 - ndc.y * 0.5);
  return all(greaterThanEqual(corner, vec2(0.0))) && all(lessThan(corner, vec2(1.0)));
}

// How much an occluder `distZ` away from the pixel in depth occludes it: fully up to the fade
// start, less and less up to the fade end, nothing beyond.
float OcclusionOfDistance(float distZ, float fadeStart, float fadeEnd) {
  if (distZ <= fadeStart) return 1.0;
  return clamp((fadeEnd - distZ) / max(fadeEnd - fadeStart, 1e-6), 0.0, 1.0);
}

void main() {
  outColor = vec4(1.0, 0.0, 0.0, 1.0);
  vec2 corner = (vUv - gRegionOffset) / gRegionScale;
  vec4 normalDepth = NormalDepthAt(vUv);
  float depth = normalDepth.w;
  float normalLength = length(normalDepth.xyz);
  if (!(depth > 0.0) || isinf(depth) || !(normalLength > 1e-4) || isinf(normalLength)) return;
  vec3 normal = normalDepth.xyz / normalLength;
  outColor = vec4(1.0, EncodeDepth(depth), 1.0);
  vec3 p = ViewPosition(corner, depth);

  float radius = abs(Finite(gOcclusionRadius, 0.0));
  float epsilon = Finite(gSurfaceEpsilon, 0.0);
  float fadeStart = Finite(gOcclusionFadeStart, 0.0);
  float fadeEnd = Finite(gOcclusionFadeEnd, 0.0);
  float power = clamp(Finite(gOcclusionPower, 1.0), 0.0, 64.0);
  if (!(radius > 0.0) || radius > 1e6) return;

  vec3 turn = texelFetch(gNoise, ivec2(gl_FragCoord.xy) & 3, 0).xyz * 2.0 - 1.0;
  turn = length(turn) > 1e-3 ? normalize(turn) : vec3(0.0, 0.0, 1.0);

  float occlusion = 0.0;
  for (int i = 0; i < 14; ++i) {
    vec3 offset = reflect(gOffsets[i].xyz, turn);
    offset *= dot(offset, normal) < 0.0 ? -1.0 : 1.0;  // the side the surface faces
    vec3 q = p + radius * offset;
    vec2 sampleCorner;
    if (!Project(q, sampleCorner)) continue;
    float surfaceZ = NormalDepthAt(sampleCorner * gRegionScale + gRegionOffset).w;
    if (!(surfaceZ > 0.0) || isinf(surfaceZ)) continue;
    // The tested point lies behind the surface seen through it: that surface occludes.
    if (q.z - surfaceZ <= epsilon) continue;
    // Only surfaces within reach of the radius occlude (fully up to one radius away in depth,
    // none beyond two): the floor behind an object's silhouette stays open, so no dark halo
    // surrounds objects in front of distant surfaces.
    float distZ = abs(p.z - surfaceZ);
    float reach = 1.0 - smoothstep(radius, 2.0 * radius, distZ);
    occlusion += reach * OcclusionOfDistance(distZ, fadeStart, fadeEnd);
  }
  float open = clamp(1.0 - occlusion / 14.0, 0.0, 1.0);
  outColor = vec4(pow(open, power), EncodeDepth(depth), 1.0);
}
