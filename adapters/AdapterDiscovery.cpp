#include "adapters/AdapterDiscovery.h"
