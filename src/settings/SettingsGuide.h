// The guide of the settings menu.
#pragma once

#include "kit/Guide.h"

GuideTopic settingsGuide();
