#include "graph/Value.h"

#include <gtest/gtest.h>

#include "app/Player.h"
#include "document/DataAccessor.h"
#include "graph/Function.h"
#include "support/DocumentText.h"

namespace orvane {
namespace {

TEST(Value, FloatAndTextMoveThroughTheirRegisters) {
  Player player;
  Float number(1.5f);
  number.WriteTo(player);
  EXPECT_EQ(player.scalar, 1.5f);
  player.scalar = 4.0f;
  number.ReadFrom(player);
  EXPECT_EQ(number.value, 4.0f);

  Text text("hello");
  text.WriteTo(player);
  EXPECT_EQ(player.text, "hello");
  player.text = "other";
  text.ReadFrom(player);
  EXPECT_EQ(text.value, "other");
}

TEST(Value, InertValuesMoveNothing) {
  Player player;
  player.scalar = 2.0f;
  player.text = "kept";
  auto* const image = reinterpret_cast<GpuResource*>(0x1000);
  player.image = image;
  Scene scene;
  Image picture;
  Generic generic;
  for (IValue* value : std::initializer_list<IValue*>{&scene, &picture, &generic}) {
    value->WriteTo(player);
    value->ReadFrom(player);
  }
  EXPECT_EQ(player.scalar, 2.0f);
  EXPECT_EQ(player.text, "kept");
  EXPECT_EQ(player.image, image);
  EXPECT_EQ(scene.kind, kPortScene);
  EXPECT_EQ(picture.kind, kPortImage);
  EXPECT_EQ(generic.kind, kPortGeneric);
}

TEST(Value, SerializeReadsTheEntryNamedAfterThePort) {
  const auto root = testing::ParseText("input { Amplitude: 0.25; Label: \"a \\\"b\\\"\"; Blob: $00; }");
  const DataAccessor input = DataAccessor(root.get()).Child("input");
  const std::tuple<const char*, float, float> floats[] = {
      {"Amplitude", 1.0f, 0.25f},
      {"Missing", 1.0f, 0.0f},  // a missing entry reads as 0, not as the declared default
      {"Label", 1.0f, 0.0f},
      {"Blob", 1.0f, 0.0f},
  };
  for (const auto& [name, initial, expected] : floats) {
    Float value(initial);
    value.Serialize(name, input);
    EXPECT_EQ(value.value, expected) << name;
  }
  Text label("default");
  label.Serialize("Label", input);
  EXPECT_EQ(label.value, "a \"b\"");
  Text missing("default");
  missing.Serialize("Missing", input);
  EXPECT_EQ(missing.value, "");
}

TEST(Value, PortTypeNames) {
  EXPECT_EQ(PortTypeName(kPortFloat), "float");
  EXPECT_EQ(PortTypeName(kPortScene), "scene");
  EXPECT_EQ(PortTypeName(kPortImage), "image");
  EXPECT_EQ(PortTypeName(kPortText), "text");
  EXPECT_EQ(PortTypeName(kPortGeneric), "generic");
  EXPECT_EQ(PortTypeName(9), "unknown");
  EXPECT_EQ(PortTypeName(-1), "unknown");
}

}  // namespace
}  // namespace orvane
