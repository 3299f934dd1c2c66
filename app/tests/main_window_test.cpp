#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "platform/qt_text.h"
#include "platform/shell.h"
#include "text/primitives.h"

namespace {

QWidget* TopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->findChild<QTreeWidget*>("超级列表框1")) return w;
  }
  return nullptr;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetShellOpenerForTesting([this](const Text& t) {
      std::lock_guard lock(mutex_);
      opened_.push_back(t.str());
    });
    window_ = std::make_unique<MainWindow>();
    window_->Show();
    top_ = TopLevel();
    ASSERT_NE(top_, nullptr);
    list_ = top_->findChild<QTreeWidget*>("超级列表框1");
  }
  void TearDown() override {
    window_.reset();
    platform::SetShellOpenerForTesting(nullptr);
  }
  QString Cell(int row, int column) const { return list_->topLevelItem(row)->text(column); }

  std::unique_ptr<MainWindow> window_;
  QWidget* top_ = nullptr;
  QTreeWidget* list_ = nullptr;
  std::mutex mutex_;
  std::vector<std::string> opened_;
};

TEST_F(MainWindowTest, ControlsSitAtTheirPlaces) {
  struct Case {
    const char* name;
    QRect want;
  } cases[] = {
      {"透明标签1", {0, 0, 56, 32}},    {"编辑框1", {64, 0, 400, 32}},
      {"按钮1", {472, 0, 80, 32}},      {"超级列表框1", {8, 40, 544, 248}},
      {"图片框1", {184, 296, 200, 56}},
  };
  for (const Case& c : cases) {
    QWidget* w = top_->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->geometry(), c.want) << c.name;
  }
  EXPECT_EQ(top_->windowTitle(), "Vellacrop - https://vellacrop.example/");
  EXPECT_EQ(top_->minimumSize(), top_->maximumSize()) << "the frame is fixed";
  EXPECT_FALSE(top_->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(top_->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(top_->findChild<QLabel*>("透明标签1")->text(), QString::fromUtf8("分享链接："));
  auto* button = top_->findChild<QPushButton*>("按钮1");
  EXPECT_EQ(button->text(), QString::fromUtf8("抓取"));
  EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(top_->findChild<QLineEdit*>("编辑框1")->text().isEmpty());
}

TEST_F(MainWindowTest, LogListHasTwoFixedColumns) {
  ASSERT_EQ(list_->columnCount(), 2);
  EXPECT_EQ(list_->headerItem()->text(0), "ID");
  EXPECT_EQ(list_->headerItem()->text(1), QString::fromUtf8("详细"));
  EXPECT_EQ(list_->columnWidth(0), 50);
  EXPECT_EQ(list_->columnWidth(1), 487);
  EXPECT_EQ(list_->header()->sectionResizeMode(0), QHeaderView::Fixed);
  EXPECT_FALSE(list_->isHeaderHidden());
  EXPECT_EQ(list_->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_FALSE(list_->rootIsDecorated());
}

TEST_F(MainWindowTest, BannerIsShownUnscaledAndOpensTheSite) {
  auto* banner = top_->findChild<QLabel*>("图片框1");
  const QPixmap pixmap = banner->pixmap();
  EXPECT_EQ(pixmap.size(), QSize(180, 60));
  EXPECT_TRUE(pixmap.hasAlphaChannel());
  EXPECT_EQ(banner->alignment(), Qt::AlignLeft | Qt::AlignTop);
  QTest::mousePress(banner, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mousePress(banner, Qt::RightButton, {}, QPoint(10, 10));
  QTest::mouseRelease(banner, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mousePress(banner, Qt::LeftButton, {}, QPoint(10, 10));
  std::lock_guard lock(mutex_);
  EXPECT_EQ(opened_,
            (std::vector<std::string>{"https://vellacrop.example/", "https://vellacrop.example/"}))
      << "every left press opens the site, and only a left press";
}

TEST_F(MainWindowTest, RowsAreNumberedAndScrolledIntoView) {
  AppendLogLine("first");
  AppendLogLine(Text());
  EXPECT_EQ(list_->topLevelItemCount(), 2);
  EXPECT_EQ(Cell(0, 0), "1");
  EXPECT_EQ(Cell(0, 1), "first");
  EXPECT_EQ(Cell(1, 0), "2");
  EXPECT_EQ(Cell(1, 1), "") << "an empty line still gets its row";
  for (int i = 0; i < 60; ++i) AppendLogLine(NumberToText(i));
  list_->scrollToTop();
  AppendLogLine("\xd6\xd0");  // 中
  QTreeWidgetItem* last = list_->topLevelItem(62);
  EXPECT_EQ(last->text(0), "63");
  EXPECT_EQ(last->text(1), QString::fromUtf8("中"));
  QApplication::processEvents();
  const QRect visible = list_->viewport()->rect();
  const QRect row = list_->visualItemRect(last);
  EXPECT_TRUE(row.top() >= visible.top() && row.bottom() <= visible.bottom())
      << "the new row is scrolled into view: rows " << row.top() << "-" << row.bottom()
      << " in a view of " << visible.height();
}

TEST_F(MainWindowTest, TwoThreadsAppendDistinctNumberedRows) {
  std::atomic<int> finished{0};
  auto worker = [&](const char* tag) {
    for (int i = 0; i < 25; ++i) AppendLogLine(ConcatTexts({tag, NumberToText(i)}));
    ++finished;
  };
  std::thread a(worker, "a"), b(worker, "b");
  while (finished < 2) QApplication::processEvents(QEventLoop::AllEvents, 5);
  a.join();
  b.join();
  ASSERT_EQ(list_->topLevelItemCount(), 50);
  std::set<QString> lines;
  int nextA = 0, nextB = 0;
  for (int r = 0; r < 50; ++r) {
    EXPECT_EQ(Cell(r, 0), QString::number(r + 1));
    const QString line = Cell(r, 1);
    lines.insert(line);
    if (line.startsWith('a')) {
      EXPECT_EQ(line, "a" + QString::number(nextA++));
    } else {
      EXPECT_EQ(line, "b" + QString::number(nextB++));
    }
  }
  EXPECT_EQ(lines.size(), 50u) << "each row has its own text";
}

TEST_F(MainWindowTest, ReadLinkBoxFromAWorker) {
  auto* edit = top_->findChild<QLineEdit*>("编辑框1");
  QTest::keyClicks(edit, "http://127.0.0.1/n");
  edit->insert(QString::fromUtf8("中"));
  Text got;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    got = ReadLinkBox();
    done = true;
  });
  while (!done) QApplication::processEvents(QEventLoop::AllEvents, 5);
  worker.join();
  EXPECT_EQ(got.str(), "http://127.0.0.1/n\xd6\xd0");
  EXPECT_EQ(ReadLinkBox().str(), got.str()) << "on the window thread it runs directly";
}

TEST_F(MainWindowTest, ClosingReleasesAWaitingWorker) {
  std::atomic<bool> started{false}, done{false};
  std::thread worker([&] {
    started = true;
    for (int i = 0; i < 1000000 && !done; ++i) AppendLogLine("x");
    done = true;
  });
  while (!started) std::this_thread::yield();
  // The window thread does not serve the worker now; closing must release it.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  window_->Close();
  window_.reset();
  for (int i = 0; i < 200 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(done) << "the worker still waits on a closed window";
  done = true;
  worker.join();
  EXPECT_EQ(ReadLinkBox().str(), "") << "after closing, reads give the empty text";
}

}  // namespace
