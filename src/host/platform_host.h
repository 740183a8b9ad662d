#pragma once
#include <memory>

#include "host/host_link.h"

// The binding the program uses on this platform: OLE Automation to the
// running Tolm on Windows, the substitute host's local socket elsewhere. It
// starts detached.
std::unique_ptr<HostLink> MakePlatformHostLink();
