#include "predict/predict_hooks.h"

#include "predict/predict_day.h"

namespace zm {

DayHooks predictionHooks() {
    DayHooks hooks;
    hooks.predictDay = [](AppContext& ctx, ImportState& state) { return PredictDay(ctx, state); };
    return hooks;
}

}  // namespace zm
