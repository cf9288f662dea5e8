#pragma once

// Records built in the test: races, entries and horses with every unnamed byte varied, so
// that a day file that is not the service's record byte for byte shows.

#include "import/archive.h"
#include "import/records.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace zm::test {

// Bytes that differ from record to record and from field to field, every value but 0 (lone
// lead bytes, half-width kana, control characters and CR LF inside a record included).
inline QByteArray variedBytes(int length, int salt) {
    QByteArray b(length, ' ');
    for (int i = 0; i < length; ++i)
        b[i] = char(1 + (i * 13 + salt * 7) % 255);
    return b;
}

struct RaceKey {
    QString venue;     // service code
    QString date;      // yyyymmdd
    int raceNo = 1;
    QString kai = QStringLiteral("05");
    QString nichi = QStringLiteral("01");
};

template <class Record>
void setKey(Record& rec, const RaceKey& k) {
    rec.setText(RaceKeyFields::venueCode, k.venue);
    rec.setText(RaceKeyFields::meetingYear, k.date.left(4));
    rec.setText(RaceKeyFields::kai, k.kai);
    rec.setText(RaceKeyFields::nichi, k.nichi);
    rec.setText(RaceKeyFields::raceNo, QString::number(k.raceNo).rightJustified(2, u'0'));
    rec.setText(RaceKeyFields::raceYear, k.date.left(4));
    rec.setText(RaceKeyFields::raceMonth, k.date.mid(4, 2));
    rec.setText(RaceKeyFields::raceDay, k.date.mid(6, 2));
}

inline RaceRecord raceOf(const RaceKey& k, const QStringList& horseCodes, int salt) {
    QByteArray bytes = variedBytes(RaceRecord::kLength, salt);
    bytes[RaceRecord::kLength - 2] = '\r';
    bytes[RaceRecord::kLength - 1] = '\n';
    RaceRecord race(bytes);
    setKey(race, k);
    race.setText(RaceRecord::runnerCount, QString::number(horseCodes.size()).rightJustified(2, u'0'));
    for (int i = 0; i < horseCodes.size(); ++i)
        race.setText(RaceRecord::runnerField(i + 1, RunnerSlot::horseCode), horseCodes[i]);
    return race;
}

inline EntryRecord entryOf(const RaceKey& k, const QString& horseCode, int salt) {
    QByteArray bytes = variedBytes(EntryRecord::kLength, salt);
    bytes[EntryRecord::kLength - 2] = '\r';
    bytes[EntryRecord::kLength - 1] = '\n';
    EntryRecord e(bytes);
    setKey(e, k);
    e.setText(EntryRecord::horseCode, horseCode);
    return e;
}

inline HorseRecord horseOf(const QString& horseCode, int salt) {
    QByteArray bytes = variedBytes(HorseRecord::kLength, salt);
    bytes[HorseRecord::kLength - 2] = '\r';
    bytes[HorseRecord::kLength - 1] = '\n';
    HorseRecord h(bytes);
    h.setText(HorseRecord::horseCode, horseCode);
    return h;
}

inline OddsRecord oddsOf(const RaceKey& k, int salt) {
    OddsRecord o(variedBytes(OddsRecord::kLength, salt));
    o.setText(OddsRecord::venueCode, k.venue);
    o.setText(OddsRecord::raceNo, QString::number(k.raceNo).rightJustified(2, u'0'));
    o.setText(OddsRecord::raceDate, k.date);
    o.setRaw(OddsRecord::lineEnd, "\r\n");
    return o;
}

// The three files of a race-card archive.
struct CardFiles {
    QByteArray races, entries, horses;

    // Adds a race with n runners (codes made from the salt), their entries and horses.
    void addRace(const RaceKey& k, int runners, int salt) {
        QStringList codes;
        for (int i = 1; i <= runners; ++i)
            codes << QString::number(1000000 + salt * 100 + i);
        races += raceOf(k, codes, salt).bytes();
        for (int i = 0; i < runners; ++i) {
            entries += entryOf(k, codes[i], salt * 31 + i).bytes();
            horses += horseOf(codes[i], salt * 17 + i).bytes();
        }
    }

    std::vector<ArchiveMember> members() const {
        return {{QStringLiteral("mur_den1.kd2"), races},
                {QStringLiteral("mur_den2.kd2"), entries},
                {QStringLiteral("mur_uma.kd2"), horses}};
    }
};

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

}  // namespace zm::test
