// The guide's chapter on deleting a card and on the bin.
#pragma once

#include "kit/Guide.h"

GuideTopic binGuide();
