#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vellacrop-files-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  Text Path(const std::string& name) const { return Text((dir_ / name).string()); }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir_;
};

TEST_F(FilesTest, CreateFolderOneLevelOnly) {
  EXPECT_TRUE(platform::CreateFolder(Path("a")));
  EXPECT_TRUE(fs::is_directory(dir_ / "a"));
  EXPECT_FALSE(platform::CreateFolder(Path("a"))) << "exists";
  EXPECT_FALSE(platform::CreateFolder(Path("missing/b"))) << "parent missing";
  EXPECT_FALSE(platform::CreateFolder(Text(dir_.string() + "/"))) << "empty name";
  EXPECT_FALSE(platform::CreateFolder(Text())) << "empty path";
}

TEST_F(FilesTest, CreateFolderRefusesNamesWindowsForbids) {
  const char* refused[] = {"a<b", "a>b",     "a:b",  "a\"b",   "a|b",   "a?b",
                           "a*b", "a\\b",    "a\tb", "ends.",  "ends ", "CON",
                           "con", "Nul.txt", "COM1", "lpt9.x", "aux ."};
  for (const char* name : refused) {
    EXPECT_FALSE(platform::CreateFolder(Path(name))) << name;
    EXPECT_FALSE(fs::exists(dir_ / name)) << name;
  }
  const char* allowed[] = {"COM0", "CONSOLE", "LPT10", "a.b", "x y"};
  for (const char* name : allowed) EXPECT_TRUE(platform::CreateFolder(Path(name))) << name;
}

TEST_F(FilesTest, CodePage936NamesBecomeUtf8) {
  EXPECT_TRUE(platform::CreateFolder(Path("\xd6\xd0\xce\xc4")));  // 中文
  EXPECT_TRUE(fs::is_directory(dir_ / "\xe4\xb8\xad\xe6\x96\x87"));
  // A second byte that equals '|' is part of a character, not a forbidden one.
  EXPECT_TRUE(platform::CreateFolder(Path("\x81\x7c")));
  EXPECT_EQ(platform::TextFromNative("\xe4\xb8\xad").str(), "\xd6\xd0");
}

TEST_F(FilesTest, WriteFileBytesReplacesWholeFiles) {
  const Text path = Path("1.png");
  EXPECT_TRUE(platform::WriteFileBytes(path, Bytes("old content")));
  EXPECT_TRUE(platform::WriteFileBytes(path, Bytes(std::string("a\0", 2)), Bytes(), Bytes("b")));
  EXPECT_EQ(Read(dir_ / "1.png"), std::string("a\0b", 3));
  EXPECT_TRUE(platform::WriteFileBytes(path, Bytes()));
  EXPECT_EQ(fs::file_size(dir_ / "1.png"), 0u);
  // Permissions are those of a plain create, and no temporary file is left.
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(fs::status(dir_ / "1.png").permissions(), static_cast<fs::perms>(0666 & ~mask));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, WriteFileBytesFailures) {
  EXPECT_FALSE(platform::WriteFileBytes(Text(), Bytes("x")));
  EXPECT_FALSE(platform::WriteFileBytes(Path("missing/1.png"), Bytes("x")));
  fs::create_directory(dir_ / "d");
  EXPECT_FALSE(platform::WriteFileBytes(Path("d"), Bytes("x"))) << "a folder is in the way";
  EXPECT_TRUE(fs::is_directory(dir_ / "d"));
}

TEST(RunDirectory, IsTheProgramsFolderUnlessReplaced) {
  const Text real = platform::RunDirectory();
  EXPECT_FALSE(real.empty());
  EXPECT_NE(real.str().back(), '/');
  EXPECT_TRUE(fs::is_directory(real.str()));
  platform::SetRunDirectoryForTesting("/tmp/x");
  EXPECT_EQ(platform::RunDirectory().str(), "/tmp/x");
  platform::SetRunDirectoryForTesting(Text());
  EXPECT_EQ(platform::RunDirectory().str(), real.str());
}

TEST(CurrentDateTime, IsPlausibleAndReplaceable) {
  const DateTime now = platform::CurrentDateTime();
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.second >= 0 && now.second <= 60);
  platform::SetClockForTesting([] { return DateTime{2024, 3, 5, 1, 2, 3}; });
  EXPECT_EQ(platform::CurrentDateTime().minute, 2);
  platform::SetClockForTesting(nullptr);
}

}  // namespace
