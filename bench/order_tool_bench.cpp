// jumpsuit-order as a dealer's shell runs it: whole processes with no
// environment. A thumbnail against the floor (a process that only loads the
// same drawing and writes it as PNG), and the JSON summary of 10,000 files,
// with and without order details.
#include "catalogue/catalogue.h"
#include "files/order_block.h"
#include "files/record.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

// Runs a program with an empty environment, stdout to `out` (or /dev/null);
// its exit status, or -1 when it did not exit normally.
int runProcess(const std::vector<std::string>& args, const std::string& out = "/dev/null")
{
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    char* envp[] = {nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

QByteArray record(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes += static_cast<char>(v & 0xff);
        bytes += static_cast<char>((v >> 8) & 0xff);
    }
    return bytes;
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Brisa with all 20 areas coloured: the most a thumbnail paints.
std::string brisaDesign()
{
    const QString path = folder().filePath(QStringLiteral("all.brr"));
    if (!QFile::exists(path)) {
        QByteArray bytes;
        for (int k = 0; k < 20; ++k)
            bytes += record({k % 14, k % 2 == 0 ? cat::kPolycotton : cat::kAcrylic});
        writeFile(path, bytes);
    }
    return path.toStdString();
}

// The thumbnail and the floor in turns, so both see the same machine; the
// iteration time is the thumbnail's, the counters give both and their ratio.
void BM_ThumbnailAgainstFloor(benchmark::State& state)
{
    const std::string design = brisaDesign();
    const std::string out = folder().filePath(QStringLiteral("thumbnail.png")).toStdString();
    const std::string floorOut = folder().filePath(QStringLiteral("floor.png")).toStdString();
    const std::string brisaBitmap = std::to_string(cat::kModels[cat::kBrisa].pictureId);
    using Clock = std::chrono::steady_clock;
    Clock::duration thumbnailTime{};
    Clock::duration floorTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const int floorStatus = runProcess({PNG_FLOOR, brisaBitmap, floorOut});
        const auto middle = Clock::now();
        const int thumbnailStatus = runProcess({ORDER_TOOL, "thumbnail", design, out});
        const auto end = Clock::now();
        if (floorStatus != 0 || thumbnailStatus != 0) {
            state.SkipWithError("a process failed");
            return;
        }
        floorTime += middle - start;
        thumbnailTime += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = std::chrono::duration<double, std::milli>(floorTime).count() / runs;
    state.counters["thumbnail_ms"] = std::chrono::duration<double, std::milli>(thumbnailTime).count() / runs;
    state.counters["x_floor"] =
        std::chrono::duration<double>(thumbnailTime) / std::chrono::duration<double>(floorTime);

    // The thumbnail is a 256-pixel picture of the suit with its first area
    // painted Purple; the floor is the whole drawing.
    const QImage picture(QString::fromStdString(out));
    const QRgb purple = qRgb(100, 22, 139);
    int painted = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            painted += picture.pixel(x, y) == purple;
    if (picture.height() != 256 || painted < 100)
        state.SkipWithError("the thumbnail is not the painted suit");
    const QImage drawing(QString::fromStdString(floorOut));
    if (drawing.width() != cat::kModels[cat::kBrisa].pictureWidth ||
        drawing.height() != cat::kModels[cat::kBrisa].pictureHeight)
        state.SkipWithError("the floor wrote no drawing");
}
BENCHMARK(BM_ThumbnailAgainstFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(5);

// The order details of design number i: every field given.
QByteArray orderBlockOf(int i)
{
    state::OrderDetails order;
    order.orderNumber = "A-" + std::to_string(i);
    order.orderDate = "2026-12-09";
    order.deliveryDate = "2027-02-28";
    order.quantity = 1 + i % 3;
    order.customer = {"Customer " + std::to_string(i), "Street 5\nTown", "+49 89 1234", "c@example.org"};
    order.dealer = {"Sky Shop", "1 Drop Zone Road\nEloy, AZ 85131", "+1 520 555 0100", "shop@example.com"};
    order.size = "ML";
    order.units = state::Units::Metric;
    for (int k = 0; k < state::kMeasureCount; ++k)
        order.measurements[static_cast<std::size_t>(k)] = 40 + k + i % 10;
    order.shoeSize = "42";
    order.notes = "Zip on the left, logo on the back, name tape on the chest.";
    return files::orderBlock(order).value_or(QByteArray());
}

// 10,000 random designs of every model, made once; with `orders` each has
// every order detail.
const std::vector<std::string>& tenThousandDesigns(bool orders = false)
{
    static std::vector<std::string> plain;
    static std::vector<std::string> withOrders;
    std::vector<std::string>& paths = orders ? withOrders : plain;
    if (!paths.empty())
        return paths;
    const QString sub = orders ? QStringLiteral("orders") : QStringLiteral("many");
    QDir().mkpath(folder().filePath(sub));
    std::mt19937 random(10000);
    for (int i = 0; i < 10000; ++i) {
        const int m = i % cat::kModelCount;
        QByteArray bytes;
        for (int w = 0; w < files::recordWords(m); ++w)
            bytes += record({w % 2 == 0 ? static_cast<int>(random() % 15) : static_cast<int>(random() % 3)});
        if (orders)
            bytes += orderBlockOf(i);
        const QString path = folder().filePath(
            QStringLiteral("%1/%2%3").arg(sub).arg(i).arg(cat::kModels[m].extension.data()));
        writeFile(path, bytes);
        paths.push_back(path.toStdString());
    }
    return paths;
}

// Times `summary --json` over the ten thousand designs; the JSON it wrote last,
// or nothing when the tool failed (the benchmark is then marked failed).
QByteArray summariseTenThousand(benchmark::State& state, bool orders, const QString& outName)
{
    std::vector<std::string> args = {ORDER_TOOL, "summary", "--json"};
    const std::vector<std::string>& designs = tenThousandDesigns(orders);
    args.insert(args.end(), designs.begin(), designs.end());
    const std::string out = folder().filePath(outName).toStdString();
    for (auto _ : state) {
        if (runProcess(args, out) != 0) {
            state.SkipWithError("jumpsuit-order summary failed");
            return {};
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(designs.size()));
    QFile json(QString::fromStdString(out));
    return json.open(QIODevice::ReadOnly) ? json.readAll() : QByteArray();
}

void BM_SummaryJson10000Files(benchmark::State& state)
{
    const QByteArray text = summariseTenThousand(state, false, QStringLiteral("summary.json"));
    if (text.isEmpty())
        return;
    const QJsonArray summaries = QJsonDocument::fromJson(text).array();
    qsizetype lines = 0;
    for (const QJsonValue summary : summaries) {
        if (summary.toObject().contains(QLatin1String("file")))
            lines += summary.toObject().value(QLatin1String("areas")).toArray().size();
    }
    if (summaries.size() != 10000 || lines < 80000)
        state.SkipWithError("the summary is not 10,000 designs");
}
BENCHMARK(BM_SummaryJson10000Files)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_SummaryJson10000FilesWithOrders(benchmark::State& state)
{
    const QByteArray text = summariseTenThousand(state, true, QStringLiteral("orders.json"));
    if (text.isEmpty())
        return;
    if (text.count("\"file\":") != 10000 || text.count("\"order\":{") != 10000 ||
        text.count("\"customer\":{\"address\":\"Street 5\\nTown\"") != 10000)
        state.SkipWithError("the summary is not 10,000 designs with their orders");
}
BENCHMARK(BM_SummaryJson10000FilesWithOrders)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

BENCHMARK_MAIN();
