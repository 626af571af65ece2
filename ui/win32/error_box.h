// The shell's three visible errors: message boxes without an owner, caption "ERROR!!".
#pragma once

namespace talvoric {

enum class ShellError {
  RegisterClassFailed,  // 00-01
  CreateWindowFailed,   // 00-02
  OutOfMemory,          // 00-03
};

// Shows the box and returns once it has been dismissed.
void ShowShellError(ShellError error);

}  // namespace talvoric
