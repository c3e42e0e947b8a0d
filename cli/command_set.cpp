// set: fields changed by name, on the form model, the way the operator
// changes them on the window's controls.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/config_input.h"
#include "cli/config_view.h"
#include "cli/exit_codes.h"
#include "cli/reader_session.h"
#include "cli/reader_write.h"
#include "cli/report.h"
#include "config/form_settings.h"

namespace {
const QString readerTarget = QStringLiteral("reader");

struct NamedSetting
{
    const FormField *field;
    FieldValue value;
};

QString fieldKeys()
{
    QStringList keys;
    for (const FormField &field : formFields())
        keys << QLatin1String(field.key);
    return keys.join(QStringLiteral(", "));
}

// NAME=VALUE, each read against the field table. Returns 0 or EXIT_USAGE.
int readSettings(const QStringList &arguments, QList<NamedSetting> *settings, Report &report)
{
    for (const QString &argument : arguments) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return report.fail(EXIT_USAGE,
                               QString::fromUtf8("\"%1\" não é NOME=VALOR").arg(argument));
        const QString name = argument.left(equals);
        QStringList ambiguous;
        const FormField *field = fieldNamed(name, &ambiguous);
        if (!field && !ambiguous.isEmpty())
            return report.fail(EXIT_USAGE,
                               QString::fromUtf8("\"%1\" é ambíguo: %2")
                                   .arg(name, ambiguous.join(QString::fromUtf8(" ou "))));
        if (!field)
            return report.fail(EXIT_USAGE,
                               QString::fromUtf8("campo desconhecido: \"%1\" (aceitos: %2, ou "
                                                 "Grupo/Rótulo como o formulário os mostra)")
                                   .arg(name, fieldKeys()));
        FieldValue value;
        if (!parseFieldValue(*field, argument.mid(equals + 1), &value))
            return report.fail(
                EXIT_USAGE,
                QString::fromUtf8("valor inválido para %1: \"%2\" (aceitos: %3)")
                    .arg(fieldTitle(*field), argument.mid(equals + 1), acceptedValues(*field)));
        settings->append({field, value});
    }
    return 0;
}

// The settings performed in order on the form loaded with base.
int performSettings(const QList<NamedSetting> &settings, const uint8_t base[CONFIG_SERIALIZED_SIZE],
                    uint8_t result[CONFIG_SERIALIZED_SIZE], Report &report)
{
    ConfigForm form;
    form.load(base);
    QString why;
    for (const NamedSetting &setting : settings)
        if (!performSetting(form, *setting.field, setting.value, &why))
            return report.fail(EXIT_USAGE, why);
    form.record().serialize(result);
    return 0;
}

void listChanges(const uint8_t before[CONFIG_SERIALIZED_SIZE],
                 const uint8_t after[CONFIG_SERIALIZED_SIZE], Report &report)
{
    const QJsonArray differences = configDifferences(before, after);
    report.data.insert(QStringLiteral("differences"), differences);
    for (const QString &line : differenceLines(differences))
        report.line(line);
}

int setOnReader(const CliOptions &options, const QList<NamedSetting> &settings, Report &report)
{
    ReaderSession reader(options, report);
    uint8_t current[CONFIG_SERIALIZED_SIZE];
    uint8_t result[CONFIG_SERIALIZED_SIZE];
    if (!reader.open() || !reader.readConfiguration(current))
        return report.exitCode();
    if (const int code = performSettings(settings, current, result, report))
        return code;
    if (options.check)
        return reportCheck(current, result, report);
    listChanges(current, result, report);
    if (const int code = writeAndVerify(reader, result, options.verify, report))
        return code;
    report.line(options.verify ? QString::fromUtf8("gravada no leitor e conferida")
                               : QString::fromUtf8("gravada no leitor (sem conferência)"));
    return EXIT_OK;
}
} // namespace

int runSet(const CliOptions &options, Report &report)
{
    const QString target = options.arguments.first();
    report.data.insert(QStringLiteral("target"), target);
    QList<NamedSetting> settings;
    if (const int code = readSettings(options.arguments.mid(1), &settings, report))
        return code;
    if (target == readerTarget)
        return setOnReader(options, settings, report);
    uint8_t current[CONFIG_SERIALIZED_SIZE];
    uint8_t result[CONFIG_SERIALIZED_SIZE];
    ConfigFormat format = ConfigFormat::File;
    if (const int code = readWholeConfiguration(target, FileUse::Show, report, current, &format))
        return code;
    if (const int code = performSettings(settings, current, result, report))
        return code;
    if (options.check)
        return reportCheck(current, result, report);
    listChanges(current, result, report);
    if (const int code = saveConfiguration(target, format, result, report))
        return code;
    report.line(QString::fromUtf8("Configuração salva em %1").arg(target));
    return EXIT_OK;
}
