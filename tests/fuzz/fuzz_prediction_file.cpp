// Any bytes as a prediction file: every record decodes, and what decodes encodes to a record of
// the right length; a record the program wrote (an encoded one) reads back to the same bytes.

#include "predict/prediction_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (qsizetype from = 0; from < bytes.size(); from += zm::kPredictionRecordLength) {
        const zm::PredictionRecord rec =
            zm::decodePrediction(bytes.sliced(from, std::min<qsizetype>(zm::kPredictionRecordLength, bytes.size() - from)));
        const QByteArray again = zm::encodePrediction(rec);
        if (again.size() != zm::kPredictionRecordLength)
            std::abort();
        if (zm::encodePrediction(zm::decodePrediction(again)) != again)
            std::abort();
    }
    return 0;
}
