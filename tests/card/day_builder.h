#pragma once

// Builds a predicted race day in a data folder from the record types: the race day file, the
// entries day file and the prediction file, with runners whose every card field is known.

#include "import/records.h"
#include "predict/prediction_file.h"

#include <QFile>
#include <QString>
#include <deque>
#include <vector>

namespace zm::test {

struct RaceInput {
    QString venue = QStringLiteral("05");  // service code
    int kai = 4;
    int nichi = 3;
    int raceNo = 1;
    int runners = 12;
    QString raceClass = QStringLiteral("3");
    QString prize = QStringLiteral("05000");
    QString layout = QStringLiteral("1000");  // 芝, 右, 内, Ａ
    QString distance = QStringLiteral("1600");
    QString pace = QStringLiteral("1");
    QString postTime = QStringLiteral("15:35");
    QString name = QStringLiteral("テスト特別");
    QString edition = QStringLiteral("   ");
    QString grade = QStringLiteral(" ");
    QString cond1 = QStringLiteral("04");
    QString cond2 = QStringLiteral("21");
    bool picks = true;       // ranks, marks and picks as a race with bet selection
    bool reversed = false;   // runner list in falling horse-number order
    bool withRaceRecord = true;
};

// Horse i (1-based horse number) of a race: deterministic fields.
inline QString horseCodeOf(const RaceInput& r, int i) {
    return QStringLiteral("%1%2%3").arg(r.venue).arg(r.raceNo, 2, 10, QChar(u'0')).arg(i, 3, 10, QChar(u'0'));
}
inline QString horseNameOf(int i) {
    return QStringLiteral("テストホース%1").arg(i);
}
inline int wakuOf(int horse, int runners) {
    // One horse a bracket up to 8 runners, then spread evenly over the eight brackets.
    return runners <= 8 ? horse : (horse - 1) * 8 / runners + 1;
}

class DayBuilder {
public:
    explicit DayBuilder(QString day) : day_(std::move(day)) {}

    RaceInput& add(const QString& venue, int raceNo, int runners = 12) {
        RaceInput r;
        r.venue = venue;
        r.raceNo = raceNo;
        r.runners = runners;
        races_.push_back(r);
        return races_.back();
    }

    // Writes the three files of the day into dataDir (which ends in "/").
    void write(const QString& dataDir, bool withEntries = true) const {
        QByteArray raceBytes, entryBytes, predBytes;
        std::vector<PredictionRecord> preds;
        for (const RaceInput& r : races_) {
            if (r.withRaceRecord) {
                raceBytes += raceRecord(r).bytes();
            }
            for (int i = 1; i <= r.runners; ++i) {
                entryBytes += entryRecord(r, i).bytes();
            }
            preds.push_back(prediction(r));
        }
        writeFile(dataDir + QStringLiteral("MUR") + day_ + QStringLiteral("_1.DEN"), raceBytes);
        if (withEntries) {
            writeFile(dataDir + QStringLiteral("MUR") + day_ + QStringLiteral("_2.DEN"), entryBytes);
        }
        writePredictionFile(predictionFilePath(dataDir, day_), preds);
    }

    // The horse number in runner-list position i.
    static int horseAt(const RaceInput& r, int i) { return r.reversed ? r.runners + 1 - i : i; }

    RaceRecord raceRecord(const RaceInput& r) const {
        RaceRecord rec;
        setKey(rec, r);
        rec.setRaw(Field{"edition", 25, 3}, r.edition.toLatin1());
        rec.setText(Field{"raceName", 28, 30}, r.name);
        rec.setText(Field{"grade", 72, 1}, r.grade);
        rec.setText(Field{"cond1", 93, 2}, r.cond1);
        rec.setText(Field{"cond2", 95, 2}, r.cond2);
        rec.setText(RaceRecord::raceClass, r.raceClass);
        rec.setText(RaceRecord::prizeClass, r.prize);
        rec.setText(RaceRecord::courseLayout, r.layout);
        rec.setText(RaceRecord::distance, r.distance);
        rec.setText(RaceRecord::postTime, r.postTime);
        rec.setText(RaceRecord::runnerCount, QString::number(r.runners));
        rec.setText(RaceRecord::paceCode, r.pace);
        for (int i = 1; i <= r.runners && i <= 28; ++i) {
            const int h = horseAt(r, i);
            RunnerSlot slot;
            slot.setText(RunnerSlot::waku, QString::number(wakuOf(h, r.runners)));
            slot.setText(RunnerSlot::umaban, QStringLiteral("%1").arg(h, 2, 10, QChar(u'0')));
            slot.setText(RunnerSlot::horseCode, horseCodeOf(r, h));
            rec.setRunner(i, slot);
        }
        return rec;
    }

    EntryRecord entryRecord(const RaceInput& r, int i) const {
        const int h = horseAt(r, i);
        EntryRecord e;
        setKey(e, r);
        e.setText(EntryRecord::waku, QString::number(wakuOf(h, r.runners)));
        e.setText(EntryRecord::umaban, QStringLiteral("%1").arg(h, 2, 10, QChar(u'0')));
        e.setText(EntryRecord::horseCode, horseCodeOf(r, h));
        e.setText(EntryRecord::horseName, horseNameOf(h));
        e.setText(EntryRecord::sex, QString::number(h % 3));
        e.setText(EntryRecord::age, QStringLiteral("%1").arg(2 + h % 5, 2, 10, QChar(u' ')));
        e.setText(EntryRecord::cardMark, h == 2 ? QStringLiteral("1") : QStringLiteral("0"));
        e.setText(EntryRecord::weight, QString::number(540 + h * 5));
        e.setText(EntryRecord::jockeyShort, QStringLiteral("騎手%1").arg(h));
        e.setText(EntryRecord::trainerShort, QStringLiteral("調教%1").arg(h));
        e.setText(Field{"affiliation", 251, 2}, h % 2 ? QStringLiteral("東") : QStringLiteral("西"));
        return e;
    }

    // Prediction: horse h has index 90 - 2h and, with picks, rank h; runs 1..3 exist.
    PredictionRecord prediction(const RaceInput& r) const {
        PredictionRecord p;
        p.raceDate = day_;
        p.venueCode = r.venue;
        p.meeting = static_cast<std::int16_t>(r.kai);
        p.dayNo = static_cast<std::int16_t>(r.nichi);
        p.raceNo = static_cast<std::int16_t>(r.raceNo);
        p.runnerCount = static_cast<std::int16_t>(r.runners);
        p.startTime = QString(r.postTime).remove(u':');
        for (int i = 1; i <= r.runners && i <= 18; ++i) {
            const int h = horseAt(r, i);
            PredictedRunner& run = p.runners[static_cast<size_t>(i - 1)];
            run.horseCode = horseCodeOf(r, h);
            run.index = static_cast<std::int16_t>(90 - 2 * h);
            run.rank = static_cast<std::int16_t>(r.picks ? h : 0);
            run.courseRecord[0] = {static_cast<std::int16_t>(h % 3), 1, 0, 2};
            run.courseRecord[3] = {0, 0, 0, static_cast<std::int16_t>(h)};
            for (size_t j = 0; j < 3; ++j) {
                PredictedPastRun& past = run.pastRuns[j];
                past.date = QStringLiteral("200108%1").arg(20 - static_cast<int>(j) * 7, 2, 10, QChar(u'0'));
                past.venueCode = r.venue;
                past.figure = static_cast<std::int16_t>(100 + h * 10 + static_cast<int>(j));
                past.odds = QStringLiteral("%1").arg(QString::number(h + 0.5 * static_cast<double>(j), 'f', 1), 6);
            }
        }
        if (r.picks) {
            const bool small = r.runners <= 8;
            p.winPicks[0] = {1, 1};
            p.winPicks[1] = {2, 1};
            p.winPicks[2] = {3, 1};
            if (small) {
                p.smallPicks[0] = {12, 1};
            } else {
                p.quinellaPicks[0] = {102, 1};
                p.quinellaPicks[1] = {103, 1};
                p.quinellaPicks[2] = {104, 1};
            }
        }
        return p;
    }

private:
    template <class Rec>
    void setKey(Rec& rec, const RaceInput& r) const {
        rec.setText(RaceKeyFields::venueCode, r.venue);
        rec.setText(RaceKeyFields::meetingYear, day_.left(4));
        rec.setText(RaceKeyFields::kai, QStringLiteral("%1").arg(r.kai, 2, 10, QChar(u'0')));
        rec.setText(RaceKeyFields::nichi, QStringLiteral("%1").arg(r.nichi, 2, 10, QChar(u'0')));
        rec.setText(RaceKeyFields::raceNo, QStringLiteral("%1").arg(r.raceNo, 2, 10, QChar(u' ')));
        rec.setText(RaceKeyFields::raceYear, day_.left(4));
        rec.setText(RaceKeyFields::raceMonth, day_.mid(4, 2));
        rec.setText(RaceKeyFields::raceDay, day_.mid(6, 2));
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(bytes);
        }
    }

    QString day_;
    std::deque<RaceInput> races_;
};

}  // namespace zm::test
