#pragma once
// The custom controls the main window is built from.
#include "app/placeholder_controls.h"
