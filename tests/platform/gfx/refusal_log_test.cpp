#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gfx_fixture.h"
#include "platform/gfx/refusal_log.h"
#include "platform/stderr_capture.h"

namespace gfx_test {
namespace {

// Debug builds log a refused call once per call site, naming the call, the site and the reason;
// release builds stay quiet. Every build counts refusals.
class RefusalLogTest : public GfxTest {
 protected:
  void SetUp() override {
    GfxTest::SetUp();
    previous_ = SetRefusalSink([this](const std::string& line) { lines_.push_back(line); });
  }
  void TearDown() override { SetRefusalSink(std::move(previous_)); }

  std::vector<std::string> lines_;
  RefusalSink previous_;
};

TEST_F(RefusalLogTest, EachRefusingSiteLogsOnceWithItsReason) {
  // A strip of four vertices and indices that reach vertex 5.
  auto vb = ScreenQuad(0, 0, 8, 8, 0xFFFFFFFF);
  ComPtr<IndexBuffer> ib;
  ASSERT_EQ(
      device_->CreateIndexBuffer(8, Usage::WriteOnly, Format::Index16, Pool::Managed, ib.Put()),
      kOk);
  void* data = nullptr;
  ASSERT_EQ(ib->Lock(0, 0, &data, 0), kOk);
  const uint16_t indices[] = {0, 1, 2, 5};
  std::memcpy(data, indices, sizeof indices);
  ib->Unlock();
  ASSERT_EQ(device_->SetFVF(kScreenFvf), kOk);
  ASSERT_EQ(device_->SetStreamSource(0, vb.Get(), 0, sizeof(ScreenVertex)), kOk);
  ASSERT_EQ(device_->SetIndices(ib.Get()), kOk);
  auto texture = MakeTexture(2, 2, {0, 0, 0, 0});

  struct Case {
    std::function<HResult()> call;
    std::string logged;  // the call's name and, after the site, its reason
    std::string reason;
  };
  const int line = __LINE__;
  const Case cases[] = {
      {[&] { return device_->DrawIndexedPrimitive(PrimitiveType::TriangleStrip, 0, 0, 4, 0, 2); },
       "DrawIndexedPrimitive refused at ",
       "indices 0 to 5 with base vertex 0 pass the 4 vertices of the vertex buffer"},
      {[&] { return device_->DrawPrimitive(PrimitiveType::TriangleList, 2, 1); },
       "DrawPrimitive refused at ", "vertices 2 to 4 pass the 4 of the vertex buffer"},
      {[&] {
         LockedRect locked;
         const Rect rect{1, 1, 3, 2};
         return texture->LockRect(0, &locked, &rect, 0);
       },
       "LockRect refused at ",
       "the rectangle (1, 1) - (3, 2) is empty or passes the level's 2 x 2"},
      {[&] {
         void* p = nullptr;
         return vb->Lock(100, 40, &p, 0);
       },
       "VertexBuffer::Lock refused at ", "bytes 100 to 140 pass the 112 of the buffer"},
      {[&] { return device_->SetRenderState(RenderState(9999), 1); }, "SetRenderState refused at ",
       "state 9999 is not known"},
      {[&] { return device_->SetTexture(kMaxTextureStages, nullptr); }, "SetTexture refused at ",
       "stage " + std::to_string(kMaxTextureStages) + " does not exist"},
  };
  const uint64_t before = RefusalCount();
  for (int round = 0; round < 3; ++round)
    for (const Case& c : cases)
      EXPECT_EQ(c.call(), kInvalidCall) << c.logged;
  EXPECT_EQ(RefusalCount() - before, 3 * std::size(cases)) << "every refusal counts, logged or not";

  if (!kLogsRefusals) {
    EXPECT_TRUE(lines_.empty());
    return;
  }
  ASSERT_EQ(lines_.size(), std::size(cases)) << "one line per site, however often it refuses";
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].logged);
    EXPECT_EQ(lines_[i].rfind("gfx: " + cases[i].logged, 0), 0u) << lines_[i];
    EXPECT_NE(lines_[i].find("refusal_log_test.cpp:"), std::string::npos) << lines_[i];
    EXPECT_NE(lines_[i].find(": " + cases[i].reason), std::string::npos) << lines_[i];
  }
  // The site is the line of the call in the caller.
  EXPECT_NE(lines_[0].find(":" + std::to_string(line + 2) + ": "), std::string::npos) << lines_[0];
}

// Without a sink the lines go to stderr.
TEST_F(RefusalLogTest, LinesGoToStderrByDefault) {
  SetRefusalSink(nullptr);
  StderrCapture captured;
  EXPECT_EQ(device_->EndScene(), kInvalidCall);
  const std::string log = captured.Take();
  if (kLogsRefusals) {
    EXPECT_NE(log.find("gfx: EndScene refused at "), std::string::npos) << log;
    EXPECT_NE(log.find(": no scene has begun\n"), std::string::npos) << log;
  } else {
    EXPECT_EQ(log.find("refused"), std::string::npos) << log;
  }
}

}  // namespace
}  // namespace gfx_test
