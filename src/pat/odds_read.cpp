#include "pat/odds_read.h"

#include "pat/pat_files.h"

namespace zm {

namespace {

QString blanks(int n) { return QString(n, u' '); }

QByteArray readFile(const QString& path, qint64 length) {
    return path.isEmpty() ? QByteArray() : readPatFile(path, length);
}

}  // namespace

WinPlaceOdds winPlaceOddsFromBytes(QByteArrayView file, PatVer ver) {
    const PatFormat* format = patFormat(ver);
    return format ? format->winPlaceOdds(file) : WinPlaceOdds{};
}

PairOdds renOddsFromBytes(QByteArrayView file, PatVer ver) {
    const PatFormat* format = patFormat(ver);
    return format ? format->renOdds(file) : PairOdds{};
}

BodyWeights bodyWeightsFromBytes(QByteArrayView file, PatVer ver) {
    const PatFormat* format = patFormat(ver);
    return format ? format->bodyWeights(file) : BodyWeights{};
}

WinPlaceOdds ReadWinPlaceOdds(const QString& folder, const PatFormat* format, const PatRaceRef& race) {
    WinPlaceOdds out;
    out.win.fill(blanks(5));
    out.place.fill(blanks(9));
    out.brackets.fill({blanks(3), blanks(5)});
    if (!format)
        return out;
    const QByteArray bytes = readFile(format->raceFile(folder, kWinPlacePrefix, race), format->winPlaceLength());
    if (bytes.isEmpty() || !format->isOfDay(bytes, race.date))
        return out;
    return format->winPlaceOdds(bytes);
}

PairOdds ReadRenOdds(const QString& folder, const PatFormat* format, const PatRaceRef& race) {
    PairOdds out;
    out.pairs.fill({blanks(5), blanks(6), blanks(6), blanks(6)});
    if (!format)
        return out;
    const QByteArray bytes = readFile(format->raceFile(folder, kQuinellaPrefix, race), format->quinellaLength());
    if (bytes.isEmpty() || !format->isOfDay(bytes, race.date))
        return out;
    return format->renOdds(bytes);
}

BodyWeights ReadBodyWeights(const QString& folder, const PatFormat* format, const PatRaceRef& race) {
    BodyWeights out;
    if (!format)
        return out;
    const QByteArray bytes = readFile(format->raceFile(folder, kWeightPrefix, race), format->weightLength());
    if (bytes.isEmpty() || !format->isOfDay(bytes, race.date))
        return out;
    return format->bodyWeights(bytes);
}

}  // namespace zm
