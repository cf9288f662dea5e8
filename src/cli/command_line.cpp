#include "cli/command_line.h"

#include <QCommandLineParser>

#include <algorithm>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kHelp = u"help"_s;

QString optionText(const OptionDecl& o) {
    return u"--"_s + o.name + (o.valueName.isEmpty() ? QString() : u' ' + o.valueName);
}

// Rows of "  NAME  description", the names padded to one width.
QString table(const std::vector<std::pair<QString, QString>>& rows) {
    qsizetype width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    QString text;
    for (const auto& [name, description] : rows)
        text += u"  "_s + name.leftJustified(width) + u"  "_s + description + u'\n';
    return text;
}

}  // namespace

qsizetype ParsedArgs::count(const QString& name) const {
    return std::count_if(ordered_.begin(), ordered_.end(), [&](const auto& o) { return o.first == name; });
}

QString ParsedArgs::value(const QString& name) const {
    const QStringList all = values(name);
    return all.isEmpty() ? QString() : all.last();
}

QStringList ParsedArgs::values(const QString& name) const {
    QStringList all;
    for (const auto& [n, v] : ordered_) {
        if (n == name)
            all << v;
    }
    return all;
}

std::optional<ParsedArgs> parseArguments(const CommandDecl& decl, const QStringList& args, QString* problem) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(decl.optionPlace == OptionPlace::Anywhere
                                                      ? QCommandLineParser::ParseAsOptions
                                                      : QCommandLineParser::ParseAsPositionalArguments);
    parser.addOption(QCommandLineOption(QStringList{u"h"_s, kHelp}));
    for (const OptionDecl& o : decl.options)
        parser.addOption(QCommandLineOption(o.name, o.description, o.valueName));
    auto fail = [&](const QString& text) -> std::optional<ParsedArgs> {
        if (problem)
            *problem = text;
        return std::nullopt;
    };
    const bool parsed = parser.parse(QStringList{decl.name} + args);
    ParsedArgs result;
    result.help_ = parser.isSet(kHelp);
    if (result.help_)
        return result;
    if (!parsed)
        return fail(parser.errorText());
    // The options in the order given: each name found takes its next value.
    std::vector<std::pair<QString, qsizetype>> next;
    for (const QString& name : parser.optionNames()) {
        const auto it = std::find_if(decl.options.begin(), decl.options.end(),
                                     [&](const OptionDecl& o) { return o.name == name; });
        if (it == decl.options.end())
            continue;
        if (it->valueName.isEmpty()) {
            result.ordered_.emplace_back(name, QString());
            continue;
        }
        auto used = std::find_if(next.begin(), next.end(), [&](const auto& n) { return n.first == name; });
        if (used == next.end())
            used = next.insert(next.end(), {name, 0});
        result.ordered_.emplace_back(name, parser.values(name).value(used->second++));
    }
    result.positionals_ = parser.positionalArguments();
    const qsizetype n = result.positionals_.size();
    if (n < decl.minPositionals || (decl.maxPositionals >= 0 && n > decl.maxPositionals))
        return fail(u"wrong number of arguments"_s);
    return result;
}

QString commandHelp(const CommandDecl& decl) {
    QString text = u"usage: zenomur-cli "_s + decl.usage + u"\n\n"_s + decl.summary + u'\n';
    if (!decl.positionals.empty()) {
        std::vector<std::pair<QString, QString>> rows;
        for (const PositionalDecl& p : decl.positionals)
            rows.emplace_back(p.name, p.description);
        text += u"\narguments:\n"_s + table(rows);
    }
    if (!decl.options.empty()) {
        std::vector<std::pair<QString, QString>> rows;
        for (const OptionDecl& o : decl.options)
            rows.emplace_back(optionText(o), o.description);
        text += u"\noptions:\n"_s + table(rows);
    }
    return text;
}

QString subcommandUsage(const QString& prefix, const std::vector<const CommandDecl*>& subs) {
    QStringList lines;
    QStringList bare;
    qsizetype bareAt = -1;
    for (const CommandDecl* sub : subs) {
        if (sub->usage != sub->name) {
            lines << prefix + sub->usage;
            continue;
        }
        if (bareAt < 0)
            bareAt = lines.size();
        bare << sub->name;
    }
    if (bareAt >= 0)
        lines.insert(bareAt, prefix + bare.join(u" | "_s));
    return lines.join(u"\n       "_s);
}

}  // namespace zm::cli
