#include "app/startup.h"

#include "app/file_set.h"
#include "app/safe_save.h"

#include "codes/numeric.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <sys/statvfs.h>

namespace zm {

namespace {

// True when the file system holding folder has no block left for anyone but its superuser.
bool noRoomLeft(const QString& folder) {
    struct statvfs disk {};
    return ::statvfs(QFile::encodeName(folder).constData(), &disk) == 0 && disk.f_bavail == 0;
}

}  // namespace

QString resolveHome(const QString& option) {
    if (!option.isEmpty()) {
        return QFileInfo(option).absoluteFilePath();
    }
    const QString env = qEnvironmentVariable("ZENOMUR_HOME");
    if (!env.isEmpty()) {
        return QFileInfo(env).absoluteFilePath();
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zenomur");
}

AppSession::AppSession(const AppPaths& paths, const QString& configFile, Prompter& prompter)
    : store_(configFile), context_(paths, store_, prompter) {}

std::unique_ptr<AppSession> AppSession::StartUp(const StartOptions& options, Prompter& prompter, Status& status,
                                                QString& message) {
    const QString home = resolveHome(options.home);
    if (!QDir().mkpath(home)) {
        status = Status::Failed;
        message = QStringLiteral("プログラムフォルダ「%1」を作成できません。").arg(home);
        return nullptr;
    }
    auto lock = std::make_unique<QLockFile>(home + QStringLiteral("/.zenomur.lock"));
    lock->setStaleLockTime(0);  // a lock of a crashed run is recognised by its dead process
    errno = 0;
    bool locked = lock->tryLock(0);
    const int lockError = errno;
    if (!locked && lock->error() == QLockFile::LockFailedError) {
        // A run killed between making its lock file and writing itself into it leaves the file
        // empty, naming no process that could be found dead. Such a file goes when no process
        // holds it (a live holder keeps a lock on the file itself from the moment it makes it).
        qint64 pid = 0;
        QString host;
        QString app;
        if (!lock->getLockInfo(&pid, &host, &app) && lock->removeStaleLockFile())
            locked = lock->tryLock(0);
    }
    if (!locked) {
        status = lock->error() == QLockFile::LockFailedError ? Status::AlreadyRunning : Status::Failed;
        message = status == Status::AlreadyRunning
                      ? QStringLiteral("ゼノゼノＭＵＲは既に起動しています（フォルダ「%1」を使用中）。").arg(home)
                      : QStringLiteral("プログラムフォルダ「%1」をロックできません。").arg(home);
        if (status == Status::Failed && (isDiskFull(lockError) || noRoomLeft(home)))
            message = QStringLiteral("ディスクの空きがないため、") + message;
        return nullptr;
    }

    const AppPaths paths = AppPaths::forHome(home);
    std::unique_ptr<AppSession> session(new AppSession(paths, resolveConfigFile(options.config), prompter));
    session->lock_ = std::move(lock);
    CreateFolders(paths);
    // A day's files whose commit a kill or a crash interrupted are finished or rolled back.
    session->recovery_ = RecoverFileSets(paths.DataDir);
    LoadSettings(session->context_.settings, session->store_, paths);
    if (const zm::Status& stored = session->store_.status(); !stored)
        session->settingsLoad_ = zm::Status::failure(stored.message());
    // Temporary files of single saves a kill or a crash interrupted.
    RemoveInterruptedSaves(paths, session->context_.settings, session->store_.fileName());
    PurgeOldPendingBets(paths);
    status = Status::Started;
    return session;
}

void PurgeOldPendingBets(const AppPaths& paths, const QDate& today) {
    const QDate cutoff = today.addDays(-28);
    QDir dir(paths.DataDir);
    const QStringList names = dir.entryList({QStringLiteral("~B*.*")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        // Characters 3..10 of the name: the yyyymmdd of "~Byyyymmdd.TXT". A name whose
        // characters there are not a date is not a pending-bet file of a day, and stays.
        const QString digits = name.mid(2, 8);
        const bool allDigits = digits.size() == 8 && std::all_of(digits.begin(), digits.end(), [](QChar c) {
                                   return c >= u'0' && c <= u'9';
                               });
        if (!allDigits)
            continue;
        const QDate day = QDate::fromString(digits, QStringLiteral("yyyyMMdd"));
        if (day.isValid() && day < cutoff)
            dir.remove(name);
    }
}

}  // namespace zm

namespace zm {

void RemoveInterruptedSaves(const AppPaths& paths, const AppSettings& settings, const QString& settingsFile) {
    // The files the program writes in each of its folders, for the leftovers of the earlier way
    // of saving ("NAME.XXXXXX"); the temporary files of a save go from every one of them.
    const QStringList dayFiles = {QStringLiteral("~B*.*"), QStringLiteral("MUR*.DEN"), QStringLiteral("MUR*.UMA"),
                                  QStringLiteral("MURODDS*"), QStringLiteral("*.DAT"), QStringLiteral("*.SEI")};
    const QStringList exports = {QStringLiteral("W*.TXT"),   QStringLiteral("MUR*.TXT"), QStringLiteral("Duel.TXT"),
                                 QStringLiteral("DEN*.CSV"), QStringLiteral("K*.CSV"),   QStringLiteral("*.lst")};
    const QStringList oddsFiles = {QStringLiteral("ZO-*.JRA"), QStringLiteral("UO-*.JRA")};
    const std::pair<QString, QStringList> folders[] = {
        {paths.DataDir, dayFiles},
        {paths.AppPath, {}},
        {paths.MurDataDefault, {}},
        {settings.MurDataDir, {}},
        {paths.OutPutDefault, exports},
        {settings.OutPutDir, exports},
        {settings.BetOutDir, exports},
        {settings.PatDir, {}},
        {settings.ConvOddsDir, oddsFiles},
    };
    for (const auto& [folder, legacy] : folders)
        removeInterruptedSaves(folder, {}, legacy);
    // The settings file's folder may be anyone's: only the settings file's own leftovers go.
    const QFileInfo ini(settingsFile);
    QString exactName;
    for (const QChar c : ini.fileName())
        exactName += (c == u'*' || c == u'?' || c == u'[') ? QStringLiteral("[") + c + u']' : QString(c);
    removeInterruptedSaves(ini.absolutePath(), ini.fileName(), {exactName});
}

}  // namespace zm
