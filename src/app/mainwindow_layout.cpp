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
    QWidget* page = m_controls.tab1->page(m);
    // The page paints the window colour, the colour the information panels
    // fill with when they cover the selection controls.
    page->setAutoFillBackground(true);
    PagePanels& p = m_panels[mi];
    design::Controls& c = m_controls;

    // The drawing in its frame; start-up sizes and centres it.
    p.backPB = new tk::DrawingFrame(page);
    tk::nameControl(p.backPB, QStringLiteral("backPB"), m, QStringLiteral("Drawing frame"));
    p.backPB->setAutoFillBackground(true);
    QPalette grey = p.backPB->palette();
    grey.setColor(QPalette::Window, render::toQColor(cat::kLightGrey));
    p.backPB->setPalette(grey);
    place(p.backPB, 180, 240, 4872, 4812);
    c.MainPB[mi] = new tk::PictureSurface(QStringLiteral("MainPB"), m,
                                          qs(cat::kModels[m].caption) + QStringLiteral(" drawing"), p.backPB);
    c.MainPB[mi]->setBackground(cat::kLightGrey);

    // The selection controls.
    p.Frame1 = new tk::GroupFrame(QStringLiteral("Selection"), page);
    tk::nameControl(p.Frame1, QStringLiteral("Frame1"), m, QStringLiteral("Selection"));
    place(p.Frame1, 5280, 120, 3732, 4332);

    c.lblfabric[mi] = new QLabel(QStringLiteral("Fabric"), p.Frame1);
    tk::nameControl(c.lblfabric[mi], QStringLiteral("lblfabric"), m, QStringLiteral("Fabric"));
    place(c.lblfabric[mi], 120, 240, 1572, 252);

    c.matlist[mi] = new tk::ListBox(QStringLiteral("matlist"), m, QStringLiteral("Fabrics"), p.Frame1);
    place(c.matlist[mi], 120, 480, 1572, m == 0 ? 984 : 744);
    c.matlist[mi]->setEntryHeight(kEntryHeight);

    c.colorlbl[mi] = new QLabel(p.Frame1);
    tk::nameControl(c.colorlbl[mi], QStringLiteral("colorlbl"), m,
                    QStringLiteral("Colour under the pointer"));
    place(c.colorlbl[mi], 1920, 240, 1692, 252);

    c.ol1Pb[mi] =
        new tk::PaletteSurface(QStringLiteral("ol1Pb"), m, QStringLiteral("Colour palette"), p.Frame1);
    c.ol1Pb[mi]->setBackground(cat::kLightGrey);
    c.ol1Pb[mi]->setOuterGeometry(px(1920), px(480), px(1692), px(brisa ? 852 : 1250));

    p.Label1 = new QLabel(QStringLiteral("Suit Area"), p.Frame1);
    tk::nameControl(p.Label1, QStringLiteral("Label1"), m, QStringLiteral("Suit Area"));
    place(p.Label1, 120, 1560, brisa ? 732 : 1572, 252);

    const int height = listHeight(m);
    c.suitlist[mi] = areaList(m, p.Frame1);
    c.cbbfrontPb[mi] = keySurface(m, p.Frame1);
    c.colordesc[mi] = colourList(m, p.Frame1);
    if (brisa) {
        place(c.suitlist[mi], 120, 1800, 1692, height);
        c.cbbfrontPb[mi]->setOuterGeometry(px(1800), px(1800), px(252), px(height));
        place(c.colordesc[mi], 2040, 1800, 1572, height);
        buildBrisaView(m);
    } else {
        place(c.suitlist[mi], 120, 1800, 1332, height);
        c.cbbfrontPb[mi]->setOuterGeometry(px(1440), px(1800), px(252), px(height));
        place(c.colordesc[mi], 1680, 1800, 1932, height);
    }

    // The information panels cover the selection controls when shown.
    p.Frminfo = new tk::GroupFrame(QStringLiteral("Suit Information"), p.Frame1);
    tk::nameControl(p.Frminfo, QStringLiteral("Frminfo"), m, QStringLiteral("Suit Information"));
    p.Frminfo->setAutoFillBackground(true);
    place(p.Frminfo, 0, 0, 3732, 4332);
    p.txtinfo =
        new tk::TextBox(QStringLiteral("txtinfo"), m, QStringLiteral("Suit information text"), p.Frminfo);
    place(p.txtinfo, 120, 240, 3492, 3972);

    p.Frmorder = new tk::GroupFrame(QStringLiteral("Ordering Information"), p.Frminfo);
    tk::nameControl(p.Frmorder, QStringLiteral("Frmorder"), m, QStringLiteral("Ordering Information"));
    p.Frmorder->setAutoFillBackground(true);
    place(p.Frmorder, 0, 0, 3732, 4332);
    p.txtorder = new tk::TextBox(QStringLiteral("txtorder"), m, QStringLiteral("Ordering information text"),
                                 p.Frmorder);
    if (m == 0)
        place(p.txtorder, 120, 300, 3555, 3915);
    else
        place(p.txtorder, 120, 240, 3492, 3972);

    // Panel buttons.
    auto button = [page, m](const char* name, const QString& caption, const QString& accessible, int left) {
        auto* b = new QPushButton(caption, page);
        tk::nameControl(b, QString::fromLatin1(name), m, accessible);
        place(b, left, 4680, 1092, 372);
        return b;
    };
    p.Command1 = button("Command1", QStringLiteral("&Selection"), QStringLiteral("Selection"), 5280);
    p.Command2 = button("Command2", QStringLiteral("S&uit Info"), QStringLiteral("Suit Info"), 6600);
    p.Command3 = button("Command3", QStringLiteral("&Ordering Info"), QStringLiteral("Ordering Info"), 7920);
    // Every page has the same buttons: the first page's font fits them all.
    const QFont captions =
        m == 0 ? captionFont({p.Command1, p.Command2, p.Command3}) : m_panels[0].Command1->font();
    for (QPushButton* b : {p.Command1, p.Command2, p.Command3})
        b->setFont(captions);

    // Status bar: news and hints on the left, the model heading on the right.
    // The bar starts left of the page and ends short of its right edge, so an
    // outer frame would show cut; only the two panels are framed.
    p.SSstatus0 = new QFrame(page);
    tk::nameControl(p.SSstatus0, QStringLiteral("SSstatus0"), m, QStringLiteral("Status bar"));
    p.SSstatus0->setFrameShape(QFrame::NoFrame);
    place(p.SSstatus0, -24, 5280, 9332, 408);
    auto panel = [&p, m](const char* name, const QString& accessible, int left, int width) {
        auto* l = new tk::StatusPanel(QString::fromLatin1(name), m, accessible, p.SSstatus0);
        place(l, left, 60, width, 288);
        return l;
    };
    tk::StatusPanel* news = panel("SSstatus1", QStringLiteral("News and hints"), 60, 5252);
    tk::StatusPanel* heading = panel("SSstatus2", QStringLiteral("Model"), 5380, 3912);
    // Every news message and hint shows whole, in one font on every page.
    const QFont status = m == 0 ? tk::StatusPanel::fittingFont(news->font(), statusTexts(), news->textWidth())
                                : m_panels[0].SSstatus1->font();
    news->setFont(status);
    heading->setFont(status);
    p.SSstatus1 = news;
    p.SSstatus2 = heading;
}

void MainWindow::buildBrisaView(int m)
{
    const auto mi = static_cast<std::size_t>(m);
    design::Controls& c = m_controls;
    QWidget* frame = m_panels[mi].Frame1;
    const int height = listHeight(m);

    // The back-view controls share the places of the front-view ones; the
    // back key lies inside the front key and covers it when shown.
    c.suitlist[cat::kBrisaBack] = areaList(cat::kBrisaBack, frame);
    place(c.suitlist[cat::kBrisaBack], 120, 1800, 1692, height);
    c.colordesc[cat::kBrisaBack] = colourList(cat::kBrisaBack, frame);
    place(c.colordesc[cat::kBrisaBack], 2040, 1800, 1572, height);
    c.cbbfrontPb[cat::kBrisaBack] = keySurface(cat::kBrisaBack, c.cbbfrontPb[mi]);
    c.cbbfrontPb[cat::kBrisaBack]->setOuterGeometry(0, 0, px(252), px(height));
    c.suitlist[cat::kBrisaBack]->hide();
    c.colordesc[cat::kBrisaBack]->hide();

    // The view frame reaches up under the palette and is too low for its
    // options, so it is a plain frame with no border of its own, under the
    // palette; the options keep their places in it.
    auto* views = new QFrame(frame);
    tk::nameControl(views, QStringLiteral("fffrm"), QStringLiteral("View"));
    views->setFrameShape(QFrame::NoFrame);
    place(views, 960, 1248, 2652, 528);
    views->lower();
    c.frontopt = new QRadioButton(QStringLiteral("Front"), views);
    tk::nameControl(c.frontopt, QStringLiteral("frontopt"), QStringLiteral("Front view"));
    place(c.frontopt, 0, 240, 852, 300);
    c.frontopt->setChecked(true);
    c.backopt = new QRadioButton(QStringLiteral("Back"), views);
    tk::nameControl(c.backopt, QStringLiteral("backopt"), QStringLiteral("Back view"));
    place(c.backopt, 1080, 240, 852, 300);

    // "Suit Area" and the two options read as one line: the label's text
    // sits at its top edge, and the options' captions move down to it.
    QLabel* label = m_panels[mi].Label1;
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int optionTop = views->y() + c.frontopt->y();
    const int padding =
        std::max(0, 2 * (label->y() - optionTop) - c.frontopt->height() + label->fontMetrics().height());
    const QString optionStyle = QStringLiteral("QRadioButton { padding-top: %1px; }").arg(padding);
    for (QRadioButton* option : {c.frontopt, c.backopt}) {
        // A style sheet would otherwise give the option the application's font.
        const QFont font = option->font();
        option->setStyleSheet(optionStyle);
        option->setFont(font);
    }
}

} // namespace app
