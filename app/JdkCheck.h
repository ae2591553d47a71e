#pragma once
// Whether a folder looks like a JDK home, checked before anything is written,
// and the home to propose when the user picked the JDK's bin folder or
// java.exe itself: both are common mistakes, and both would put a PATH entry
// on the machine that holds no java.exe.

#include <string>

enum class JdkFolderState {
    // Holds bin\java.exe: a JDK home (a JDK 9 and later has no jre folder).
    jdkHome,
    // A JDK's bin folder, or a java.exe/javaw.exe in one: `proposedHome` is set.
    insideJdkHome,
    // Nothing exists at that path.
    missing,
    // A file, and not a java.exe/javaw.exe in a JDK's bin folder.
    notAFolder,
    // A folder without bin\java.exe.
    noJavaExe,
};

struct JdkFolderCheck {
    JdkFolderState state = JdkFolderState::missing;
    // The absolute JDK home above the path, for `insideJdkHome` only.
    std::wstring proposedHome;
};

// `folder` as typed; trailing backslashes do not matter. Blanks around it
// do: PATH gets "%JAVA_HOME%\bin" with the blanks inside, and no folder
// of that name exists.
JdkFolderCheck checkJdkFolder(const std::wstring& folder);

// True when `folder`\java.exe exists and is a file.
bool holdsJavaExe(const std::wstring& folder);

// `folder` and `name` with exactly one backslash between them.
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);
