#include "restore/uRestoreLogic.h"
