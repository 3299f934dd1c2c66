// Times one whole crawl through the window (offscreen) and reports the peak
// memory of the process. Usage: crawl_bench LINK RUN_DIRECTORY
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "app/main_window.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/window.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LINK RUN_DIRECTORY\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::InitializeWindowSystem();
  platform::SetRunDirectoryForTesting(Text(argv[2]));
  // The crawl ends with its folder opened: then the loop stops.
  platform::SetShellOpenerForTesting([](const Text&) {
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::quit(); }, Qt::QueuedConnection);
  });
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  MainWindow window;
  window.Show();
  QPushButton* button = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* edit = w->findChild<QLineEdit*>("编辑框1")) {
      edit->setText(argv[1]);
      button = w->findChild<QPushButton*>("按钮1");
    }
  }
  QApplication::processEvents();
  rusage idle{};
  getrusage(RUSAGE_SELF, &idle);
  QElapsedTimer timer;
  timer.start();
  button->click();
  QApplication::exec();
  const double seconds = timer.nsecsElapsed() / 1e9;
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  std::printf(
      "crawl: %.3f s, peak memory %.1f MB (%.1f MB with the window open before the crawl)\n",
      seconds, after.ru_maxrss / 1024.0, idle.ru_maxrss / 1024.0);
  return 0;
}
