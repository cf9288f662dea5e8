// Any bytes at the ledger's name: the ledger either opens (and then reads and takes a day) or is
// refused with a message naming the file, which is left byte for byte.

#include "analysis/ledger.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

// The SQL drivers are plugins, which only an application loads.
void ensureApplication() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "fuzz_ledger_open";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(zm::kLedgerFileName);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 0;
    }
    auto ledger = zm::Ledger::open(path);
    if (!ledger) {
        if (!ledger.message().contains(path) || readAll(path) != bytes)
            std::abort();
        return 0;
    }
    // An opened ledger answers every question and takes a day.
    (void)ledger.value()->days();
    (void)ledger.value()->bets();
    zm::LedgerDay day;
    day.day = QStringLiteral("20261205");
    day.results = {QByteArray(16, 'r')};
    if (!ledger.value()->writeDay(day))
        return 0;  // a ledger that opened may still be damaged further in
    const auto back = ledger.value()->readDay(day.day);
    if (back && back->results != day.results)
        std::abort();
    return 0;
}
