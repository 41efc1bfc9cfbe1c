#include "graph/FinalOutput.h"

namespace orvane {

FinalOutput::FinalOutput() : Operator(kCategoryImage) {
  type = "FinalOutput";
  flags = kFlags;
  AddInertInput("In", kPortGeneric);
  AddOutput("FinalOutput", kPortGeneric, std::make_unique<ValueFunction>(std::make_unique<Generic>()));
}

}  // namespace orvane
