#include "app/day_deletion.h"

#include "codes/codetables.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace zm {

namespace {

enum class Folder { Data, OutPut };

struct DayPattern {
    Folder folder;
    const char16_t* prefix;  // "?" matches any one character
    const char16_t* suffix;
};

// Prefix + day + "." + suffix, per folder.
constexpr DayPattern kDayPatterns[] = {
    {Folder::Data, u"", u"DAT"},          {Folder::Data, u"MUR", u"DEN"},    {Folder::Data, u"MUR", u"UMA"},
    {Folder::Data, u"", u"SEI"},          {Folder::Data, u"MURODDS", u"DAT"}, {Folder::Data, u"UMA", u"IDX"},
    {Folder::Data, u"ODS", u"DAT"},       {Folder::OutPut, u"K", u"TXT"},    {Folder::OutPut, u"K", u"CSV"},
    {Folder::OutPut, u"MUR", u"TXT"},     {Folder::OutPut, u"的中会", u"TXT"}, {Folder::OutPut, u"W", u"TXT"},
    {Folder::OutPut, u"W????_", u"TXT"},  {Folder::OutPut, u"詳細", u"TXT"},  {Folder::OutPut, u"DEN", u"CSV"},
};

// A whole-name pattern where "?" stands for any one character, case ignored.
QRegularExpression namePattern(const QString& wildcard) {
    QString re = QStringLiteral("^");
    for (QChar c : wildcard) {
        re += c == u'?' ? QStringLiteral(".") : QRegularExpression::escape(QString(c));
    }
    re += u'$';
    return QRegularExpression(re, QRegularExpression::CaseInsensitiveOption);
}

QStringList filesOf(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void collect(const QString& folder, const QStringList& names, const QRegularExpression& pattern, QStringList& out,
             QSet<QString>& seen) {
    for (const QString& name : names) {
        if (pattern.match(name).hasMatch()) {
            const QString path = folder + name;
            if (!seen.contains(path)) {
                seen.insert(path);
                out << path;
            }
        }
    }
}

QStringList dayFiles(const QString& dataDir, const QStringList& dataNames, const QString& outDir,
                     const QStringList& outNames, const QString& day, bool withCumulative) {
    QStringList out;
    QSet<QString> seen;
    if (!DateFromYmd(day).isValid()) {
        return out;
    }
    for (const DayPattern& p : kDayPatterns) {
        const QString wildcard = QString::fromUtf16(p.prefix) + day + u'.' + QString::fromUtf16(p.suffix);
        if (p.folder == Folder::Data) {
            collect(dataDir, dataNames, namePattern(wildcard), out, seen);
        } else {
            collect(outDir, outNames, namePattern(wildcard), out, seen);
        }
    }
    for (const QString& extra : {QStringLiteral("MUR") + day + QStringLiteral("_1.DEN"),
                                 QStringLiteral("MUR") + day + QStringLiteral("_2.DEN"),
                                 QStringLiteral("O_") + day.right(6) + QStringLiteral(".MUR")}) {
        collect(dataDir, dataNames, namePattern(extra), out, seen);
    }
    if (withCumulative) {
        collect(outDir, outNames, namePattern(QStringLiteral("duel.TXT")), out, seen);
    }
    return out;
}

}  // namespace

QString DayCaption(const QString& day) {
    return day.left(4) + QStringLiteral("年") + day.mid(4, 2) + QStringLiteral("月") + day.mid(6, 2) +
           QStringLiteral("日(") + WeekdayChar(day) + u')';
}

QStringList DayFiles(const QString& dataDir, const QString& outPutDir, const QString& day, bool withCumulative) {
    return dayFiles(dataDir, filesOf(dataDir), outPutDir, filesOf(outPutDir), day, withCumulative);
}

int DeleteDays(const QString& dataDir, const QString& outPutDir, const QStringList& days, QStringList* notDeleted) {
    qsizetype total = 0;
    const QStringList listed = ListPredictedDays(dataDir, &total);
    bool everyDay = !listed.isEmpty() && total == listed.size();
    for (const QString& d : listed) {
        everyDay = everyDay && days.contains(d);
    }
    const QStringList dataNames = filesOf(dataDir);
    const QStringList outNames = filesOf(outPutDir);
    int deleted = 0;
    for (const QString& day : days) {
        bool whole = true;
        for (const QString& path : dayFiles(dataDir, dataNames, outPutDir, outNames, day, everyDay)) {
            QFile file(path);
            if (!file.remove() && file.exists()) {
                whole = false;
                if (notDeleted)
                    *notDeleted << path;
            }
        }
        if (whole)
            ++deleted;
    }
    return deleted;
}

QString notDeletedMessage(const QStringList& notDeleted) {
    QString text = QStringLiteral("次のファイルを削除できませんでした。");
    for (const QString& path : notDeleted)
        text += QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
    return text;
}

}  // namespace zm
