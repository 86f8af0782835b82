// The one way the program stops on a fault, and the one way it ends.
#pragma once
#include <stdexcept>
#include <string>

// Prints "plonkix: <message>" to stderr and ends the program with status 1.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Ends the program at once with the given status (Alt+F4, window close, the end of the main flow).
[[noreturn]] void ExitProgram(int status);

// Tests and tools replace the two endings by exceptions so a run can be checked afterwards.
struct FatalErrorException : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct ProgramExitException {
  int status;
};
void ThrowInsteadOfExiting(bool enable);
