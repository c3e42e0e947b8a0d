#include "cli/config_view.h"

#include "config/config_profile.h"

namespace {
ConfigRecord recordOf(const uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    ConfigRecord record;
    record.deserialize(config);
    return record;
}

// What a person reads for one side of a difference: the value, and the bits
// when both values read alike (a name that differs after its end).
QString shown(const QJsonObject &d, const char *side, const char *other)
{
    const QString value = d[QLatin1String(side)].toString();
    if (value != d[QLatin1String(other)].toString())
        return value;
    return QStringLiteral("%1 [%2]").arg(value, d[QLatin1String(side) + "_raw"].toString());
}
} // namespace

QStringList configLines(const uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    return profileLines(recordOf(config));
}

QJsonObject configJson(const uint8_t config[CONFIG_SERIALIZED_SIZE])
{
    return profileJson(recordOf(config));
}

QJsonArray configDifferences(const uint8_t a[CONFIG_SERIALIZED_SIZE],
                             const uint8_t b[CONFIG_SERIALIZED_SIZE])
{
    const QList<DecodedField> left = decodeConfig(recordOf(a));
    const QList<DecodedField> right = decodeConfig(recordOf(b));
    QJsonArray differences;
    for (qsizetype i = 0; i < left.size(); ++i) {
        if (left[i].raw == right[i].raw && left[i].value == right[i].value)
            continue;
        differences.append(QJsonObject{{"key", left[i].key},
                                       {"group", left[i].group},
                                       {"label", left[i].label},
                                       {"a", left[i].value},
                                       {"b", right[i].value},
                                       {"a_raw", left[i].raw},
                                       {"b_raw", right[i].raw}});
    }
    return differences;
}

QStringList differenceLines(const QJsonArray &differences)
{
    QStringList lines;
    for (const QJsonValue &value : differences) {
        const QJsonObject d = value.toObject();
        lines << QStringLiteral("%1 / %2: %3 -> %4")
                     .arg(d[QStringLiteral("group")].toString(),
                          d[QStringLiteral("label")].toString(), shown(d, "a", "b"),
                          shown(d, "b", "a"));
    }
    return lines;
}
