#include "cli/order_tool.h"

#include "catalogue/models.h"
#include "files/opened_design.h"
#include "files/output.h"
#include "files/platform.h"
#include "files/record.h"
#include "order/summary.h"
#include "render/drawing.h"
#include "render/order_sheet.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

namespace {

constexpr int kDefaultThumbnail = 256;
// Large enough for any file manager's biggest thumbnails, small enough that a
// typing slip cannot ask for gigabytes.
constexpr int kMaxThumbnail = 4096;

const char* const kUsage = "Usage: jumpsuit-order summary [--json | --csv] FILE...\n"
                           "       jumpsuit-order sheet FILE -o OUT [--paper a4|letter]\n"
                           "       jumpsuit-order thumbnail FILE OUT [SIZE]\n"
                           "       jumpsuit-order --help | --version\n";

const char* const kHelp = "\n"
                          "Reads the design files of the Orlensuit Jumpsuit Designer. The extension\n"
                          "names the suit model, letter case ignored: .olr Orlensuit, .vtr Vantor,\n"
                          ".kmr Kiro (Male), .kfr Kiro (Female), .dmr Delma (Male), .dfr Delma (Female),\n"
                          ".brr Brisa, .lur Lumen. Each file is read as the designer's Open reads it.\n"
                          "\n"
                          "  summary    every area of each file with the line the designer's colour\n"
                          "             list shows for it, then the order details; --json writes one\n"
                          "             JSON array, one object per file (the details as \"order\");\n"
                          "             --csv writes one line per area for a spreadsheet\n"
                          "  sheet      the order sheet, as PDF, or as PNG when OUT ends in .png;\n"
                          "             the paper follows the locale unless --paper chooses it\n"
                          "  thumbnail  the painted suit (both views) as a PNG of at most SIZE x SIZE\n"
                          "             pixels (default 256)\n"
                          "\n"
                          "Needs no display. Exit status: 0 when every file was read, 1 when a file\n"
                          "could not be read or written, 2 for a usage error.\n";

// A usage error: says so on stderr and gives the status for it.
int usage(const QString& message)
{
    std::fprintf(stderr, "jumpsuit-order: %s\n%sTry 'jumpsuit-order --help' for more.\n",
                 message.toLocal8Bit().constData(), kUsage);
    return 2;
}

void complain(const QString& file, const QString& reason)
{
    std::fprintf(stderr, "jumpsuit-order: %s: %s\n", shownName(file).constData(),
                 reason.toLocal8Bit().constData());
}

// Everything on stdout reached it, or the status says it did not (a full disk,
// a closed pipe).
int finishOutput(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "jumpsuit-order: write error: %s\n", std::strerror(errno));
        return std::max(status, 1);
    }
    return status;
}

void put(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// "#rrggbb"
QString rgbText(cat::Colour colour)
{
    char rgb[8];
    std::snprintf(rgb, sizeof rgb, "#%02x%02x%02x", cat::red(colour), cat::green(colour), cat::blue(colour));
    return QString::fromLatin1(rgb);
}

// The model a file's extension names, and its design as Open shows it.
struct ReadDesign {
    int model = -1;
    files::OpenedDesign opened;
    QString error;
};

QString modelExtensions()
{
    QStringList extensions;
    for (const cat::SuitModel& model : cat::kModels)
        extensions << QString::fromUtf8(model.extension.data(),
                                        static_cast<qsizetype>(model.extension.size()));
    return extensions.join(QStringLiteral(", "));
}

ReadDesign readDesign(const QString& file)
{
    ReadDesign read;
    const QFileInfo info(file);
    // The extension first: it needs no look at the disk, and a folder of
    // designs is read at the speed of one open per file.
    read.model = cat::modelForExtension(info.suffix().toStdString());
    if (read.model >= 0) {
        const files::FileResult result = files::openDesign(read.model, file, read.opened);
        if (result)
            return read;
        read.error = result.reason;
    }
    // Why it failed, in the words that fit best.
    const files::platform::Status status = files::platform::status(file);
    if (!status.found()) {
        if (status.error != ENOENT) {
            if (read.error.isEmpty())
                read.error = files::errorInWords(status.error);
            return read;
        }
        read.error = files::platform::linkStatus(file).kind == files::platform::Kind::Link
                         ? QStringLiteral("The link points at no file")
                         : QStringLiteral("No such file or directory");
    } else if (status.kind == files::platform::Kind::Folder) {
        read.error = QStringLiteral("Is a folder, not a design file");
    } else if (read.model < 0) {
        read.error = (info.suffix().isEmpty()
                          ? QStringLiteral("No extension")
                          : QStringLiteral("The extension .%1 belongs to no suit model").arg(info.suffix())) +
                     QStringLiteral(" (design files end in ") + modelExtensions() + u')';
    } else if (status.kind == files::platform::Kind::File && status.size < files::recordBytes(read.model)) {
        // Say what a short file lacks: the extension promised a whole record.
        const QString caption = text(cat::kModels[read.model].caption);
        const bool vowel = QStringLiteral("AEIOU").contains(caption.front());
        read.error = QStringLiteral("The file holds %1 bytes, less than the %2 bytes of %3 %4 design")
                         .arg(status.size)
                         .arg(files::recordBytes(read.model))
                         .arg(vowel ? QStringLiteral("an") : QStringLiteral("a"), caption);
    }
    return read;
}

} // namespace

FileSummary summarise(const QString& file)
{
    FileSummary summary;
    summary.file = file;
    ReadDesign read = readDesign(file);
    summary.model = read.model;
    summary.error = read.error;
    if (!summary.ok())
        return summary;

    const int m = read.model;
    const state::ModelDesign& design = read.opened.design;
    for (const order::OrderRow& row : order::rows(m, design)) {
        const auto s = static_cast<std::size_t>(row.slot);
        AreaLine& area = summary.areas.emplace_back();
        area.slot = row.slot;
        area.back = row.back;
        area.area = row.area;
        area.line = row.line();
        area.colourIndex = design.areaColour[s];
        if (row.slot != cat::tapeSlot(m))
            area.fabricIndex = design.areaFabric[s];
        area.colour = row.cell;
        if (row.cell != nullptr) {
            area.fabric = row.fabric;
            area.code = row.code;
        }
    }
    summary.order = design.order;
    return summary;
}

namespace {

// Everything of a file's summary but its areas.
QJsonObject jsonHead(const FileSummary& summary)
{
    QJsonObject object;
    object.insert(QLatin1String("file"), summary.file);
    if (!summary.ok()) {
        object.insert(QLatin1String("error"), summary.error);
        return object;
    }
    object.insert(QLatin1String("model"), text(cat::kModels[summary.model].caption));
    object.insert(QLatin1String("modelIndex"), summary.model);
    return object;
}

QJsonObject jsonOf(const AreaLine& area)
{
    QJsonObject row;
    row.insert(QLatin1String("slot"), area.slot);
    row.insert(QLatin1String("area"), text(area.area));
    row.insert(QLatin1String("view"), area.back ? QLatin1String("back") : QLatin1String("front"));
    row.insert(QLatin1String("line"), text(area.line));
    const bool coloured = area.colour != nullptr;
    row.insert(QLatin1String("colour"), coloured ? QJsonValue(text(area.colour->name)) : QJsonValue());
    row.insert(QLatin1String("rgb"), coloured ? QJsonValue(rgbText(area.colour->value)) : QJsonValue());
    row.insert(QLatin1String("fabric"), coloured ? QJsonValue(text(area.fabric)) : QJsonValue());
    row.insert(QLatin1String("code"), coloured ? QJsonValue(text(area.code)) : QJsonValue());
    row.insert(QLatin1String("colourIndex"), area.colourIndex);
    row.insert(QLatin1String("fabricIndex"), area.fabricIndex ? QJsonValue(*area.fabricIndex) : QJsonValue());
    return row;
}

} // namespace

QJsonObject jsonOf(const FileSummary& summary)
{
    QJsonObject object = jsonHead(summary);
    if (!summary.ok())
        return object;
    QJsonArray areas;
    for (const AreaLine& area : summary.areas)
        areas.append(jsonOf(area));
    object.insert(QLatin1String("areas"), areas);
    // The details as the file stores them, keys this tool does not know included.
    if (!summary.order.stored.empty())
        object.insert(QLatin1String("order"),
                      QJsonDocument::fromJson(QByteArray::fromStdString(summary.order.stored)).object());
    return object;
}

QByteArray CompactJson::of(const FileSummary& summary)
{
    QByteArray head = QJsonDocument(jsonHead(summary)).toJson(QJsonDocument::Compact);
    if (!summary.ok())
        return head;
    // QJsonDocument orders keys by name, "areas" first: the rows, then the
    // rest of the head after its opening brace.
    QByteArray out = "{\"areas\":[";
    bool first = true;
    for (const AreaLine& area : summary.areas) {
        std::string key = std::to_string(summary.model) + ' ' + std::to_string(area.slot) + ' ' +
                          std::to_string(area.colourIndex) + ' ' +
                          (area.fabricIndex ? std::to_string(*area.fabricIndex) : std::string("-")) + ' ' +
                          (area.colour != nullptr ? "c " : "- ") + area.code + '\x1f' + area.line;
        auto row = m_rows.find(key);
        if (row == m_rows.end()) {
            QByteArray written = QJsonDocument(jsonOf(area)).toJson(QJsonDocument::Compact);
            row = m_rows.emplace(std::move(key), std::move(written)).first;
        }
        if (!first)
            out += ',';
        first = false;
        out += row->second;
    }
    out += "],";
    out += QByteArrayView(head).sliced(1);
    // The details as the file stores them (keys this tool does not know
    // included), last as their key sorts.
    if (!summary.order.stored.empty()) {
        out.chop(1);
        out += ",\"order\":";
        const QByteArray stored = QByteArray::fromStdString(summary.order.stored);
        // Another program's layout is made compact: one object a line.
        out += stored.contains('\n') || stored.contains('\r')
                   ? QJsonDocument::fromJson(stored).toJson(QJsonDocument::Compact)
                   : stored;
        out += '}';
    }
    return out;
}

namespace {

void appendLine(std::string& out, std::string_view label, const std::string& value)
{
    if (value.empty())
        return;
    out += "    ";
    out += label;
    out += ": ";
    // Lines of an address or of the notes, indented under the first.
    for (const char c : value) {
        out += c;
        if (c == '\n')
            out += "      ";
    }
    out += '\n';
}

void appendParty(std::string& out, std::string_view who, const state::OrderParty& party)
{
    const std::string prefix(who);
    appendLine(out, prefix, party.name);
    appendLine(out, prefix + " address", party.address);
    appendLine(out, prefix + " phone", party.phone);
    appendLine(out, prefix + " e-mail", party.email);
}

// A field as RFC 4180 wants it; one that a spreadsheet would run as a
// formula (=, +, -, @ first) is given a leading apostrophe so it stays text.
void appendCsvField(std::string& out, std::string_view text)
{
    std::string field;
    if (!text.empty() && (text.front() == '=' || text.front() == '+' || text.front() == '-' ||
                          text.front() == '@' || text.front() == '\t' || text.front() == '\r'))
        field += '\'';
    field += text;
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

void appendOrderText(std::string& out, const state::OrderDetails& order)
{
    if (order.empty())
        return;
    out += "  Order details:\n";
    appendLine(out, "Order number", order.orderNumber);
    appendLine(out, "Order date", order.orderDate);
    appendLine(out, "Delivery date", order.deliveryDate);
    if (order.quantity)
        appendLine(out, "Quantity", std::to_string(*order.quantity));
    appendParty(out, "Customer", order.customer);
    appendParty(out, "Dealer", order.dealer);
    appendLine(out, "Size", order.size);
    const state::Units units = order.units.value_or(state::Units::Metric);
    for (int i = 0; i < state::kMeasureCount; ++i) {
        const auto which = static_cast<state::Measure>(i);
        if (const std::optional<double> value = order.measurement(which))
            appendLine(out, state::kMeasures[static_cast<std::size_t>(i)].label,
                       state::formatMeasure(*value) + ' ' + std::string(state::unitName(which, units)));
    }
    appendLine(out, "Shoe size", order.shoeSize);
    appendLine(out, "Notes", order.notes);
}

void appendCsv(std::string& out, const FileSummary& summary)
{
    const QByteArray file = summary.file.toUtf8();
    for (const AreaLine& area : summary.areas) {
        appendCsvField(out, std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
        out += ',';
        appendCsvField(out, cat::kModels[summary.model].caption);
        out += ',';
        appendCsvField(out, summary.order.orderNumber);
        out += ',';
        appendCsvField(out, summary.order.customer.name);
        out += ',';
        appendCsvField(out, area.area);
        out += area.back ? ",back," : ",front,";
        if (area.colour != nullptr) {
            appendCsvField(out, area.colour->name);
            char rgb[8];
            std::snprintf(rgb, sizeof rgb, "#%02X%02X%02X", cat::red(area.colour->value),
                          cat::green(area.colour->value), cat::blue(area.colour->value));
            out += ',';
            out += rgb;
            out += ',';
            appendCsvField(out, area.fabric);
            out += ',';
            appendCsvField(out, area.code);
        } else {
            out += ",,,";
        }
        out += "\r\n";
    }
}

QByteArray shownName(const QString& file)
{
    if (!files::platform::hasUndecodedBytes(file))
        return file.toLocal8Bit();
    // As ls and the shell quote a name that is no text: $'bad\xff.olr'.
    const QString& decoded = file;
    QByteArray shown = "$'";
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const char16_t c = decoded[i].unicode();
        if (c >= 0xDC80 && c <= 0xDCFF) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(c - 0xDC00));
            shown += escaped;
        } else if (c == u'\'' || c == u'\\') {
            shown += '\\';
            shown += static_cast<char>(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < decoded.size()) {
            shown += QStringView(decoded).mid(i, 2).toUtf8();
            ++i;
        } else {
            shown += QStringView(decoded).mid(i, 1).toUtf8();
        }
    }
    shown += '\'';
    return shown;
}

void appendText(std::string& out, const FileSummary& summary)
{
    out += shownName(summary.file).toStdString();
    out += ": ";
    out += cat::kModels[summary.model].caption;
    out += '\n';
    const bool twoViews = summary.model == cat::kBrisa;
    for (const AreaLine& area : summary.areas) {
        out += "  ";
        out += area.area;
        if (twoViews)
            out += area.back ? " (back)" : " (front)";
        out += ':';
        if (!area.line.empty()) {
            out += ' ';
            out += area.line;
        }
        out += '\n';
    }
    appendOrderText(out, summary.order);
}

QImage thumbnailOf(const QImage& drawing, int size)
{
    if (drawing.isNull() || size < 1)
        return {};
    const int width = drawing.width();
    const int height = drawing.height();
    const int longest = std::max(width, height);
    QSize target = QSize(width, height).scaled(size, size, Qt::KeepAspectRatio);
    target = target.expandedTo(QSize(1, 1));

    // Enlarge by the next whole factor, pixel for pixel, so no outline blurs.
    const QImage large = render::enlarged(drawing.convertToFormat(QImage::Format_RGB32),
                                          std::max(1, (size + longest - 1) / longest));
    if (large.size() == target)
        return large;
    return large.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

// A command's arguments, read by one parser for all commands; "--" ends the
// options, so a file may begin with "-".
struct Parsed {
    QString command;
    QStringList positional;
    bool json = false;
    bool csv = false;
    QString output;
    QString paper;
    QString error;
};

QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

Parsed parse(const QStringList& args, bool& help, bool& version)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("OUT"));
    const QCommandLineOption paper(QStringLiteral("paper"), QString(), QStringLiteral("SIZE"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOptions({json, csv, output, paper, helpOption, versionOption});

    Parsed parsed;
    const bool ok = parser.parse(QStringList{QStringLiteral("jumpsuit-order")} + args);
    help = parser.isSet(helpOption);
    version = parser.isSet(versionOption);
    if (!ok) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            parsed.error = QStringLiteral("unknown option '%1'").arg(dashed(unknown.front()));
        } else {
            parsed.error = parser.errorText();
            if (!parsed.error.isEmpty())
                parsed.error[0] = parsed.error[0].toLower();
            while (parsed.error.endsWith(QLatin1Char('.')))
                parsed.error.chop(1);
        }
        return parsed;
    }
    parsed.positional = parser.positionalArguments();
    if (!parsed.positional.isEmpty())
        parsed.command = parsed.positional.takeFirst();
    // Each command takes its own options only.
    const bool sheet = parsed.command == QStringLiteral("sheet");
    const bool summary = parsed.command == QStringLiteral("summary");
    for (const QString& name : parser.optionNames()) {
        const bool allowed = name == QStringLiteral("h") || name == QStringLiteral("help") ||
                             name == QStringLiteral("version") ||
                             (summary && (name == QStringLiteral("json") || name == QStringLiteral("csv"))) ||
                             (sheet && name != QStringLiteral("json") && name != QStringLiteral("csv"));
        if (!allowed && parsed.error.isEmpty())
            parsed.error = QStringLiteral("unknown option '%1'").arg(dashed(name));
    }
    if (parser.values(output).size() > 1 && parsed.error.isEmpty())
        parsed.error = QStringLiteral("--output given twice");
    if (parser.values(paper).size() > 1 && parsed.error.isEmpty())
        parsed.error = QStringLiteral("--paper given twice");
    parsed.json = parser.isSet(json);
    parsed.csv = parser.isSet(csv);
    parsed.output = parser.value(output);
    if (parser.isSet(paper))
        parsed.paper = parser.value(paper);
    return parsed;
}

int summaryCommand(const Parsed& parsed)
{
    if (parsed.positional.isEmpty())
        return usage(QStringLiteral("summary needs at least one design file"));
    if (parsed.json && parsed.csv)
        return usage(QStringLiteral("--json and --csv cannot be given together"));

    // One object a line, written as each file is read: ten thousand files
    // need no more memory than one.
    int status = 0;
    std::string out;
    CompactJson json;
    if (parsed.json)
        put("[");
    if (parsed.csv)
        put(kCsvHeader);
    bool first = true;
    for (const QString& file : parsed.positional) {
        const FileSummary summary = summarise(file);
        if (!summary.ok()) {
            complain(file, summary.error);
            status = 1;
        }
        out.clear();
        if (parsed.json) {
            out += first ? "\n" : ",\n";
            const QByteArray object = json.of(summary);
            out.append(object.constData(), static_cast<std::size_t>(object.size()));
        } else if (parsed.csv) {
            appendCsv(out, summary);
        } else if (summary.ok()) {
            if (!first)
                out += '\n';
            appendText(out, summary);
        } else {
            continue;
        }
        first = false;
        put(out);
    }
    if (parsed.json)
        put("\n]\n");
    return finishOutput(status);
}

QtMessageHandler qtMessages = nullptr;

void quietAboutRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qtMessages(type, context, message);
}

// The output of sheet: PDF or PNG, by its extension.
bool sheetExtensionKnown(const QString& path)
{
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

// How every output is written: over a file by rename, into a pipe or a
// device as it stands, never over the design it is made from.
files::WriteOptions outputOptions(const QString& source)
{
    files::WriteOptions options;
    options.source = source;
    options.intoDevices = true;
    return options;
}

int sheetCommand(const Parsed& parsed, char* program)
{
    if (parsed.positional.size() != 1)
        return usage(QStringLiteral("sheet takes one design file"));
    if (parsed.output.isEmpty())
        return usage(QStringLiteral("sheet needs -o OUT"));
    if (!sheetExtensionKnown(parsed.output))
        return usage(QStringLiteral("OUT must end in .pdf or .png: %1").arg(parsed.output));
    std::optional<QPageSize::PageSizeId> paper;
    if (!parsed.paper.isNull()) {
        if (parsed.paper.compare(QStringLiteral("a4"), Qt::CaseInsensitive) == 0)
            paper = QPageSize::A4;
        else if (parsed.paper.compare(QStringLiteral("letter"), Qt::CaseInsensitive) == 0)
            paper = QPageSize::Letter;
        else
            return usage(QStringLiteral("--paper is a4 or letter, not '%1'").arg(parsed.paper));
    }

    const QString& file = parsed.positional.front();
    const ReadDesign read = readDesign(file);
    if (!read.error.isEmpty()) {
        complain(file, read.error);
        return 1;
    }

    // The sheet's text needs fonts, so a QGuiApplication; it never needs a
    // display, whatever the environment says. Run with no environment, Qt
    // remarks that it has no runtime folder, which it never uses here.
    qtMessages = qInstallMessageHandler(quietAboutRuntimeFolder);
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* guiArgv[] = {program, platformOption, offscreen, nullptr};
    static int guiArgc = 3;
    QGuiApplication application(guiArgc, guiArgv);

    const render::OrderSheet sheet{read.model, read.opened.design, QFileInfo(file).fileName(),
                                   QDate::currentDate()};
    const QPageSize::PageSizeId pageSize = paper.value_or(render::defaultPaper(QLocale::system()));
    const files::FileResult written =
        render::writeOrderSheet(parsed.output, sheet, pageSize, outputOptions(file));
    if (!written) {
        complain(parsed.output, written.reason);
        return 1;
    }
    return 0;
}

int thumbnailCommand(const Parsed& parsed)
{
    if (parsed.positional.size() < 2 || parsed.positional.size() > 3)
        return usage(QStringLiteral("thumbnail takes FILE OUT [SIZE]"));
    int size = kDefaultThumbnail;
    if (parsed.positional.size() == 3) {
        bool number = false;
        size = parsed.positional[2].toInt(&number);
        if (!number || size < 1 || size > kMaxThumbnail)
            return usage(QStringLiteral("SIZE is a number of pixels from 1 to %1, not '%2'")
                             .arg(kMaxThumbnail)
                             .arg(parsed.positional[2]));
    }

    const QString& file = parsed.positional[0];
    const QString& output = parsed.positional[1];
    const ReadDesign read = readDesign(file);
    if (!read.error.isEmpty()) {
        complain(file, read.error);
        return 1;
    }
    const QImage thumbnail = thumbnailOf(render::paintDesign(read.model, read.opened.design), size);

    // Always PNG, whatever the name: file managers pass names of their own.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(thumbnail)) {
        complain(output, QStringLiteral("The picture could not be made"));
        return 1;
    }
    // Not synced to disk: a thumbnail is made again at will, and waiting for
    // the disk would be most of its time.
    files::WriteOptions options = outputOptions(file);
    options.sync = false;
    if (const files::FileResult written = files::writeFile(output, png, options); !written) {
        complain(output, written.reason);
        return 1;
    }
    return 0;
}

} // namespace

int run(int argc, char* argv[])
{
    // Names are taken byte for byte: one that is no text still opens.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << files::platform::decodeName(argv[i]);
    if (args.isEmpty())
        return usage(QStringLiteral("no command given"));

    bool help = false;
    bool version = false;
    const Parsed parsed = parse(args, help, version);
    if (help || parsed.command == QStringLiteral("help")) {
        put(kUsage);
        put(kHelp);
        return finishOutput(0);
    }
    if (version) {
        put("jumpsuit-order " DESIGNER_VERSION "\n");
        return finishOutput(0);
    }
    if (!parsed.error.isEmpty())
        return usage(parsed.error);
    if (parsed.command == QStringLiteral("summary"))
        return summaryCommand(parsed);
    if (parsed.command == QStringLiteral("sheet"))
        return sheetCommand(parsed, argv[0]);
    if (parsed.command == QStringLiteral("thumbnail"))
        return thumbnailCommand(parsed);
    if (parsed.command.isEmpty())
        return usage(QStringLiteral("no command given"));
    return usage(QStringLiteral("unknown command '%1'").arg(parsed.command));
}

} // namespace cli
