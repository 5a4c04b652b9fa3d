// The calling thread's last error, as Windows keeps it.
#include "win32.h"

namespace {

thread_local DWORD last_error = ERROR_SUCCESS;

}  // namespace

DWORD WINAPI GetLastError() { return last_error; }

void WINAPI SetLastError(DWORD error) { last_error = error; }
