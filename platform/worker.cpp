#include "platform/worker.h"

#include <system_error>
#include <thread>

namespace platform {

void StartWorker(void (*routine)()) {
  try {
    std::thread(routine).detach();
  } catch (const std::system_error&) {
    // No thread could be had; the press simply starts nothing.
  }
}

}  // namespace platform
