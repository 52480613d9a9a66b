#pragma once

#include <string>

// The folder of the running program ("" when the system cannot tell): where
// the libraries installed with it are looked for first.
std::string ProgramDirectory();
