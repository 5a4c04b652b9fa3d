// Placeholder until the controls are built.
#include "controls/controls.h"

namespace tickvane::device {

void register_control_classes() {}

}  // namespace tickvane::device
