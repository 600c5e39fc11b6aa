#include "platform/win32/win32_counter.h"

#include <windows.h>

#include <mmsystem.h>

uint32_t Win32MillisecondCounter::timeGetTime() { return ::timeGetTime(); }
