#include "Uhelp.h"

#include "commandline.h"
#include "jpegimage.h"
#include "messages.h"
#include "platform.h"
#include "vendor.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

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
// The dialog was drawn for an 11-pixel text beside a desktop font of 12
// pixels; it keeps that proportion at any font the user chooses.
constexpr int kDesignTextPixels = 11;
constexpr int kDesignDesktopPixels = 12;
constexpr int kDesignHeadingPixels = 21;

const QStringList &aboutLines()
{
    static const QStringList lines = {
        QStringLiteral("    Este programa foi desenvolvido afim de auxiliar os órgãos públicos"),
        QStringLiteral("a criarem os relatórios requeridos pela Lei 9.755/98."),
        QStringLiteral("    Dúvidas contate-nos pelo e-mail:"),
    };
    return lines;
}

} // namespace

THelp::THelp(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Sobre..."));

    // Prefer the narrow sans families the dialog was drawn with, and let Qt
    // fall back to the desktop's own; the sizes follow the desktop's font.
    const int desktopPixels = QFontInfo(font()).pixelSize();
    const int textPixels =
        std::max(kDesignTextPixels, desktopPixels * kDesignTextPixels / kDesignDesktopPixels);
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Microsoft Sans Serif"),
                            QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                            dialogFont.family()});
    dialogFont.setPixelSize(textPixels);
    setFont(dialogFont);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));

    Image1 = new QLabel(GroupBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(73, 57);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A damaged picture leaves the box empty rather than failing the dialog.
    Image1->setPixmap(QPixmap::fromImage(quelvara::decodeJpeg(quelvara::aboutPictureJpeg())));

    Label1 = new QLabel(QStringLiteral("QUELVARA"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = font();
    // Where Arial Black is missing, the heaviest face of a plain sans stands in.
    heading.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"),
                         QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                         font().family()});
    heading.setPixelSize(kDesignHeadingPixels * textPixels / kDesignTextPixels);
    heading.setWeight(QFont::Black);
    heading.setItalic(true);
    Label1->setFont(heading);

    Label2 = new QLabel(QStringLiteral("Programa Gerador de Relatórios"), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("das Contas Públicas"), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    lbVersao = new QLabel(QStringLiteral("Versão ") + quelvara::programVersion(), GroupBox1);
    lbVersao->setObjectName(QStringLiteral("lbVersao"));
    lbVersao->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Bevel1 = new QFrame(GroupBox1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->addItems(aboutLines());
    ListBox1->setFrameShape(QFrame::NoFrame);
    ListBox1->setFocusPolicy(Qt::NoFocus);
    ListBox1->setSelectionMode(QAbstractItemView::NoSelection);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setTextElideMode(Qt::ElideNone);
    QPalette listPalette = ListBox1->palette();
    listPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    ListBox1->setPalette(listPalette);
    // Let the group box show through, so no lighter panel marks the list out.
    ListBox1->viewport()->setAutoFillBackground(false);
    // Whole lines only, exactly the three of them, none wrapped nor cut.
    ListBox1->setFixedSize(ListBox1->sizeHintForColumn(0) + 2 * ListBox1->frameWidth() + 8,
                           int(aboutLines().size()) * ListBox1->sizeHintForRow(0) +
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
    Label4->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Label4->installEventFilter(this);

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, BitBtn1));
    BitBtn1->setDefault(true);
    BitBtn1->setMinimumSize(75, 25);

    // The picture at the top left with the heading beside it, a line, the
    // text and the address; OK centred below the frame.
    auto *headingText = new QVBoxLayout;
    headingText->setSpacing(0);
    headingText->addWidget(Label1);
    headingText->addSpacing(kGap / 2);
    headingText->addWidget(Label2);
    headingText->addWidget(Label3);
    headingText->addWidget(lbVersao);
    headingText->addStretch(1);
    auto *headingRow = new QHBoxLayout;
    headingRow->setSpacing(2 * kMargin);
    headingRow->addWidget(Image1, 0, Qt::AlignTop);
    headingRow->addLayout(headingText, 1);
    auto *inside = new QVBoxLayout(GroupBox1);
    inside->setContentsMargins(kMargin, 10, kMargin, kGap);
    inside->setSpacing(kGap);
    inside->addLayout(headingRow);
    inside->addWidget(Bevel1);
    inside->addWidget(ListBox1);
    inside->addWidget(Label4, 0, Qt::AlignHCenter);
    inside->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(kMargin / 2, 2, kMargin / 2, kMargin);
    outer->setSpacing(kMargin);
    outer->addWidget(GroupBox1, 1);
    outer->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    // The size it was drawn at, or what its texts need at the font in use.
    setFixedSize(outer->sizeHint().expandedTo(QSize(kClientWidth, kClientHeight)));
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
    // There is nothing to cancel: Esc closes the dialog as OK does.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        accept();
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
