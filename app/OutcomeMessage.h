#pragma once
// The words for a configuration outcome: the success text when every
// attempted write succeeded, otherwise which variables were written, which
// were not, and why, each cause said once.

#include "app/Configuration.h"

#include <string>

std::wstring describeOutcome(const ConfigurationOutcome& outcome);
