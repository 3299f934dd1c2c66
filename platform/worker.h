// Worker threads.
#pragma once

namespace platform {

// Starts a detached thread on routine; a failure to start is swallowed.
void StartWorker(void (*routine)());

}  // namespace platform
