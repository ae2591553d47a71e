#pragma once
// Planning the machine PATH: which of the two Java entries it still lacks.
//
// Entries are compared whole, between semicolons, without regard to ASCII
// case, after trimming blanks and one trailing backslash. Only the literal
// references count: an expanded "C:\jdk\bin" is a different entry, since it
// would not follow a later change of JAVA_HOME.

#include "syshelper/Text.h"

#include <vector>

// The entries the Java tools need, in the order they are appended.
inline constexpr const char* javaBinEntry = "%JAVA_HOME%\\bin";
inline constexpr const char* jreBinEntry = "%JRE_HOME%\\bin";

bool samePathEntry(const Text& a, const Text& b);
bool containsPathEntry(const Text& pathValue, const Text& entry);

// The Java entries that `pathValue` lacks, in append order.
std::vector<Text> missingJavaEntries(const Text& pathValue);

// `pathValue` with each missing entry appended after its own ';'; nothing
// else of it changes. Equal to `pathValue` when nothing is missing.
Text withJavaEntries(const Text& pathValue);
