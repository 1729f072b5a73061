// The pieces every window is made of, in one include: buttons and link
// labels, the status line, what text boxes do, fixed windows, pictures and
// formats, and the theme they are drawn in.
#pragma once

#include "Buttons.h"
#include "FixedWindow.h"
#include "Formats.h"
#include "Pictures.h"
#include "StatusHints.h"
#include "TextBoxes.h"
#include "Theme.h"
