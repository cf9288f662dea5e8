#pragma once

// The day run's hooks with the prediction in place: predictDay runs PredictDay. The exports
// are left empty here; their module adds them.

#include "import/day_run.h"

namespace zm {

DayHooks predictionHooks();

}  // namespace zm
