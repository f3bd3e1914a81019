#pragma once

#include "catalogue/fabrics.h"
#include "state/order_details.h"

#include <QImage>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// jumpsuit-order: design files turned into order summaries, order sheets and
// thumbnails from a terminal, with no display and no widgets.
namespace cli {

// One area of a summary, as the designer's colour list shows it after Open.
struct AreaLine {
    int slot = 0;
    std::string_view area;
    bool back = false;                          // one of Brisa's back-view areas
    std::string line;                           // the colour-list line, "" when the area shows no colour
    const cat::PaletteColour* colour = nullptr; // null when the area shows no colour
    std::string_view fabric;                    // the colour's fabric, empty when none
    std::string code;                           // the fabric code the line shows
    std::int16_t colourIndex = 0;               // the stored words, as read
    std::optional<std::int16_t> fabricIndex;    // none for the binding tape: not stored
};

// One file's summary; `error` says why it could not be read.
struct FileSummary {
    QString file; // as given
    int model = -1;
    QString error;
    std::vector<AreaLine> areas;
    state::OrderDetails order; // none when the file holds none
    bool ok() const { return error.isEmpty(); }
};

// Reads a design file, its model chosen by its extension (letter case
// ignored), as the designer's Open reads it.
FileSummary summarise(const QString& file);

// The summary as one JSON object, and as text for people. A file name that
// is no text keeps its bytes: in JSON as lone surrogates ("\udcff" for the
// byte 0xff, as Python's surrogate escapes), in text quoted as the shell
// quotes it ($'bad\xff.olr').
QJsonObject jsonOf(const FileSummary& summary);
void appendText(std::string& out, const FileSummary& summary);
// The summary as one line of JSON, the bytes QJsonDocument writes for
// jsonOf() in compact form. An area row is written once and then reused for
// every file that has the same row (dealers' designs share most colours):
// building JSON objects is most of the time of a summary of many files.
class CompactJson final {
public:
    QByteArray of(const FileSummary& summary);

private:
    std::unordered_map<std::string, QByteArray> m_rows;
};

// A file name as a terminal shows it.
QByteArray shownName(const QString& file);

// The order details for people, after the areas: one "  Label: value" line
// per field given, nothing when there are none.
void appendOrderText(std::string& out, const state::OrderDetails& order);

// One CSV line per area for a spreadsheet (RFC 4180: quoted where needed,
// lines ending in CR LF), under kCsvHeader.
inline constexpr std::string_view kCsvHeader =
    "file,model,order number,customer name,area,view,colour,rgb,fabric,code\r\n";
void appendCsv(std::string& out, const FileSummary& summary);

// The painted drawing scaled to fit size x size, aspect kept: whole-pixel
// nearest-neighbour enlargement keeps the outlines sharp, then a smooth
// reduction fits it.
QImage thumbnailOf(const QImage& drawing, int size);

// The whole tool: arguments in, exit status out (0 done, 1 a file failed,
// 2 a usage error). Results go to stdout, diagnostics to stderr.
int run(int argc, char* argv[]);

} // namespace cli
