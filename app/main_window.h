// The program's only window: link box, grab button, log list and banner.
// Construct, show and destroy on the window thread; AppendLogLine and
// ReadLinkBox may be called from any thread.
#pragma once

#include "platform/window.h"
#include "text/text.h"

// The web address in the caption, after "Vellacrop - ", and the one the banner opens.
extern const Text kSiteAddress;

class MainWindow {
 public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  void Show();
  void Close();

 private:
  friend void AppendLogLine(const Text& line);
  friend Text ReadLinkBox();

  platform::Form form_;
  platform::Control 透明标签1;
  platform::Control 编辑框1;
  platform::Control 按钮1;
  platform::Control 超级列表框1;
  platform::Control 图片框1;
};

// Appends one numbered row to the log list and scrolls it into view. Each step
// runs on the window thread while the caller waits; after the window has
// closed nothing happens.
void AppendLogLine(const Text& line);
// The current content of the link box; the empty text once the window has closed.
Text ReadLinkBox();
