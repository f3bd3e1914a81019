// appicon OUTDIR: draws the program's icon, a jumpsuit in two colours on a sky
// tile, as jumpsuit-designer.svg and as PNGs of 16 to 256 pixels, and the
// design files' icon, the same suit on a sheet of paper with a folded corner
// (application-x-jumpsuit-design.svg and PNGs). The SVGs and the PNGs come
// from the same shapes below, so they always agree.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Shape {
    const char* fill;
    std::vector<QPointF> points; // on a 256 x 256 grid
};

// The suit, symmetric about x = 128: the upper part (body and arms) and the legs.
const std::vector<Shape> kSuit = {
    {"#1b2a8c",
     {{104, 44},
      {152, 44},
      {188, 60},
      {224, 146},
      {202, 156},
      {172, 98},
      {171, 130},
      {85, 130},
      {84, 98},
      {54, 156},
      {32, 146},
      {68, 60}}},
    {"#e6ba16",
     {{85, 130},
      {171, 130},
      {170, 150},
      {176, 224},
      {146, 224},
      {128, 156},
      {110, 224},
      {80, 224},
      {86, 150}}},
};
constexpr const char* kTile = "#5b8fc8";
constexpr const char* kOutline = "#000018";
constexpr double kTileRadius = 40;
constexpr double kStroke = 7;

// The design file's sheet: a page with its top-right corner folded.
const std::vector<QPointF> kSheet = {{44, 12}, {172, 12}, {216, 56}, {216, 244}, {44, 244}};
const std::vector<QPointF> kFold = {{172, 12}, {172, 56}, {216, 56}};
constexpr const char* kPaper = "#fbfbf8";
constexpr const char* kPaperEdge = "#6a6a6a";
// The suit on the sheet: smaller, in the sheet's lower middle.
constexpr double kSheetSuitScale = 0.62;
constexpr double kSheetSuitLeft = 50;
constexpr double kSheetSuitTop = 70;

std::string pointList(const std::vector<QPointF>& points)
{
    std::string out;
    for (std::size_t i = 0; i < points.size(); ++i)
        out += (i ? " " : "") + std::to_string(static_cast<int>(points[i].x())) + "," +
               std::to_string(static_cast<int>(points[i].y()));
    return out;
}

std::string suitSvg()
{
    std::string out;
    for (const Shape& s : kSuit) {
        out += "  <polygon fill=\"" + std::string(s.fill) + "\" stroke=\"" + kOutline +
               "\" stroke-width=\"7\" stroke-linejoin=\"round\" points=\"" + pointList(s.points) + "\"/>\n";
    }
    out += "  <line x1=\"128\" y1=\"48\" x2=\"128\" y2=\"126\" stroke=\"" + std::string(kOutline) +
           "\" stroke-width=\"5\"/>\n";
    return out;
}

const std::string kSvgHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                             "viewBox=\"0 0 256 256\">\n";

std::string svg()
{
    std::string out = kSvgHead;
    out += "  <rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"40\" fill=\"" + std::string(kTile) +
           "\"/>\n";
    out += suitSvg();
    out += "</svg>\n";
    return out;
}

std::string sheetSvg()
{
    std::string out = kSvgHead;
    out += "  <polygon fill=\"" + std::string(kPaper) + "\" stroke=\"" + kPaperEdge +
           "\" stroke-width=\"6\" stroke-linejoin=\"round\" points=\"" + pointList(kSheet) + "\"/>\n";
    out += "  <polygon fill=\"#d8d8d2\" stroke=\"" + std::string(kPaperEdge) +
           "\" stroke-width=\"6\" stroke-linejoin=\"round\" points=\"" + pointList(kFold) + "\"/>\n";
    out += "  <g transform=\"translate(" + std::to_string(static_cast<int>(kSheetSuitLeft)) + " " +
           std::to_string(static_cast<int>(kSheetSuitTop)) + ") scale(" + std::to_string(kSheetSuitScale) +
           ")\">\n";
    out += suitSvg();
    out += "  </g>\n</svg>\n";
    return out;
}

void drawSuit(QPainter& p)
{
    QPen outline(QColor(QString::fromLatin1(kOutline)), kStroke);
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    for (const Shape& s : kSuit) {
        p.setBrush(QColor(QString::fromLatin1(s.fill)));
        p.drawPolygon(QPolygonF(QList<QPointF>(s.points.begin(), s.points.end())));
    }
    outline.setWidthF(5);
    p.setPen(outline);
    p.drawLine(QPointF(128, 48), QPointF(128, 126));
}

// A transparent size x size picture with draw(painter) run on the icon's
// 256-unit canvas, smoothed.
template <typename Draw> QImage iconPicture(int size, Draw draw)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    draw(p);
    return image;
}

QImage png(int size)
{
    return iconPicture(size, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(QString::fromLatin1(kTile)));
        p.drawRoundedRect(QRectF(8, 8, 240, 240), kTileRadius, kTileRadius);
        drawSuit(p);
    });
}

// The design files' icon: the suit on a sheet of paper with a folded corner.
void drawSheet(QPainter& p)
{
    QPen edge(QColor(QString::fromLatin1(kPaperEdge)), 6);
    edge.setJoinStyle(Qt::RoundJoin);
    p.setPen(edge);
    p.setBrush(QColor(QString::fromLatin1(kPaper)));
    p.drawPolygon(QPolygonF(QList<QPointF>(kSheet.begin(), kSheet.end())));
    p.setBrush(QColor(0xd8, 0xd8, 0xd2));
    p.drawPolygon(QPolygonF(QList<QPointF>(kFold.begin(), kFold.end())));
    p.translate(kSheetSuitLeft, kSheetSuitTop);
    p.scale(kSheetSuitScale, kSheetSuitScale);
    drawSuit(p);
}

QImage sheetPng(int size)
{
    return iconPicture(size, drawSheet);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: appicon OUTDIR\n", stderr);
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    std::ofstream out((dir + QStringLiteral("/jumpsuit-designer.svg")).toStdString(), std::ios::trunc);
    out << svg();
    bool ok = static_cast<bool>(out);
    std::ofstream sheet((dir + QStringLiteral("/application-x-jumpsuit-design.svg")).toStdString(),
                        std::ios::trunc);
    sheet << sheetSvg();
    ok = static_cast<bool>(sheet) && ok;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        ok = png(size).save(dir + QStringLiteral("/jumpsuit-designer-%1.png").arg(size)) && ok;
        ok = sheetPng(size).save(dir + QStringLiteral("/application-x-jumpsuit-design-%1.png").arg(size)) &&
             ok;
    }
    if (!ok)
        std::fputs("appicon: cannot write the icons\n", stderr);
    return ok ? 0 : 1;
}
