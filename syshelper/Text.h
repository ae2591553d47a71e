#pragma once
// Texts exchanged with the helper object: NUL-free byte strings in the
// system's active ANSI code page (936 on the systems the tool is made for).
// The empty string stands for both the empty and the absent text.

#include <string>
#include <vector>

using Text = std::string;
using TextList = std::vector<Text>;
