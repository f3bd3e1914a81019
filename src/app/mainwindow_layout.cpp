// The page layout: every model page carries its own drawing, lists, palette,
// colour key, colour list, information panels and status bar. Positions are
// the design layout in twips (15 to a pixel).
#include "app/mainwindow.h"

#include "catalogue/catalogue.h"
#include "render/qtcolour.h"
#include "toolkit/drawingframe.h"
#include "toolkit/groupframe.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/statuspanel.h"
#include "toolkit/tabstrip.h"
#include "toolkit/textbox.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>

namespace app {

namespace {

using tk::qs;

using tk::px;

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
}

// Height in twips of the area list, colour key and colour list of a page:
// about 243 twips (16 pixels) per area.
int listHeight(int m)
{
    switch (m) {
    case 0: return 1464;
    case 1:
    case 5: return 2184;
    case 6: return 2424;
    default: return 1944;
    }
}

constexpr int kEntryHeight = 16; // one colour-key slot

tk::PictureSurface* keySurface(int index, QWidget* parent)
{
    auto* key = new tk::PictureSurface(
        QStringLiteral("cbbfrontPb"), index,
        index == cat::kBrisaBack ? QStringLiteral("Back colour key") : QStringLiteral("Colour key"), parent);
    key->setBorder(1);
    key->setBackground(cat::kLightGrey);
    return key;
}

// An area list or a colour list; their entries line up with the key's slots.
tk::ListBox* slotList(const QString& name, const QString& accessibleName, int index, QWidget* parent)
{
    auto* list = new tk::ListBox(name, index,
                                 index == cat::kBrisaBack ? QStringLiteral("Back ") + accessibleName.toLower()
                                                          : accessibleName,
                                 parent);
    list->setEntryHeight(kEntryHeight);
    return list;
}

tk::ListBox* areaList(int index, QWidget* parent)
{
    return slotList(QStringLiteral("suitlist"), QStringLiteral("Suit areas"), index, parent);
}

// The colour list is read, not chosen from.
tk::ListBox* colourList(int index, QWidget* parent)
{
    tk::ListBox* list = slotList(QStringLiteral("colordesc"), QStringLiteral("Colour list"), index, parent);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    return list;
}

// Room a native push button leaves between its caption and each side edge.
constexpr int kCaptionPadding = 6;

// The panel buttons are narrow for their captions in most fonts: they share
// the largest font, condensed if need be, in which every caption keeps its
// padding.
QFont captionFont(const std::array<QPushButton*, 3>& buttons)
{
    QFont font = buttons.front()->font();
    auto fits = [&buttons](const QFont& f) {
        const QFontMetrics metrics(f);
        return std::all_of(buttons.begin(), buttons.end(), [&metrics](const QPushButton* b) {
            const QString caption = QString(b->text()).remove(QLatin1Char('&'));
            return metrics.horizontalAdvance(caption) + 2 * (kCaptionPadding + 1) <= b->width();
        });
    };
    if (!fits(font))
        font.setStretch(QFont::SemiCondensed);
    while (!fits(font) && font.pixelSize() > 8)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

} // namespace

QStringList statusTexts()
{
    QStringList texts{qs(cat::kWelcome)};
    for (std::string_view news : cat::kNews)
        texts << qs(news);
    for (std::string_view hint : {cat::kHintKey, cat::kHintColourList, cat::kHintFabricList,
                                  cat::kHintAreaList, cat::kHintPalette, cat::kHintFrame})
        texts << qs(hint);
    return texts;
}

void MainWindow::buildPage(int m)
{
    const auto mi = static_cast<std::size_t>(m);
    const bool brisa = m == cat::kBrisa;
    QWidget* page = m_controls.tabs->page(m);
    // The page paints the window colour, the colour the information panels
    // fill with when they cover the selection controls.
    page->setAutoFillBackground(true);
    PagePanels& p = m_panels[mi];
    design::Controls& c = m_controls;

    // The drawing in its frame; start-up sizes and centres it.
    p.drawingFrame = new tk::DrawingFrame(page);
    tk::nameControl(p.drawingFrame, QStringLiteral("backPB"), m, QStringLiteral("Drawing frame"));
    p.drawingFrame->setAutoFillBackground(true);
    QPalette grey = p.drawingFrame->palette();
    grey.setColor(QPalette::Window, render::toQColor(cat::kLightGrey));
    p.drawingFrame->setPalette(grey);
    place(p.drawingFrame, 180, 240, 4872, 4812);
    c.drawings[mi] =
        new tk::PictureSurface(QStringLiteral("MainPB"), m,
                               qs(cat::kModels[m].caption) + QStringLiteral(" drawing"), p.drawingFrame);
    c.drawings[mi]->setBackground(cat::kLightGrey);

    // The selection controls.
    p.selectionFrame = new tk::GroupFrame(QStringLiteral("Selection"), page);
    tk::nameControl(p.selectionFrame, QStringLiteral("Frame1"), m, QStringLiteral("Selection"));
    place(p.selectionFrame, 5280, 120, 3732, 4332);

    c.fabricLabels[mi] = new QLabel(QStringLiteral("Fabric"), p.selectionFrame);
    tk::nameControl(c.fabricLabels[mi], QStringLiteral("lblfabric"), m, QStringLiteral("Fabric"));
    place(c.fabricLabels[mi], 120, 240, 1572, 252);

    c.fabricLists[mi] =
        new tk::ListBox(QStringLiteral("matlist"), m, QStringLiteral("Fabrics"), p.selectionFrame);
    place(c.fabricLists[mi], 120, 480, 1572, m == 0 ? 984 : 744);
    c.fabricLists[mi]->setEntryHeight(kEntryHeight);

    c.colourLabels[mi] = new QLabel(p.selectionFrame);
    tk::nameControl(c.colourLabels[mi], QStringLiteral("colorlbl"), m,
                    QStringLiteral("Colour under the pointer"));
    place(c.colourLabels[mi], 1920, 240, 1692, 252);

    c.palettes[mi] = new tk::PaletteSurface(QStringLiteral("ol1Pb"), m, QStringLiteral("Colour palette"),
                                            p.selectionFrame);
    c.palettes[mi]->setBackground(cat::kLightGrey);
    c.palettes[mi]->setOuterGeometry(px(1920), px(480), px(1692), px(brisa ? 852 : 1250));

    p.areaHeading = new QLabel(QStringLiteral("Suit Area"), p.selectionFrame);
    tk::nameControl(p.areaHeading, QStringLiteral("Label1"), m, QStringLiteral("Suit Area"));
    place(p.areaHeading, 120, 1560, brisa ? 732 : 1572, 252);

    const int height = listHeight(m);
    c.areaLists[mi] = areaList(m, p.selectionFrame);
    c.colourKeys[mi] = keySurface(m, p.selectionFrame);
    c.colourLists[mi] = colourList(m, p.selectionFrame);
    if (brisa) {
        place(c.areaLists[mi], 120, 1800, 1692, height);
        c.colourKeys[mi]->setOuterGeometry(px(1800), px(1800), px(252), px(height));
        place(c.colourLists[mi], 2040, 1800, 1572, height);
        buildBrisaView(m);
    } else {
        place(c.areaLists[mi], 120, 1800, 1332, height);
        c.colourKeys[mi]->setOuterGeometry(px(1440), px(1800), px(252), px(height));
        place(c.colourLists[mi], 1680, 1800, 1932, height);
    }

    // The information panels cover the selection controls when shown.
    p.infoFrame = new tk::GroupFrame(QStringLiteral("Suit Information"), p.selectionFrame);
    tk::nameControl(p.infoFrame, QStringLiteral("Frminfo"), m, QStringLiteral("Suit Information"));
    p.infoFrame->setAutoFillBackground(true);
    place(p.infoFrame, 0, 0, 3732, 4332);
    p.suitInfoText =
        new tk::TextBox(QStringLiteral("txtinfo"), m, QStringLiteral("Suit information text"), p.infoFrame);
    place(p.suitInfoText, 120, 240, 3492, 3972);

    p.orderFrame = new tk::GroupFrame(QStringLiteral("Ordering Information"), p.infoFrame);
    tk::nameControl(p.orderFrame, QStringLiteral("Frmorder"), m, QStringLiteral("Ordering Information"));
    p.orderFrame->setAutoFillBackground(true);
    place(p.orderFrame, 0, 0, 3732, 4332);
    p.orderInfoText = new tk::TextBox(QStringLiteral("txtorder"), m,
                                      QStringLiteral("Ordering information text"), p.orderFrame);
    if (m == 0)
        place(p.orderInfoText, 120, 300, 3555, 3915);
    else
        place(p.orderInfoText, 120, 240, 3492, 3972);

    // Panel buttons.
    auto button = [page, m](const char* name, const QString& caption, const QString& accessible, int left) {
        auto* b = new QPushButton(caption, page);
        tk::nameControl(b, QString::fromLatin1(name), m, accessible);
        place(b, left, 4680, 1092, 372);
        return b;
    };
    p.selectionButton = button("Command1", QStringLiteral("&Selection"), QStringLiteral("Selection"), 5280);
    p.suitInfoButton = button("Command2", QStringLiteral("S&uit Info"), QStringLiteral("Suit Info"), 6600);
    p.orderInfoButton =
        button("Command3", QStringLiteral("&Ordering Info"), QStringLiteral("Ordering Info"), 7920);
    // Every page has the same buttons: the first page's font fits them all.
    const QFont captions = m == 0 ? captionFont({p.selectionButton, p.suitInfoButton, p.orderInfoButton})
                                  : m_panels[0].selectionButton->font();
    for (QPushButton* b : {p.selectionButton, p.suitInfoButton, p.orderInfoButton})
        b->setFont(captions);

    // Status bar: news and hints on the left, the model heading on the right.
    // The bar starts left of the page and ends short of its right edge, so an
    // outer frame would show cut; only the two panels are framed.
    p.statusBar = new QFrame(page);
    tk::nameControl(p.statusBar, QStringLiteral("SSstatus0"), m, QStringLiteral("Status bar"));
    p.statusBar->setFrameShape(QFrame::NoFrame);
    place(p.statusBar, -24, 5280, 9332, 408);
    auto panel = [&p, m](const char* name, const QString& accessible, int left, int width) {
        auto* l = new tk::StatusPanel(QString::fromLatin1(name), m, accessible, p.statusBar);
        place(l, left, 60, width, 288);
        return l;
    };
    tk::StatusPanel* news = panel("SSstatus1", QStringLiteral("News and hints"), 60, 5252);
    tk::StatusPanel* heading = panel("SSstatus2", QStringLiteral("Model"), 5380, 3912);
    // Every news message and hint shows whole, in one font on every page.
    const QFont status = m == 0 ? tk::StatusPanel::fittingFont(news->font(), statusTexts(), news->textWidth())
                                : m_panels[0].newsPanel->font();
    news->setFont(status);
    heading->setFont(status);
    p.newsPanel = news;
    p.modelPanel = heading;
}

void MainWindow::buildBrisaView(int m)
{
    const auto mi = static_cast<std::size_t>(m);
    design::Controls& c = m_controls;
    QWidget* frame = m_panels[mi].selectionFrame;
    const int height = listHeight(m);

    // The back-view controls share the places of the front-view ones; the
    // back key lies inside the front key and covers it when shown.
    c.areaLists[cat::kBrisaBack] = areaList(cat::kBrisaBack, frame);
    place(c.areaLists[cat::kBrisaBack], 120, 1800, 1692, height);
    c.colourLists[cat::kBrisaBack] = colourList(cat::kBrisaBack, frame);
    place(c.colourLists[cat::kBrisaBack], 2040, 1800, 1572, height);
    c.colourKeys[cat::kBrisaBack] = keySurface(cat::kBrisaBack, c.colourKeys[mi]);
    c.colourKeys[cat::kBrisaBack]->setOuterGeometry(0, 0, px(252), px(height));
    c.areaLists[cat::kBrisaBack]->hide();
    c.colourLists[cat::kBrisaBack]->hide();

    // The view frame reaches up under the palette and is too low for its
    // options, so it is a plain frame with no border of its own, under the
    // palette; the options keep their places in it.
    auto* views = new QFrame(frame);
    tk::nameControl(views, QStringLiteral("fffrm"), QStringLiteral("View"));
    views->setFrameShape(QFrame::NoFrame);
    place(views, 960, 1248, 2652, 528);
    views->lower();
    c.frontView = new QRadioButton(QStringLiteral("Front"), views);
    tk::nameControl(c.frontView, QStringLiteral("frontopt"), QStringLiteral("Front view"));
    place(c.frontView, 0, 240, 852, 300);
    c.frontView->setChecked(true);
    c.backView = new QRadioButton(QStringLiteral("Back"), views);
    tk::nameControl(c.backView, QStringLiteral("backopt"), QStringLiteral("Back view"));
    place(c.backView, 1080, 240, 852, 300);

    // "Suit Area" and the two options read as one line: the label's text
    // sits at its top edge, and the options' captions move down to it.
    QLabel* label = m_panels[mi].areaHeading;
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int optionTop = views->y() + c.frontView->y();
    const int padding =
        std::max(0, 2 * (label->y() - optionTop) - c.frontView->height() + label->fontMetrics().height());
    const QString optionStyle = QStringLiteral("QRadioButton { padding-top: %1px; }").arg(padding);
    for (QRadioButton* option : {c.frontView, c.backView}) {
        // A style sheet would otherwise give the option the application's font.
        const QFont font = option->font();
        option->setStyleSheet(optionStyle);
        option->setFont(font);
    }
}

} // namespace app
