#include "cli/config_input.h"

#include "cli/config_view.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "cli/standard_streams.h"
#include "config/config_file_format.h"
#include "config/form_settings.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <cstring>

namespace {
// More than any profile a person writes; a bigger file is no profile.
constexpr qint64 PROFILE_MAX_SIZE = 1 << 20;

ConfigRecord recordOf(const uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    ConfigRecord record;
    record.deserialize(config);
    return record;
}

QByteArray formatted(ConfigFormat format, const uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    if (format == ConfigFormat::Json)
        return QJsonDocument(
                   QJsonObject{{"schema", JSON_SCHEMA}, {"config", profileJson(recordOf(config))}})
            .toJson(QJsonDocument::Indented);
    return profileLines(recordOf(config)).join(QLatin1Char('\n')).toUtf8() + '\n';
}
} // namespace

ConfigFormat formatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cfg"))
        return ConfigFormat::File;
    return suffix == QLatin1String("json") ? ConfigFormat::Json : ConfigFormat::Text;
}

int ConfigInput::resolve(const uint8_t base[CONFIG_SERIALIZED_SIZE],
                         uint8_t out[CONFIG_SERIALIZED_SIZE], Report &report) const
{
    if (!partial()) {
        memcpy(out, config, CONFIG_SERIALIZED_SIZE);
        return 0;
    }
    ConfigForm form;
    form.load(base);
    QString why;
    if (!performProfile(form, profile, &why))
        return report.fail(EXIT_USAGE, why);
    form.record().serialize(out);
    return 0;
}

int readConfigInput(const QString &path, FileUse use, bool acceptShort, Report &report,
                    ConfigInput *input)
{
    QByteArray content;
    bool loaded = true;
    if (isStandardStream(path))
        content = standardInput(PROFILE_MAX_SIZE);
    else
        loaded = loadFileContent(path, PROFILE_MAX_SIZE, &content);
    if (loaded && isProfile(content)) {
        input->format = content.trimmed().startsWith('{') ? ConfigFormat::Json : ConfigFormat::Text;
        QString why;
        if (!readProfile(content, &input->profile, &why))
            return report.fail(EXIT_USAGE, QStringLiteral("%1: %2").arg(path, why));
        if (input->profile.complete())
            input->profile.record().serialize(input->config);
        return 0;
    }
    input->format = ConfigFormat::File;
    return readConfigurationFile(path, use, acceptShort, report, input->config);
}

int readWholeConfiguration(const QString &path, FileUse use, Report &report,
                           uint8_t config[CONFIG_SERIALIZED_SIZE], ConfigFormat *format)
{
    ConfigInput input;
    if (const int code = readConfigInput(path, use, use == FileUse::Show, report, &input))
        return code;
    if (input.partial())
        return report.fail(EXIT_USAGE,
                           QString::fromUtf8("%1 dá só %2 dos %3 campos: um perfil parcial vale "
                                             "para apply, write e set, sobre outra configuração")
                               .arg(path)
                               .arg(input.profile.settings.size())
                               .arg(formFields().size()));
    memcpy(config, input.config, CONFIG_SERIALIZED_SIZE);
    if (format)
        *format = input.format;
    return 0;
}

int saveConfiguration(const QString &path, ConfigFormat format,
                      const uint8_t config[CONFIG_SERIALIZED_SIZE], Report &report)
{
    if (format == ConfigFormat::File)
        return saveConfigurationFile(path, config, report);
    if (isStandardStream(path))
        return saveStandardOutput(formatted(format, config), report);
    return saveFileContent(path, formatted(format, config)) ? 0 : reportUnsaved(path, report);
}

int reportCheck(const uint8_t current[CONFIG_SERIALIZED_SIZE],
                const uint8_t target[CONFIG_SERIALIZED_SIZE], Report &report)
{
    const QJsonArray differences = configDifferences(current, target);
    report.data.insert(QStringLiteral("check"), true);
    report.data.insert(QStringLiteral("would_change"), !differences.isEmpty());
    report.data.insert(QStringLiteral("differences"), differences);
    if (differences.isEmpty()) {
        report.line(QString::fromUtf8("nada a gravar: a configuração já é essa"));
        return EXIT_OK;
    }
    for (const QString &line : differenceLines(differences))
        report.line(line);
    report.line(QString::fromUtf8("(--check: nada foi gravado)"));
    return EXIT_CHANGED;
}
