#include "Uhelp.h"

#include "jpegimage.h"
#include "messages.h"
#include "platform.h"
#include "vendor.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

THelp *Help = nullptr;

// The picture lives in a static library, whose resource data the linker would
// drop unless something refers to it.
static void initAboutResources()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(quelvara);
        return true;
    }();
    Q_UNUSED(once);
}

namespace {

constexpr int kClientWidth = 338;
constexpr int kClientHeight = 189;
constexpr int kMargin = 8;
constexpr int kGap = 4;

const QStringList &aboutLines()
{
    static const QStringList lines = {
        QStringLiteral("    Este programa foi desenvolvido afim de auxiliar os órgãos públicos"),
        QStringLiteral("a criarem os relatórios requeridos pela Lei 9.755/98."),
        QStringLiteral("    Dúvidas contate-nos pelo e-mail:"),
    };
    return lines;
}

// The widest width a list line may take before the list would cut it.
int fitsIn(const QListWidget *list)
{
    const int textMargin =
        list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    // The list is not shown yet, so its viewport has no size: use the frame's inside.
    return list->contentsRect().width() - 2 * textMargin;
}

bool linesFit(const QListWidget *list)
{
    const QFontMetrics metrics(list->font());
    const int room = fitsIn(list);
    for (const QString &line : aboutLines()) {
        if (metrics.horizontalAdvance(line) > room) {
            return false;
        }
    }
    return true;
}

} // namespace

THelp::THelp(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Sobre..."));
    setFixedSize(kClientWidth, kClientHeight);

    // The layout is laid out in pixels for a small dialog font; prefer the
    // narrow sans families and let Qt fall back to the desktop's own.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Microsoft Sans Serif"),
                            QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                            dialogFont.family()});
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    const int buttonHeight = 25;
    GroupBox1->setGeometry(kMargin / 2, 2, kClientWidth - kMargin,
                           kClientHeight - buttonHeight - 2 * kMargin - 2);
    const int inner = GroupBox1->width() - 2 * kMargin;

    Image1 = new QLabel(GroupBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(kMargin, 12, 73, 57);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A damaged picture leaves the box empty rather than failing the dialog.
    Image1->setPixmap(QPixmap::fromImage(quelvara::decodeJpeg(quelvara::aboutPictureJpeg())));

    const int textLeft = Image1->geometry().right() + 1 + 2 * kMargin;
    const int textWidth = GroupBox1->width() - kMargin - textLeft;

    Label1 = new QLabel(QStringLiteral("QUELVARA"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = font();
    // Where Arial Black is missing, the heaviest face of a plain sans stands in.
    heading.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"),
                         QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                         font().family()});
    heading.setPixelSize(21);
    heading.setWeight(QFont::Black);
    heading.setItalic(true);
    Label1->setFont(heading);
    Label1->setGeometry(textLeft, 10, textWidth, Label1->sizeHint().height());

    Label2 = new QLabel(QStringLiteral("Programa Gerador de Relatórios"), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(textLeft, Label1->geometry().bottom() + 1 + kGap / 2, textWidth,
                        Label2->sizeHint().height());

    Label3 = new QLabel(QStringLiteral("das Contas Públicas"), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(textLeft, Label2->geometry().bottom() + 1, textWidth,
                        Label3->sizeHint().height());

    Bevel1 = new QFrame(GroupBox1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    const int headingBottom =
        std::max(Image1->geometry().bottom(), Label3->geometry().bottom()) + 1;
    Bevel1->setGeometry(kMargin, headingBottom + kGap, inner, 2);

    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->addItems(aboutLines());
    ListBox1->setFrameShape(QFrame::NoFrame);
    ListBox1->setFocusPolicy(Qt::NoFocus);
    ListBox1->setSelectionMode(QAbstractItemView::NoSelection);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette listPalette = ListBox1->palette();
    listPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    ListBox1->setPalette(listPalette);
    // Let the group box show through, so no lighter panel marks the list out.
    ListBox1->viewport()->setAutoFillBackground(false);
    ListBox1->setGeometry(kMargin, Bevel1->geometry().bottom() + 1 + kGap, inner, 10);
    // The lines are never wrapped nor cut: on a desktop with a wider font,
    // shrink the list's own font a little until the longest line fits.
    QFont listFont = font();
    while (!linesFit(ListBox1) && listFont.pixelSize() > 8) {
        listFont.setPixelSize(listFont.pixelSize() - 1);
        ListBox1->setFont(listFont);
    }
    // Whole lines only, exactly the three of them.
    ListBox1->setFixedHeight(aboutLines().size() * ListBox1->sizeHintForRow(0) +
                             2 * ListBox1->frameWidth());

    Label4 = new QLabel(quelvara::vendor::kContactEmail, GroupBox1);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont linkFont = font();
    linkFont.setBold(true);
    Label4->setFont(linkFont);
    QPalette linkPalette = Label4->palette();
    linkPalette.setColor(QPalette::WindowText, Qt::blue);
    linkPalette.setColor(QPalette::Window, QApplication::palette("QMenu").color(QPalette::Window));
    Label4->setPalette(linkPalette);
    Label4->setAutoFillBackground(true);
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->adjustSize();
    Label4->move((GroupBox1->width() - Label4->width()) / 2,
                 ListBox1->geometry().bottom() + 1 + kGap / 2);
    Label4->installEventFilter(this);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, BitBtn1));
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry((kClientWidth - 75) / 2, kClientHeight - kMargin - buttonHeight, 75,
                         buttonHeight);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn1->setFocus();

    centreOn(parent);
}

THelp::~THelp() = default;

void THelp::Label4Click()
{
    // Whether the mail program opened or not, the dialog stays open; without
    // one the user is told where to write.
    if (!quelvara::platform().openAddress(QStringLiteral("mailto:") +
                                          quelvara::vendor::kContactEmail)) {
        quelvara::platform().showMessage(
            this, quelvara::msg::cannotOpenMail(quelvara::vendor::kContactEmail));
    }
}

bool THelp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // A click is a left press and release both on the address.
        if (mouse->button() == Qt::LeftButton &&
            Label4->rect().contains(mouse->position().toPoint())) {
            Label4Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void THelp::keyPressEvent(QKeyEvent *event)
{
    // There is nothing to cancel: only OK (or Enter) closes the dialog.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void THelp::centreOn(QWidget *parent)
{
    if (parent == nullptr) {
        return;
    }
    const QWidget *owner = parent->window();
    QRect client(QPoint(), size());
    client.moveCenter(owner->frameGeometry().center());
    // Keep the dialog on the owner's screen even when the owner is partly off it.
    if (const QScreen *screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        client.moveRight(std::min(client.right(), room.right()));
        client.moveBottom(std::min(client.bottom(), room.bottom()));
        client.moveLeft(std::max(client.left(), room.left()));
        client.moveTop(std::max(client.top(), room.top()));
    }
    setGeometry(client);
}

namespace quelvara {

void showAbout(QWidget *parent)
{
    auto *dialog = new THelp(parent);
    Help = dialog;
    dialog->exec();
    delete dialog;
    Help = nullptr;
}

QByteArray aboutPictureJpeg()
{
    initAboutResources();
    QFile file(QStringLiteral(":/quelvara.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

} // namespace quelvara
