#pragma once

// What differs between PAT's three generations ("Ver" 31, 95 and 98), asked of one object per
// generation instead of branching on the setting: the names of a race's files, the record of
// each kind of file, and how the live odds, body weights, betting logs and results are read
// from it.

#include "pat/log_records.h"
#include "pat/odds_view.h"

#include <QByteArrayView>
#include <QString>

namespace zm {
class OddsRecord;
}

namespace zm {

class PatFormat {
public:
    virtual ~PatFormat() = default;

    virtual PatVer ver() const = 0;
    // The generation as windows name it: "ＰＡＴ９８".
    virtual QString title() const = 0;
    // True when the quinella file also holds the wide odds (PAT98).
    virtual bool hasWideOdds() const { return false; }

    // The race's file of the kind prefix ("ZO-", "UO-", "UT-") in folder (ending in "/"), or
    // empty text when none exists.
    virtual QString raceFile(const QString& folder, const QString& prefix, const PatRaceRef& race) const = 0;
    // True when a file read is of the race's day (PAT31 files hold their date first).
    virtual bool isOfDay(QByteArrayView file, const QString& date) const;

    // The pending bets' odds: whether a race's file name needs the meeting's day (日目), the
    // file of the kind prefix for a race (patDir ending in "/"; dayDigit the day's last digit),
    // and the odds of one bet (kind its type's first character) from that file's bytes.
    virtual bool namesFilesByMeetingDay() const { return true; }
    virtual QString betOddsFile(const QString& patDir, const QString& prefix, QStringView venueCode,
                                QStringView raceNo, QStringView dayDigit) const;
    virtual QString betOdds(QByteArrayView file, QStringView kind, QStringView combination) const = 0;

    // The record length of each kind of file, and what is read from a file's bytes.
    virtual qint64 winPlaceLength() const = 0;
    virtual qint64 quinellaLength() const = 0;
    virtual qint64 weightLength() const = 0;
    virtual WinPlaceOdds winPlaceOdds(QByteArrayView file) const = 0;
    virtual PairOdds renOdds(QByteArrayView file) const = 0;
    virtual BodyWeights bodyWeights(QByteArrayView file) const = 0;

    // The betting logs ("LG-"): the files' name pattern, the bytes read of each, the message when
    // a folder holds none, the bets a day allows, and what one file adds to the day's stake.
    virtual QString logPattern() const = 0;
    virtual qint64 logLength() const = 0;
    virtual const QString& noLogFilesMessage() const = 0;
    virtual int betsPerDay() const = 0;
    virtual void addLogStake(QByteArrayView file, DayStake& stake) const = 0;

    // The race results ("KS-"), which the day's ".SEI" file and the vote log are made from: the
    // bytes read of a file, and its race condensed when it is of day. A generation without
    // result files reads neither.
    virtual bool hasResults() const { return true; }
    virtual qint64 resultLength() const = 0;
    virtual std::optional<SeiRecord> seiFromResult(QByteArrayView file, const QString& day) const = 0;
    // One odds value of a bet, as betOdds, from the file named; six blanks for a missing file.
    virtual QString readBetOdds(const QString& file, QStringView kind, QStringView combination) const = 0;

    // The service's predicted odds of one race as the generation's ZO and UO records (their file
    // names follow namesFilesByMeetingDay).
    virtual QByteArray predictedWinPlace(const OddsRecord& record) const = 0;
    virtual QByteArray predictedQuinella(const OddsRecord& record) const = 0;
};

// The generation's object; nullptr for PatVer::None.
const PatFormat* patFormat(PatVer ver);
// The same from the setting "Ver" ("31", "95", "98"; anything else gives nullptr).
const PatFormat* patFormatOf(const QString& ver);

}  // namespace zm
