#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/link/ds_named_file_link.h"
#include "core/param/recording_control.h"

namespace {

using Log = std::vector<std::string>;

std::vector<DS_ImageFileLink> Links(std::initializer_list<std::pair<const char16_t*, int64_t>> l) {
  std::vector<DS_ImageFileLink> out;
  for (auto [name, id] : l)
    out.emplace_back(name, id);
  return out;
}

TEST(ImageFileLinkVector, ReadsCountAndLinksReplacingTheContents) {
  DS_IOF_W w;
  w.WriteDword(2);
  w.WriteWideString(u"C:\\pics\\a.png");
  w.WriteInt64(-5);
  w.WriteWideString(u"glimres.dll");
  w.WriteInt64(54);
  ArchiveSource src(SourceMode::File, w.TakeBytes());
  auto links = Links({{u"old", 1}, {u"older", 2}, {u"oldest", 3}});
  ReadImageFileLinkVector(src.archive(), links);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].name, u"C:\\pics\\a.png");
  EXPECT_EQ(links[0].id, -5);
  EXPECT_EQ(links[1].name, u"glimres.dll");
  EXPECT_EQ(links[1].id, 54);
  EXPECT_FALSE(src.archive().Failed());

  ArchiveSource bad(SourceMode::Memory, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
  ReadImageFileLinkVector(bad.archive(), links);
  EXPECT_TRUE(links.empty());
  EXPECT_TRUE(bad.archive().Failed());
}

TEST(NamedFileLinkData, MadeFromLinksNamesTheFirstFile) {
  DS_NamedFileLinkData data(Links({{u"C:\\pics\\sky.png", 3}, {u"b.png", 4}}));
  EXPECT_EQ(data.name.Value(), u"sky.png");
  EXPECT_EQ(data.valueA, 1u);
  EXPECT_EQ(data.modeParam.Value(), -1);
  EXPECT_EQ(data.version, 5u);
  EXPECT_EQ(DS_NamedFileLinkData().name.Value(), u"");
}

TEST(NamedFileLink, EqualityComparesOnlyTheLinksNamesAndIds) {
  DS_NamedFileLink param;
  param.SetValue(DS_NamedFileLinkData(Links({{u"a.png", 1}})));
  Log log;
  RecordingControl watcher("w", &log, &param);

  DS_NamedFileLinkData same(Links({{u"a.png", 1}}));
  same.valueA = 9;
  same.currentName = u"other";
  EXPECT_FALSE(param.SetValue(same));
  EXPECT_EQ(param.Value().valueA, 1u);

  for (auto links : {Links({{u"a.png", 2}}), Links({{u"A.png", 1}}), Links({}),
                     Links({{u"a.png", 1}, {u"b.png", 1}})}) {
    DS_NamedFileLinkData different(links);
    different.valueB = 7;
    EXPECT_TRUE(param.SetValue(different));
    EXPECT_EQ(param.Value().valueB, 7u) << "every field is copied";
    param.SetValue(DS_NamedFileLinkData(Links({{u"a.png", 1}})));
  }
  EXPECT_EQ(log.size(), 8u);
}

TEST(NamedFileLinkData, AssignmentKeepsObserversAndTakesValuesSilently) {
  DS_NamedFileLinkData target;
  Log log;
  RecordingControl mode("mode", &log, &target.modeParam);
  DS_NamedFileLinkData source(Links({{u"x.png", 1}}));
  source.modeParam.SetValue(3);
  source.vectorParam.SetValue(D3DXVECTOR3(1, 2, 3));
  source.premultiplied = true;

  target = source;
  EXPECT_EQ(target.modeParam.Value(), 3);
  EXPECT_EQ(target.modeParam.UndoControl().Saved(), 3);
  EXPECT_EQ(target.vectorParam.Value(), D3DXVECTOR3(1, 2, 3));
  EXPECT_TRUE(target.premultiplied);
  EXPECT_EQ(target.links.size(), 1u);
  EXPECT_TRUE(log.empty());
  target.modeParam.SetValue(4);
  EXPECT_EQ(log, (Log{"mode"})) << "the target's observers stay";

  DS_NamedFileLinkData other(Links({{u"y.png", 2}, {u"z.png", 3}}));
  swap(target, other);
  EXPECT_EQ(target.links.size(), 2u);
  EXPECT_EQ(other.links.at(0).name, u"x.png");
  EXPECT_EQ(other.modeParam.Value(), 4);

  DS_NamedFileLinkData copy(source);
  EXPECT_EQ(copy.modeParam.ControlCount(), 1) << "copies have fresh controls";
}

}  // namespace
