#include "cli/order_tool.h"

#include "catalogue/models.h"
#include "files/opened_design.h"
#include "files/record.h"
#include "order/summary.h"
#include "render/drawing.h"
#include "render/order_sheet.h"

#include <QBuffer>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLocale>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

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
    std::fprintf(stderr, "jumpsuit-order: %s: %s\n", file.toLocal8Bit().constData(),
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

void appendJsonString(std::string& out, std::string_view utf8)
{
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

void appendJsonString(std::string& out, const QString& text)
{
    appendJsonString(out, std::string_view(text.toUtf8()));
}

void appendInt(std::string& out, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// "#rrggbb"
void appendRgb(std::string& out, cat::Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", cat::red(colour), cat::green(colour),
                  cat::blue(colour));
    out += '"';
    out += text;
    out += '"';
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
    if (!info.exists()) {
        read.error = info.isSymLink() ? QStringLiteral("The link points at no file")
                                      : QStringLiteral("No such file or directory");
    } else if (info.isDir()) {
        read.error = QStringLiteral("Is a folder, not a design file");
    } else if (read.model < 0) {
        read.error = (info.suffix().isEmpty()
                          ? QStringLiteral("No extension")
                          : QStringLiteral("The extension .%1 belongs to no suit model").arg(info.suffix())) +
                     QStringLiteral(" (design files end in ") + modelExtensions() + u')';
    } else if (info.isFile() && info.size() < files::recordBytes(read.model)) {
        // Say what a short file lacks: the extension promised a whole record.
        read.error = QStringLiteral("The file holds %1 bytes, less than the %2 bytes of a %3 design")
                         .arg(info.size())
                         .arg(files::recordBytes(read.model))
                         .arg(QString::fromUtf8(cat::kModels[read.model].caption.data()));
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
    const design::ModelDesign& design = read.opened.design;
    const cat::SuitModel& model = cat::kModels[m];
    const int front = static_cast<int>(model.areas.size());
    summary.areas.resize(static_cast<std::size_t>(cat::slotCount(m)));
    for (int slot = 0; slot < cat::slotCount(m); ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        AreaLine& area = summary.areas[s];
        area.slot = slot;
        area.back = slot >= front;
        area.area = area.back ? model.backAreas[s - model.areas.size()].name : model.areas[s].name;
        area.line = order::orderLine(design.areaColourName[s], design.areaFabricCode[s]);
        area.colourIndex = design.areaColour[s];
        if (slot != cat::tapeSlot(m))
            area.fabricIndex = design.areaFabric[s];
    }
    summary.order = design.order;
    // The slots the rebuild repaints are the ones that show a colour.
    const design::RebuildPlan& plan = read.opened.plan;
    for (int r = 0; r < plan.count; ++r) {
        const design::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        const auto s = static_cast<std::size_t>(repaint.slot);
        AreaLine& area = summary.areas[s];
        const int fabric =
            repaint.slot == cat::tapeSlot(m) ? static_cast<int>(cat::kTape) : design.areaFabric[s];
        area.colour = cat::paletteColour(fabric, design.areaColour[s]);
        area.fabric = cat::kFabrics[fabric].name;
        area.code = design.areaFabricCode[s];
    }
    return summary;
}

void appendJson(std::string& out, const FileSummary& summary)
{
    out += "{\"file\": ";
    appendJsonString(out, summary.file);
    if (!summary.ok()) {
        out += ", \"error\": ";
        appendJsonString(out, summary.error);
        out += '}';
        return;
    }
    out += ", \"model\": ";
    appendJsonString(out, cat::kModels[summary.model].caption);
    out += ", \"modelIndex\": ";
    appendInt(out, summary.model);
    out += ", \"areas\": [";
    bool first = true;
    for (const AreaLine& area : summary.areas) {
        out += first ? "\n    {\"slot\": " : ",\n    {\"slot\": ";
        first = false;
        appendInt(out, area.slot);
        out += ", \"area\": ";
        appendJsonString(out, area.area);
        out += area.back ? ", \"view\": \"back\", \"line\": " : ", \"view\": \"front\", \"line\": ";
        appendJsonString(out, area.line);
        if (area.colour != nullptr) {
            out += ", \"colour\": ";
            appendJsonString(out, area.colour->name);
            out += ", \"rgb\": ";
            appendRgb(out, area.colour->value);
            out += ", \"fabric\": ";
            appendJsonString(out, area.fabric);
            out += ", \"code\": ";
            appendJsonString(out, area.code);
        } else {
            out += ", \"colour\": null, \"rgb\": null, \"fabric\": null, \"code\": null";
        }
        out += ", \"colourIndex\": ";
        appendInt(out, area.colourIndex);
        out += ", \"fabricIndex\": ";
        if (area.fabricIndex)
            appendInt(out, *area.fabricIndex);
        else
            out += "null";
        out += '}';
    }
    out += "\n  ]";
    // The details as the file stores them, keys this tool does not know included.
    if (!summary.order.stored.empty()) {
        out += ", \"order\": ";
        out += summary.order.stored;
    }
    out += '}';
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

void appendParty(std::string& out, std::string_view who, const design::OrderParty& party)
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

void appendOrderText(std::string& out, const design::OrderDetails& order)
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
    const design::Units units = order.units.value_or(design::Units::Metric);
    for (int i = 0; i < design::kMeasureCount; ++i) {
        const auto which = static_cast<design::Measure>(i);
        if (const std::optional<double> value = order.measurement(which))
            appendLine(out, design::kMeasures[static_cast<std::size_t>(i)].label,
                       design::formatMeasure(*value) + ' ' + std::string(design::unitName(which, units)));
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

void appendText(std::string& out, const FileSummary& summary)
{
    out += summary.file.toLocal8Bit().toStdString();
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
    const int factor = std::max(1, (size + longest - 1) / longest);
    QImage large = drawing.convertToFormat(QImage::Format_RGB32);
    if (factor > 1) {
        QImage enlarged(width * factor, height * factor, QImage::Format_RGB32);
        for (int y = 0; y < enlarged.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(large.constScanLine(y / factor));
            auto* to = reinterpret_cast<QRgb*>(enlarged.scanLine(y));
            for (int x = 0; x < enlarged.width(); ++x)
                to[x] = from[x / factor];
        }
        large = std::move(enlarged);
    }
    if (large.size() == target)
        return large;
    return large.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

// A command's arguments: options (with their values) and the rest, in order.
// "--" ends the options, so a file may begin with "-".
struct Parsed {
    QStringList positional;
    bool json = false;
    bool csv = false;
    QString output;
    QString paper;
    QString error;
};

Parsed parse(const QStringList& args, bool takesOutput, bool takesJson)
{
    Parsed parsed;
    bool options = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!options || arg == QStringLiteral("-") || !arg.startsWith(u'-')) {
            parsed.positional << arg;
            continue;
        }
        if (arg == QStringLiteral("--")) {
            options = false;
            continue;
        }
        // An option with a value: "-o OUT", "-oOUT", "--output OUT", "--output=OUT".
        auto value = [&](const QString& longName, const QString& shortName, QString& into) {
            QString given;
            if (arg == longName || (!shortName.isEmpty() && arg == shortName)) {
                if (i + 1 >= args.size()) {
                    parsed.error = QStringLiteral("%1 needs a value").arg(arg);
                    return true;
                }
                given = args[++i];
            } else if (arg.startsWith(longName + u'=')) {
                given = arg.mid(longName.size() + 1);
            } else if (!shortName.isEmpty() && arg.startsWith(shortName)) {
                given = arg.mid(shortName.size());
            } else {
                return false;
            }
            if (!into.isNull())
                parsed.error = QStringLiteral("%1 given twice").arg(longName);
            into = given;
            return true;
        };
        if (takesJson && arg == QStringLiteral("--json")) {
            parsed.json = true;
        } else if (takesJson && arg == QStringLiteral("--csv")) {
            parsed.csv = true;
        } else if (takesOutput && (value(QStringLiteral("--output"), QStringLiteral("-o"), parsed.output) ||
                                   value(QStringLiteral("--paper"), QString(), parsed.paper))) {
        } else {
            parsed.error = QStringLiteral("unknown option '%1'").arg(arg);
        }
        if (!parsed.error.isEmpty())
            return parsed;
    }
    return parsed;
}

int summaryCommand(const QStringList& args)
{
    const Parsed parsed = parse(args, false, true);
    if (!parsed.error.isEmpty())
        return usage(parsed.error);
    if (parsed.positional.isEmpty())
        return usage(QStringLiteral("summary needs at least one design file"));
    if (parsed.json && parsed.csv)
        return usage(QStringLiteral("--json and --csv cannot be given together"));

    int status = 0;
    std::string out;
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
            out += first ? "\n  " : ",\n  ";
            appendJson(out, summary);
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

// Where an output goes: a link is followed, so the file it points at is
// replaced and the link stays.
QString outputTarget(const QString& output)
{
    const QFileInfo info(output);
    if (!info.isSymLink())
        return output;
    return info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
}

// An output that is there but is no regular file (a pipe, a terminal,
// /dev/stdout, a device; links followed) is written into, never replaced:
// renaming over it would take the device or the pipe away from everybody.
bool writesInto(const QString& output)
{
    const QFileInfo info(output);
    return info.exists() && !info.isFile() && !info.isDir();
}

QString writeInto(const QString& target, const QByteArray& bytes)
{
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    return {};
}

// Writes the bytes beside the output and renames them over it, so a failure
// leaves what was there. Not synced to disk: a thumbnail is made again at
// will, and waiting for the disk would be most of its time. Returns why it
// failed, or nothing.
QString writeReplacing(const QString& output, const QByteArray& bytes)
{
    if (QFileInfo(output).isDir())
        return QStringLiteral("Is a folder");
    if (writesInto(output))
        return writeInto(output, bytes);
    const QString target = outputTarget(output);
    QTemporaryFile temporary(target + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return temporary.errorString();
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        return temporary.errorString();
    // The file replaced keeps its permissions; a new one gets what any new
    // file gets (0666 less the umask), not the temporary file's 0600.
    const QFileInfo old(target);
    if (old.exists()) {
        temporary.setPermissions(old.permissions());
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(temporary.handle(), 0666 & ~mask);
    }
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    temporary.setAutoRemove(false);
    return {};
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

int sheetCommand(const QStringList& args, char* program)
{
    const Parsed parsed = parse(args, true, false);
    if (!parsed.error.isEmpty())
        return usage(parsed.error);
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
    if (!writesInto(parsed.output)) {
        const render::SheetResult written = render::writeOrderSheet(parsed.output, sheet, pageSize);
        if (!written) {
            complain(parsed.output, written.reason);
            return 1;
        }
        return 0;
    }
    // Into a pipe or a device: the sheet is made in a file first, then copied.
    const QTemporaryDir scratch;
    const QString made =
        scratch.filePath(QStringLiteral("sheet.") + QFileInfo(parsed.output).suffix().toLower());
    const render::SheetResult written = render::writeOrderSheet(made, sheet, pageSize);
    QFile madeFile(made);
    QString failed = !scratch.isValid() ? scratch.errorString() : written.reason;
    if (failed.isEmpty())
        failed = madeFile.open(QIODevice::ReadOnly) ? writeInto(parsed.output, madeFile.readAll())
                                                    : madeFile.errorString();
    if (!failed.isEmpty()) {
        complain(parsed.output, failed);
        return 1;
    }
    return 0;
}

int thumbnailCommand(const QStringList& args)
{
    const Parsed parsed = parse(args, false, false);
    if (!parsed.error.isEmpty())
        return usage(parsed.error);
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
    const QString failed = writeReplacing(output, png);
    if (!failed.isEmpty()) {
        complain(output, failed);
        return 1;
    }
    return 0;
}

} // namespace

int run(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage(QStringLiteral("no command given"));

    const qsizetype end = args.indexOf(QStringLiteral("--"));
    const QStringList options = end < 0 ? args : args.mid(0, end);
    if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h")) ||
        args.front() == QStringLiteral("help")) {
        put(kUsage);
        put(kHelp);
        return finishOutput(0);
    }
    if (options.contains(QStringLiteral("--version"))) {
        put("jumpsuit-order " DESIGNER_VERSION "\n");
        return finishOutput(0);
    }

    const QString command = args.front();
    const QStringList rest = args.mid(1);
    if (command == QStringLiteral("summary"))
        return summaryCommand(rest);
    if (command == QStringLiteral("sheet"))
        return sheetCommand(rest, argv[0]);
    if (command == QStringLiteral("thumbnail"))
        return thumbnailCommand(rest);
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace cli
