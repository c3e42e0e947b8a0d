#include "cli/cli_options.h"

#include "cli/exit_codes.h"
#include "config/form_fields.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {
struct CommandSpec
{
    const char *name;
    CliCommand command;
    int minArguments;
    int maxArguments;
    const char *usage;
    const char *description;
};

const CommandSpec commands[] = {
    {"read", CliCommand::Read, 0, 0, "read [-o ARQUIVO.cfg]",
     "Lê a configuração do leitor e a mostra decodificada, ou a salva em ARQUIVO.cfg\n"
     "(um arquivo que a janela abre; o nome de perfil fica como o leitor o tem)."},
    {"write", CliCommand::Write, 1, 1, "write ARQUIVO",
     "Grava a configuração do arquivo (.cfg ou perfil de texto ou JSON) no leitor e a\n"
     "lê de volta, comparando os 27 bytes (--no-verify não lê de volta). O nome de\n"
     "perfil é gravado e comparado como está no arquivo. Um perfil parcial vale\n"
     "sobre a configuração do leitor, como o set."},
    {"apply", CliCommand::Apply, 1, 1, "apply ARQUIVO",
     "Lê o leitor e grava a configuração do arquivo só quando ela difere, conferindo\n"
     "como o write: \"alterada\" (código 10) ou \"inalterada\" (código 0). Pode ser\n"
     "repetido à vontade. O nome de perfil conta como está no arquivo.\n"
     "Exemplo: velorix-cli apply posto.txt --check"},
    {"serial", CliCommand::Serial, 0, 0, "serial", "Mostra o número de série do leitor."},
    {"firmware", CliCommand::Firmware, 0, 0, "firmware", "Mostra a versão do firmware do leitor."},
    {"info", CliCommand::Info, 0, 0, "info",
     "Número de série, versão do firmware e configuração decodificada, de uma vez\n"
     "(para inventários)."},
    {"show", CliCommand::Show, 0, 1, "show [ARQUIVO|reader]",
     "Decodifica campo a campo, com os rótulos e as opções do formulário, um arquivo\n"
     "ou a configuração do leitor (reader, o padrão). O que ele escreve é um perfil\n"
     "de texto que todo comando aceita: velorix-cli show reader > posto.txt"},
    {"diff", CliCommand::Diff, 2, 2, "diff A B",
     "Lista os campos que diferem entre duas configurações: arquivos, ou reader para\n"
     "a do leitor. Código 0: iguais; 1: diferentes."},
    {"watch", CliCommand::Watch, 0, 1, "watch --port PORTA [ARQUIVO.cfg|reader]",
     "Mostra o que o leitor em modo Serial envia ao ler um documento, byte a byte,\n"
     "uma leitura por linha, até Ctrl+C. A porta é aberta com a velocidade, a\n"
     "paridade, os bits de dados e os stop bits do arquivo ou da configuração do\n"
     "leitor (lida pela mesma porta); --baud, --parity, --data-bits e --stop-bits\n"
     "têm precedência."},
    {"set", CliCommand::Set, 2, 1000, "set ALVO NOME=VALOR...",
     "Muda campos pelo nome, como o operador nos controles do formulário, na ordem\n"
     "dada: ALVO é um arquivo (.cfg, texto ou JSON, salvo no mesmo formato) ou reader\n"
     "(gravado e lido de volta). NOME é a chave do campo (baudCode) ou Grupo/Rótulo;\n"
     "VALOR a palavra do formulário (9600, Ímpar, TAB, sim) ou o número. Um campo\n"
     "que o formulário mantém desabilitado é recusado, a menos que um NOME anterior o\n"
     "habilite. Exemplo: velorix-cli set loja.cfg cdcInterface=Serial baudCode=9600"},
    {"convert", CliCommand::Convert, 1, 1, "convert ENTRADA -o SAÍDA",
     "Converte uma configuração (.cfg, texto, JSON ou reader) no formato que a\n"
     "extensão de SAÍDA pede: .cfg, .json, ou texto. Exemplo:\n"
     "velorix-cli convert posto.txt -o posto.cfg"},
    {"list", CliCommand::List, 0, 0, "list",
     "Lista os leitores conectados, por HID e por porta CDC (ttyACM): ligação, caminho,\n"
     "porta USB, modo, número de série e versão do firmware de cada um."},
};

struct OptionSpec
{
    QStringList names;
    const char *valueName; // null: a switch
    const char *description;
    QList<CliCommand> commands; // empty: every command
};

const QList<CliCommand> readerCommands = {
    CliCommand::Read,     CliCommand::Write, CliCommand::Apply,  CliCommand::Serial,
    CliCommand::Firmware, CliCommand::Info,  CliCommand::Show,   CliCommand::Diff,
    CliCommand::Watch,    CliCommand::Set,   CliCommand::Convert};

// The commands --all runs on every reader.
const QList<CliCommand> allReadersCommands = {CliCommand::Read, CliCommand::Write,
                                              CliCommand::Apply, CliCommand::Info, CliCommand::Set};

const QList<OptionSpec> &optionSpecs()
{
    static const QList<OptionSpec> specs = {
        {{"p", "port"},
         "PORTA",
         "Porta serial do leitor em modo Serial: COMn (COM65 é /dev/ttyACM0) ou o\n"
         "caminho de um dispositivo tty (/dev/ttyACM0, /dev/pts/3). Sem ela o leitor\n"
         "é procurado por HID (modo Teclado).",
         readerCommands},
        {{"d", "device"},
         "LEITOR",
         "O leitor, entre os conectados (veja list): caminho hidraw, porta USB (1-1.2),\n"
         "caminho tty ou COMn, ou o número de série de seis dígitos. Com mais de um\n"
         "leitor conectado, um comando sem --device nem --all não escolhe nenhum.",
         readerCommands},
        {{"all"},
         nullptr,
         "read -o PASTA, write, apply, info: o comando em cada leitor conectado, um\n"
         "após o outro, e uma linha de resumo (JSON: uma lista); o código de saída é o\n"
         "pior deles. read salva PASTA/<número de série>.cfg.",
         allReadersCommands},
        {{"b", "baud"},
         "BIT/S",
         "Velocidade em que a detecção do leitor começa na porta serial (padrão\n"
         "2400); no watch, a velocidade da linha.",
         readerCommands},
        {{"o", "output"},
         "ARQUIVO",
         "read: salva a configuração neste arquivo; convert: o arquivo que ele escreve.",
         {CliCommand::Read, CliCommand::Convert}},
        {{"check"},
         nullptr,
         "apply, write, set: lê o leitor (ou o arquivo do set) e lista os campos que\n"
         "mudariam, sem gravar nada: código 10 se algo mudaria, 0 se não.",
         {CliCommand::Apply, CliCommand::Write, CliCommand::Set}},
        {{"no-verify"},
         nullptr,
         "write, apply, set: não lê a configuração de volta.",
         {CliCommand::Write, CliCommand::Apply, CliCommand::Set}},
        {{"accept-short"},
         nullptr,
         "write, apply: aceita um arquivo que não tem 28 bytes ou não começa com 0x1A;\n"
         "os bytes que faltam valem zero, como quando a janela o abre.",
         {CliCommand::Write, CliCommand::Apply}},
        {{"parity"}, "n|o|e", "watch: paridade (nenhuma, ímpar, par).", {CliCommand::Watch}},
        {{"data-bits"}, "7|8", "watch: bits de dados.", {CliCommand::Watch}},
        {{"stop-bits"}, "1|2", "watch: stop bits.", {CliCommand::Watch}},
        {{"json"}, nullptr, "Resultado em JSON: um objeto na saída padrão.", {}},
        {{"v", "verbose"},
         nullptr,
         "Cada pedido e cada resposta na saída de erros, em hexadecimal: o tempo desde o\n"
         "início, a ligação (hid, serial), a porta, a velocidade e, na resposta, quanto\n"
         "depois do pedido ela chegou.",
         {}},
        {{"q", "quiet"}, nullptr, "Sem progresso nem avisos na saída de erros: só as falhas.", {}},
        {{"h", "help"}, nullptr, "Mostra esta ajuda.", {}},
        {{"version"}, nullptr, "Mostra a versão.", {}},
    };
    return specs;
}

struct ExitCodeLine
{
    ExitCode code;
    const char *meaning;
};

const ExitCodeLine exitCodeLines[] = {
    {EXIT_OK, "sucesso; apply: o leitor já tinha a configuração (inalterada);\n"
              "diff: configurações iguais"},
    {EXIT_DIFFERENT, "diff: as configurações diferem"},
    {EXIT_USAGE, "uso incorreto: comando, opção, campo ou valor desconhecido, campo que o\n"
                 "formulário mantém desabilitado, perfil com erro (a linha é dita), ou porta\n"
                 "que não existe"},
    {EXIT_NOT_FOUND, "\"Dispositivo não encontrado\" (ou a biblioteca de acesso HID falta)"},
    {EXIT_COMMUNICATION, "\"Erro de comunicação\""},
    {EXIT_CDC_ON_HID, "\"Dispositivo tipo CDC detectado\": leitor em modo Serial na ligação HID"},
    {EXIT_FILE, "arquivo de configuração que não pode ser lido ou gravado"},
    {EXIT_VERIFY_FAILED, "a configuração lida de volta difere da gravada"},
    {EXIT_PORT_UNAVAILABLE, "porta em uso por outro programa, ou sem permissão de acesso"},
    {EXIT_CHANGED, "apply: configuração gravada (alterada); --check: algo mudaria"},
    {EXIT_HUNG_UP, "a sessão do terminal terminou (SIGHUP)"},
    {EXIT_INTERRUPTED, "interrompido (Ctrl+C) enquanto esperava o leitor; watch: 0"},
    {EXIT_TERMINATED, "terminado (SIGTERM), também o watch; a porta é fechada"},
};

const char jsonText[] =
    "Saída JSON (--json): um objeto com \"schema\" (a versão do formato, hoje 1),\n"
    "\"command\", \"ok\", \"exit_code\" e, numa falha,\n"
    "\"error\" (o texto), \"error_code\" (usage, not_found, communication, cdc_on_hid,\n"
    "file, read_back, port_busy, hung_up, terminated) e \"message\" (o número da\n"
    "mensagem da janela, quando há);\n"
    "read, show e info trazem \"config\" ({\"profile\", \"bytes\", \"fields\": [{\"key\",\n"
    "\"group\", \"label\", \"value\", \"raw\"}]}); serial e info \"serial\"; firmware e\n"
    "info \"firmware\"; write e apply \"file\", \"written\", \"verified\" e (apply)\n"
    "\"changed\"; diff \"equal\" e \"differences\": [{\"key\", \"group\", \"label\", \"a\",\n"
    "\"b\"}]; set \"target\", \"differences\" e (reader) \"written\", \"verified\";\n"
    "convert \"file\"; com --check, \"check\", \"would_change\" e \"differences\".\n"
    "list \"readers\": [{\"link\", \"path\", \"usb_port\", \"mode\", \"serial\",\n"
    "\"firmware\"}]. Com --all, uma lista com o objeto de cada leitor, cada um com\n"
    "\"reader\" (como em list). watch escreve um objeto por leitura: {\"bytes\", \"text\"}. Veja\n"
    "velorix-cli(1).\n";

QString indent(const QString &text, int column)
{
    QString out = text;
    out.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(column, QLatin1Char(' ')));
    return out;
}

QString optionSynopsis(const OptionSpec &entry)
{
    QStringList forms;
    for (const QString &name : entry.names)
        forms << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString synopsis = forms.join(QStringLiteral(", "));
    if (entry.valueName)
        synopsis += QLatin1Char(' ') + QString::fromUtf8(entry.valueName);
    return synopsis;
}

const CommandSpec *findCommand(const QString &name)
{
    for (const CommandSpec &entry : commands)
        if (name == QLatin1String(entry.name))
            return &entry;
    return nullptr;
}

// Qt's parser words its errors in English; these are the ones it has.
QString parserError(const QCommandLineParser &parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        QStringList names;
        for (const QString &name : parser.unknownOptionNames())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        return QString::fromUtf8("opção desconhecida: %1").arg(names.join(QStringLiteral(", ")));
    }
    static const QRegularExpression missing(QStringLiteral("Missing value after '(.*)'"));
    static const QRegularExpression unexpected(QStringLiteral("Unexpected value after '(.*)'"));
    const QString error = parser.errorText();
    if (const auto m = missing.match(error); m.hasMatch())
        return QString::fromUtf8("falta o valor da opção %1").arg(m.captured(1));
    if (const auto m = unexpected.match(error); m.hasMatch())
        return QString::fromUtf8("a opção %1 não leva valor").arg(m.captured(1));
    return error;
}

bool parseChoice(const QString &text, const QStringList &allowed, int *value)
{
    if (!allowed.contains(text))
        return false;
    *value = text.toInt();
    return true;
}

bool parseParity(const QString &text, char *parity)
{
    const QString t = text.toLower();
    if (t == QLatin1String("n") || t == QLatin1String("nenhum") || t == QLatin1String("nenhuma"))
        *parity = 'n';
    else if (t == QLatin1String("o") || t == QLatin1String("impar") ||
             t == QString::fromUtf8("ímpar"))
        *parity = 'o';
    else if (t == QLatin1String("e") || t == QLatin1String("par"))
        *parity = 'e';
    else
        return false;
    return true;
}

// Values of the options; an empty result means all are good.
QString readValues(const QCommandLineParser &parser, CliOptions &options)
{
    options.port = parser.value(QStringLiteral("port"));
    options.output = parser.value(QStringLiteral("output"));
    options.device = parser.value(QStringLiteral("device"));
    options.all = parser.isSet(QStringLiteral("all"));
    options.verify = !parser.isSet(QStringLiteral("no-verify"));
    options.acceptShort = parser.isSet(QStringLiteral("accept-short"));
    options.check = parser.isSet(QStringLiteral("check"));
    options.verbose = parser.isSet(QStringLiteral("verbose"));
    options.quiet = parser.isSet(QStringLiteral("quiet"));
    if (options.verbose && options.quiet)
        return QString::fromUtf8("use -v ou -q, não os dois");
    if (parser.isSet(QStringLiteral("baud"))) {
        const QString rate = parser.value(QStringLiteral("baud"));
        if (!formListItems(FormList::BaudRate).contains(rate))
            return QString::fromUtf8("velocidade inválida: %1 (use uma de %2)")
                .arg(rate, formListItems(FormList::BaudRate).join(QStringLiteral(", ")));
        options.baudRate = rate.toInt();
    }
    if (parser.isSet(QStringLiteral("parity")) &&
        !parseParity(parser.value(QStringLiteral("parity")), &options.parity))
        return QString::fromUtf8("paridade inválida: %1 (use n, o ou e)")
            .arg(parser.value(QStringLiteral("parity")));
    if (parser.isSet(QStringLiteral("data-bits")) &&
        !parseChoice(parser.value(QStringLiteral("data-bits")), {"7", "8"}, &options.dataBits))
        return QString::fromUtf8("bits de dados inválidos: %1 (use 7 ou 8)")
            .arg(parser.value(QStringLiteral("data-bits")));
    if (parser.isSet(QStringLiteral("stop-bits")) &&
        !parseChoice(parser.value(QStringLiteral("stop-bits")), {"1", "2"}, &options.stopBits))
        return QString::fromUtf8("stop bits inválidos: %1 (use 1 ou 2)")
            .arg(parser.value(QStringLiteral("stop-bits")));
    return {};
}

// "-": standard input is read once, and standard output carries either the
// configuration or the JSON object.
QString checkStandardStreams(const CliOptions &options)
{
    const QString stream = QStringLiteral("-");
    if (options.arguments.count(stream) > 1)
        return QString::fromUtf8("a entrada padrão (-) só pode ser lida uma vez");
    const bool setOnStream =
        options.command == CliCommand::Set && options.arguments.first() == stream;
    if (options.output == stream || setOnStream) {
        if (options.json)
            return QString::fromUtf8("a saída padrão (-) não se combina com --json");
        if (options.all)
            return QString::fromUtf8("read --all precisa de uma pasta, não da saída padrão (-)");
    }
    return {};
}

QString checkCommand(const QCommandLineParser &parser, CliOptions &options)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return QString::fromUtf8("falta o comando");
    const CommandSpec *entry = findCommand(positional.first());
    if (!entry)
        return QString::fromUtf8("comando desconhecido: %1").arg(positional.first());
    options.command = entry->command;
    options.commandName = QString::fromLatin1(entry->name);
    options.arguments = positional.mid(1);
    const int n = int(options.arguments.size());
    if (n < entry->minArguments || n > entry->maxArguments)
        return QString::fromUtf8("uso: velorix-cli %1").arg(QString::fromUtf8(entry->usage));
    QStringList unfit; // every option that does not serve, named at once
    for (const OptionSpec &option : optionSpecs())
        if (!option.commands.isEmpty() && !option.commands.contains(entry->command) &&
            parser.isSet(option.names.last()))
            unfit << QStringLiteral("--") + option.names.last();
    if (unfit.size() == 1)
        return QString::fromUtf8("a opção %1 não serve ao comando %2")
            .arg(unfit.first(), options.commandName);
    if (!unfit.isEmpty())
        return QString::fromUtf8("as opções %1 não servem ao comando %2")
            .arg(unfit.join(QStringLiteral(", ")), options.commandName);
    if (entry->command == CliCommand::Convert && options.output.isEmpty())
        return QString::fromUtf8("o convert precisa do arquivo de saída: -o SAÍDA");
    if (options.all && (!options.port.isEmpty() || !options.device.isEmpty()))
        return QString::fromUtf8("a opção --all não se combina com --port nem com --device");
    if (options.all && entry->command == CliCommand::Read && options.output.isEmpty())
        return QString::fromUtf8("read --all precisa da pasta dos arquivos: -o PASTA");
    if (!options.port.isEmpty() && !options.device.isEmpty())
        return QString::fromUtf8("use --port ou --device, não os dois");
    if (entry->command == CliCommand::Watch && options.port.isEmpty())
        return QString::fromUtf8("o watch precisa da porta do leitor: --port PORTA");
    return checkStandardStreams(options);
}
} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    for (const OptionSpec &entry : optionSpecs()) {
        QCommandLineOption option(entry.names, QString::fromUtf8(entry.description));
        if (entry.valueName)
            option.setValueName(QString::fromUtf8(entry.valueName));
        parser.addOption(option);
    }
    ParsedCommandLine parsed;
    parsed.options.json = arguments.contains(QStringLiteral("--json"));
    if (!parser.parse(arguments)) {
        parsed.error = parserError(parser);
        return parsed;
    }
    parsed.options.json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("help"))) {
        parsed.outcome = ParsedCommandLine::Help;
        return parsed;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parsed.outcome = ParsedCommandLine::Version;
        return parsed;
    }
    parsed.error = readValues(parser, parsed.options);
    if (parsed.error.isEmpty())
        parsed.error = checkCommand(parser, parsed.options);
    if (parsed.error.isEmpty())
        parsed.outcome = ParsedCommandLine::Run;
    return parsed;
}

QString helpText()
{
    QString text = QString::fromUtf8(
        "Uso: velorix-cli [opções] COMANDO [ARGUMENTOS]\n"
        "Configura leitores Velorix sem janela: o que a janela do Configurador Velorix II\n"
        "oferece, pela ligação HID (padrão) ou por uma porta serial (--port). O progresso\n"
        "(\"Detectando leitor\", \"Concluído\") e as falhas vão para a saída de erros.\n"
        "Um ARQUIVO - é a entrada padrão; -o - a saída padrão.\n\n"
        "Comandos:\n");
    for (const CommandSpec &entry : commands)
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(QString::fromUtf8(entry.usage),
                         indent(QString::fromUtf8(entry.description), 6));
    text += QString::fromUtf8("\nOpções:\n");
    for (const OptionSpec &entry : optionSpecs())
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(optionSynopsis(entry), indent(QString::fromUtf8(entry.description), 6));
    text += QLatin1Char('\n') + QString::fromUtf8(jsonText) +
            QString::fromUtf8("\nCódigos de saída:\n");
    for (const ExitCodeLine &line : exitCodeLines)
        text += QStringLiteral("  %1 %2\n")
                    .arg(int(line.code), -4)
                    .arg(indent(QString::fromUtf8(line.meaning), 7));
    return text;
}
