#pragma once

#include "cli/cli_support.h"

// The commands of tarvo-cli; each takes the arguments after its name and
// returns the exit code.
int RunInfo(const KsArgs& args);
int RunExport(const KsArgs& args);
int RunPrice(const KsArgs& args);
int RunPrint(const KsArgs& args);
