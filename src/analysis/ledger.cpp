#include "analysis/ledger.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <sqlite3.h>

namespace zm {

namespace {

using namespace Qt::Literals::StringLiterals;

// PRAGMA application_id of the program's ledgers ("ZMLG"), so that another program's SQLite
// database at the ledger's name is told apart from a ledger.
constexpr int kApplicationId = 0x5A4D4C47;

// The schema of each version, applied in turn from the file's user_version up.
const char* const kMigrations[] = {
    // 1: the first schema.
    "CREATE TABLE days(day TEXT PRIMARY KEY, fingerprint BLOB NOT NULL);"
    "CREATE TABLE bets(day TEXT NOT NULL, seq INTEGER NOT NULL, venue TEXT NOT NULL, race INTEGER NOT NULL,"
    " type TEXT NOT NULL, combination TEXT NOT NULL, stake INTEGER NOT NULL, judgement INTEGER NOT NULL,"
    " payout INTEGER NOT NULL, returns INTEGER NOT NULL, pending INTEGER NOT NULL, style INTEGER NOT NULL,"
    " PRIMARY KEY(day, seq));"
    "CREATE TABLE results(day TEXT NOT NULL, seq INTEGER NOT NULL, record BLOB NOT NULL, PRIMARY KEY(day, seq));"
    "CREATE TABLE pending(day TEXT NOT NULL, seq INTEGER NOT NULL, venue TEXT NOT NULL, race TEXT NOT NULL,"
    " type TEXT NOT NULL, combination TEXT NOT NULL, odds TEXT NOT NULL, amount TEXT NOT NULL,"
    " PRIMARY KEY(day, seq));",
};
static_assert(std::size(kMigrations) == Ledger::kSchemaVersion);

QString foreignMessage(const QString& path) {
    return u"%1 は、このプログラムの収支台帳ではありません。別の名前に移してから、もう一度実行してください。"_s.arg(path);
}

// Runs each statement of a script of statements separated by ';'.
bool runScript(QSqlQuery& q, const QString& script) {
    for (const QString& statement : script.split(u';', Qt::SkipEmptyParts)) {
        if (!statement.trimmed().isEmpty() && !q.exec(statement))
            return false;
    }
    return true;
}

QByteArray fingerprint(const LedgerDay& day) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << day.day << quint32(day.bets.size());
    for (const LedgerBet& b : day.bets) {
        out << b.venueNo << b.race << b.typeCode << b.combination << qint64(b.stake.value()) << int(b.judgement)
            << qint64(b.payout.value()) << qint64(b.returns.value()) << b.pending << b.style;
    }
    out << quint32(day.results.size());
    for (const QByteArray& r : day.results)
        out << r;
    out << quint32(day.pending.size());
    for (const PendingBet& p : day.pending)
        out << p.Venue << p.Race << p.BetType << p.Combination << p.Odds << p.Amount;
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QString boundOr(const QString& bound, const QString& open) { return bound.isEmpty() ? open : bound; }

// An error of the disk (full, unwritable, a side file that cannot be made) rather than of what
// the file holds: SQLite's primary codes IOERR, FULL and CANTOPEN.
bool diskTrouble(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 10 || code == 13 || code == 14;
}

// The side files SQLite leaves when a connection ends without its checkpoint (a disk that is
// full, say): an empty write-ahead log holds nothing, and the shared index is rebuilt from the
// log by the next connection. Only called with no connection open; the program's lock keeps
// other processes away.
void removeEmptySideFiles(const QString& path) {
    const QFileInfo wal(path + u"-wal"_s);
    if (wal.exists() && wal.size() == 0)
        QFile::remove(wal.filePath());
    if (!QFileInfo::exists(wal.filePath()))
        QFile::remove(path + u"-shm"_s);
}

}  // namespace

Ledger::Ledger(QString path, QString connection) : path_(std::move(path)), connection_(std::move(connection)) {}

Ledger::~Ledger() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    removeEmptySideFiles(path_);
}

Status Ledger::failure(const QString& what) const {
    return Status::failure(u"収支台帳 %1 を%2できません（%3）。"_s.arg(
        path_, what, QSqlDatabase::database(connection_, false).lastError().text()));
}

Result<std::unique_ptr<Ledger>> Ledger::open(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return Status::failure(foreignMessage(path));
    const bool fresh = !info.exists() || info.size() == 0;
    if (!fresh) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return Status::failure(u"収支台帳 %1 を開けません（%2）。"_s.arg(path, file.errorString()));
        if (file.read(16) != QByteArray("SQLite format 3\0", 16))
            return Status::failure(foreignMessage(path));
    }
    if (!QSqlDatabase::isDriverAvailable(u"QSQLITE"_s))
        return Status::failure(u"SQLite のドライバ（QSQLITE）がありません。libqt6sql6-sqlite を入れてください。"_s);

    static std::atomic<int> serial{0};
    const QString connection = u"zenomur-ledger-%1"_s.arg(++serial);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        db.setDatabaseName(path);
    }
    std::unique_ptr<Ledger> ledger(new Ledger(path, connection));
    const Status started = ledger->start(fresh);
    if (started)
        return ledger;
    ledger.reset();
    // A ledger this open was to make and could not make is taken away again.
    if (fresh) {
        if (info.exists())
            QFile(path).resize(0);
        else
            QFile::remove(path);
        QFile::remove(path + u"-wal"_s);
        QFile::remove(path + u"-shm"_s);
    }
    return started;
}

// Checks what the file is and brings its schema up to this program's.
Status Ledger::start(bool fresh) {
    const QString& path = path_;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.open())
        return failure(u"開くことが"_s);
    QSqlQuery q(db);
    int application = 0, version = 0;
    if (!q.exec(u"PRAGMA application_id"_s) || !q.next())
        return fresh || diskTrouble(q.lastError()) ? failure(u"読むことが"_s) : Status::failure(foreignMessage(path));
    application = q.value(0).toInt();
    if (!q.exec(u"PRAGMA user_version"_s) || !q.next())
        return failure(u"読むことが"_s);
    version = q.value(0).toInt();
    if (!fresh && application != kApplicationId)
        return Status::failure(foreignMessage(path));
    if (version > kSchemaVersion)
        return Status::failure(u"収支台帳 %1 は、新しい版のプログラムで書かれています。"_s.arg(path));
    if (!fresh && (!q.exec(u"PRAGMA quick_check"_s) || !q.next() || q.value(0).toString() != u"ok"_s)) {
        if (diskTrouble(q.lastError()))
            return failure(u"読むことが"_s);
        return Status::failure(u"収支台帳 %1 が壊れています。別の名前に移してから、もう一度実行してください。"_s.arg(path));
    }
    // In WAL mode NORMAL keeps every commit whole through a killed process; the log reaches the
    // disk at a checkpoint (flush), not at each of a season's daily commits.
    if (!q.exec(u"PRAGMA journal_mode=WAL"_s) || !q.exec(u"PRAGMA synchronous=NORMAL"_s))
        return failure(u"設定"_s);
    if (version < kSchemaVersion) {
        if (!q.exec(u"BEGIN IMMEDIATE"_s))
            return failure(u"更新"_s);
        bool done = true;
        for (int v = version; v < kSchemaVersion && done; ++v)
            done = runScript(q, QString::fromUtf8(kMigrations[v]));
        done = done && q.exec(u"PRAGMA application_id=%1"_s.arg(kApplicationId)) &&
               q.exec(u"PRAGMA user_version=%1"_s.arg(kSchemaVersion)) && q.exec(u"COMMIT"_s);
        if (!done) {
            const Status failed = failure(u"作成"_s);
            q.exec(u"ROLLBACK"_s);
            return failed;
        }
    }
    return Status();
}

Result<Ledger::Change> Ledger::writeDay(const LedgerDay& day) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    if (!q.exec(u"BEGIN IMMEDIATE"_s))
        return failure(u"更新"_s);
    const auto fail = [&]() -> Result<Change> {
        const Status failed = failure(u"更新"_s);
        QSqlQuery(db).exec(u"ROLLBACK"_s);
        return failed;
    };
    const QByteArray print = fingerprint(day);
    q.prepare(u"SELECT fingerprint FROM days WHERE day = ?"_s);
    q.addBindValue(day.day);
    if (!q.exec())
        return fail();
    const bool held = q.next();
    if (held && q.value(0).toByteArray() == print) {
        q.finish();
        QSqlQuery(db).exec(u"ROLLBACK"_s);
        return Change::Unchanged;
    }
    q.finish();
    for (const char* table : {"bets", "results", "pending"}) {
        q.prepare(u"DELETE FROM %1 WHERE day = ?"_s.arg(QLatin1StringView(table)));
        q.addBindValue(day.day);
        if (!q.exec())
            return fail();
    }
    q.prepare(u"INSERT OR REPLACE INTO days(day, fingerprint) VALUES(?, ?)"_s);
    q.addBindValue(day.day);
    q.addBindValue(print);
    if (!q.exec())
        return fail();
    q.prepare(u"INSERT INTO bets VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (size_t i = 0; i < day.bets.size(); ++i) {
        const LedgerBet& b = day.bets[i];
        for (const QVariant& v : {QVariant(day.day), QVariant(qint64(i)), QVariant(b.venueNo), QVariant(b.race),
                                  QVariant(b.typeCode), QVariant(b.combination), QVariant(qint64(b.stake.value())),
                                  QVariant(int(b.judgement)), QVariant(qint64(b.payout.value())),
                                  QVariant(qint64(b.returns.value())), QVariant(b.pending ? 1 : 0), QVariant(b.style)})
            q.addBindValue(v);
        if (!q.exec())
            return fail();
    }
    q.prepare(u"INSERT INTO results VALUES(?, ?, ?)"_s);
    for (size_t i = 0; i < day.results.size(); ++i) {
        q.addBindValue(day.day);
        q.addBindValue(qint64(i));
        q.addBindValue(day.results[i]);
        if (!q.exec())
            return fail();
    }
    q.prepare(u"INSERT INTO pending VALUES(?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (size_t i = 0; i < day.pending.size(); ++i) {
        const PendingBet& p = day.pending[i];
        for (const QVariant& v : {QVariant(day.day), QVariant(qint64(i)), QVariant(p.Venue), QVariant(p.Race),
                                  QVariant(p.BetType), QVariant(p.Combination), QVariant(p.Odds), QVariant(p.Amount)})
            q.addBindValue(v);
        if (!q.exec())
            return fail();
    }
    if (!q.exec(u"COMMIT"_s))
        return fail();
    return held ? Change::Replaced : Change::Added;
}

Status Ledger::flush() {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(u"PRAGMA wal_checkpoint(FULL)"_s) || !q.next() || q.value(0).toInt() != 0)
        return failure(u"書き込むことが"_s);
    return Status();
}

Result<LedgerDay> Ledger::readDay(const QString& dayText) const {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    LedgerDay day;
    day.day = dayText;
    q.prepare(u"SELECT venue, race, type, combination, stake, judgement, payout, returns, pending, style"
              " FROM bets WHERE day = ? ORDER BY seq"_s);
    q.addBindValue(dayText);
    if (!q.exec())
        return failure(u"読むことが"_s);
    while (q.next()) {
        day.bets.push_back({q.value(0).toString(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(),
                            Amount::yen(q.value(4).toLongLong()), Judgement(q.value(5).toInt()),
                            Amount::yen(q.value(6).toLongLong()), Amount::yen(q.value(7).toLongLong()),
                            q.value(8).toInt() != 0, q.value(9).toInt()});
    }
    q.prepare(u"SELECT record FROM results WHERE day = ? ORDER BY seq"_s);
    q.addBindValue(dayText);
    if (!q.exec())
        return failure(u"読むことが"_s);
    while (q.next())
        day.results.push_back(q.value(0).toByteArray());
    q.prepare(u"SELECT venue, race, type, combination, odds, amount FROM pending WHERE day = ? ORDER BY seq"_s);
    q.addBindValue(dayText);
    if (!q.exec())
        return failure(u"読むことが"_s);
    while (q.next()) {
        PendingBet p;
        p.Venue = q.value(0).toString();
        p.Race = q.value(1).toString();
        p.BetType = q.value(2).toString();
        p.Combination = q.value(3).toString();
        p.Odds = q.value(4).toString();
        p.Amount = q.value(5).toString();
        day.pending.push_back(p);
    }
    return day;
}

Result<QStringList> Ledger::days(const QString& from, const QString& to) const {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(u"SELECT day FROM days WHERE day BETWEEN ? AND ? ORDER BY day"_s);
    q.addBindValue(boundOr(from, u"00000000"_s));
    q.addBindValue(boundOr(to, u"99999999"_s));
    if (!q.exec())
        return failure(u"読むことが"_s);
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// The season's bets are read straight from SQLite through the driver's own connection: a year
// holds tens of thousands of bets, and Qt SQL's row cache and a QVariant per column cost five
// times what the report does with them. The table is read in its stored order and sorted here:
// walking the key's index costs a look-up in the table for every row, twice the whole read.
// The day, the venue, the bet type and the combination repeat from row to row, so each text
// keeps one shared string for each of its values.
namespace {

// The texts of one column.
class TextPool {
public:
    const QString& read(sqlite3_stmt* statement, int column) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const std::string_view bytes(text ? text : "", std::size_t(sqlite3_column_bytes(statement, column)));
        if (last_ != nullptr && bytes == last_->first)
            return last_->second;
        // Short texts (all of a bet's) stay in the key's own storage: no allocation to look up.
        auto it = strings_.find(std::string(bytes));
        if (it == strings_.end())
            it = strings_.emplace(std::string(bytes), QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))).first;
        last_ = &*it;
        return last_->second;
    }

private:
    std::unordered_map<std::string, QString> strings_;
    const std::pair<const std::string, QString>* last_ = nullptr;
};

sqlite3* sqliteHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// Puts the bets read in the table's order into the order of (day, seq): a day written again
// since the days after it stands at the table's end.
void sortByDayAndSeq(std::vector<Ledger::DatedBet>& bets, const std::vector<std::int64_t>& seqs) {
    std::vector<std::uint32_t> order(bets.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto before = [&](std::uint32_t a, std::uint32_t b) {
        if (const int c = bets[a].day.compare(bets[b].day); c != 0)
            return c < 0;
        return seqs[a] < seqs[b];
    };
    if (std::is_sorted(order.begin(), order.end(), before))
        return;
    std::stable_sort(order.begin(), order.end(), before);
    std::vector<Ledger::DatedBet> sorted;
    sorted.reserve(bets.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(bets[i]));
    bets = std::move(sorted);
}

}  // namespace

Result<std::vector<Ledger::DatedBet>> Ledger::bets(const QString& from, const QString& to) const {
    sqlite3* db = sqliteHandle(QSqlDatabase::database(connection_, false));
    if (!db)
        return failure(u"読むことが"_s);
    sqlite3_stmt* raw = nullptr;
    const char* const sql =
        "SELECT day, venue, race, type, combination, stake, judgement, payout, returns, pending, style, seq"
        " FROM bets NOT INDEXED WHERE day BETWEEN ?1 AND ?2";
    const int prepared = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    const auto sqliteFailure = [&] {
        return Status::failure(u"収支台帳 %1 を読むことができません（%2）。"_s.arg(path_, QString::fromUtf8(sqlite3_errmsg(db))));
    };
    if (prepared != SQLITE_OK)
        return sqliteFailure();
    const QByteArray low = boundOr(from, u"00000000"_s).toUtf8();
    const QByteArray high = boundOr(to, u"99999999"_s).toUtf8();
    sqlite3_bind_text(raw, 1, low.constData(), int(low.size()), SQLITE_STATIC);
    sqlite3_bind_text(raw, 2, high.constData(), int(high.size()), SQLITE_STATIC);
    std::vector<DatedBet> out;
    std::vector<std::int64_t> seqs;
    TextPool days, venues, types, combinations;
    int stepped = SQLITE_ROW;
    while ((stepped = sqlite3_step(raw)) == SQLITE_ROW) {
        const auto number = [raw](int column) { return sqlite3_column_int64(raw, column); };
        out.push_back({days.read(raw, 0),
                       {venues.read(raw, 1), int(number(2)), types.read(raw, 3), combinations.read(raw, 4),
                        Amount::yen(number(5)), Judgement(int(number(6))), Amount::yen(number(7)),
                        Amount::yen(number(8)), number(9) != 0, int(number(10))}});
        seqs.push_back(number(11));
    }
    if (stepped != SQLITE_DONE)
        return sqliteFailure();
    sortByDayAndSeq(out, seqs);
    return out;
}

}  // namespace zm
