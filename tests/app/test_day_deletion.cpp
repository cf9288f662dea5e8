// Which days the deletion lists, which files deleting a day removes, and the delete-days
// command.

#include "app/day_deletion.h"
#include "support/test_home.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write("x");
}

class DayDeletion : public ::testing::Test {
protected:
    void SetUp() override {
        data = dir.path() + QStringLiteral("/Data/");
        out = dir.path() + QStringLiteral("/OutPut/");
        QDir().mkpath(data);
        QDir().mkpath(out);
    }
    QStringList remaining(const QString& folder) const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir;
    QString data;
    QString out;
};

TEST_F(DayDeletion, ListsPredictionFilesThatHaveADayFile) {
    struct Case {
        const char* name;
        QStringList files;
        QStringList listed;
    };
    const Case cases[] = {
        {"prediction and _1.DEN", {"20010916.DAT", "MUR20010916_1.DEN"}, {"20010916"}},
        {"prediction and _2.DEN only: the card cannot open it", {"20010916.DAT", "MUR20010916_2.DEN"}, {}},
        {"names in lower case", {"20010916.dat", "mur20010916_1.den"}, {"20010916"}},
        {"no day file", {"20010916.DAT", "MUR20010916.UMA"}, {}},
        {"day file without prediction", {"MUR20010916_1.DEN"}, {}},
        {"odds day file is not a prediction", {"MURODDS20010916.DAT", "MUR20010916_1.DEN"}, {}},
        {"prefixed name of 15 characters", {"ODS20010916.DAT", "MUR20010916_1.DEN"}, {}},
        {"not a date", {"20011345.DAT", "MUR20011345_1.DEN"}, {}},
        {"newest first, as the card lists them",
         {"20010916.DAT", "MUR20010916_1.DEN", "20011001.DAT", "MUR20011001_1.DEN", "20010922.DAT",
          "MUR20010922_1.DEN"},
         {"20011001", "20010922", "20010916"}},
        {"a day in two cases counts once", {"20010916.DAT", "20010916.dat", "MUR20010916_1.DEN"}, {"20010916"}},
    };
    for (const Case& c : cases) {
        QDir(data).removeRecursively();
        QDir().mkpath(data);
        for (const QString& f : c.files) {
            touch(data + f);
        }
        EXPECT_EQ(ListPredictedDays(data), c.listed) << c.name;
    }
}

TEST_F(DayDeletion, MoreThanTheListHoldsKeepsTheNewestAndCountsAll) {
    QDate day(2001, 1, 1);
    for (int i = 0; i < kMaxListedDays + 3; ++i, day = day.addDays(1)) {
        const QString d = day.toString(QStringLiteral("yyyyMMdd"));
        touch(data + d + QStringLiteral(".DAT"));
        touch(data + QStringLiteral("MUR") + d + QStringLiteral("_1.DEN"));
    }
    qsizetype total = 0;
    const QStringList listed = ListPredictedDays(data, &total);
    EXPECT_EQ(total, kMaxListedDays + 3);
    ASSERT_EQ(listed.size(), kMaxListedDays);
    EXPECT_EQ(listed.first(), day.addDays(-1).toString(QStringLiteral("yyyyMMdd")));
    EXPECT_EQ(listed.last(), QStringLiteral("20010104"));
    EXPECT_FALSE(daysNotListedMessage(total).isEmpty());
    EXPECT_TRUE(daysNotListedMessage(kMaxListedDays).isEmpty());
}

TEST_F(DayDeletion, CaptionCarriesTheWeekday) {
    EXPECT_EQ(DayCaption(QStringLiteral("20010916")), QStringLiteral("2001年09月16日(日)"));
    EXPECT_EQ(DayCaption(QStringLiteral("20261205")), QStringLiteral("2026年12月05日(土)"));
}

TEST_F(DayDeletion, DeletesEveryFileOfTheDayAndNothingOfOtherDays) {
    const QString d = QStringLiteral("20010916");
    const QStringList dayData = {"20010916.DAT",  "MUR20010916_1.DEN", "MUR20010916_2.DEN", "MUR20010916.UMA",
                                 "20010916.SEI",  "MURODDS20010916.DAT", "UMA20010916.IDX",  "ODS20010916.DAT",
                                 "mur20010916.den", "O_010916.MUR"};
    const QStringList dayOut = {"K20010916.TXT", "K20010916.CSV",   "MUR20010916.TXT", "的中会20010916.TXT",
                                "W20010916.TXT", "W0863_20010916.TXT", "詳細20010916.TXT", "DEN20010916.csv"};
    const QStringList otherData = {"20010917.DAT", "MUR20010917_1.DEN", "~B20010916.TXT", "MURODDS20010917.DAT",
                                   "O_010917.MUR"};
    const QStringList otherOut = {"K20010917.TXT", "W12345_20010916.TXT", "duel.TXT", "X20010916.TXT"};
    for (const QString& f : dayData + otherData) {
        touch(data + f);
    }
    for (const QString& f : dayOut + otherOut) {
        touch(out + f);
    }
    EXPECT_EQ(DeleteDays(data, out, {d}), 1);
    QStringList wantData = otherData;
    wantData.sort();
    QStringList wantOut = otherOut;
    wantOut.sort();
    EXPECT_EQ(remaining(data), wantData);
    EXPECT_EQ(remaining(out), wantOut);
}

TEST_F(DayDeletion, CumulativeDuelTextGoesOnlyWithTheLastListedDay) {
    for (const char* f : {"20010916.DAT", "MUR20010916_1.DEN", "20010917.DAT", "MUR20010917_1.DEN"}) {
        touch(data + f);
    }
    touch(out + QStringLiteral("Duel.TXT"));
    DeleteDays(data, out, {QStringLiteral("20010916")});
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("Duel.TXT")));
    DeleteDays(data, out, {QStringLiteral("20010917")});
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("Duel.TXT")));
    EXPECT_TRUE(ListPredictedDays(data).isEmpty());
}

TEST_F(DayDeletion, NoFileOutsideTheDayIsTouchedByABadDay) {
    touch(data + QStringLiteral("20010916.DAT"));
    touch(data + QStringLiteral("MUR20010916_1.DEN"));
    for (const QString& bad : {QStringLiteral("*"), QStringLiteral("????????"), QStringLiteral("../x"), QString()}) {
        EXPECT_TRUE(DayFiles(data, out, bad, true).isEmpty()) << bad.toStdString();
    }
    EXPECT_EQ(remaining(data).size(), 2);
}

// --- the command -------------------------------------------------------------------------

class DeleteDaysCommand : public ::testing::Test {
protected:
    QStringList args(const QStringList& rest) const {
        return QStringList{QStringLiteral("--home"), home.home(), QStringLiteral("--config"), home.configFile(),
                           QStringLiteral("delete-days")} +
               rest;
    }
    void addDay(const QString& day) {
        touch(home.ctx().paths.DataDir + day + QStringLiteral(".DAT"));
        touch(home.ctx().paths.DataDir + QStringLiteral("MUR") + day + QStringLiteral("_1.DEN"));
    }
    TestHome home;
};

TEST_F(DeleteDaysCommand, DeletesNamedDaysOrAll) {
    addDay(QStringLiteral("20010916"));
    addDay(QStringLiteral("20010922"));
    addDay(QStringLiteral("20010923"));
    CliRun r = runCliProcess(args({QStringLiteral("20010922")}));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("1個のデータを削除しました。")));
    EXPECT_EQ(ListPredictedDays(home.ctx().paths.DataDir),
              (QStringList{QStringLiteral("20010923"), QStringLiteral("20010916")}));
    r = runCliProcess(args({QStringLiteral("--all")}));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("2個のデータを削除しました。")));
    EXPECT_TRUE(ListPredictedDays(home.ctx().paths.DataDir).isEmpty());
}

TEST_F(DeleteDaysCommand, StopsOnEmptyListUnknownDayAndBadUsage) {
    CliRun r = runCliProcess(args({QStringLiteral("--all")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ファイルがありません！")));
    addDay(QStringLiteral("20010916"));
    r = runCliProcess(args({QStringLiteral("20010916"), QStringLiteral("20010917")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("20010917")));
    EXPECT_EQ(ListPredictedDays(home.ctx().paths.DataDir).size(), 1);  // nothing deleted
    EXPECT_EQ(runCliProcess(args({})).exitCode, 2);
    EXPECT_EQ(runCliProcess(args({QStringLiteral("--all"), QStringLiteral("20010916")})).exitCode, 2);
}

}  // namespace
}  // namespace zm::test
