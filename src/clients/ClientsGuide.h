// The guide of the client workspace.
#pragma once

#include "kit/Guide.h"

GuideTopic clientsGuide();
