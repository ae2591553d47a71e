#pragma once
// The configuration itself, apart from any window: writes JAVA_HOME, JRE_HOME
// and the Java entries of PATH into the machine scope and records what became
// of each variable and why, so every front end reports the same outcome.

#include "syshelper/SystemHelper.h"
#include "syshelper/Text.h"

#include <array>

enum class VariableState {
    written,
    // PATH already held both Java entries, so it was left exactly as it was.
    upToDate,
    // The write was made and failed.
    notWritten,
    // No write was made: PATH could not be read, or was empty.
    notAttempted,
};

enum class FailureCause {
    none,
    // The machine scope refused the write: the process lacks administrator rights.
    accessDenied,
    // The "WScript.Shell" object cannot be created at all.
    shellUnavailable,
    // Reading the machine PATH failed; writing without it would lose PATH.
    pathUnreadable,
    // The machine PATH is empty or absent; the Java entries alone would replace it.
    pathEmpty,
    // Any other failure; its HRESULT is in `error`.
    otherError,
};

struct VariableOutcome {
    const char* name = "";
    VariableState state = VariableState::notAttempted;
    FailureCause cause = FailureCause::none;
    long error = 0;

    bool succeeded() const { return state == VariableState::written || state == VariableState::upToDate; }
};

struct ConfigurationOutcome {
    VariableOutcome javaHome{"JAVA_HOME"};
    VariableOutcome jreHome{"JRE_HOME"};
    VariableOutcome path{"PATH"};

    std::array<const VariableOutcome*, 3> variables() const { return {&javaHome, &jreHome, &path}; }
    bool allSucceeded() const;
    bool anyWritten() const;
};

// The value JRE_HOME gets: a reference, so it follows later changes of JAVA_HOME.
inline constexpr const char* jreHomeValue = "%JAVA_HOME%\\jre";

// The three writes in their order, machine scope only: JAVA_HOME = `folder`
// byte for byte, JRE_HOME, then PATH read from the machine scope alone and
// extended by the Java entries it lacks. Every step runs whatever the earlier
// ones achieved; PATH is written only when it was read and is not empty.
ConfigurationOutcome writeJavaEnvironment(SystemHelper& helper, const Text& folder);

// Tells running programs, Explorer above all, to rebuild their environment
// from the registry, so a console opened afterwards sees the new values.
void broadcastEnvironmentChange();

// A whole configuration run for a folder text that has passed its checks:
// one helper, the writes, and the broadcast when anything was written.
ConfigurationOutcome configureJavaEnvironment(const Text& folder);
