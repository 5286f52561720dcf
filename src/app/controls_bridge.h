#pragma once
// The custom controls the main window is built from.
#include "controls/focus_frame_view.h"
#include "controls/formula_edit.h"
#include "controls/formula_fonts.h"
#include "controls/ratio_edit.h"
#include "controls/source_list.h"
