#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The full path of an executable: the first `name` on $PATH, else the first
// of `fallbacks` that can be run; "" when there is none.
std::string FindProgram(const std::string& name, const std::vector<std::string>& fallbacks = {});

// What RunProgram does with a program still running when the patience ran out.
enum class Overdue {
  kLeave,  // it is left running; a later call collects it when it has ended
  kEnd,    // it is ended, with every program it started, and collected
};

// RunProgram's answers for a program still running when the patience ran out.
constexpr int kStillRunning = -2;  // left running
constexpr int kEnded = -3;         // ended

// Runs `program` (no shell: every argument reaches it as it is; args[0] is
// the name it sees) with its standard input from `input` (-1: none) and waits
// for it, at most `patience` when one is given. The exit status, -1 when it
// could not be started or was killed, or kStillRunning or kEnded.
int RunProgram(const std::string& program, const std::vector<std::string>& args, int input,
               std::optional<std::chrono::milliseconds> patience = std::nullopt,
               Overdue overdue = Overdue::kLeave);
