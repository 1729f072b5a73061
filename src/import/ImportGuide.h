// The guide topics of the import window and of the vCard menu.
#pragma once

#include "kit/Guide.h"

GuideTopic importGuide();
GuideTopic vcardGuide();
