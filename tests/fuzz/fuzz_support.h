#pragma once

// What the fuzz targets of whole days share: a prompter that answers every question with its
// default and keeps nothing, and a program folder in a temporary directory made once per run.

#include "app/context.h"
#include "app/settings.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

namespace zm::fuzz {

// Every question gets its safe answer: Cancel, or No where there is no Cancel.
class SilentPrompter : public Prompter {
public:
    Answer ask(const Question&) override { return Answer::Cancel; }
};

struct Home {
    QTemporaryDir dir;
    AppPaths paths = AppPaths::forHome(dir.path());
    SettingsStore store{dir.path() + QStringLiteral("/zenomur.ini")};
    SilentPrompter prompter;
    AppContext ctx{paths, store, prompter};
    Home() {
        CreateFolders(paths);
        LoadSettings(ctx.settings, store, paths);
    }
    // Empties Data/ and Work/ between inputs.
    void clear() {
        for (const QString& folder : {paths.DataDir, paths.WorkDir}) {
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
        }
    }
};

inline Home& home() {
    static Home h;
    return h;
}

inline void write(const QString& path, QByteArrayView bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), bytes.size());
}

// Splits an input into parts at the separator "\n--\n" (missing parts are empty).
inline std::vector<QByteArrayView> parts(const std::uint8_t* data, std::size_t size, std::size_t count) {
    const QByteArrayView all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<QByteArrayView> out;
    qsizetype from = 0;
    for (std::size_t k = 0; k + 1 < count; ++k) {
        const qsizetype at = all.indexOf(QByteArrayView("\n--\n"), from);
        if (at < 0)
            break;
        out.push_back(all.sliced(from, at - from));
        from = at + 4;
    }
    out.push_back(all.sliced(from));
    out.resize(count);
    return out;
}

}  // namespace zm::fuzz
