// Commands that write several files: a file of the set that cannot be written stops the command
// with exit 1 and a message naming it, and every old file stays; an import keeps the day and
// names the export it could not write.

#include "support/test_home.h"
#include "../bets/bet_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace zm {
namespace {

class CliFileSets : public ::testing::Test {
protected:
    void SetUp() override {
        QProcess sample;
        sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {QStringLiteral("--home"), home()});
        ASSERT_TRUE(sample.waitForFinished(60000));
        ASSERT_EQ(sample.exitCode(), 0);
        QDir().mkpath(home() + QStringLiteral("/Conv"));
    }
    QString home() const { return dir.path() + QStringLiteral("/home"); }
    test::CliRun run(const QStringList& args) {
        return test::runCliProcess(
            QStringList{QStringLiteral("--home"), home(), QStringLiteral("--config"), dir.path() + QStringLiteral("/z.ini")} +
            args);
    }
    // Every file of a folder of the home.
    std::map<QString, QByteArray> filesOf(const QString& sub) const {
        std::map<QString, QByteArray> files;
        const QDir d(home() + u'/' + sub);
        for (const QString& f : d.entryList(QDir::Files | QDir::Hidden))
            files[f] = test::readBytes(d.filePath(f));
        return files;
    }

    QTemporaryDir dir;
};

TEST_F(CliFileSets, AFileOfTheSetThatCannotBeWrittenChangesNothing) {
    const QString day = QStringLiteral("20261205");
    const QString archive = home() + QStringLiteral("/MurData/j261205.lzh");
    struct Case {
        const char* what;
        QString folder;                  // of the home, whose files the set replaces
        std::function<void()> before;    // the old files
        QString blocked;                 // a name of the set taken by a folder
        QStringList args;
    };
    const Case cases[] = {
        {"convert-odds", QStringLiteral("Conv"),
         [&] {
             ASSERT_EQ(run({QStringLiteral("convert-odds"), QStringLiteral("--to"), home() + QStringLiteral("/Conv"),
                            QStringLiteral("--pat"), QStringLiteral("95"), archive})
                           .exitCode,
                       0);
         },
         QStringLiteral("UO-611.JRA.zmnew"),
         {QStringLiteral("convert-odds"), QStringLiteral("--to"), home() + QStringLiteral("/Conv"), QStringLiteral("--pat"),
          QStringLiteral("98"), archive}},
        {"sakutto", QStringLiteral("OutPut"),
         [&] {
             for (int n : {1, 2, 3})
                 test::writeBytes(home() + QStringLiteral("/OutPut/%1_%2.BET").arg(day).arg(n), "old");
             QStringList bets;
             for (int i = 0; i < 120; ++i)
                 bets << QStringLiteral("中山,%1R,単勝,%2,,100円").arg(i % 12 + 1).arg(i % 16 + 1);
             test::writeBytes(home() + QStringLiteral("/Data/~B") + day + QStringLiteral(".TXT"), test::betBytes(bets));
         },
         day + QStringLiteral("_2.BET.zmnew"),
         {QStringLiteral("--no"), QStringLiteral("bets"), QStringLiteral("--day"), day, QStringLiteral("sakutto")}},
        {"backtest --csv", QStringLiteral("Conv"),
         [&] {
             for (const char* suffix : {"", "-types", "-venues", "-months"})
                 test::writeBytes(home() + QStringLiteral("/Conv/bt%1.csv").arg(QLatin1String(suffix)), "old");
         },
         QStringLiteral("bt-days.csv"),
         {QStringLiteral("backtest"), QStringLiteral("--csv"), home() + QStringLiteral("/Conv/bt.csv")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before();
        const auto old = filesOf(c.folder);
        ASSERT_FALSE(old.empty());
        ASSERT_TRUE(QDir().mkpath(home() + u'/' + c.folder + u'/' + c.blocked));
        const test::CliRun r = run(c.args);
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString(c.blocked).remove(QStringLiteral(".zmnew")))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("何も変更していません。"))) << r.err.toStdString();
        EXPECT_TRUE(filesOf(c.folder) == old);
        EXPECT_TRUE(filesOf(QStringLiteral("Data")).count(QStringLiteral("zenomur-commit.journal")) == 0);
        QDir(home() + u'/' + c.folder + u'/' + c.blocked).removeRecursively();
    }
}

TEST_F(CliFileSets, ImportKeepsTheDayAndNamesTheExportItCouldNotWrite) {
    for (const char* key : {"MurOut", "DuelOut"})
        ASSERT_EQ(run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("File"), QString::fromLatin1(key),
                       QStringLiteral("True")})
                      .exitCode,
                  0);
    ASSERT_TRUE(QDir().mkpath(home() + QStringLiteral("/OutPut/W20261205.TXT")));
    const test::CliRun r = run({QStringLiteral("import"), home() + QStringLiteral("/MurData/H261205.LZH")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("W20261205.TXT"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("day 20261205")));
    EXPECT_TRUE(QFile::exists(home() + QStringLiteral("/Data/MUR20261205_1.DEN")));
    EXPECT_TRUE(QFile::exists(home() + QStringLiteral("/OutPut/K20261205.CSV")));
}

}  // namespace
}  // namespace zm
