// The guide topic of the keyboard and of the question that keeps unsaved
// changes.
#pragma once

#include "kit/Guide.h"

GuideTopic keyboardGuide();
