#include "system/platform_services.h"

#include <cstdio>
#include <cstdlib>

namespace qov {
namespace {
PlatformServices* g_platform = nullptr;
} // namespace

void set_platform(PlatformServices* platform) {
  g_platform = platform;
}

PlatformServices& platform() {
  if (g_platform == nullptr) {
    std::fputs("qov-setup: no platform layer was set up\n", stderr);
    std::abort();
  }
  return *g_platform;
}

} // namespace qov
