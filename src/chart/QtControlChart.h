#pragma once

// The control chart core for files that include Qt: its member `signals`
// would read as Qt's keyword macro, which stands aside while it is included.

#pragma push_macro("signals")
#undef signals
#include "stats/ControlChart.h"
#pragma pop_macro("signals")
