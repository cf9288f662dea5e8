// Any bytes as the settings file: the settings load, every value within its allowed range
// or its default, and the file the store writes reads back as the same store.

#include "fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTemporaryDir dir;
    const QString ini = dir.path() + QStringLiteral("/zenomur.ini");
    zm::fuzz::write(ini, QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    zm::SettingsStore store(ini);
    zm::AppSettings settings;
    zm::LoadSettings(settings, store, zm::AppPaths::forHome(dir.path()));
    if (settings.Yosou < 0 || settings.Yosou > 8)
        std::abort();
    if (!settings.MurDataDir.endsWith(u'/') || !settings.OutPutDir.endsWith(u'/'))
        std::abort();
    const QByteArray written = store.iniText();
    const QString again = dir.path() + QStringLiteral("/again.ini");
    zm::fuzz::write(again, written);
    if (zm::SettingsStore(again).iniText() != written)
        std::abort();
    return 0;
}
