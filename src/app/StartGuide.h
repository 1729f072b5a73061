// The guide of the start screen.
#pragma once

#include "kit/Guide.h"

GuideTopic startGuide();
