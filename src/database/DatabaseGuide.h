// The guide of the database workspace.
#pragma once

#include "kit/Guide.h"

GuideTopic databaseGuide();
