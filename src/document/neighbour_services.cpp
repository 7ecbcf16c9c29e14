// The trace picture flag.
#include "document/neighbour_services.h"

int g_traceImageStale = 1;
