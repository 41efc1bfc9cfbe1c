// Warnings and fatal errors: their exact text and the exit code.
#include <gtest/gtest.h>

#include "render/Diagnostics.h"

namespace orvane {
namespace {

TEST(DiagnosticsTest, DebugPrintFormatsToStandardError) {
  testing::internal::CaptureStderr();
  DebugPrint("LoadShader %s\n", "fxaa");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "LoadShader fxaa\n");
}

TEST(DiagnosticsDeathTest, FatalErrorPrintsItsLineAndExitsWithCodeOne) {
  EXPECT_EXIT(FatalError("Fatal error: %s\n", "Failed to create OpenGL device"),
              testing::ExitedWithCode(1), "^Fatal error: Failed to create OpenGL device\n\n$");
}

}  // namespace
}  // namespace orvane
