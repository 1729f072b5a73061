// The guides of the two spreadsheet export windows.
#pragma once

#include "kit/Guide.h"

GuideTopic databaseExportGuide();
GuideTopic clientsExportGuide();
