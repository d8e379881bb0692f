// The loopback suite through the Windows socket stack.
#include "common/UpdateCheckSuite.h"
