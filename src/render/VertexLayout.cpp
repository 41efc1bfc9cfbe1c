#include "render/VertexLayout.h"

#include <epoxy/gl.h>

#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/DrawContext.h"
#include "render/detail/GlState.h"
#include "render/detail/GlTables.h"

namespace orvane {
namespace {

bool LocationsAvailable(const LayoutPlan& plan) {
  GLint maxAttributes = 16;
  glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &maxAttributes);
  for (const LayoutElement& element : plan.elements) {
    if (element.location >= static_cast<uint32_t>(maxAttributes)) {
      DebugPrint("Vertex layout refused: semantic %u needs attribute %u, this GL has %d\n",
                 element.semantic, element.location, maxAttributes);
      return false;
    }
  }
  return true;
}

void DescribeAttributes(GLuint vertexArray, const LayoutPlan& plan) {
  for (const LayoutElement& element : plan.elements) {
    const ElementFormatInfo& format = *FindElementFormat(element.format);
    const detail::GlAttribute attribute = detail::GlAttributeOf(format.type);
    const auto components = static_cast<GLint>(format.components);
    glEnableVertexArrayAttrib(vertexArray, element.location);
    if (format.integer)
      glVertexArrayAttribIFormat(vertexArray, element.location, components, attribute.type,
                                 element.offset);
    else
      glVertexArrayAttribFormat(vertexArray, element.location, components, attribute.type,
                                attribute.normalized, element.offset);
    glVertexArrayAttribBinding(vertexArray, element.location, element.slot);
  }
  for (GLuint slot = 0; slot < kVertexSlots; ++slot)
    glVertexArrayBindingDivisor(vertexArray, slot, plan.perInstanceSlot[slot] ? 1 : 0);
}

}  // namespace

VertexLayout* CreateVertexLayout(Adapter* adapter, const VertexElement* elements) {
  LayoutPlan plan;
  const LayoutError error = PlanVertexLayout(elements, plan);
  if (error != LayoutError::kNone) {
    const size_t bad = plan.elements.size();
    DebugPrint("Vertex layout refused: %s (element %zu, 0x%08X)\n", LayoutErrorText(error), bad,
               elements[bad]);
    return nullptr;
  }
  if (!LocationsAvailable(plan)) return nullptr;
  auto* layout = new VertexLayout;
  layout->adapter = adapter;
  layout->strides = plan.strides;
  layout->elements = plan.words;
  glCreateVertexArrays(1, &layout->vertexArray);
  DescribeAttributes(layout->vertexArray, plan);
  return layout;
}

void DestroyVertexLayout(VertexLayout* layout) { delete layout; }

VertexLayout::~VertexLayout() {
  if (!vertexArray) return;
  detail::DrawContextState& bound = adapter->drawContext->state();
  if (bound.vertexArray == vertexArray) bound.vertexArray = 0;
  glDeleteVertexArrays(1, &vertexArray);
}

}  // namespace orvane
