#include "app/main_window.h"

#include "app/banner.h"
#include "app/crawl.h"
#include "platform/shell.h"
#include "text/primitives.h"

const Text kSiteAddress("https://vellacrop.example/");

namespace {

// The window being served; read and written on the window thread only.
MainWindow* g_window = nullptr;

// The client area holds the controls' table: the outer 559 x 390 less a
// fixed-border frame of 3 pixels and a caption of 26.
constexpr int kClientWidth = 553;
constexpr int kClientHeight = 361;

// Captions in code page 936.
const Text kLinkCaption("\xb7\xd6\xcf\xed\xc1\xb4\xbd\xd3\xa3\xba");  // 分享链接：
const Text kGrabCaption("\xd7\xa5\xc8\xa1");                          // 抓取
const Text kDetailHeader("\xcf\xea\xcf\xb8");                         // 详细

}  // namespace

MainWindow::MainWindow()
    : form_(ConcatTexts({"Vellacrop - ", kSiteAddress}), kClientWidth, kClientHeight) {
  透明标签1 = form_.AddLabel("透明标签1", {0, 0, 56, 32}, kLinkCaption);
  编辑框1 = form_.AddEditBox("编辑框1", {64, 0, 400, 32});
  按钮1 = form_.AddButton("按钮1", {472, 0, 80, 32}, kGrabCaption, [] { LaunchCrawl(); });
  超级列表框1 =
      form_.AddListView("超级列表框1", {8, 40, 544, 248}, {{"ID", 50}, {kDetailHeader, 487}});
  图片框1 = form_.AddPictureBox("图片框1", {184, 296, 200, 56}, BannerPng(),
                                [] { platform::ShellOpen(kSiteAddress); });
  g_window = this;
}

MainWindow::~MainWindow() {
  if (g_window == this) g_window = nullptr;
}

void MainWindow::Show() { form_.ShowCentered(); }
void MainWindow::Close() { form_.Close(); }

void AppendLogLine(const Text& line) {
  int row = -1;
  platform::RunOnWindowThread([&] {
    if (g_window) row = g_window->form_.InsertListRow(g_window->超级列表框1);
  });
  if (row < 0) return;
  const Text number = NumberToText(static_cast<double>(row) + 1);
  platform::RunOnWindowThread([&] {
    if (g_window) g_window->form_.SetListCell(g_window->超级列表框1, row, 0, number);
  });
  platform::RunOnWindowThread([&] {
    if (g_window) g_window->form_.SetListCell(g_window->超级列表框1, row, 1, line);
  });
  platform::RunOnWindowThread([&] {
    if (g_window) g_window->form_.ScrollListRowIntoView(g_window->超级列表框1, row);
  });
}

Text ReadLinkBox() {
  Text link;
  platform::RunOnWindowThread([&] {
    if (g_window) link = g_window->form_.ControlText(g_window->编辑框1);
  });
  return link;
}
