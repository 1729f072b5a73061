// The guide topic of the backup and of the restore.
#pragma once

#include "kit/Guide.h"

GuideTopic backupGuide();
