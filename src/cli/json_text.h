#pragma once
// The verbs print JSON through the output layer's writers.

#include "output/json_text.h"

namespace qv::cli {
using qv::jsonLine;
using qv::jsonText;
}  // namespace qv::cli
