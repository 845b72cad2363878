#include "config/MachineIdentity.h"
