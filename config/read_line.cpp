#include "config/read_line.h"

#include "config/form_fields.h"

#include <cstring>

namespace {
const char parityCodes[] = "noe"; // the parity field's values 0, 1, 2
constexpr unsigned PARITY_CODES = sizeof parityCodes - 1;
} // namespace

ReadLine readLineOf(const ConfigRecord &record)
{
    const unsigned parity = record.get(Field::parity);
    return {baudRateOfCode(record.get(Field::baudCode)),
            parity < PARITY_CODES ? parityCodes[parity] : '\0',
            record.get(Field::sevenDataBits) != 0U ? 7 : 8,
            record.get(Field::twoStopBits) != 0U ? 2 : 1};
}

QString describeReadLine(const ReadLine &line)
{
    const int parity = int(strchr(parityCodes, line.parity) - parityCodes);
    return QString::fromUtf8("Baudrate %1, %2, Paridade %3, %4")
        .arg(line.baudRate)
        .arg(formListItems(FormList::DataBits).at(line.dataBits == 7 ? 0 : 1),
             formListItems(FormList::Parity).at(parity),
             formListItems(FormList::StopBits).at(line.stopBits - 1));
}
