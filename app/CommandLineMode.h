#pragma once
// The command-line mode: the same configuration as the button, with no
// window, its result in lines and in the exit code (see CommandLine.h).

#include "app/CommandLine.h"
#include "app/Configuration.h"

// Runs `options` (any mode but window) and returns the process exit code.
int runCommandLine(const CommandLineOptions& options);

// The exit code for a configuration that ran: 3, 2, 4 or 0, in that order.
int exitCodeFor(const ConfigurationOutcome& outcome);
