#include "config/config_profile.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QString BYTE_ORDER_MARK = QString(QChar(0xFEFF));

// Collects the settings, refusing a field given twice.
class ProfileReader
{
public:
    ProfileReader(Profile *into, QString *why) : profile(into), error(why) {}

    bool fail(int line, const QString &text)
    {
        *error = QString::fromUtf8("linha %1: %2").arg(line).arg(text);
        return false;
    }

    bool add(int line, const FormField *field, const QString &text)
    {
        for (const ProfileSetting &earlier : profile->settings)
            if (earlier.field == field)
                return fail(line, QString::fromUtf8("%1 repetido (já na linha %2)")
                                      .arg(fieldTitle(*field))
                                      .arg(earlier.line));
        FieldValue value;
        if (!parseFieldValue(*field, text, &value))
            return fail(line, QString::fromUtf8("valor inválido para %1: \"%2\" (aceitos: %3)")
                                  .arg(fieldTitle(*field), text.trimmed(), acceptedValues(*field)));
        profile->settings.append({line, field, value});
        return true;
    }

    // A field by its name in a line: a label of the group above it, a key,
    // "Grupo/Rótulo", or a label of one field only.
    const FormField *named(int line, const QString &group, const QString &name)
    {
        if (const FormField *field = group.isEmpty() ? nullptr : fieldInGroup(group, name))
            return field;
        QStringList ambiguous;
        if (const FormField *field = fieldNamed(name, &ambiguous))
            return field;
        if (!ambiguous.isEmpty())
            fail(line, QString::fromUtf8("\"%1\" é ambíguo: %2 (escreva Grupo/Rótulo, ou a linha "
                                         "abaixo do título do grupo)")
                           .arg(name, ambiguous.join(QString::fromUtf8(" ou "))));
        else
            fail(line, QString::fromUtf8("campo desconhecido: \"%1\"").arg(name));
        return nullptr;
    }

private:
    Profile *profile;
    QString *error;
};

bool readText(const QString &text, ProfileReader &reader)
{
    QString group;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i) + 1;
        const QString line = lines[i].endsWith(QLatin1Char('\r')) ? lines[i].chopped(1) : lines[i];
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            if (!line.front().isSpace() && isFormGroup(trimmed)) {
                group = trimmed;
                continue;
            }
            return reader.fail(number,
                               QString::fromUtf8("\"%1\" não é um campo (\"Rótulo: valor\") nem o "
                                                 "título de um grupo do formulário")
                                   .arg(trimmed));
        }
        const FormField *field = reader.named(number, group, trimmed.left(colon).trimmed());
        if (field == nullptr || !reader.add(number, field, trimmed.mid(colon + 1)))
            return false;
    }
    return true;
}

int lineAt(const QString &source, qsizetype offset)
{
    return int(source.left(offset).count(QLatin1Char('\n'))) + 1;
}

// The fields of show --json (or of read and info, under "config").
bool readJson(const QString &source, ProfileReader &reader)
{
    QJsonParseError parsed{};
    const QByteArray content = source.toUtf8();
    const QJsonDocument document = QJsonDocument::fromJson(content, &parsed);
    if (parsed.error != QJsonParseError::NoError)
        return reader.fail(lineAt(QString::fromUtf8(content.left(parsed.offset)), parsed.offset),
                           QString::fromUtf8("JSON inválido: %1").arg(parsed.errorString()));
    const QJsonObject top = document.object();
    const QJsonValue fields = top.contains(QLatin1String("config"))
                                  ? top[QLatin1String("config")][QLatin1String("fields")]
                                  : top[QLatin1String("fields")];
    if (!fields.isArray())
        return reader.fail(1, QString::fromUtf8("JSON sem a lista \"fields\" de velorix-cli show "
                                                "--json"));
    qsizetype at = 0; // where the previous entry's key stands: the entries are in order
    int line = 1;     // the line of at, counted on as the entries go (a long profile stays linear)
    for (const QJsonValue &entry : fields.toArray()) {
        const QJsonObject object = entry.toObject();
        const QString key = object[QLatin1String("key")].toString();
        const QString name = !key.isEmpty()
                                 ? key
                                 : object[QLatin1String("group")].toString() + QLatin1Char('/') +
                                       object[QLatin1String("label")].toString();
        for (const QString &form :
             {QStringLiteral("\"key\": \"%1\""), QStringLiteral("\"key\":\"%1\"")})
            if (const qsizetype found = source.indexOf(form.arg(key), at); found >= 0) {
                line += int(QStringView(source).mid(at, found - at).count(QLatin1Char('\n')));
                at = found + 1;
                break;
            }
        const QJsonValue value = object[QLatin1String("value")];
        if (!value.isString())
            return reader.fail(line,
                               QString::fromUtf8("campo sem \"value\" de texto: \"%1\"").arg(name));
        const FormField *field = reader.named(line, {}, name);
        if (field == nullptr || !reader.add(line, field, value.toString()))
            return false;
    }
    return true;
}

QString withoutMark(const QString &text)
{
    return text.startsWith(BYTE_ORDER_MARK) ? text.mid(1) : text;
}
} // namespace

bool Profile::complete() const
{
    return size_t(settings.size()) == formFields().size();
}

ConfigRecord Profile::record() const
{
    ConfigRecord record{};
    for (const ProfileSetting &setting : settings)
        storeFieldValue(record, *setting.field, setting.value);
    return record;
}

QStringList profileLines(const ConfigRecord &record)
{
    QStringList lines;
    QString group;
    for (const DecodedField &field : decodeConfig(record)) {
        if (field.group != group)
            lines << (group = field.group);
        lines << QStringLiteral("  %1: %2").arg(field.label, field.value);
    }
    return lines;
}

QJsonObject profileJson(const ConfigRecord &record)
{
    QJsonArray fields;
    for (const DecodedField &field : decodeConfig(record))
        fields.append(QJsonObject{{"key", field.key},
                                  {"group", field.group},
                                  {"label", field.label},
                                  {"value", field.value},
                                  {"raw", field.raw}});
    uint8_t bytes[CONFIG_SERIALIZED_SIZE];
    record.serialize(bytes);
    const QByteArray serialized(reinterpret_cast<const char *>(bytes), sizeof bytes);
    return {{"profile", record.displayName()},
            {"bytes", QString::fromLatin1(serialized.toHex(' ').toUpper())},
            {"fields", fields}};
}

bool isProfile(const QByteArray &content)
{
    const QString text = withoutMark(QString::fromUtf8(content)).trimmed();
    if (text.isEmpty())
        return false;
    if (text.front() == QLatin1Char('{'))
        return true;
    for (const char byte : content)
        if ((static_cast<uint8_t>(byte) < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') ||
            byte == 0x7F)
            return false;
    return true;
}

bool readProfile(const QByteArray &content, Profile *profile, QString *error)
{
    Profile read;
    ProfileReader reader(&read, error);
    const QString text = withoutMark(QString::fromUtf8(content));
    const bool ok = text.trimmed().startsWith(QLatin1Char('{')) ? readJson(text, reader)
                                                                : readText(text, reader);
    if (ok)
        *profile = read;
    return ok;
}
