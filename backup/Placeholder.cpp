#include "backup/uBackupLogic.h"
