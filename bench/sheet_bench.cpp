// The order sheet of a Brisa design with all 20 areas coloured, written to a
// file as PDF (and as PNG beside it): from the design to the committed file.
#include "catalogue/catalogue.h"
#include "render/order_sheet.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

render::OrderSheet allAreasColoured()
{
    render::OrderSheet sheet;
    sheet.model = cat::kBrisa;
    constexpr int kFabricsUsed[] = {cat::kCottonFelt, cat::kPolycotton, cat::kAcrylic, cat::kNylon};
    for (int k = 0; k < 20; ++k) {
        const auto i = static_cast<std::size_t>(k);
        sheet.design.areaFabric[i] = static_cast<std::int16_t>(kFabricsUsed[k % 4]);
        sheet.design.areaColour[i] = static_cast<std::int16_t>(k % 10);
    }
    sheet.fileName = QStringLiteral("all.brr");
    sheet.date = QDate(2026, 12, 9);
    return sheet;
}

// A sheet that was really written: one page (PDF) or the page's picture
// (PNG), with the drawing in it, not a stub.
bool written(const QString& path, bool png)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (png)
        return bytes.startsWith("\x89PNG") && bytes.size() > 50 * 1024;
    const auto pages =
        QRegularExpression(QStringLiteral("/Type /Page\\b")).globalMatch(QString::fromLatin1(bytes));
    int count = 0;
    for (auto it = pages; it.hasNext(); it.next())
        ++count;
    return bytes.startsWith("%PDF") && bytes.contains("/Count 1") && count == 1 &&
           bytes.contains("/Subtype /Image") && bytes.size() > 20 * 1024;
}

void writeSheet(benchmark::State& state, const char* name)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool png = path.endsWith(QLatin1String(".png"));
    const render::OrderSheet sheet = allAreasColoured();
    for (auto _ : state) {
        if (!render::writeOrderSheet(path, sheet, QPageSize::A4)) {
            state.SkipWithError("the sheet was not written");
            return;
        }
    }
    if (!written(path, png))
        state.SkipWithError("the file is not a one-page sheet with its drawing");
    state.counters["bytes"] = static_cast<double>(QFile(path).size());
}

void BM_OrderSheetPdf(benchmark::State& state)
{
    writeSheet(state, "all.pdf");
}
BENCHMARK(BM_OrderSheetPdf)->Unit(benchmark::kMillisecond);

void BM_OrderSheetPng(benchmark::State& state)
{
    writeSheet(state, "all.png");
}
BENCHMARK(BM_OrderSheetPng)->Unit(benchmark::kMillisecond);

} // namespace
