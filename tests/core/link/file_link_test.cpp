#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/link/ds_file_link.h"
#include "core/link/ds_named_file_link.h"
#include "core/param/recording_control.h"

namespace {

TEST(FileLink, ExtensionFileNameAndKindQueries) {
  struct Case {
    const char16_t* name;
    const char16_t* extension;
    const char16_t* fileName;
    bool isFile;
  };
  for (const Case& c : {
           Case{u"C:\\pics\\Sky.PNG", u".png", u"Sky.PNG", true},
           Case{u"glimres.dll", u".dll", u"", false},
           Case{u"D:\\lib\\LIB.DLL", u".dll", u"LIB.DLL", false},
           Case{u".dll", u".dll", u"", false},
           Case{u"C:\\folder.v2\\noext", u".v2\\noext", u"noext", true},
           Case{u"plain", u"", u"", true},
           Case{u"", u"", u"", true},
       }) {
    DS_FileLink3 link(c.name, 0);
    EXPECT_EQ(link.GetExtension(), c.extension) << ToUtf8(c.name);
    EXPECT_EQ(link.GetFileName(), c.fileName) << ToUtf8(c.name);
    EXPECT_EQ(link.IsFileLink(), c.isFile) << ToUtf8(c.name);
  }
}

TEST(FileLink, KeysOrderByNameUnitsThenSignedId) {
  const LinkKey a{u"a", 5}, a2{u"a", -1}, ab{u"ab", -100}, b{u"b", 0};
  EXPECT_LT(a2, a);
  EXPECT_LT(a, ab) << "a shorter equal prefix comes first";
  EXPECT_LT(ab, b);
  EXPECT_LT((LinkKey{u"Z", 0}), (LinkKey{u"a", 0})) << "units, not letters";
  EXPECT_LT((LinkKey{u"a", 0}), (LinkKey{u"\xE9", 0}));
  EXPECT_TRUE(LinkKeyDiffers({u"a.png", 1}, {u"a.png", 2})) << "same name, other id: two keys";
  EXPECT_TRUE(LinkKeyDiffers({u"a.png", 1}, {u"a.pn", 1}));
  EXPECT_FALSE(LinkKeyDiffers({u"a.png", 1}, {u"a.png", 1}));

  GUID guid = GUID::Parse(u"{01234567-89AB-CDEF-0123-456789ABCDEF}");
  EXPECT_EQ(GuidLinkKey(guid), (LinkKey{u"{01234567-89AB-CDEF-0123-456789ABCDEF}", 0}));
}

TEST(FileLink, ConstructedFromRecordsAndPaths) {
  ResourceDataRecord module;
  module.resourceId = 0xFFFFFFF0u;
  module.module = u"glimres.dll";
  module.path = u"ignored";
  DS_FileLink3 link;
  link.ConstructFromRecord(module);
  EXPECT_EQ(link.Key(), (LinkKey{u"glimres.dll", 0xFFFFFFF0ll})) << "zero-extended";

  ResourceDataRecord file;
  file.path = u"C:\\a.png";
  DS_FileLink3 first, second;
  first.ConstructFromRecord(file);
  second.ConstructFromRecord(file);
  EXPECT_EQ(first.name, u"C:\\a.png");
  EXPECT_EQ(second.id, first.id + 1) << "each stored file gets a key of its own";

  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("file_link_test_" + std::to_string(getpid()) + ".png");
  std::ofstream(path) << "x";
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  DS_ImageFileLink fromPath;
  fromPath.ConstructFromPath(FromUtf8(path.string()));
  EXPECT_EQ(fromPath.id, int64_t{status.st_mtime});
  EXPECT_GT(fromPath.id, 0);
  std::filesystem::remove(path);
  fromPath.ConstructFromPath(u"{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(fromPath.id, 0) << "a missing file has id 0";

  DS_ImageFileLink named;
  named.ConstructNamed(-2, u"glimres.dll");
  EXPECT_EQ(named.Key(), (LinkKey{u"glimres.dll", -2}));
}

TEST(ImageFileLink, UndoStepsThroughNameAndIdAndAlwaysNotifies) {
  DS_ImageFileLink link(u"a.png", 1);
  std::vector<std::string> log;
  RecordingControl watcher("w", &log, &link);
  auto& undo = link.UndoControl();
  EXPECT_EQ(undo.Saved(), (LinkKey{u"a.png", 1})) << "synchronised at construction";

  undo.Commit();
  link.name = u"b.png";
  link.id = 2;
  link.NotifyChanged(nullptr);
  EXPECT_EQ(undo.Saved(), (LinkKey{u"b.png", 2}));
  log.clear();
  undo.Undo();
  EXPECT_EQ(link.Key(), (LinkKey{u"a.png", 1}));
  undo.Redo();
  EXPECT_EQ(link.Key(), (LinkKey{u"b.png", 2}));
  undo.Redo();  // nothing newer: the saved pair is written back and announced anyway
  EXPECT_EQ(link.Key(), (LinkKey{u"b.png", 2}));
  EXPECT_EQ(log.size(), 3u);

  DS_ImageFileLink copy(link);
  EXPECT_NE(&copy.UndoControl(), &link.UndoControl());
  EXPECT_EQ(copy.UndoControl().Saved(), link.Key());
  EXPECT_EQ(copy.ControlCount(), 1) << "a copy has only its own undo control";
  std::vector<DS_ImageFileLink> links(3, link);
  links.resize(40);  // moved by copying: each control keeps pointing at its own link
  links[0].UndoControl().Undo();
  EXPECT_EQ(links[0].Key(), (LinkKey{u"b.png", 2}));
}

std::vector<DS_ImageFileLink> TwoLinks() {
  return {DS_ImageFileLink(u"C:\\p\\one.png", 11), DS_ImageFileLink(u"two.png", 22)};
}

// A picture-list record of version v written field by field.
std::vector<uint8_t> NamedRecord(uint32_t v, const std::vector<DS_ImageFileLink>& links) {
  DS_IOF_W w;
  w.WriteWideString(u"stored name");
  w.WriteDword(static_cast<uint32_t>(links.size()));
  for (const auto& link : links) {
    w.WriteWideString(link.name);
    w.WriteInt64(link.id);
  }
  w.WriteUInt32(v);
  if (v != 0) {
    w.WriteUInt32(7);
    w.WriteUInt32(8);
  }
  if (v >= 2) {
    w.WriteWideString(u"current");
    w.WriteInt64(99);
  }
  if (v > 2) w.WriteBool(true);
  if (v > 3) {
    w.WriteFloat(1.5f);
    w.WriteFloat(2.5f);
    w.WriteFloat(3.5f);
  }
  if (v > 4) w.WriteInt32(0);
  return w.TakeBytes();
}

TEST(NamedFileLinkData, ReadsEveryVersion) {
  for (uint32_t v = 0; v <= 6; ++v) {
    SCOPED_TRACE("version " + std::to_string(v));
    ArchiveSource src(SourceMode::File, NamedRecord(v, TwoLinks()));
    DS_NamedFileLinkData data;
    ReadNamedFileLinkData(src.archive(), data);
    EXPECT_FALSE(src.archive().Failed());
    EXPECT_EQ(src.buffer().Remaining(), 0u);
    EXPECT_EQ(data.name.Value(), u"stored name");
    ASSERT_EQ(data.links.size(), 2u);
    EXPECT_EQ(data.version, 5u) << "the stored version is not kept";
    EXPECT_EQ(data.valueA, v != 0 ? 7u : 1u);
    EXPECT_EQ(data.currentName, v >= 2 ? u"current" : u"C:\\p\\one.png");
    EXPECT_EQ(data.currentId, v >= 2 ? 99 : 11);
    EXPECT_EQ(data.premultiplied, v > 2);
    EXPECT_EQ(data.vectorParam.Value().z, v > 3 ? 3.5f : 0.0f);
    EXPECT_EQ(data.modeParam.Value(), v > 4 ? 0 : -1);
  }
}

TEST(NamedFileLinkData, OldRecordWithoutLinksLeavesTheCurrentPictureEmpty) {
  ArchiveSource src(SourceMode::Memory, NamedRecord(1, {}));
  DS_NamedFileLinkData data;
  data.currentName = u"before";
  data.currentId = 4;
  ReadNamedFileLinkData(src.archive(), data);
  EXPECT_FALSE(src.archive().Failed());
  EXPECT_TRUE(data.links.empty());
  EXPECT_EQ(data.currentName, u"");
  EXPECT_EQ(data.currentId, 0);
}

TEST(NamedFileLinkData, WriterRoundTrip) {
  DS_NamedFileLinkData data(TwoLinks());
  data.valueA = 3;
  data.valueB = 4;
  data.currentName = u"two.png";
  data.currentId = 22;
  data.premultiplied = true;
  data.vectorParam.RawValue() = D3DXVECTOR3(1, 2, 3);
  data.modeParam.RawValue() = 0;
  DS_IOF_Archive writer(std::make_unique<DS_IOF_W>());
  WriteNamedFileLinkData(writer, data);
  auto& bytes = static_cast<DS_IOF_W&>(writer.io()).Bytes();

  ArchiveSource src(SourceMode::File, bytes);
  DS_NamedFileLinkData back;
  ReadNamedFileLinkData(src.archive(), back);
  EXPECT_EQ(src.buffer().Remaining(), 0u);
  EXPECT_TRUE(MediaValuesEqual(back, data));
  EXPECT_EQ(back.name.Value(), u"one.png");
  EXPECT_EQ(back.valueB, 4u);
  EXPECT_EQ(back.currentName, u"two.png");
  EXPECT_EQ(back.currentId, 22);
  EXPECT_TRUE(back.premultiplied);
  EXPECT_EQ(back.vectorParam.Value().y, 2.0f);
  EXPECT_EQ(back.modeParam.Value(), 0);
}

}  // namespace
