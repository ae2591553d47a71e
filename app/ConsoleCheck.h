#pragma once
// What a console opened after a configuration will run when the user types
// "java": the environment a newly started process of this user gets from the
// registry (not this process's own, inherited one), and the first java.exe on
// its PATH. The commonest complaint after "success" is that an installer's
// folder earlier on PATH, or a user-scope variable, still wins.

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One value of an environment key as stored.
struct EnvironmentValue {
    std::wstring name;
    std::wstring data;
    bool expandable = false;  // REG_EXPAND_SZ
};

// The raw material of a new process's environment.
struct EnvironmentSources {
    // Variables Windows supplies outside the two environment keys (SystemRoot,
    // USERPROFILE, ProgramFiles...), which stored values may reference.
    std::vector<EnvironmentValue> base;
    std::vector<EnvironmentValue> machine;
    std::vector<EnvironmentValue> user;
};

enum class PathScope { machine, user };

struct ConsolePathEntry {
    std::wstring folder;  // as the new process sees it
    PathScope scope;
};

// Windows' order: machine REG_SZ values, machine REG_EXPAND_SZ values, then
// the user's in the same two passes, the user PATH appended to the machine
// one. A REG_EXPAND_SZ value sees only what earlier values defined, so a
// machine PATH entry "%JAVA_HOME%\bin" takes the machine JAVA_HOME even when
// the user scope has its own.
class NewProcessEnvironment {
public:
    explicit NewProcessEnvironment(const EnvironmentSources& sources);

    std::optional<std::wstring> variable(const std::wstring& name) const;
    const std::vector<ConsolePathEntry>& path() const { return path_; }

private:
    void apply(const std::vector<EnvironmentValue>& values, bool expandable, PathScope scope);
    void appendPath(const std::wstring& value, PathScope scope);
    std::wstring& slot(const std::wstring& name);

    // Name in upper case, then value. An environment holds a few dozen
    // variables, so a plain list serves as well as a map, with less code.
    std::vector<std::pair<std::wstring, std::wstring>> variables_;
    std::vector<ConsolePathEntry> path_;
};

// Replaces each %NAME% that `environment` defines; an undefined reference
// stays as written, as Windows leaves it.
std::wstring expandReferences(const std::wstring& text, const NewProcessEnvironment& environment);

enum class ConsoleJavaWinner {
    // JAVA_HOME's bin folder: the configuration works in a new console.
    javaHomeBin,
    // A machine PATH entry before ours holds a java.exe.
    earlierPathEntry,
    // The user scope has its own JAVA_HOME, which new consoles see instead.
    userJavaHome,
    // The first java.exe is in a user PATH entry.
    userPathEntry,
    // No PATH entry holds a java.exe.
    none,
};

struct ConsoleJavaVerdict {
    ConsoleJavaWinner winner = ConsoleJavaWinner::none;
    // The folder whose java.exe runs (for userJavaHome: the user JAVA_HOME's
    // bin folder); empty for none.
    std::wstring folder;

    bool javaHomeWins() const { return winner == ConsoleJavaWinner::javaHomeBin; }
};

// The verdict for these sources, looking at the file system for java.exe.
ConsoleJavaVerdict judgeConsoleJava(const EnvironmentSources& sources);

// The sources as they stand now: both environment keys, and the base
// variables from CreateEnvironmentBlock for this process's user.
EnvironmentSources readEnvironmentSources();

// judgeConsoleJava(readEnvironmentSources()).
ConsoleJavaVerdict checkNewConsoleJava();

// The same folder, whatever the case, a trailing backslash or "." and "..".
bool isSameFolder(const std::wstring& a, const std::wstring& b);
