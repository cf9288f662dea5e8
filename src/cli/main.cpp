#include "app/file_names.h"
#include "cli/cli.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zenomur"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    // The arguments as bytes: a path that is not UTF-8 still names its file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << zm::decodeNativePath(QByteArray(argv[i]));
    return zm::cli::runCli(arguments, out, err);
}
