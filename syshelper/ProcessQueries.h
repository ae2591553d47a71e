#pragma once
// Small routines behind the helper's process queries.

#include "syshelper/Text.h"

#include <cstddef>
#include <cstdint>

// UTF-16LE code units (two bytes each; a trailing odd byte is ignored) as a
// text of code page 936. Characters the code page lacks become its default
// character; a base character and a combining mark become the precomposed
// character where one exists.
Text wideToText(const uint8_t* wideBytes, size_t byteCount);

// The file name of `path`, with or without its extension.
Text fileNameOfPath(const Text& path, bool withExtension = false);

// The extension of `path`, dot included, or an empty text.
Text extensionOfPath(const Text& path);

// A variable of the process's own environment, whole however long it is;
// an empty text when it is not set or set to nothing.
Text processEnvironmentValue(const Text& name);
