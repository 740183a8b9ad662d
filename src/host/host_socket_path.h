#pragma once
#include <string>

// Where the substitute host listens: $XDG_RUNTIME_DIR/Tolm2.Application.sock,
// or /tmp/Tolm2.Application-<uid>.sock when XDG_RUNTIME_DIR is unset or empty.
std::string DefaultHostSocketPath();
