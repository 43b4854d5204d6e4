#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/sys/command_line.h"
#include "platform/sys/file_paths.h"
#include "platform/sys/temp_directory.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = fs::temp_directory_path() / ("temp-dir-test-" + std::to_string(::getpid()));
    fs::create_directories(parent_);
  }
  void TearDown() override { fs::remove_all(parent_); }
  fs::path parent_;
};

TEST_F(TempDirectoryTest, StoredNamesStayInsideThePrivateDirectory) {
  const std::vector<uint8_t> bytes = {1, 2, 3};
  fs::path dir;
  {
    sys::TempDirectory temp(parent_);
    dir = temp.Directory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.parent_path(), parent_);
    // A long name in a script of three UTF-8 bytes per character still fits a file name.
    const std::u16string longName = u"C:\\\u66f2\\" + std::u16string(100, u'\u66f2') + u".mp3";
    for (std::u16string_view stored :
         {std::u16string_view(u"C:\\music\\track.mp3"), std::u16string_view(u"../../escape.wav"),
          std::u16string_view(u".."), std::u16string_view(u"a/b\\.."),
          std::u16string_view(u"x:y*?.ogg"), std::u16string_view(u""),
          std::u16string_view(longName)}) {
      const sys::TempFile file = temp.Write(stored, bytes);
      ASSERT_TRUE(file.written) << ToUtf8(stored);
      EXPECT_EQ(file.path.parent_path(), dir) << ToUtf8(stored);
      EXPECT_EQ(ReadAll(file.path), bytes);
    }
    // The same stored name twice gives two files, so one owner's delete never hits another's copy.
    const fs::path a = temp.Write(u"song.mp3", bytes).path;
    const fs::path b = temp.Write(u"song.mp3", bytes).path;
    EXPECT_NE(a, b);
    EXPECT_EQ(a.extension(), ".mp3");
  }
  EXPECT_FALSE(fs::exists(dir)) << "the directory and its files go with the object";
}

TEST_F(TempDirectoryTest, DeletesOnlyFilesItWrote) {
  sys::TempDirectory temp(parent_);
  const sys::TempFile mine = temp.Write(u"mine.wav", std::vector<uint8_t>{7});
  const fs::path foreign = temp.Directory() / "foreign.wav";
  std::ofstream(foreign) << "x";
  const fs::path outside = parent_ / "outside.wav";
  std::ofstream(outside) << "x";

  EXPECT_FALSE(temp.Remove(foreign));
  EXPECT_FALSE(temp.Remove(outside));
  EXPECT_TRUE(fs::exists(foreign));
  EXPECT_TRUE(fs::exists(outside));
  EXPECT_TRUE(temp.Remove(mine.path));
  EXPECT_FALSE(fs::exists(mine.path));
  EXPECT_FALSE(temp.Remove(mine.path)) << "a file is deleted once";
}

TEST_F(TempDirectoryTest, CopyAndFailedCopy) {
  sys::TempDirectory temp(parent_);
  const fs::path source = parent_ / "src.bin";
  std::ofstream(source, std::ios::binary) << "abc";
  const sys::TempFile copy = temp.Copy(source, u"D:\\x\\src.bin");
  EXPECT_TRUE(copy.written);
  EXPECT_EQ(ReadAll(copy.path).size(), 3u);
  const sys::TempFile missing = temp.Copy(parent_ / "none.bin", u"none.bin");
  EXPECT_FALSE(missing.written);
  EXPECT_EQ(missing.path.parent_path(), temp.Directory()) << "the path is known even on failure";
}

TEST(SanitizeFileName, Cases) {
  const struct {
    std::u16string_view in;
    std::string out;
  } cases[] = {{u"track.mp3", "track.mp3"},
               {u"..", "file"},
               {u"", "file"},
               {u"a:b|c", "a_b_c"},
               {u"\x01x", "_x"},
               {u"\u00e9t\u00e9.ogg", "\xc3\xa9t\xc3\xa9.ogg"}};
  for (const auto& c : cases)
    EXPECT_EQ(sys::SanitizeFileName(c.in), c.out);
  const std::string longName = sys::SanitizeFileName(std::u16string(300, u'a') + u".wav");
  EXPECT_LE(longName.size(), 120u);
  EXPECT_TRUE(longName.ends_with(".wav"));
  // Long names are cut in bytes, between characters: a pair of surrogates stays whole.
  for (const std::u16string& name : {std::u16string(100, u'\u66f2') + u".ogg", [] {
                                       std::u16string pairs = u"x";
                                       for (int i = 0; i < 61; ++i)
                                         pairs += u"\U0001F3B5";
                                       return pairs + u".ogg";
                                     }()}) {
    const std::string cut = sys::SanitizeFileName(name);
    EXPECT_LE(cut.size(), 120u);
    EXPECT_TRUE(cut.ends_with(".ogg"));
    EXPECT_EQ(ToUtf8(FromUtf8(cut)), cut) << "no character is split";
    EXPECT_EQ(cut.find("\xef\xbf\xbd"), std::string::npos) << "no replacement character";
  }
}

TEST(FilePaths, StoredPathsAndExistence) {
  EXPECT_EQ(sys::ToPath(u"music\\a.mp3"), fs::path("music/a.mp3"));
  EXPECT_EQ(sys::FileNamePart(u"C:\\x/y\\z.wav"), u"z.wav");
  EXPECT_EQ(sys::FileNamePart(u"plain"), u"plain");
  EXPECT_TRUE(sys::PathExists(fs::temp_directory_path()));
  EXPECT_FALSE(sys::PathExists(""));
  EXPECT_FALSE(sys::PathExists("/no/such/file/here"));
}

TEST(CommandLine, FirstArgumentOnly) {
  const char* none[] = {"player"};
  EXPECT_FALSE(sys::CommandLine(1, none).FirstArgument());
  const char* two[] = {"player", "/p/sc\xc3\xa8ne.vqp", "extra"};
  EXPECT_EQ(sys::CommandLine(3, two).FirstArgument(), "/p/sc\xc3\xa8ne.vqp");
}

}  // namespace
