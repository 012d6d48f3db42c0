#include "app/device_instance.h"

namespace app {

namespace {

device::CIPACWrap g_device;

}  // namespace

device::CIPACWrap& ProcessDevice() { return g_device; }

}  // namespace app
