#include "analysis/backtest_tables.h"

#include "app/file_set.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "predict/selection.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace zm {

namespace {

QString amount(double yen) {
    // Stakes are whole yen; a pending bet of an odd amount can return a fraction.
    return std::abs(yen - std::round(yen)) < 1e-9 ? QString::number(static_cast<qlonglong>(std::llround(yen)))
                                                   : QString::number(yen, 'f', 1);
}

QString rate(double value) {
    return QString::number(value, 'f', 1);
}

const QStringList kFigureColumns = {QStringLiteral("レース数"), QStringLiteral("点数"),   QStringLiteral("的中数"),
                                    QStringLiteral("返還数"),   QStringLiteral("的中率"), QStringLiteral("投資額"),
                                    QStringLiteral("払戻額"),   QStringLiteral("収支"),   QStringLiteral("回収率")};

QStringList figures(const Tally& t) {
    return {QString::number(t.races), QString::number(t.bets), QString::number(t.hits), QString::number(t.refunds),
            rate(t.hitRate()),        amount(t.stake),         amount(t.returns),       amount(t.balance()),
            rate(t.recoveryRate())};
}

QString styleNumber(int style) {
    return style == kMyBets ? QString() : QString::number(style);
}

QString judgementWord(Judgement j) {
    return judgementText(j);
}

QString quoted(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r')) {
        return field;
    }
    QString q = field;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

}  // namespace

std::vector<const StyleFigures*> reportedFigures(const BacktestReport& report) {
    std::vector<const StyleFigures*> out;
    for (const StyleFigures& f : report.styles) {
        out.push_back(&f);
    }
    if (report.myBets.total.bets > 0 || report.myBets.unjudged > 0) {
        out.push_back(&report.myBets);
    }
    return out;
}

QList<Table> backtestTables(const BacktestReport& report) {
    const auto figs = reportedFigures(report);
    QList<Table> tables;

    Table styles{QString(), QStringList{QStringLiteral("番号"), QStringLiteral("予想スタイル")} + kFigureColumns +
                                QStringList{QStringLiteral("未判定")},
                 {}};
    for (const StyleFigures* f : figs) {
        styles.rows.append(QStringList{styleNumber(f->style), f->name} + figures(f->total) +
                           QStringList{QString::number(f->unjudged)});
    }
    tables.append(styles);

    auto breakdown = [&](const QString& suffix, const QString& keyTitle, auto member, auto keyText) {
        Table t{suffix, QStringList{QStringLiteral("番号"), QStringLiteral("予想スタイル"), keyTitle} + kFigureColumns, {}};
        for (const StyleFigures* f : figs) {
            for (const auto& [key, tally] : f->*member) {
                t.rows.append(QStringList{styleNumber(f->style), f->name, keyText(key)} + figures(tally));
            }
        }
        tables.append(t);
    };
    breakdown(QStringLiteral("-types"), QStringLiteral("券種"), &StyleFigures::byType,
              [](const QString& k) { return betTypeName(k); });
    breakdown(QStringLiteral("-venues"), QStringLiteral("場所"), &StyleFigures::byVenue,
              [](const QString& k) { return JraVenueName(k); });
    breakdown(QStringLiteral("-months"), QStringLiteral("年月"), &StyleFigures::byMonth,
              [](const QString& k) { return k; });

    Table marks{QStringLiteral("-marks"),
                {QStringLiteral("印"), QStringLiteral("出走数"), QStringLiteral("1着"), QStringLiteral("2着以内"),
                 QStringLiteral("3着以内"), QStringLiteral("勝率"), QStringLiteral("連対率"), QStringLiteral("複勝率")},
                {}};
    for (int r = 1; r <= 5; ++r) {
        const MarkFigures& m = report.marks[static_cast<size_t>(r - 1)];
        auto share = [&](int n) { return rate(m.runs > 0 ? n * 100.0 / m.runs : 0.0); };
        marks.rows.append({MarkOf(r), QString::number(m.runs), QString::number(m.wins), QString::number(m.topTwo),
                           QString::number(m.topThree), share(m.wins), share(m.topTwo), share(m.topThree)});
    }
    tables.append(marks);

    Table days{QStringLiteral("-days"),
               QStringList{QStringLiteral("日付"), QStringLiteral("状態"), QStringLiteral("番号"),
                           QStringLiteral("予想スタイル")} +
                   kFigureColumns + QStringList{QStringLiteral("累積収支")},
               {}};
    auto status = [&](const QString& text, const QStringList& list) {
        for (const QString& d : list) {
            days.rows.append(QStringList{d, text, QString(), QString()} + QStringList(kFigureColumns.size() + 1));
        }
    };
    status(QStringLiteral("成績なし"), report.daysWithoutResults);
    status(QStringLiteral("予想なし"), report.daysWithoutPrediction);
    status(QStringLiteral("予想オッズなし"), report.daysWithoutOdds);
    for (const StyleFigures* f : figs) {
        for (const DayFigures& d : f->days) {
            days.rows.append(QStringList{d.day, QStringLiteral("検証"), styleNumber(f->style), f->name} +
                             figures(d.tally) + QStringList{amount(d.cumulativeBalance)});
        }
    }
    std::stable_sort(days.rows.begin(), days.rows.end(),
                     [](const QStringList& a, const QStringList& b) { return a[0] < b[0]; });
    tables.append(days);

    if (!report.bets.empty()) {
        Table bets{QStringLiteral("-bets"),
                   {QStringLiteral("番号"), QStringLiteral("予想スタイル"), QStringLiteral("日付"), QStringLiteral("場所"),
                    QStringLiteral("レース"), QStringLiteral("券種"), QStringLiteral("買い目"), QStringLiteral("投資額"),
                    QStringLiteral("判定"), QStringLiteral("配当"), QStringLiteral("払戻額")},
                   {}};
        for (const auto& [style, b] : report.bets) {
            bets.rows.append({styleNumber(style), styleFiguresName(style), b.day, JraVenueName(b.venueNo),
                              QString::number(b.raceNo), betTypeName(b.typeCode), b.combination, amount(b.stake),
                              judgementWord(b.judgement), b.judgement == Judgement::Hit ? amount(b.payout) : QString(),
                              amount(b.returns)});
        }
        tables.append(bets);
    }
    return tables;
}

QString csvText(const Table& table) {
    QString out;
    auto line = [&](const QStringList& fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0) out += u',';
            out += quoted(fields[i]);
        }
        out += QStringLiteral("\r\n");
    };
    line(table.header);
    for (const QStringList& row : table.rows) {
        line(row);
    }
    return out;
}

QString tablePath(const QString& path, const QString& suffix) {
    if (suffix.isEmpty()) {
        return path;
    }
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > slash + 1) {
        return path.left(dot) + suffix + path.mid(dot);
    }
    return path + suffix;
}

Status WriteBacktestCsv(const BacktestReport& report, const QString& path, bool sjis, QStringList* written,
                        const QString& journalFolder) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    FileSet set(journalFolder.isEmpty() ? QFileInfo(absolute).path() + u'/' : journalFolder);
    QStringList files;
    for (const Table& t : backtestTables(report)) {
        const QString text = csvText(t);
        const QString file = tablePath(path, t.suffix);
        if (Status s = set.put(tablePath(absolute, t.suffix), sjis ? toSjis(text) : text.toUtf8()); !s) {
            return Status::failure(unchangedMessage(s.message()));
        }
        files.append(file);
    }
    if (Status committed = set.commit(); !committed) {
        return committed;
    }
    if (written) {
        written->append(files);
    }
    return Status();
}

QString yenText(double yen) {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString sign = yen < 0 ? QStringLiteral("-") : QString();
    return sign + c.toString(static_cast<qlonglong>(std::llround(std::abs(yen))));
}

QString rateText(double value) {
    return QString::number(value, 'f', 1) + u'%';
}

QString aligned(const QStringList& header, const QList<QStringList>& rows, int leftColumns) {
    QList<int> widths;
    for (const QString& h : header) {
        widths.append(ByteLength(h));
    }
    for (const QStringList& r : rows) {
        for (qsizetype i = 0; i < r.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], ByteLength(r[i]));
        }
    }
    QString out;
    auto line = [&](const QStringList& cells) {
        QString l;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0) l += QStringLiteral("  ");
            l += i < leftColumns ? PadBytes(cells[i], widths[i]) : PadBytesLeft(cells[i], widths[i]);
        }
        while (l.endsWith(u' ')) l.chop(1);
        out += l + u'\n';
    };
    line(header);
    for (const QStringList& r : rows) {
        line(r);
    }
    return out;
}


Table styleSummaryTable(const BacktestReport& report) {
    Table table{QString(),
                {QStringLiteral("予想スタイル"), QStringLiteral("レース"), QStringLiteral("点数"), QStringLiteral("的中"),
                 QStringLiteral("的中率"), QStringLiteral("投資額"), QStringLiteral("払戻額"), QStringLiteral("収支"),
                 QStringLiteral("回収率")},
                {}};
    for (const StyleFigures* f : reportedFigures(report)) {
        const Tally& t = f->total;
        table.rows.append({f->name, QString::number(t.races), QString::number(t.bets), QString::number(t.hits),
                           rateText(t.hitRate()), yenText(t.stake), yenText(t.returns), yenText(t.balance()),
                           rateText(t.recoveryRate())});
    }
    return table;
}

Table markSummaryTable(const BacktestReport& report) {
    Table table{QString(),
                {QStringLiteral("印"), QStringLiteral("出走"), QStringLiteral("1着"), QStringLiteral("2着以内"),
                 QStringLiteral("3着以内"), QStringLiteral("勝率"), QStringLiteral("連対率"), QStringLiteral("複勝率")},
                {}};
    for (int r = 1; r <= 5; ++r) {
        const MarkFigures& m = report.marks[static_cast<size_t>(r - 1)];
        auto share = [&](int n) { return rateText(m.runs > 0 ? n * 100.0 / m.runs : 0.0); };
        table.rows.append({MarkOf(r), QString::number(m.runs), QString::number(m.wins), QString::number(m.topTwo),
                           QString::number(m.topThree), share(m.wins), share(m.topTwo), share(m.topThree)});
    }
    return table;
}

BalanceCurves balanceCurves(const BacktestReport& report) {
    const auto figs = reportedFigures(report);
    QStringList days = report.daysTested;
    for (const StyleFigures* f : figs) {
        for (const DayFigures& d : f->days) {
            days << d.day;
        }
    }
    days.sort();
    days.removeDuplicates();

    BalanceCurves curves{days, {}};
    for (const StyleFigures* f : figs) {
        std::vector<double> line;
        line.reserve(static_cast<size_t>(days.size()));
        double balance = 0;
        auto next = f->days.begin();
        for (const QString& day : days) {
            if (next != f->days.end() && next->day == day) {
                balance = next->cumulativeBalance;
                ++next;
            }
            line.push_back(balance);
        }
        curves.balances.push_back(std::move(line));
    }
    return curves;
}

QString styleTableText(const BacktestReport& report) {
    const Table t = styleSummaryTable(report);
    return aligned(t.header, t.rows, 1);
}

QString markTableText(const BacktestReport& report) {
    const Table t = markSummaryTable(report);
    return aligned(t.header, t.rows, 1);
}

}  // namespace zm
