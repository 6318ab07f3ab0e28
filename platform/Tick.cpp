#include "platform/Tick.h"

#ifdef _WIN32
#include <windows.h>
quint32 TickSayaci() { return quint32(GetTickCount()); }
#else
#include <time.h>
quint32 TickSayaci()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return quint32(quint64(ts.tv_sec) * 1000u + quint64(ts.tv_nsec) / 1000000u);
}
#endif
