// Matrix helpers, the camera frame and both projections.
#include <gtest/gtest.h>

#include <cmath>

#include "render/Camera.h"
#include "render/Matrix.h"

namespace orvane {
namespace {

void ExpectMatrixNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_NEAR(actual.m[i][j], expected.m[i][j], tolerance) << i << "," << j;
}

Matrix Rows(std::initializer_list<float> values) {
  Matrix m;
  int k = 0;
  for (float v : values) m.m[k / 4][k % 4] = v, ++k;
  return m;
}

TEST(CameraFrameTest, StartUpCamera) {
  const Matrix frame = LookAtFrame({0, 0, -8, 1}, {0, 0, 0, 1}, {0, 1, 0, 0});
  ExpectMatrixNear(frame, Rows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -8, 0}));
}

TEST(CameraFrameTest, RowsAreOrthonormalAndLeftHanded) {
  const Matrix f = LookAtFrame({3, 2, 1, 1}, {-1, 0, 4, 1}, {0, 1, 0, 0});
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b) {
      const float dot = f.m[a][0] * f.m[b][0] + f.m[a][1] * f.m[b][1] + f.m[a][2] * f.m[b][2];
      EXPECT_NEAR(dot, a == b ? 1.0f : 0.0f, 1e-5f);
    }
  // Left-handed: right x up = forward.
  EXPECT_NEAR(f.m[0][1] * f.m[1][2] - f.m[0][2] * f.m[1][1], f.m[2][0], 1e-5f);
  // The same eye and focus give a degenerate frame without NaNs.
  const Matrix degenerate = LookAtFrame({1, 1, 1, 1}, {1, 1, 1, 1}, {0, 1, 0, 0});
  for (const auto& row : degenerate.m)
    for (float v : row) EXPECT_FALSE(std::isnan(v));
}

TEST(ProjectionTest, PerspectiveFor1920x1080) {
  Camera camera;
  camera.nearPlane = 0.125f;
  camera.farPlane = 2048.0f;
  camera.fieldOfView = 45.0f;
  camera.mode = kProjectionPerspective;
  UpdateProjection(camera, 1920, 1080);
  const Matrix& p = camera.projection;
  EXPECT_NEAR(p.m[0][0], 1.358f, 1e-3f);
  EXPECT_NEAR(p.m[1][1], 2.41421f, 1e-4f);
  EXPECT_NEAR(p.m[2][2], 1.000061f, 1e-6f);
  EXPECT_EQ(p.m[2][3], 1.0f);
  EXPECT_NEAR(p.m[3][2], -1.000061f * 0.125f, 1e-6f);
  // Depth 0 at the near plane, 1 at the far plane.
  const Vector4 nearPoint = Transform({0, 0, 0.125f, 1}, p);
  const Vector4 farPoint = Transform({0, 0, 2048.0f, 1}, p);
  EXPECT_NEAR(nearPoint.z / nearPoint.w, 0.0f, 1e-6f);
  EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-5f);
}

TEST(ProjectionTest, PixelsMapTopLeftToMinusOnePlusOne) {
  Camera camera;
  camera.nearPlane = 1.0f;
  camera.farPlane = 3.0f;
  camera.mode = kProjectionPixels;
  UpdateProjection(camera, 640, 480);
  const Vector4 topLeft = Transform({0, 0, -1.0f, 1}, camera.projection);
  const Vector4 bottomRight = Transform({640, 480, -3.0f, 1}, camera.projection);
  EXPECT_NEAR(topLeft.x, -1.0f, 1e-6f);
  EXPECT_NEAR(topLeft.y, 1.0f, 1e-6f);
  EXPECT_NEAR(topLeft.z, -1.0f, 1e-6f);
  EXPECT_NEAR(bottomRight.x, 1.0f, 1e-6f);
  EXPECT_NEAR(bottomRight.y, -1.0f, 1e-6f);
  EXPECT_NEAR(bottomRight.z, 1.0f, 1e-6f);
}

TEST(ProjectionTest, OtherModesLeaveTheMatrixAlone) {
  Camera camera;
  camera.projection = Identity();
  camera.mode = 3;
  UpdateProjection(camera, 100, 100);
  ExpectMatrixNear(camera.projection, Identity(), 0.0f);
}

TEST(MatrixTest, ProductAppliesTheLeftMatrixFirst) {
  Matrix scale = Identity();
  scale.m[0][0] = 2.0f;
  Matrix move = Identity();
  Translate(move, {1, 0, 0, 0});
  const Vector4 p = Transform({1, 0, 0, 1}, Multiply(scale, move));
  EXPECT_FLOAT_EQ(p.x, 3.0f);  // scaled to 2, then moved to 3
  const Vector4 q = Transform({1, 0, 0, 1}, Multiply(move, scale));
  EXPECT_FLOAT_EQ(q.x, 4.0f);
}

TEST(MatrixTest, TranslatePrependsAMove) {
  Matrix m = Rows({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1});
  Translate(m, {1, 2, 3, 0});
  // Row 3 = 1*row0 + 2*row1 + 3*row2 + row3.
  EXPECT_FLOAT_EQ(m.m[3][0], 5 - 2);
  EXPECT_FLOAT_EQ(m.m[3][1], 6 + 1);
  EXPECT_FLOAT_EQ(m.m[3][2], 7 + 3);
  EXPECT_FLOAT_EQ(m.m[3][3], 1);
}

TEST(MatrixTest, InversesUndoTheTransform) {
  Matrix rigid = LookAtFrame({3, -2, 5, 1}, {0, 1, 0, 1}, {0, 1, 0, 0});
  rigid.m[3][3] = 1.0f;
  ExpectMatrixNear(Multiply(rigid, RigidInverse(rigid)), Identity());
  ExpectMatrixNear(Multiply(rigid, Inverse(rigid)), Identity());
  const Matrix general = Rows({2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 4, 0, 1, 2, 3, 1});
  ExpectMatrixNear(Multiply(general, Inverse(general)), Identity());
  ExpectMatrixNear(Transpose(Transpose(general)), general, 0.0f);
  EXPECT_EQ(Transpose(general).m[0][1], general.m[1][0]);
  ExpectMatrixNear(Inverse(Matrix{}), Matrix{}, 0.0f);  // singular: zero
}

Vector4 Normalised(const Vector4& v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / length, v.y / length, v.z / length, 0.0f};
}

Vector4 Carry(const Vector4& v, const Matrix& m) {
  Vector4 r;
  r.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0];
  r.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1];
  r.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2];
  return r;
}

// Normals stay perpendicular to the surface under any transform of its points: an ellipsoid made
// by scaling a sphere (3, 1, 1) has at (2, sqrt(5)/3, 0) the normal (2/9, sqrt(5)/3, 0), normalised.
TEST(MatrixTest, NormalTransformKeepsNormalsPerpendicular) {
  struct Case {
    const char* what;
    Matrix transform;
  };
  const Matrix turned = LookAtFrame({1, 2, 3, 1}, {0, 0, 0, 1}, {0, 1, 0, 0});
  const Case cases[] = {
      {"non-uniform scale", Rows({3, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1})},
      {"scale, then a turn", Multiply(Rows({3, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), turned)},
      {"a mirror", Rows({-3, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})},
      {"a shear", Rows({1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})},
  };
  const Vector4 sphereNormal = Normalised({2.0f / 3.0f, std::sqrt(5.0f) / 3.0f, 0.0f, 0.0f});
  const Vector4 tangents[] = {{-sphereNormal.y, sphereNormal.x, 0, 0}, {0, 0, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Vector4 normal = Normalised(Carry(sphereNormal, NormalTransform(c.transform)));
    for (const Vector4& tangent : tangents) {
      const Vector4 carried = Carry(tangent, c.transform);
      EXPECT_NEAR(normal.x * carried.x + normal.y * carried.y + normal.z * carried.z, 0.0f, 1e-5f);
    }
    // Outward stays outward: the normal still points away from the carried centre.
    const Vector4 out = Carry(sphereNormal, c.transform);
    EXPECT_GT(normal.x * out.x + normal.y * out.y + normal.z * out.z, 0.0f);
  }
  const Vector4 ellipsoid = Normalised(Carry(sphereNormal, NormalTransform(cases[0].transform)));
  EXPECT_NEAR(ellipsoid.y, Normalised({2.0f / 9.0f, std::sqrt(5.0f) / 3.0f, 0, 0}).y, 1e-5f);
  // A transform that flattens the sphere into a disc in XZ: its normals all point along Y.
  const Vector4 flat = Carry(sphereNormal, NormalTransform(Rows({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})));
  EXPECT_EQ(flat.x, 0.0f);
  EXPECT_GT(flat.y, 0.0f);
  EXPECT_EQ(flat.z, 0.0f);
}

}  // namespace
}  // namespace orvane
