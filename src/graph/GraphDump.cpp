#include "graph/GraphDump.h"

#include "document/TextFormat.h"
#include "graph/CurveFunction.h"

namespace orvane {
namespace {

void DumpValue(const Port& port, std::ostream& out) {
  if (port.curve != nullptr) {
    out << " = curve(" << port.curve->curve.keys.size() << " keys)";
    return;
  }
  const IValue* value = port.function ? port.function->GetValue() : nullptr;
  if (value == nullptr) return;
  if (const auto* number = dynamic_cast<const Float*>(value)) {
    out << " = " << FormatFloat(number->value);
  } else if (const auto* text = dynamic_cast<const Text*>(value)) {
    out << " = \"" << EscapeText(text->value) << '"';
  }
}

}  // namespace

PortLabels::PortLabels(const OperatorList& operators) {
  for (const auto& op : operators) {
    const std::string prefix = "#" + std::to_string(op->index) + ".";
    for (const Port& port : op->outputs) labels_[&port] = prefix + port.name;
    for (const Port& port : op->inputs) labels_[&port] = prefix + port.name;
  }
}

std::string PortLabels::operator()(const Port* port) const {
  const auto found = labels_.find(port);
  return found != labels_.end() ? found->second : "?";
}

void DumpGraph(const OperatorList& operators, std::ostream& out) {
  const PortLabels label(operators);
  for (const auto& op : operators) {
    out << '#' << op->index << ' ' << EscapeText(op->type) << '\n';
    for (const Port& port : op->inputs) {
      out << "  in " << port.name << " : " << PortTypeName(port.type);
      DumpValue(port, out);
      for (const Port* source : port.sources) out << " <- " << label(source);
      out << '\n';
    }
    for (const Port& port : op->outputs) {
      out << "  out " << port.name << " : " << PortTypeName(port.type) << '\n';
    }
  }
}

}  // namespace orvane
