#include "shell_state.h"

namespace talvoric {

ShellState& Shell() {
  static ShellState state;
  return state;
}

}  // namespace talvoric
