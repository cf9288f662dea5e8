#include "app/settings.h"
#include "app/startup.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <sys/file.h>

namespace zm {
namespace {

TEST(Settings, EmptyStoreGivesDefaultsAndWritesBackTwoFolders) {
    test::TestHome home;
    const AppSettings& s = home.ctx().settings;
    const QString app = home.ctx().paths.AppPath;
    EXPECT_EQ(s.MurDataDir, app + "MurData/");
    EXPECT_EQ(s.OutPutDir, app + "OutPut/");
    EXPECT_EQ(s.BetOutDir, app + "OutPut/");
    for (const QString& stake : {s.BetTan, s.BetFuku, s.BetWaku, s.BetUma, s.BetWide}) {
        EXPECT_EQ(stake, "100");
    }
    EXPECT_EQ(s.T_Time, "09:00");
    EXPECT_EQ(s.Yosou, 0);
    EXPECT_EQ(s.ConvOddsDir, "");
    for (bool b : {s.PatOpt, s.MurOut, s.MurTextOut, s.DuelOut, s.DenCsvOut, s.umaF, s.Group, s.Odds, s.Bataiju,
                   s.Sei, s.Touhyou}) {
        EXPECT_FALSE(b);
    }
    EXPECT_TRUE(home.ctx().store.contains("Folder", "MurDataDir"));
    EXPECT_TRUE(home.ctx().store.contains("Folder", "OutPutDir"));
    EXPECT_FALSE(home.ctx().store.contains("PAT", "BetOutDir"));
}

struct LoadCase {
    const char* section;
    const char* key;
    const char* stored;
    const char* loaded;  // as `settings list` shows it
};

TEST(Settings, LoadRules) {
    const LoadCase cases[] = {
        {"UserInfo", "Yosou", "9", "0"},
        {"UserInfo", "Yosou", "12", "0"},
        {"UserInfo", "Yosou", "8", "8"},
        {"UserInfo", "Yosou", "-1", "0"},
        {"UserInfo", "Yosou", "-40000", "0"},
        {"UserInfo", "Yosou", "3abc", "3"},
        {"VoteRoboSetting", "GetOdds", "3", "0"},
        {"VoteRoboSetting", "GetOdds", "2", "2"},
        {"VoteRoboSetting", "T_Time", "9:00", "09:00"},
        {"VoteRoboSetting", "T_Time", "09-00", "09:00"},
        {"VoteRoboSetting", "T_Time", "10:30", "10:30"},
        {"VoteRoboSetting", "T_Time", "ab:cd", "ab:cd"},
        {"File", "umaF", "true", "False"},
        {"File", "umaF", "True", "True"},
        {"File", "MurOut", "true", "True"},
        {"File", "DuelOut", "-1", "True"},
        {"VoteRoboSetting", "Group", "true", "True"},
        {"VoteRoboSetting", "Group", "yes", "False"},
        {"VoteRoboSetting", "OddsSyutoku", "", "True,False,False"},
        {"VoteRoboSetting", "OddsSyutoku", "2", "False,False,True"},
        {"VoteRoboSetting", "OddsSyutoku", "5", "False,False,False"},
        {"VoteRoboSetting", "Hantei", "TRUE", "True,False"},
        {"VoteRoboSetting", "Hantei", "", "False,True"},
        {"PAT", "BetTan", "300", "300"},
        {"PAT", "Ver", "98", "98"},
        {"Backtest", "EvThreshold", "1.5", "1.5"},
        {"Backtest", "EvThreshold", "", "1.2"},
        {"Backtest", "EvThreshold", "0", "1.2"},
        {"Backtest", "EvThreshold", "1,5", "1.2"},
    };
    for (const auto& c : cases) {
        test::TestHome home;
        EXPECT_TRUE(home.ctx().store.SaveAppSetting(c.section, c.key, c.stored).ok());
        home.reload();
        EXPECT_EQ(loadedSettingValue(home.ctx().settings, c.section, c.key).value_or("<absent>"), c.loaded)
            << c.section << "/" << c.key << "=" << c.stored;
    }
}

TEST(Settings, FolderDefaultsFollowOtherKeys) {
    test::TestHome home;
    EXPECT_TRUE(home.ctx().store.SaveAppSetting("PAT", "PatDir", "/tmp/pat").ok());
    EXPECT_TRUE(home.ctx().store.SaveAppSetting("Folder", "OutPutDir", "/tmp/out/").ok());
    home.reload();
    EXPECT_EQ(home.ctx().settings.ConvOddsDir, "/tmp/pat/");
    EXPECT_EQ(home.ctx().settings.BetOutDir, "/tmp/out/");
}

TEST(Settings, JapaneseSectionAndValuesRoundTrip) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/z.ini";
    {
        SettingsStore store(file);
        EXPECT_TRUE(store.SaveAppSetting("保留BET", "単勝オッズMIN", "1.5").ok());
        EXPECT_TRUE(store.SaveAppSetting("保留BET", "式別削除1", "True").ok());
        EXPECT_TRUE(store.SaveAppSetting("DavazOrev", "Path", "/home/u/OutPut/W1206.TXT").ok());
        EXPECT_TRUE(store.SaveAppSetting("VoteRoboSetting", "Groupbetu", "1,2,3").ok());
    }
    SettingsStore again(file);
    EXPECT_EQ(again.read("保留BET", "単勝オッズMIN"), "1.5");
    EXPECT_EQ(again.read("保留BET", "式別削除1"), "True");
    EXPECT_EQ(again.read("DavazOrev", "Path"), "/home/u/OutPut/W1206.TXT");
    EXPECT_EQ(again.read("VoteRoboSetting", "Groupbetu"), "1,2,3");
    EXPECT_EQ(again.read("保留BET", "無オッズFLAG"), "");
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Names and values that the file's format treats specially: each reads back as it was written,
// and the file stays one a QSettings reads the same way (so files of older versions and files
// of this one are the same format).
TEST(Settings, AwkwardNamesAndValuesRoundTrip) {
    const struct {
        QString section, key, value;
    } cases[] = {
        {"保留BET", "単勝オッズMIN", "1.5"},
        {"VoteRoboSetting", "Groupbetu", "1,2,3"},
        {"DavazOrev", "Path", "/home/u/My Files/W1206.TXT"},
        {"A", "quote", "say \"hi\"; bye"},
        {"A", "backslash", "C:\\data\\"},
        {"A", "blanks", "  around  "},
        {"A", "lines", "one\r\ntwo\tthree"},
        {"A", "control", QString(QChar(1)) + "a" + QChar(2) + "9"},
        {"A", "at", "@Variant(x)"},
        {"A", "empty", ""},
        {"Sect ion=;[x]", "key %=;#\"", "v"},
        {"General", "k", "in a section named General"},
        {"B", "sub/key", "under a level"},
    };
    QTemporaryDir dir;
    const QString file = dir.filePath("z.ini");
    {
        SettingsStore store(file);
        for (const auto& c : cases) {
            EXPECT_TRUE(store.SaveAppSetting(c.section, c.key, c.value).ok());
            ASSERT_TRUE(store.status().ok()) << store.status().message().toStdString();
        }
    }
    SettingsStore again(file);
    QSettings qt(file, QSettings::IniFormat);
    for (const auto& c : cases) {
        SCOPED_TRACE((c.section + "/" + c.key).toStdString());
        EXPECT_EQ(again.read(c.section, c.key), c.value);
        EXPECT_EQ(qt.value(c.section + "/" + c.key).toString(), c.value);
    }
    // Names are written readably.
    EXPECT_TRUE(bytesOf(file).contains("[保留BET]\n単勝オッズMIN=1.5\n"));
}

// Random names and values drawn from the characters the format treats specially: what the
// store writes it reads back unchanged, and what QSettings wrote it reads as QSettings does.
TEST(Settings, RandomNamesAndValuesRoundTrip) {
    QStringList alphabet;
    for (const QChar c : QStringLiteral(" ,;\"\\=[]%#@\t\r\nabZ09保B\x01\x7f\u00A0\u0085\uFEFF"))
        alphabet << QString(c);
    alphabet << QStringLiteral("\U0001F600");  // a pair of surrogates
    QRandomGenerator rng(7);
    auto text = [&](int longest) {
        QString s;
        for (int n = rng.bounded(longest + 1); n > 0; --n)
            s += alphabet[rng.bounded(int(alphabet.size()))];
        return s;
    };
    QTemporaryDir dir;
    for (int round = 0; round < 200; ++round) {
        const QString mine = dir.filePath(QStringLiteral("mine%1.ini").arg(round));
        const QString theirs = dir.filePath(QStringLiteral("qt%1.ini").arg(round));
        const QString section = text(6), key = text(6), value = text(12);
        if (section.isEmpty() || key.trimmed().isEmpty() || key.contains(u'\\') || section.contains(u'\\'))
            continue;
        SCOPED_TRACE(("[" + section + "] " + key + "=" + value).toStdString());
        {
            SettingsStore store(mine);
            EXPECT_TRUE(store.SaveAppSetting(section, key, value).ok());
            ASSERT_TRUE(store.status().ok());
        }
        EXPECT_EQ(SettingsStore(mine).read(section, key), value);
        QString qtRead;
        {
            QSettings qt(theirs, QSettings::IniFormat);
            qt.setValue(section + "/" + key, value);
            qt.sync();
            qtRead = QSettings(theirs, QSettings::IniFormat).value(section + "/" + key).toString();
        }
        EXPECT_EQ(SettingsStore(theirs).read(section, key), qtRead);
    }
}

// A file written by QSettings (escaped Japanese names, lists, quoting) reads the same here.
TEST(Settings, ReadsFilesWrittenTheEarlierWay) {
    QTemporaryDir dir;
    const QString file = dir.filePath("z.ini");
    {
        QSettings old(file, QSettings::IniFormat);
        old.setValue("保留BET/式別削除1", "True");
        old.setValue("保留BET/単勝オッズMAX", "99.9");
        old.setValue("Folder/OutPutDir", "/home/u/出力/");
        old.setValue("A/quoted", "x, y; z \"q\"");
        old.setValue("top", "level");
    }
    ASSERT_TRUE(bytesOf(file).contains("%U4FDD%U7559BET"));
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::Append));
    raw.write("[VoteRoboSetting]\r\nGroupbetu = 1, 2 ,3 ; a comment\r\n; a line of comment\r\nT_Time=\"10:30\"\r\n");
    raw.close();
    SettingsStore store(file);
    EXPECT_EQ(store.read("保留BET", "式別削除1"), "True");
    EXPECT_EQ(store.read("保留BET", "単勝オッズMAX"), "99.9");
    EXPECT_EQ(store.read("Folder", "OutPutDir"), "/home/u/出力/");
    EXPECT_EQ(store.read("A", "quoted"), "x, y; z \"q\"");
    EXPECT_EQ(store.read("VoteRoboSetting", "Groupbetu"), "1,2,3");
    EXPECT_EQ(store.read("VoteRoboSetting", "T_Time"), "10:30");
    EXPECT_EQ(store.read("", "top"), "level");
    // Rewriting keeps every value.
    EXPECT_TRUE(store.SaveAppSetting("PAT", "Ver", "98").ok());
    SettingsStore again(file);
    EXPECT_EQ(again.read("保留BET", "単勝オッズMAX"), "99.9");
    EXPECT_EQ(again.read("A", "quoted"), "x, y; z \"q\"");
    EXPECT_EQ(again.read("", "top"), "level");
    EXPECT_EQ(again.read("PAT", "Ver"), "98");
}

// Two runs with the same settings file (two program folders): each change rewrites the file
// with the other run's changes kept.
TEST(Settings, TwoStoresOnOneFileKeepEachOthersChanges) {
    QTemporaryDir dir;
    const QString file = dir.filePath("z.ini");
    SettingsStore first(file);
    SettingsStore second(file);
    EXPECT_TRUE(first.SaveAppSetting("PAT", "Ver", "98").ok());
    EXPECT_TRUE(second.SaveAppSetting("File", "umaF", "True").ok());
    EXPECT_TRUE(first.SaveAppSetting("PAT", "PatOpt", "True").ok());
    SettingsStore after(file);
    EXPECT_EQ(after.read("PAT", "Ver"), "98");
    EXPECT_EQ(after.read("File", "umaF"), "True");
    EXPECT_EQ(after.read("PAT", "PatOpt"), "True");
}

// A write that cannot be made is reported once, names the file, and changes neither the file
// nor what the store reads; a file that cannot be read is never replaced.
TEST(Settings, AFailedWriteKeepsTheFileAndTheStore) {
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    QFile f(real);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[PAT]\nVer=95\n");
    f.close();
    const QString link = dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(real, link));
    const QString fifo = dir.filePath("fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& file : {link, fifo}) {
        SCOPED_TRACE(file.toStdString());
        SettingsStore store(file);
        const Status first = store.SaveAppSetting("PAT", "Ver", "98");
        EXPECT_FALSE(first.ok());
        EXPECT_TRUE(first.message().contains(file)) << first.message().toStdString();
        EXPECT_FALSE(store.SaveAppSetting("PAT", "PatOpt", "True").ok());
        EXPECT_EQ(store.status().message(), first.message());
        EXPECT_EQ(store.read("PAT", "Ver"), file == link ? "95" : "");
        EXPECT_FALSE(store.contains("PAT", "PatOpt"));
    }
    EXPECT_EQ(bytesOf(real), "[PAT]\nVer=95\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 3);
}

TEST(Paths, FolderExistsAndTrailingSlash) {
    QTemporaryDir dir;
    EXPECT_TRUE(FolderExists(dir.path()));
    EXPECT_TRUE(FolderExists(dir.path() + "/"));
    EXPECT_FALSE(FolderExists(dir.path() + "/missing"));
    EXPECT_FALSE(FolderExists(""));
    QFile f(dir.path() + "/file");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_FALSE(FolderExists(f.fileName()));
    EXPECT_EQ(withTrailingSlash("/a/b"), "/a/b/");
    EXPECT_EQ(withTrailingSlash("/a/b//"), "/a/b/");
    EXPECT_EQ(withTrailingSlash("C:\\data\\"), "C:/data/");
    EXPECT_EQ(withTrailingSlash(""), "");
}

TEST(StartUp, PurgesPendingBetsOlderThan28Days) {
    test::TestHome home;
    const QDate today(2026, 12, 8);
    const QString data = home.ctx().paths.DataDir;
    const struct {
        QString name;
        bool stays;
    } files[] = {
        {"~B" + today.addDays(-28).toString("yyyyMMdd") + ".TXT", true},
        {"~B" + today.addDays(-29).toString("yyyyMMdd") + ".TXT", false},
        {"~B" + today.addDays(-400).toString("yyyyMMdd") + ".BAK", false},
        {"~B" + today.toString("yyyyMMdd") + ".TXT", true},
        {"~Bnotadate.TXT", true},  // not a day's file
        {"~bxyz.TXT", true},
        {"~B2026.TXT", true},        // too short to hold a date
        {"~B20261345.TXT", true},    // eight digits, not a date
        {"~B2026113.TXT", true},     // seven digits and the dot
        {"~b20250101.txt", false},   // names match in any case
        {"20261001.DAT", true},
    };
    for (const auto& f : files) {
        QFile file(data + f.name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    PurgeOldPendingBets(home.ctx().paths, today);
    for (const auto& f : files) {
        EXPECT_EQ(QFile::exists(data + f.name), f.stays) << f.name.toStdString();
    }
}

TEST(StartUp, HoldsTheHomeFolderAgainstASecondInstance) {
    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
    StartOptions options{dir.path() + "/home", dir.path() + "/z.ini"};
    AppSession::Status status{};
    QString message;
    auto first = AppSession::StartUp(options, prompter, status, message);
    ASSERT_TRUE(first);
    EXPECT_EQ(status, AppSession::Status::Started);
    for (const char* folder : {"MurData", "Data", "OutPut", "Work"}) {
        EXPECT_TRUE(QDir(dir.path() + "/home/" + folder).exists()) << folder;
    }
    auto second = AppSession::StartUp(options, prompter, status, message);
    EXPECT_FALSE(second);
    EXPECT_EQ(status, AppSession::Status::AlreadyRunning);
    EXPECT_FALSE(message.isEmpty());
    first.reset();
    auto third = AppSession::StartUp(options, prompter, status, message);
    EXPECT_TRUE(third);
}

// A run killed right after making its lock file leaves it empty: the next start takes the
// folder, unless a live process still holds that file.
TEST(StartUp, AnEmptyLockFileOfAKilledRunIsTakenOver) {
    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
    const QString home = dir.path() + "/home";
    ASSERT_TRUE(QDir().mkpath(home));
    QFile lockFile(home + "/.zenomur.lock");
    ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
    StartOptions options{home, dir.path() + "/z.ini"};
    AppSession::Status status{};
    QString message;
    ASSERT_EQ(::flock(lockFile.handle(), LOCK_EX | LOCK_NB), 0);  // a run that is making it now
    EXPECT_FALSE(AppSession::StartUp(options, prompter, status, message));
    EXPECT_EQ(status, AppSession::Status::AlreadyRunning);
    lockFile.close();  // that run was killed
    auto session = AppSession::StartUp(options, prompter, status, message);
    EXPECT_TRUE(session) << message.toStdString();
    EXPECT_EQ(status, AppSession::Status::Started);
}

// At start the temporary files of interrupted saves go from the program's folders, and from
// the settings file's folder only those of the settings file.
TEST(StartUp, RemovesTheTemporaryFilesOfInterruptedSaves) {
    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
    const QString home = dir.path() + "/home";
    const QString out = dir.path() + "/out";
    ASSERT_TRUE(QDir().mkpath(home + "/Data") && QDir().mkpath(out));
    const QString ini = dir.path() + "/z.ini";
    {
        SettingsStore store(ini);
        EXPECT_TRUE(store.SaveAppSetting("Folder", "OutPutDir", out + "/").ok());
    }
    const struct {
        QString path;
        bool goes;
    } files[] = {
        {home + "/Data/~B20261206.TXT.zmsave-abc123", true},
        {home + "/Data/~B20261206.TXT.TYIZoQ", true},
        {home + "/Data/20261206.DAT.lMGZfq", true},
        {home + "/Data/readme.txt.lMGZfq", false},
        {out + "/W1206.TXT.zmsave-Q1w2E3", true},
        {out + "/Duel.TXT.abcDEF", true},
        {out + "/mine.doc.abcDEF", false},
        {dir.path() + "/z.ini.zmsave-aaaaaa", true},
        {dir.path() + "/z.ini.Qwerty", true},
        {dir.path() + "/other.ini.zmsave-aaaaaa", false},
        {dir.path() + "/other.ini.Qwerty", false},
    };
    for (const auto& f : files) {
        QFile file(f.path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    StartOptions options{home, ini};
    AppSession::Status status{};
    QString message;
    auto session = AppSession::StartUp(options, prompter, status, message);
    ASSERT_TRUE(session) << message.toStdString();
    for (const auto& f : files)
        EXPECT_EQ(QFile::exists(f.path), !f.goes) << f.path.toStdString();
}

}  // namespace
}  // namespace zm
