// The predefined control classes of this device: BUTTON (push buttons), STATIC (text)
// and COMBOBOX (drop-down lists), registered in every process as Windows does.
#pragma once

namespace tickvane::device {

void register_control_classes();

}  // namespace tickvane::device
