// The compiled resource script, zubo.res, carried inside the executable on non-Windows builds,
// where the device finds resources by parsing these bytes.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

extern const unsigned char tickvane_res_data[];  // the .res file's bytes
extern const unsigned long tickvane_res_size;    // their count
// Its bitmaps already in the device screen's format (platform/device/res/screen_bitmaps.h).
extern const unsigned char tickvane_screen_bitmaps_data[];
extern const unsigned long tickvane_screen_bitmaps_size;

#ifdef __cplusplus
}
#endif
