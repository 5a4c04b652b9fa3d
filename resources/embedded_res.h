// The compiled resource script, zubo.res, carried inside the executable on non-Windows builds,
// where the device finds resources by parsing these bytes.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

extern const unsigned char tickvane_res_data[];  // the .res file's bytes
extern const unsigned long tickvane_res_size;    // their count

#ifdef __cplusplus
}
#endif
