// The steps of a whole day. Kept apart from the pipeline so that a program built without the
// exports (the thread-checking test) can run the pipeline with the prediction alone.

#include "day/day_pipeline.h"

#include "export/day_exports.h"
#include "predict/predict_day.h"

namespace zm {

DaySteps DaySteps::whole() {
    return {PredictDay, RunDayExports};
}

}  // namespace zm
