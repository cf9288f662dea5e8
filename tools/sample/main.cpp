// zenomur-sample: writes sample data of the racing-data service into a program folder.

#include "sample/sample.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTextStream>

#include <cstdlib>

namespace {

int usage(QTextStream& err) {
    err << "usage: zenomur-sample [--home DIR] [--date yyyymmdd] [--seed N] [--days N]\n"
           "                      [--venues N] [--races N] [--pat 95|98] [--summary]\n"
           "  --home DIR      the program folder (default: $ZENOMUR_HOME, else ~/.local/share/zenomur)\n"
           "  --date yyyymmdd the race day of the archives (default 20261205, a Saturday)\n"
           "  --seed N        the seed of the generator (same seed, same bytes)\n"
           "  --days N        how many batch archives hb + yymmdd + .lzh (default 4)\n"
           "  --venues N      venues per day, 1..5 (default 3)\n"
           "  --races N       races per venue, 1..12 (default 12)\n"
           "  --pat 95|98     layout of PAT's result files in PAT/ (default 98)\n"
           "  --summary       print how many files went to each folder instead of every file\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    zm::sample::SampleOptions options;
    options.home = qEnvironmentVariable("ZENOMUR_HOME");
    if (options.home.isEmpty())
        options.home = QDir::homePath() + QStringLiteral("/.local/share/zenomur");
    QStringList args = app.arguments().mid(1);
    const bool summary = args.removeAll(QStringLiteral("--summary")) > 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--help" || a == u"-h") {
            usage(out);
            return 0;
        }
        if (i + 1 >= args.size())
            return usage(err);
        const QString v = args[++i];
        bool ok = true;
        if (a == u"--home") {
            options.home = v;
        } else if (a == u"--date") {
            options.date = QDate::fromString(v, QStringLiteral("yyyyMMdd"));
            ok = options.date.isValid() && v.size() == 8;
        } else if (a == u"--seed") {
            options.seed = v.toULongLong(&ok);
        } else if (a == u"--days") {
            options.days = v.toInt(&ok);
            ok = ok && options.days >= 0 && options.days <= 512;
        } else if (a == u"--venues") {
            options.shape.venues = v.toInt(&ok);
            ok = ok && options.shape.venues >= 1 && options.shape.venues <= 5;
        } else if (a == u"--races") {
            options.shape.racesPerVenue = v.toInt(&ok);
            ok = ok && options.shape.racesPerVenue >= 1 && options.shape.racesPerVenue <= 12;
        } else if (a == u"--pat") {
            ok = v == u"95" || v == u"98";
            options.pat95 = v == u"95";
        } else {
            ok = false;
        }
        if (!ok) {
            err << "zenomur-sample: bad option " << a << ' ' << v << Qt::endl;
            return usage(err);
        }
    }
    QStringList written;
    QString message;
    const bool done = zm::sample::writeSample(options, written, message);
    if (summary) {
        // Folder by folder, in the order they were first written to.
        QStringList folders;
        QMap<QString, int> counts;
        const QDir home(options.home);
        for (const QString& path : written) {
            const QString folder = home.relativeFilePath(QFileInfo(path).path());
            if (!counts.contains(folder))
                folders << folder;
            ++counts[folder];
        }
        for (const QString& folder : folders)
            out << counts[folder] << " files in " << (folder == u"." ? QStringLiteral("the program folder") : folder + u'/')
                << '\n';
    } else {
        for (const QString& path : written)
            out << path << '\n';
    }
    out.flush();
    if (!done) {
        err << "zenomur-sample: " << message << Qt::endl;
        return 1;
    }
    return 0;
}
