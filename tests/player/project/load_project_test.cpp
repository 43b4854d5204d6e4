#include "player/project/load_project.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/archive/ds_iof_w.h"
#include "core/ds_error.h"
#include "platform/gfx/surface_pixels.h"
#include "player/music/ds_audio_file.h"
#include "player/support/scene_fixture.h"

namespace scene_test {
namespace {

using LoadProjectTest = SceneTest;

std::vector<uint8_t> Utf16(std::u16string_view text) {
  std::vector<uint8_t> out;
  for (char16_t u : text) {
    out.push_back(uint8_t(u & 0xFF));
    out.push_back(uint8_t(u >> 8));
  }
  return out;
}

// Replaces the first occurrence of `from` (UTF-16) in the bytes by `to` of the same length.
void Patch(std::vector<uint8_t>& bytes, std::u16string_view from, std::u16string_view to) {
  const auto a = Utf16(from), b = Utf16(to);
  ASSERT_EQ(a.size(), b.size());
  auto at = std::search(bytes.begin(), bytes.end(), a.begin(), a.end());
  ASSERT_NE(at, bytes.end());
  std::copy(b.begin(), b.end(), at);
}

TEST_F(LoadProjectTest, AWrittenProjectReadsBack) {
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    DS_SlideContainer& slide = project.AddSlide(0.5f, 4.0f, 2.0f);
    ProjectBuilder::RendererOf(slide)->backgroundLink =
        project.StorePicture(u"red.png", SolidPng(0xFFFF0000));
    project.AddSlide(1.0f, 2.0f, 3.0f).mode.SetValueSilently(DS_SlideContainer::kStays);
    project.AddTrack(u"Song", u"C:\\Music\\song.mp3", {1, 2, 3}, 75);
    project.AddTrack(u"Other", u"other.ogg", {});
    project.Root().setting.RawValue() = 5;
    bytes = project.Write();
  }
  // The signature, header word 1, then the root's record header.
  std::vector<uint8_t> head = {0xFF, 0xFE, 0xFF, 0x0B};
  const auto signature = Utf16(u"ZRT v 5.0.0");
  head.insert(head.end(), signature.begin(), signature.end());
  head.insert(head.end(), {1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x12});
  const auto rootName = Utf16(u"DS_SlideShow_Light");
  head.insert(head.end(), rootName.begin(), rootName.end());
  head.insert(head.end(), {2, 0, 0, 0});
  ASSERT_GT(bytes.size(), head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

  DS_SlideShow_Light& scene = Play(bytes);
  ASSERT_EQ(scene.slides.size(), 2u);
  EXPECT_EQ(scene.slides[0]->fadeIn.Value(), 0.5f);
  EXPECT_EQ(scene.slides[0]->hold.Value(), 4.0f);
  EXPECT_EQ(scene.slides[0]->fadeOut.Value(), 2.0f);
  EXPECT_EQ(scene.slides[1]->mode.Value(), DS_SlideContainer::kStays);
  EXPECT_EQ(scene.slides[1]->name.Value(), u"Slide 1");
  EXPECT_EQ(scene.setting.Value(), 5);
  ASSERT_EQ(scene.playlist.size(), 2u);
  EXPECT_EQ(scene.playlist[0]->name, u"Song");
  EXPECT_EQ(scene.playlist[0]->file.path, u"C:\\Music\\song.mp3");
  EXPECT_EQ(scene.playlist[0]->file.bytes, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(scene.playlist[0]->volume.Value(), 75u);
  EXPECT_FLOAT_EQ(scene.playlist[0]->volume.Scaled(), 0.75f);
  EXPECT_FLOAT_EQ(scene.playlist[1]->volume.Scaled(), 1.0f);
  // The picture came with the project's document.
  EXPECT_EQ(Red(Frame(1.0)), 255);
  EXPECT_NE(DocumentTlsSlot::Get(), nullptr);
}

TEST_F(LoadProjectTest, PicturesStoredUnderAGuidReachTheDocument) {
  const GUID guid = GUID::Parse(u"{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
  std::vector<uint8_t> bytes;
  {
    ProjectBuilder project;
    project.AddSlide(0.0f, 1.0f, 0.0f);
    project.StoreGuidPicture(guid, SolidPng(0xFF00FF00, 4, 4));
    bytes = project.Write();
    EXPECT_EQ(project.Write(), bytes) << "every write carries the picture";
  }
  Play(bytes);
  gfx::Texture* texture = DocumentTlsSlot::Get()->GetGuidTexture({guid, {}, 1}).Get();
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(gfx_test::TexturePixels(texture)[0], 0xFF00FF00u);
}

// A root record of version 1 has no setting, a track of version 1 no volume.
TEST_F(LoadProjectTest, FirstVersionsOfRootAndTrackRead) {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  DS_IOF_Virtual& io = archive.io();
  io.WriteWideString(kProjectSignature);
  io.WriteDword(0);  // any header word reads alike
  WriteRecordHeader(archive, u"DS_SlideShow_Light", 1);
  io.WriteDword(0);
  io.WriteDword(1);
  WriteRecordHeader(archive, u"DS_AudioFile", 1);
  io.WriteWideString(u"Old");
  io.WriteFileData(FileDataRecord{u"old.mp3", {9}});
  DS_DocResManager().Save(archive);
  DS_SlideShow_Light& scene = Play(static_cast<DS_IOF_W&>(archive.io()).TakeBytes());
  EXPECT_EQ(scene.setting.Value(), 1);
  ASSERT_EQ(scene.playlist.size(), 1u);
  EXPECT_EQ(scene.playlist[0]->name, u"Old");
  EXPECT_EQ(scene.playlist[0]->volume.Value(), 100u);
  EXPECT_EQ(scene.playlist[0]->file.bytes, std::vector<uint8_t>{9});
}

// Each refusal is a DS_Error with its code and the system's message; its description names the
// file and what exactly was wrong.
TEST_F(LoadProjectTest, RefusedFilesThrowAndLeaveNoDocument) {
  const std::vector<uint8_t> good = WriteSlides({{}});
  std::vector<uint8_t> longSignature = good;
  longSignature[3] = 12;  // twelve units: one more of the next field's bytes
  std::vector<uint8_t> otherVersion = good;
  Patch(otherVersion, u"5.0.0", u"5.0.1");
  std::vector<uint8_t> unknownClass = good;
  Patch(unknownClass, u"DS_2D_Light", u"DS_2D_Lite_");
  const std::vector<uint8_t> truncated(good.begin(), good.end() - 7);
  std::vector<uint8_t> hugeCount = good;
  // The slide count after the root's header: no file holds four billion slides.
  const size_t slideCount = 4 + 22 + 4 + 4 + 36 + 4;
  std::fill_n(hugeCount.begin() + slideCount, 4, 0xFF);

  const std::u16string outdated =
      u"Cannot open file: Outdated file format.\nPlease resave the project file with Vornique "
      u"3.4.21";
  const std::u16string damaged = u"Cannot open file: Wrong file format.";
  struct Case {
    const char* what;
    std::filesystem::path path;
    DS_ErrorCode code;
    std::u16string message;
    std::string reason;  // a part of the description
    bool readsBody;      // the failure comes after the document was replaced
  };
  std::filesystem::create_directories(folder_ / "folder.bin");
  using enum DS_ErrorCode;
  const Case cases[] = {
      {"capital .VQE", Save(good, "project.VQE"), FormatNotSupported,
       u"Cannot open file: Format is not supported.", "\".vqe\"", false},
      {"missing .vqe", folder_ / "missing.vqe", CannotOpenFile, u"", "no such file", false},
      {"missing", folder_ / "missing.bin", CannotOpenFile, u"", "no such file", false},
      {"a folder", folder_ / "folder.bin", CannotOpenFile, u"", "a folder", false},
      {"empty", Save({}, "empty.bin"), OutdatedFormat, outdated,
       "the signature cannot be read: the data ends at byte 0", false},
      {"12-unit signature", Save(longSignature, "long.bin"), OutdatedFormat, outdated,
       "the signature is \"ZRT v 5.0.0\\u0001\", not \"ZRT v 5.0.0\"", false},
      {"other version", Save(otherVersion, "other.bin"), OutdatedFormat, outdated,
       "\"ZRT v 5.0.1\"", false},
      {"truncated", Save(truncated, "truncated.bin"), DamagedFile, damaged,
       "the data ends at byte " + std::to_string(truncated.size()), true},
      {"unknown class", Save(unknownClass, "unknown.bin"), DamagedFile, damaged,
       "no class is registered as \"DS_2D_Lite_\" at byte", true},
      {"huge count", Save(hugeCount, "count.bin"), DamagedFile, damaged,
       "a count of 4294967295 needs at least", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    DS_DocResManager* before = DocumentTlsSlot::Get();
    try {
      (void)LoadProject(c.path);
      ADD_FAILURE() << "loaded";
    } catch (const DS_Error& e) {
      EXPECT_EQ(e.Code(), c.code);
      EXPECT_EQ(e.Message(), c.message);
      const std::string described = e.what();
      EXPECT_EQ(described.rfind("\"" + c.path.string() + "\": ", 0), 0u) << described;
      EXPECT_NE(described.find(c.reason), std::string::npos) << described;
    }
    EXPECT_EQ(DocumentTlsSlot::Get(), c.readsBody ? nullptr : before);
  }
  // A file's name is the user's text: its control characters are escaped, so that an error stays
  // one line of the log.
  EXPECT_THROW(
      {
        try {
          (void)LoadProject(folder_ / "two\nlines.bin");
        } catch (const DS_Error& e) {
          EXPECT_NE(std::string(e.what()).find("two\\u000Alines.bin\": there is no such file"),
                    std::string::npos)
              << e.what();
          throw;
        }
      },
      DS_Error);
}

TEST_F(LoadProjectTest, ThePathWithoutExtensionGoesOnToTheSignature) {
  EXPECT_EQ(LoadProject(Save(WriteSlides({{}}), "project"))->slides.size(), 1u);
  EXPECT_EQ(LoadProject(Save(WriteSlides({{}}), "project.vqe.bin"))->slides.size(), 1u);
}

// The program's own project is read from memory; its signature is not compared.
TEST_F(LoadProjectTest, MemoryProjectsSkipTheSignature) {
  std::vector<uint8_t> bytes = WriteSlides({{}, {}});
  Patch(bytes, u"ZRT v 5.0.0", u"anything ok");
  EXPECT_EQ(LoadProjectFromMemory(bytes)->slides.size(), 2u);
  EXPECT_THROW((void)LoadProjectFromMemory(std::span(bytes).first(bytes.size() - 1)), DS_Error);
  EXPECT_EQ(DocumentTlsSlot::Get(), nullptr);
}

}  // namespace
}  // namespace scene_test
