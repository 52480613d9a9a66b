#pragma once

#include <string>
#include <vector>

// The full path of an executable: the first `name` on $PATH, else the first
// of `fallbacks` that can be run; "" when there is none.
std::string FindProgram(const std::string& name, const std::vector<std::string>& fallbacks = {});

// Runs `program` (no shell: every argument reaches it as it is; args[0] is
// the name it sees) with its standard input from `input` (-1: none) and waits
// for it. The exit status, or -1 when it could not be started or was killed.
int RunProgram(const std::string& program, const std::vector<std::string>& args, int input);
