#include "state.h"

ShellState AppState;
