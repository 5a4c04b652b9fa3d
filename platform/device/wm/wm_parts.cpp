// The window manager's parts of the device: its windows, which of them is active,
// the input not yet delivered and the posted messages.
#include "parts/part.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

constinit parts::PartOf<WindowTree> g_tree;
constinit parts::PartOf<Activation> g_activation;
constinit parts::PartOf<InputQueue> g_input;
constinit parts::PartOf<MessageQueue> g_queue;

}  // namespace

WindowTree& window_tree() { return g_tree.get(); }
Activation& activation() { return g_activation.get(); }
InputQueue& input_queue() { return g_input.get(); }
MessageQueue& message_queue() { return g_queue.get(); }

}  // namespace tickvane::device
