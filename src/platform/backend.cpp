#include "backend.h"

#include "fatal.h"

namespace {
Backend* current = nullptr;
}

Backend& CurrentBackend() {
  if (!current) FatalError("no platform backend installed");
  return *current;
}

void SetBackend(Backend* backend) {
  current = backend;
}
