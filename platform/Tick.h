#pragma once
#include <QtGlobal>

// Milliseconds since the system started, wrapping at 2^32; used for temporary names.
quint32 TickSayaci();
