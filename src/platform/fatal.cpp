#include "fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
bool throwInstead = false;
}

void ThrowInsteadOfExiting(bool enable) {
  throwInstead = enable;
}

void FatalError(const char* format, ...) {
  char message[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(message, sizeof message, format, args);
  va_end(args);
  if (throwInstead) throw FatalErrorException(message);
  fprintf(stderr, "plonkix: %s\n", message);
  fflush(stderr);
  std::exit(1);
}

void ExitProgram(int status) {
  if (throwInstead) throw ProgramExitException{status};
  fflush(stdout);
  std::exit(status);
}
