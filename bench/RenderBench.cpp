// Draws per second through the render layer against a plain OpenGL loop doing the same work:
// 10,000 small meshes a frame into a 64x64 target, each draw with its own constants (a world
// matrix and a colour). Both loops run in the same context on the same meshes and shaders;
// the plain loop writes constants into a persistently mapped ring and binds a range per draw,
// the cheapest way GL offers.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/DrawCall.h"
#include "render/DrawContext.h"
#include "render/Geometry.h"
#include "render/GpuResource.h"
#include "render/Matrix.h"
#include "render/RenderState.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "render/TargetSet.h"
#include "render/VertexLayout.h"
#include "render/Window.h"

namespace orvane {
namespace {

constexpr int kDrawsPerFrame = 10000;
constexpr int kFrames = 6;
constexpr int kRounds = 6;
constexpr int kTargetSize = 64;

const char* const kVertexShader = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(std140, binding = 0) uniform Object { mat4 gWorld; vec4 gColor; };
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texcoord;
layout(location = 0) out vec4 color;
void main() {
  gl_Position = vec4(position, 1.0) * gWorld;
  color = gColor * (0.75 + 0.25 * normal.z) + vec4(texcoord, 0.0, 0.0) * 0.0;
}
)";

const char* const kPixelShader = R"(#version 450 core
layout(std140, binding = 0) uniform Object { mat4 gWorld; vec4 gColor; };
layout(location = 0) in vec4 color;
layout(location = 0) out vec4 outColor;
void main() { outColor = color; }
)";

struct Vertex {
  float position[3], normal[3], texcoord[2];
};

// A unit cube: 24 vertices, 36 indices, faces clockwise from outside.
void Cube(std::vector<Vertex>& vertices, std::vector<uint16_t>& indices) {
  const float faces[6][3][3] = {
      {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},
      {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
      {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}}};
  const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
  for (const auto& f : faces) {
    const auto base = static_cast<uint16_t>(vertices.size());
    for (const auto& c : corners) {
      Vertex v{};
      for (int k = 0; k < 3; ++k) {
        v.position[k] = 0.5f * (f[0][k] + c[0] * f[1][k] + c[1] * f[2][k]);
        v.normal[k] = f[0][k];
      }
      v.texcoord[0] = c[0] * 0.5f + 0.5f;
      v.texcoord[1] = c[1] * 0.5f + 0.5f;
      vertices.push_back(v);
    }
    for (uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + i));
  }
}

struct ObjectConstants {
  Matrix world;  // written transposed
  Vector4 color;
};

std::vector<ObjectConstants> MakeObjects() {
  std::vector<ObjectConstants> objects(kDrawsPerFrame);
  for (int i = 0; i < kDrawsPerFrame; ++i) {
    Matrix world = Identity();
    const float scale = 0.04f;
    world.m[0][0] = world.m[1][1] = scale;
    world.m[2][2] = 0.1f;
    world.m[3][0] = -0.95f + 1.9f * static_cast<float>(i % 100) / 99.0f;
    world.m[3][1] = -0.95f + 1.9f * static_cast<float>(i / 100) / 99.0f;
    world.m[3][2] = 0.5f;
    objects[static_cast<size_t>(i)].world = Transpose(world);
    objects[static_cast<size_t>(i)].color = {static_cast<float>(i % 7) / 7.0f, 0.5f, 1.0f, 1.0f};
  }
  return objects;
}

// Wall time, and the CPU time of every thread of the process (the application's and the
// driver's): on a busy machine the CPU time is the steadier of the two.
struct Timing {
  double wall = 1e30;
  double cpu = 1e30;
};

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class Stopwatch {
public:
  Timing Elapsed() const {
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count(),
            CpuSeconds() - cpu_};
  }

private:
  std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
  double cpu_ = CpuSeconds();
};

void KeepBest(Timing& best, const Timing& run) {
  best.wall = std::min(best.wall, run.wall);
  best.cpu = std::min(best.cpu, run.cpu);
}

struct LayerScene {
  ShaderPass* pass = nullptr;
  Geometry geometry;
  GpuResource* target = nullptr;
};

Timing RunLayer(Adapter& adapter, LayerScene& scene, const std::vector<ObjectConstants>& objects) {
  DrawContext& draw = *adapter.drawContext;
  ConstantBuffer& constants = *scene.pass->constantBuffers[0];
  TargetSet targets;
  targets.color[0] = scene.target;
  targets.clearFlags = kClearColor;
  targets.rect = {0, 0, kTargetSize, kTargetSize};
  DrawCall call;
  call.pass = scene.pass;
  call.geometry = &scene.geometry;
  draw.InvalidateState();
  const Stopwatch stopwatch;
  for (int frame = 0; frame < kFrames; ++frame) {
    adapter.BeginFrame();
    draw.SetTargets(targets);
    for (const ObjectConstants& object : objects) {
      constants.BeginUpdate();
      constants.SetConstant("gWorld", &object.world);
      constants.SetConstant("gColor", &object.color);
      constants.EndUpdate();
      draw.Draw(call);
    }
    draw.UnbindTargets();
    glFinish();
  }
  return stopwatch.Elapsed();
}

// The same work in plain GL.
struct PlainScene {
  GLuint pipeline = 0, vertexShader = 0, pixelShader = 0;
  GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
  GLuint ring = 0, framebuffer = 0;
  uint8_t* ringData = nullptr;
  GLsizeiptr ringSize = 0;
  GLintptr alignment = 256;
  GLsync frameFences[4] = {};
};

void SetUpPlain(PlainScene& p, const std::vector<Vertex>& vertices,
                const std::vector<uint16_t>& indices, GLuint targetTexture) {
  p.vertexShader = glCreateShaderProgramv(GL_VERTEX_SHADER, 1, &kVertexShader);
  p.pixelShader = glCreateShaderProgramv(GL_FRAGMENT_SHADER, 1, &kPixelShader);
  glCreateProgramPipelines(1, &p.pipeline);
  glUseProgramStages(p.pipeline, GL_VERTEX_SHADER_BIT, p.vertexShader);
  glUseProgramStages(p.pipeline, GL_FRAGMENT_SHADER_BIT, p.pixelShader);
  glCreateBuffers(1, &p.vertexBuffer);
  glNamedBufferStorage(p.vertexBuffer, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                       vertices.data(), 0);
  glCreateBuffers(1, &p.indexBuffer);
  glNamedBufferStorage(p.indexBuffer, static_cast<GLsizeiptr>(indices.size() * 2), indices.data(),
                       0);
  glCreateVertexArrays(1, &p.vertexArray);
  const GLuint offsets[3] = {0, 12, 24};
  const GLint sizes[3] = {3, 3, 2};
  for (GLuint a = 0; a < 3; ++a) {
    glEnableVertexArrayAttrib(p.vertexArray, a);
    glVertexArrayAttribFormat(p.vertexArray, a, sizes[a], GL_FLOAT, GL_FALSE, offsets[a]);
    glVertexArrayAttribBinding(p.vertexArray, a, 0);
  }
  glVertexArrayVertexBuffer(p.vertexArray, 0, p.vertexBuffer, 0, sizeof(Vertex));
  glVertexArrayElementBuffer(p.vertexArray, p.indexBuffer);
  GLint alignment = 256;
  glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
  p.alignment = std::max(alignment, 16);
  const GLintptr perDraw = (static_cast<GLintptr>(sizeof(ObjectConstants)) + p.alignment - 1) /
                           p.alignment * p.alignment;
  p.ringSize = perDraw * kDrawsPerFrame * 4;  // four frames in flight
  const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
  glCreateBuffers(1, &p.ring);
  glNamedBufferStorage(p.ring, p.ringSize, nullptr, flags);
  p.ringData = static_cast<uint8_t*>(glMapNamedBufferRange(p.ring, 0, p.ringSize, flags));
  glCreateFramebuffers(1, &p.framebuffer);
  glNamedFramebufferTexture(p.framebuffer, GL_COLOR_ATTACHMENT0, targetTexture, 0);
}

Timing RunPlain(PlainScene& p, const std::vector<ObjectConstants>& objects) {
  const GLintptr perDraw = (static_cast<GLintptr>(sizeof(ObjectConstants)) + p.alignment - 1) /
                           p.alignment * p.alignment;
  const GLfloat clear[4] = {0, 0, 0, 0};
  // The state the layer's pass uses: back faces culled, no depth, no blending.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisablei(GL_BLEND, 0);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glColorMaski(0, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  const Stopwatch stopwatch;
  for (int frame = 0; frame < kFrames; ++frame) {
    const int slot = frame % 4;
    if (p.frameFences[slot]) {
      glClientWaitSync(p.frameFences[slot], GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000);
      glDeleteSync(p.frameFences[slot]);
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, p.framebuffer);
    glViewport(0, 0, kTargetSize, kTargetSize);
    glClearNamedFramebufferfv(p.framebuffer, GL_COLOR, 0, clear);
    glBindProgramPipeline(p.pipeline);
    glBindVertexArray(p.vertexArray);
    GLintptr offset = perDraw * kDrawsPerFrame * slot;
    for (const ObjectConstants& object : objects) {
      std::memcpy(p.ringData + offset, &object, sizeof object);
      glBindBufferRange(GL_UNIFORM_BUFFER, 0, p.ring, offset, sizeof object);
      glDrawElements(GL_TRIANGLES, 36, GL_UNSIGNED_SHORT, nullptr);
      offset += perDraw;
    }
    p.frameFences[slot] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glFinish();
  }
  glBindProgramPipeline(0);
  glBindVertexArray(0);
  return stopwatch.Elapsed();
}

int Run() {
  UseOffscreenVideoWhenHeadless(false);
  ScreenParams params;
  params.width = kTargetSize;
  params.height = kTargetSize;
  SDL_Window* window = OpenWindow(params);
  if (!window) return 1;
  Screen* screen = CreateScreen(window, params);
  Adapter& adapter = *screen->adapter;

  std::vector<Vertex> vertices;
  std::vector<uint16_t> indices;
  Cube(vertices, indices);
  const std::vector<ObjectConstants> objects = MakeObjects();

  LayerScene layer;
  layer.pass = CreateShaderPass(&adapter);
  AddShader(layer.pass, ShaderBlob::FromText(kVertexShader, kStageVertex));
  AddShader(layer.pass, ShaderBlob::FromText(kPixelShader, kStagePixel));
  RenderStateDesc state = DefaultRenderStateDesc();
  state.flags = kStateCullBack;
  SetState(layer.pass, GetRenderState(&adapter, state));
  ResourceDesc vertexDesc;
  vertexDesc.flags = kResourceVertexBuffer | kUsageImmutable;
  vertexDesc.bitsPerElement = sizeof(Vertex) * 8;
  vertexDesc.width = static_cast<uint32_t>(vertices.size());
  layer.geometry.vertices[0] = CreateResource(&adapter, vertexDesc, vertices.data());
  ResourceDesc indexDesc;
  indexDesc.flags = kResourceIndexBuffer | kUsageImmutable;
  indexDesc.bitsPerElement = 16;
  indexDesc.width = static_cast<uint32_t>(indices.size());
  layer.geometry.index = CreateResource(&adapter, indexDesc, indices.data());
  SetupGeometry(adapter.defaultLayouts[0], layer.geometry, kPrimitiveTriangles | kGeometryIndex16);
  FinishGeometry(layer.geometry);
  ResourceDesc targetDesc;
  targetDesc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  targetDesc.format = kFormatRGBA8;
  targetDesc.width = targetDesc.height = kTargetSize;
  layer.target = CreateResource(&adapter, targetDesc, nullptr);

  PlainScene plain;
  SetUpPlain(plain, vertices, indices, GetShaderView(layer.target));

  const GLubyte* renderer = glGetString(GL_RENDERER);
  std::printf(
      "render bench: %d draws a frame, %d frames a run, best of %d runs, %dx%d target, %s\n",
      kDrawsPerFrame, kFrames, kRounds, kTargetSize, kTargetSize,
      reinterpret_cast<const char*>(renderer));
  RunLayer(adapter, layer, objects);  // warm up both paths (shader variants, ring)
  const std::vector<uint8_t> layerImage = ReadTexture(*layer.target);
  RunPlain(plain, objects);
  const std::vector<uint8_t> plainImage = ReadTexture(*layer.target);
  const bool drawn =
      std::any_of(layerImage.begin(), layerImage.end(), [](uint8_t v) { return v != 0; });
  std::printf("both loops draw the same image: %s\n",
              drawn && layerImage == plainImage ? "yes" : "NO");
  Timing bestLayer, bestPlain;
  for (int round = 0; round < kRounds; ++round) {
    // Alternate which loop goes first, so that neither always inherits the other's leftovers.
    if (round % 2 == 0) KeepBest(bestLayer, RunLayer(adapter, layer, objects));
    KeepBest(bestPlain, RunPlain(plain, objects));
    if (round % 2 == 1) KeepBest(bestLayer, RunLayer(adapter, layer, objects));
  }
  const double draws = static_cast<double>(kDrawsPerFrame) * kFrames;
  std::printf("                 wall clock      CPU time (all threads)\n");
  std::printf("layer:    %10.0f draws/s %10.0f draws/s\n", draws / bestLayer.wall, draws / bestLayer.cpu);
  std::printf("plain GL: %10.0f draws/s %10.0f draws/s\n", draws / bestPlain.wall, draws / bestPlain.cpu);
  std::printf("ratio:    %10.3f         %10.3f   (time of the layer / time of plain GL)\n",
              bestLayer.wall / bestPlain.wall, bestLayer.cpu / bestPlain.cpu);

  DestroyResource(layer.target);
  ReleaseGeometry(layer.geometry);
  DestroyShaderPass(layer.pass);
  delete screen;
  currentScreen = nullptr;
  CloseWindow(window);
  return 0;
}

}  // namespace
}  // namespace orvane

int main() { return orvane::Run(); }
