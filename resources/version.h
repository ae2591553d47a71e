#pragma once
// The one place that holds the version: the window title and the executable's
// version resource both read it.
#define ZOVREL_VERSION_MAJOR 0
#define ZOVREL_VERSION_MINOR 1
#define ZOVREL_VERSION_PATCH 0
#define ZOVREL_VERSION_TEXT "0.1.0"
