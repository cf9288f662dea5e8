#include "cli/cli.h"

namespace zm::cli {

int cmdSettings(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
    const QString verb = args.value(0);
    if (verb == u"list" && args.size() == 1) {
        for (const auto& [name, value] : describeSettings(env.ctx.settings)) {
            env.out << name << u'=' << value << Qt::endl;
        }
        return kExitOk;
    }
    if (verb == u"get" && args.size() == 3) {
        const auto loaded = loadedSettingValue(env.ctx.settings, args[1], args[2]);
        env.out << (loaded ? *loaded : env.ctx.store.read(args[1], args[2])) << Qt::endl;
        return kExitOk;
    }
    if (verb == u"set" && args.size() == 4) {
        if (const Status stored = env.ctx.store.SaveAppSetting(args[1], args[2], args[3]); !stored) {
            env.ctx.prompter.critical(stored.message());
            return kExitStopped;
        }
        return kExitOk;
    }
    return usageError(env, call.usage);
}

}  // namespace zm::cli
