// The process-wide run-time state.
#include "app/app_state.hpp"

AppState appState;
