// The desktop window system: one top-level form with labels, an edit box, a
// button, a report-style list and a picture box. Form methods run on the
// window thread only; RunOnWindowThread carries a call there from any thread.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace platform {

struct Rect {
  int left;
  int top;
  int width;
  int height;
};

struct ListColumn {
  Text header;
  int width;
};

// A control of a form; object names are UTF-8 identifiers.
using Control = int;

// Starts the window system once per process; later calls do nothing.
void InitializeWindowSystem();
// Runs the message loop until the last window is closed.
int RunMessageLoop();
// Ends the process at once with the status, whatever threads still run.
[[noreturn]] void EndProgram(int status);

// Runs fn on the window thread while the caller waits; directly when the
// caller is the window thread. Returns false without running fn once the form
// that serves these calls has closed, so no caller waits for ever.
bool RunOnWindowThread(const std::function<void()>& fn);

class Form {
 public:
  // clientWidth x clientHeight is the fixed size of the client area.
  Form(const Text& caption, int clientWidth, int clientHeight);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Control AddLabel(std::string_view name, Rect rect, const Text& caption);
  Control AddEditBox(std::string_view name, Rect rect);
  Control AddButton(std::string_view name, Rect rect, const Text& caption,
                    std::function<void()> onClick);
  Control AddListView(std::string_view name, Rect rect, const std::vector<ListColumn>& columns);
  // Shows the PNG at its natural size in the box's top-left corner.
  Control AddPictureBox(std::string_view name, Rect rect, const Bytes& png,
                        std::function<void()> onLeftPress);

  void ShowCentered();
  void Close();

  Text ControlText(Control control) const;
  // Appends an empty row and returns its 0-based index.
  int InsertListRow(Control list);
  void SetListCell(Control list, int row, int column, const Text& text);
  void ScrollListRowIntoView(Control list, int row);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
