#!/usr/bin/env python3
"""scripts/device-deps on small graphs: the cycles it finds and the layers it prints."""
import importlib.machinery
import importlib.util
import pathlib
import sys
import tempfile

script = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "device-deps"
loader = importlib.machinery.SourceFileLoader("device_deps", str(script))
spec = importlib.util.spec_from_loader("device_deps", loader)
deps = importlib.util.module_from_spec(spec)
loader.exec_module(deps)

# edges (folder -> folders it uses), the cycles, the layers bottom first
CASES = [
    ({}, [], []),
    ({"wm": {"gdi"}, "gdi": {"screen"}}, [], [["screen"], ["gdi"], ["wm"]]),
    ({"dialogs": {"wm", "gdi"}, "controls": {"gdi"}, "wm": {"gdi"}}, [],
     [["gdi"], ["controls", "wm"], ["dialogs"]]),
    ({"wm": {"compositor"}, "compositor": {"wm", "gdi"}}, [["compositor", "wm"]],
     [["gdi"], ["[compositor wm]"]]),
    ({"a": {"b"}, "b": {"c"}, "c": {"a"}, "d": {"a"}, "e": {"f"}, "f": {"e"}}, [["a", "b", "c"], ["e", "f"]],
     [["[a b c]", "[e f]"], ["d"]]),
]

failures = 0
for edges, want_cycles, want_layers in CASES:
    got_cycles = sorted(deps.cycles(edges))
    got_layers = deps.layers(edges)
    if got_cycles != want_cycles or got_layers != want_layers:
        failures += 1
        print(f"{edges}: cycles {got_cycles} (want {want_cycles}), layers {got_layers} (want {want_layers})")
print(f"{len(CASES) - failures} of {len(CASES)} graphs as expected")

# Objects are found in any library the build puts them in; objects of sources that moved
# away or lie outside the device are no part.
OBJECTS = {
    "platform/CMakeFiles/tickvane_device.dir/device/gdi/dc.cpp.o": "gdi",
    "platform/CMakeFiles/tickvane_gdi.dir/device/gdi/blit.cpp.o": "gdi",
    "platform/device/notify/CMakeFiles/tickvane_notify.dir/registration.cpp.o": "notify",
    "platform/CMakeFiles/tickvane_device_base.dir/device/codepage/unicode.cpp.o": "codepage",
    "platform/CMakeFiles/tickvane_device.dir/device/gdi/gone.cpp.o": None,
    "platform/display/CMakeFiles/tickvane_display.dir/headless/headless_display.cpp.o": None,
}
with tempfile.TemporaryDirectory() as build:
    for path in OBJECTS:
        (pathlib.Path(build) / path).parent.mkdir(parents=True, exist_ok=True)
        (pathlib.Path(build) / path).touch()
    found = {str(o.relative_to(build)): deps.folder_of(src) for o, src in deps.device_objects(pathlib.Path(build)).items()}
    want = {o: f for o, f in OBJECTS.items() if f is not None}
    if found != want:
        failures += 1
        print(f"objects found {found} (want {want})")

sys.exit(1 if failures else 0)
