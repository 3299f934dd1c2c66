// End to end through the real window: a link in the box, a click on the grab
// button, and the folder, files, log rows and shell call checked afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "app/main_window.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/shell.h"
#include "text/primitives.h"
#include "tools/note_site_process.h"

namespace {

namespace fs = std::filesystem;

const char* kStamp = "2024年3月5日14时7分9秒";

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class CrawlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { site_ = new NoteSite; }
  static void TearDownTestSuite() {
    delete site_;
    site_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(site_->ok()) << "the sample note site did not start";
    base_ = fs::temp_directory_path() / ("vellacrop-crawl-" + std::to_string(getpid()));
    fs::remove_all(base_);
    run_ = base_ / "program";
    fs::create_directories(run_);
    platform::SetRunDirectoryForTesting(Text(run_.string()));
    platform::SetClockForTesting([] { return DateTime{2024, 3, 5, 14, 7, 9}; });
    platform::SetShellOpenerForTesting([this](const Text& t) {
      std::lock_guard lock(mutex_);
      opened_.push_back(t);
    });
    platform::SetDownloadCaFileForTesting(site_->CertificateFile());
    window_ = std::make_unique<MainWindow>();
    window_->Show();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* list = w->findChild<QTreeWidget*>("超级列表框1")) {
        list_ = list;
        edit_ = w->findChild<QLineEdit*>("编辑框1");
        button_ = w->findChild<QPushButton*>("按钮1");
      }
    }
  }

  void TearDown() override {
    window_.reset();
    platform::SetShellOpenerForTesting(nullptr);
    platform::SetRunDirectoryForTesting(Text());
    platform::SetClockForTesting(nullptr);
    platform::SetDownloadCaFileForTesting("");
    fs::remove_all(base_);
  }

  // Pastes link, presses the button `presses` times and waits until as many
  // crawls have opened their folders.
  void Crawl(const std::string& link, int presses = 1) {
    edit_->setText(QString::fromStdString(link));
    for (int i = 0; i < presses; ++i) QTest::mouseClick(button_, Qt::LeftButton);
    QElapsedTimer timer;
    timer.start();
    while (Opened().size() < static_cast<size_t>(presses) && timer.elapsed() < 60000) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_EQ(Opened().size(), static_cast<size_t>(presses)) << "the crawl did not finish";
    QApplication::processEvents();
  }

  std::vector<Text> Opened() {
    std::lock_guard lock(mutex_);
    return opened_;
  }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < list_->topLevelItemCount(); ++r) {
      EXPECT_EQ(list_->topLevelItem(r)->text(0), QString::number(r + 1));
      rows.push_back(list_->topLevelItem(r)->text(1).toStdString());
    }
    return rows;
  }

  std::string RunDir() const { return run_.string(); }
  static std::string Created(const std::string& folder) { return "创建了目录：" + folder; }
  static std::string Picture(const std::string& address) {
    return platform::DownloadBytes(Text(address)).body.str();
  }
  static std::string Address(const std::string& root, const std::string& note, int k) {
    return root + "/img/" + note + "/" + std::to_string(k) + "/w/1000/h/1000/q/1000";
  }

  static NoteSite* site_;
  fs::path base_, run_;
  std::unique_ptr<MainWindow> window_;
  QTreeWidget* list_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* button_ = nullptr;
  std::mutex mutex_;
  std::vector<Text> opened_;
};

NoteSite* CrawlTest::site_ = nullptr;

TEST_F(CrawlTest, TwelvePicturesInPageOrder) {
  Crawl(site_->Http("/note/many?n=12"));
  const std::string folder = RunDir() + "/Many";
  std::vector<std::string> want = {Created(folder)};
  for (int k = 1; k <= 12; ++k) want.push_back(Address(site_->Http(""), "many", k));
  EXPECT_EQ(Rows(), want);
  for (int k = 1; k <= 12; ++k) {
    const fs::path file = fs::path(folder) / (std::to_string(k) + ".png");
    ASSERT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(ReadFile(file), Picture(want[k])) << file;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 12);
  EXPECT_EQ(Opened().at(0).str(), folder);
  const std::string log = site_->Log();
  EXPECT_NE(log.find("GET /note/many?n=12 HTTP/1.1\n"), std::string::npos);
  EXPECT_NE(log.find("  Accept-Language: zh-cn\n  Cookie: "), std::string::npos);
  EXPECT_NE(log.find("GET /img/many/12/w/1000/h/1000/q/1000 HTTP/1.0\n"), std::string::npos);
}

TEST_F(CrawlTest, ChineseTitleBecomesAUtf8Folder) {
  Crawl(site_->Http("/note/demo"));
  const fs::path folder = run_ / "春日花园散步记录｜周末好去处";
  ASSERT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(Rows().size(), 5u);
  EXPECT_EQ(Rows()[0], Created(folder.string()));
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(ReadFile(folder / (std::to_string(k) + ".png")),
              Picture(Address(site_->Http(""), "demo", k)));
  }
}

TEST_F(CrawlTest, DateTimeFolderWhenTheTitleCannotServe) {
  struct Case {
    const char* what;
    std::string link;
    size_t rows;
    int pictures;
  } cases[] = {
      {"no title", site_->Http("/note/notitle"), 4, 3},
      {"empty link box", "", 1, 0},
      {"zero byte before the title", site_->Http("/note/zero"), 1, 0},
      {"title ../x", site_->Http("/note/traversal"), 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(run_);
    fs::create_directories(run_);
    list_->clear();
    {
      std::lock_guard lock(mutex_);
      opened_.clear();
    }
    Crawl(c.link);
    const fs::path folder = run_ / kStamp;
    EXPECT_EQ(Rows().size(), c.rows);
    EXPECT_EQ(Rows().at(0), Created(folder.string()));
    EXPECT_EQ(std::distance(fs::directory_iterator(run_), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), c.pictures);
    EXPECT_EQ(platform::NativePath(Opened().at(0)), folder.string());
  }
  EXPECT_FALSE(fs::exists(base_ / "x")) << "nothing is made outside the program's folder";
}

TEST_F(CrawlTest, ExistingFoldersAreNeverReused) {
  fs::create_directories(run_ / "Many");
  fs::create_directories(run_ / kStamp);
  std::ofstream(run_ / kStamp / "1.png") << "another crawl's picture";
  Crawl(site_->Http("/note/many?n=2"));
  const fs::path folder = run_ / (std::string(kStamp) + " (2)");
  EXPECT_EQ(Rows().at(0), Created(folder.string()));
  EXPECT_TRUE(fs::exists(folder / "2.png"));
  EXPECT_EQ(ReadFile(run_ / kStamp / "1.png"), "another crawl's picture");
  EXPECT_TRUE(fs::is_empty(run_ / "Many"));
}

TEST_F(CrawlTest, TwoPressesAtOnce) {
  Crawl(site_->Http("/note/demo"), 2);
  EXPECT_EQ(Rows().size(), 10u);
  for (const fs::path& folder : {run_ / "春日花园散步记录｜周末好去处", run_ / kStamp}) {
    for (int k = 1; k <= 4; ++k) {
      EXPECT_EQ(ReadFile(folder / (std::to_string(k) + ".png")),
                Picture(Address(site_->Http(""), "demo", k)))
          << folder;
    }
  }
}

TEST_F(CrawlTest, ErrorPageIsHandledLikeANote) {
  Crawl(site_->Http("/note/missing"));
  EXPECT_TRUE(fs::exists(run_ / "Not found" / "1.png"));
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(CrawlTest, ABrokenPictureIsLoggedAndNotSaved) {
  Crawl(site_->Http("/note/broken"));
  const std::string root = site_->Http("");
  const std::string folder = RunDir() + "/Broken";
  EXPECT_EQ(Rows(), (std::vector<std::string>{
                        Created(folder), Address(root, "broken", 1), Address(root, "broken", 2),
                        "下载失败：" + Address(root, "broken", 2), Address(root, "broken", 3),
                        Address(root, "broken", 4)}));
  EXPECT_TRUE(fs::exists(folder + "/1.png"));
  EXPECT_FALSE(fs::exists(folder + "/2.png"));
  EXPECT_EQ(ReadFile(folder + "/4.png"), Picture(Address(root, "broken", 4)));
}

TEST_F(CrawlTest, HttpsNotePageWithASelfSignedCertificate) {
  Crawl(site_->Https("/note/many?n=3"));
  const std::string folder = RunDir() + "/Many";
  EXPECT_EQ(Rows().size(), 4u);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(ReadFile(folder + "/" + std::to_string(k) + ".png"),
              Picture(Address(site_->Https(""), "many", k)));
  }
}

TEST_F(CrawlTest, NoFolderCouldBeMade) {
  fs::create_directories(run_ / "Many");
  fs::create_directories(run_ / kStamp);
  for (int i = 2; i <= 100; ++i) {
    fs::create_directories(run_ / (std::string(kStamp) + " (" + std::to_string(i) + ")"));
  }
  edit_->setText(QString::fromStdString(site_->Http("/note/many?n=2")));
  QTest::mouseClick(button_, Qt::LeftButton);
  QElapsedTimer timer;
  timer.start();
  while (list_->topLevelItemCount() == 0 && timer.elapsed() < 30000) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  QTest::qWait(300);
  EXPECT_EQ(Rows(),
            (std::vector<std::string>{"创建目录失败：" + RunDir() + "/" + kStamp + " (100)"}));
  EXPECT_TRUE(Opened().empty()) << "nothing is opened when nothing was made";
  EXPECT_TRUE(fs::is_empty(run_ / "Many"));
}

TEST_F(CrawlTest, ClosingDuringACrawlEndsTheProgram) {
  const std::string probe =
      std::string(VELLACROP_CLOSE_PROBE) + " " + RunDir() + " " + site_->Http("/note/slow");
  QElapsedTimer timer;
  timer.start();
  const int status = std::system(("timeout 20 " + probe).c_str());
  EXPECT_EQ(status, 0) << "the program did not end cleanly";
  EXPECT_LT(timer.elapsed(), 15000);
  EXPECT_TRUE(fs::exists(run_ / "Slow" / "2.png"));
  EXPECT_FALSE(fs::exists(run_ / "Slow" / "3.png"));
  for (const auto& entry : fs::directory_iterator(run_ / "Slow")) {
    EXPECT_EQ(entry.path().extension(), ".png") << "a temporary file was left behind";
  }
}

}  // namespace
