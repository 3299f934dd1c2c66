// Runs the program's start-up and shut-down with a crawl of a slow note and
// closes the window while the crawl waits for its third picture.
// Usage: close_probe RUN_DIRECTORY LINK
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "app/main_window.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/window.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::InitializeWindowSystem();
  platform::SetRunDirectoryForTesting(Text(argv[1]));
  platform::SetShellOpenerForTesting([](const Text&) {});
  const std::filesystem::path second = std::filesystem::path(argv[1]) / "Slow" / "2.png";
  int status;
  {
    MainWindow window;
    window.Show();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* edit = w->findChild<QLineEdit*>("编辑框1")) {
        edit->setText(argv[2]);
        w->findChild<QPushButton*>("按钮1")->click();
      }
    }
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (std::filesystem::exists(second)) window.Close();
    });
    poll.start(20);
    status = platform::RunMessageLoop();
  }
  platform::EndProgram(status);
}
