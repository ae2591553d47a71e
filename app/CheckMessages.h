#pragma once
// The words for the folder check and for the console check, shared by the
// window's boxes and the command-line mode's lines.

#include "app/Configuration.h"
#include "app/ConsoleCheck.h"
#include "app/JdkCheck.h"

#include <string>

// Numbers for the texts, formatted by hand: the printf family would add
// 35 KB to a program that needs two formats.
// hexCode gives "0x80070005", the form in which Windows error codes are looked up.
std::wstring hexCode(long error);
std::wstring decimalText(unsigned long value);

// Every occurrence of `placeholder` in `pattern` replaced by `value`.
std::wstring filledIn(std::wstring pattern, const wchar_t* placeholder, const std::wstring& value);

// Why a variable was not written, in one sentence; empty when it was.
std::wstring describeFailureCause(const VariableOutcome& variable);

// What is wrong with `folder`: missing, a file, no bin\java.exe, or the JDK
// home above it. Empty for a JDK home.
std::wstring describeJdkFolder(const std::wstring& folder, const JdkFolderCheck& check);

// One sentence naming the java.exe a new console runs and, when it is not
// JAVA_HOME's, why.
std::wstring describeConsoleVerdict(const ConsoleJavaVerdict& verdict);

// The result text after every variable was written: exactly the success text
// when JAVA_HOME's bin wins, otherwise that the variables were written and
// which folder wins instead.
std::wstring describeWrittenWithVerdict(const ConsoleJavaVerdict& verdict);
