#include "tests/bench/BaselineControls.h"

void addBaselineControls(HWND, HINSTANCE) {}
