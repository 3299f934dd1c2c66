// Starts the window system, shows the main window and runs until it closes.
#include "app/main_window.h"
#include "platform/window.h"

int main() {
  platform::InitializeWindowSystem();
  int status;
  {
    MainWindow window;
    window.Show();
    status = platform::RunMessageLoop();
  }
  // Workers may still be running or waiting on the closed window: the process
  // ends with them, and what they have written stays on disk.
  platform::EndProgram(status);
}
