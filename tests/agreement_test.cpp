// The window, the renderer and the tool agree: the real main window after
// File > Open against render::paintDesign, and jumpsuit-order's JSON and
// thumbnails of the same files against the window's lists, colour keys and
// drawings. Each layer's own behaviour is tested in render_test and
// order_tool_test; here only the agreement is.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "render/drawing.h"
#include "render/qtcolour.h"
#include "support/order_tool_run.h"
#include "support/sheet_rows.h"
#include "support/window_fixture.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QColor>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Pixels that differ, the alpha byte aside.
int differences(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            count += ((x.pixel(col, row) ^ y.pixel(col, row)) & 0xffffffU) != 0 ? 1 : 0;
    return count;
}

class Agreement : public WindowTest {
protected:
    // Opens a file in model m's page as a user does, through File > Open.
    void openInWindow(int m, const QString& file)
    {
        c().tabs->setCurrentTab(m);
        messages.answers = {tk::kNo};
        dialogs.answers.push_back(file);
        command("openMnu");
    }

    // Writes the stored words to a file of model m and opens it on its page.
    void openWords(int m, const state::ModelDesign& stored, const QString& name)
    {
        const QString file = path(name + QString::fromLatin1(cat::kModels[m].extension.data()));
        ASSERT_TRUE(files::writeDesignRecord(m, stored, file));
        dialogs.answers.clear();
        openInWindow(m, file);
        ASSERT_EQ(window->state()[m].filePath, file.toStdString());
    }
};

TEST_F(Agreement, RendererPaintsTheDesignersDrawingAfterOpen)
{
    std::mt19937 random(20261209);
    for (int m = 0; m < cat::kModelCount; ++m) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(testing::Message() << "model " << m << " round " << round);
            const state::ModelDesign stored = storedWords(m, random, round == 2);
            openWords(m, stored, QStringLiteral("drawing"));
            const QImage expected = render::paintDesign(m, stored);
            ASSERT_EQ(expected.format(), QImage::Format_RGB32);
            EXPECT_GT(differences(expected, render::pristineDrawing(m)), 1000)
                << "the design painted nothing";
            EXPECT_EQ(differences(c().drawings[static_cast<std::size_t>(m)]->image(), expected), 0);
            if (m == cat::kBrisa) { // the back view shows the same drawing
                c().backView->click();
                EXPECT_EQ(differences(c().drawings[static_cast<std::size_t>(m)]->image(), expected), 0);
                c().frontView->click();
            }
        }
    }
}

TEST_F(Agreement, TheToolsJsonAndThumbnailsShowWhatTheWindowShows)
{
    std::mt19937 random(20261209);
    const QStringList designs = writeRandomDesigns(QDir(dir.path()), random);
    const ToolRun run = runTool(QStringList{QStringLiteral("summary"), QStringLiteral("--json")} << designs);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray summaries = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(summaries.size(), designs.size());

    for (qsizetype d = 0; d < designs.size(); ++d) {
        const QJsonObject summary = summaries[d].toObject();
        const int m = summary.value("modelIndex").toInt(-1);
        SCOPED_TRACE(designs[d].toStdString());
        ASSERT_EQ(m, static_cast<int>(d / 3));

        openInWindow(m, designs[d]);
        const state::ModelDesign& shown = window->state()[m];
        const QJsonArray areas = summary.value("areas").toArray();
        ASSERT_EQ(areas.size(), cat::slotCount(m));
        const int front = static_cast<int>(cat::kModels[m].areas.size());
        for (int k = 0; k < cat::slotCount(m); ++k) {
            SCOPED_TRACE(k);
            const auto s = static_cast<std::size_t>(k);
            const QJsonObject area = areas[k].toObject();
            const bool back = k >= front;
            const int row = back ? k - front : k;
            const std::size_t list = back ? cat::kBrisaBack : static_cast<std::size_t>(m);
            EXPECT_EQ(area.value("area").toString(), c().areaLists[list]->entry(row));
            // The line is the colour list's, and the words are those Open stored.
            EXPECT_EQ(area.value("line").toString(), c().colourLists[list]->entry(row));
            EXPECT_EQ(area.value("colourIndex").toInt(), shown.areaColour[s]);
            if (k != cat::tapeSlot(m)) {
                EXPECT_EQ(area.value("fabricIndex").toInt(), shown.areaFabric[s]);
            }

            // The colour is the one in the area's colour-key slot; none leaves the slot grey.
            const tk::PictureSurface* key = c().colourKeys[list];
            const cat::Colour inKey = key->pixel(window->state().keyX[static_cast<std::size_t>(row)],
                                                 window->state().keyY[static_cast<std::size_t>(row)]);
            if (area.value("colour").isNull())
                EXPECT_EQ(inKey, cat::kLightGrey);
            else
                EXPECT_EQ(area.value("rgb").toString(), QColor(render::toQRgb(inKey)).name());
        }

        // The thumbnail at the drawing's own size is the window's drawing, pixel for pixel.
        const QImage& drawing = c().drawings[static_cast<std::size_t>(m)]->image();
        const QString exact = path(QStringLiteral("exact%1.png").arg(d));
        const ToolRun thumbnail = runTool({QStringLiteral("thumbnail"), designs[d], exact,
                                           QString::number(std::max(drawing.width(), drawing.height()))});
        ASSERT_EQ(thumbnail.status, 0) << thumbnail.err.toStdString();
        EXPECT_TRUE(QImage(exact).convertToFormat(QImage::Format_RGB32) ==
                    drawing.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(messages.asked.empty());
}

} // namespace
