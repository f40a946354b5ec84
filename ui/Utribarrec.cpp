#include "Utribarrec.h"

#include "catalogue.h"
#include "focuswatch.h"
#include "messages.h"
#include "platform.h"
#include "profile.h"
#include "registry.h"
#include "textfile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

#include <algorithm>

TTribArrec *TribArrec = nullptr;

namespace {

// An entry field: free typing, shown as a drop-down box only while it has a
// pick list (a registry column); otherwise it looks and acts as a plain text
// box: no arrow, no drop-down, the text over the whole width.
class EntryBox final : public QComboBox {
public:
    explicit EntryBox(QWidget *parent)
        : QComboBox(parent)
    {
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
        setProperty("pickList", false);
        // Qt reports the text as activated when the field is merely left
        // holding a text of its list; that is no change by the user, and
        // completing then would overwrite the partner field of a shown item.
        QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    }

    void setPickList(bool on)
    {
        if (on == pickList_) {
            return;
        }
        pickList_ = on;
        setProperty("pickList", on);
        if (on) {
            // Let the combo box place its editor beside the arrow again.
            QEvent change(QEvent::StyleChange);
            QComboBox::changeEvent(&change);
        } else {
            placeEditor();
        }
        update();
    }

    bool pickList() const { return pickList_; }

    void showPopup() override
    {
        if (pickList_) {
            QComboBox::showPopup();
        }
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (pickList_) {
            QComboBox::paintEvent(event);
            return;
        }
        QPainter painter(this);
        QStyleOptionFrame option;
        option.initFrom(this);
        option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
        option.midLineWidth = 0;
        option.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    }

    void resizeEvent(QResizeEvent *event) override
    {
        QComboBox::resizeEvent(event);
        placeEditor();
    }

    void changeEvent(QEvent *event) override
    {
        QComboBox::changeEvent(event);
        placeEditor();
    }

    void showEvent(QShowEvent *event) override
    {
        QComboBox::showEvent(event);
        placeEditor();
    }

private:
    void placeEditor()
    {
        if (pickList_ || !lineEdit()) {
            return;
        }
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        lineEdit()->setGeometry(rect().adjusted(frame + 1, frame, -frame - 1, -frame));
    }

    bool pickList_ = false;
};

// The list of the report's items. A change of the current item made with the
// keyboard counts as a click, as a mouse click does; Delete asks for deletion.
class ItemListBox final : public QListWidget {
public:
    using QListWidget::QListWidget;

    std::function<void()> onUserSelect;
    std::function<void()> onDeleteKey;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Delete) {
            event->accept();
            if (onDeleteKey) {
                onDeleteKey();
            }
            return;
        }
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before && onUserSelect) {
            onUserSelect();
        }
    }
};

// Editable drop-down for the selection boxes: no automatic completion and no
// insertion of typed texts into the list, so the list is always the program's.
void makeSelectionBox(QComboBox *box)
{
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
}

QPixmap envelopeIcon()
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 120), 1.2));
    painter.setBrush(QColor(255, 250, 220));
    const QRectF body(1.5, 4.5, 15, 10);
    painter.drawRect(body);
    painter.drawLine(body.topLeft(), QPointF(body.center().x(), body.center().y() + 1));
    painter.drawLine(QPointF(body.center().x(), body.center().y() + 1), body.topRight());
    return pixmap;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text,
                        const QString &hint)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    // Enter in a field must not press a button behind the user's back.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TTribArrec::TTribArrec(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TribArrec"));
    buildLayout();
    connectHandlers();
}

TTribArrec::~TTribArrec()
{
    // The controls outlive this object's members while the base class
    // deletes them, and a field losing the focus then still signals (an
    // editable box reports its text as activated): no handler may run on
    // members already gone.
    for (QObject *child : findChildren<QObject *>()) {
        child->disconnect(this);
    }
}

// ---------------------------------------------------------------------------
// User actions

void TTribArrec::runAction(const std::function<void()> &action)
{
    if (actionDepth_ == 0) {
        shownInAction_.clear();
        forgetPreviousPeriod();
    }
    struct Depth {
        int &depth;
        explicit Depth(int &d)
            : depth(d)
        {
            ++depth;
        }
        ~Depth() { --depth; }
    } depth(actionDepth_);
    action();
}

void TTribArrec::showOnce(const QString &message)
{
    if (actionDepth_ > 0) {
        if (shownInAction_.contains(message)) {
            return;
        }
        shownInAction_.insert(message);
    }
    quelvara::platform().showMessage(this, message);
}

// ---------------------------------------------------------------------------
// Selection chain

quelvara::ReportCategory TTribArrec::category() const
{
    return static_cast<quelvara::ReportCategory>(std::clamp(SubTitle->currentIndex(), 0, 2));
}

const quelvara::ReportKind *TTribArrec::currentKind() const
{
    return quelvara::reportKind(category(), Title->currentIndex());
}

void TTribArrec::OpeningSequence()
{
    Prefeitura->setText(NomePrefeitura + QStringLiteral(" - ") + UF);
    Periodo = QStringLiteral("1");
    cbAno->setCurrentIndex(quelvara::kDefaultYearIndex);
    // The officials are read before the first kind is applied: its load
    // writes the first page, which must already carry their signatures.
    readProfile();
    SelectCategory();
    // Even when the first kind's registry could not be read, the editor is
    // made ready for a new item.
    btNovoClick();
}

void TTribArrec::readProfile()
{
    // The same four lines, in the same order, as the main window keeps them.
    lbPrefs = quelvara::readProfileFile(quelvara::kOfficialsFile).lines;
    const QStringList officials = quelvara::officialsFromLines(lbPrefs);
    QLineEdit *const boxes[] = {Prefeito, SecFin, Contador, CRC};
    for (qsizetype i = 0; i < officials.size(); ++i) {
        boxes[i]->setText(officials.at(i));
    }
}

void TTribArrec::SelectCategory()
{
    const quelvara::ReportCategory cat = category();
    const quelvara::CategoryInfo &info = quelvara::categoryInfo(cat);
    Title->clear();
    Title->addItems(quelvara::reportTitles(cat));
    cbPeriodo->clear();
    cbPeriodo->addItems(info.periods);
    cbPeriodo->setEnabled(info.periodsEnabled);
    if (info.periods.isEmpty()) {
        Periodo.clear();
    }
    Title->setCurrentIndex(0);
    cbPeriodo->setCurrentIndex(info.periods.isEmpty() ? -1 : 0);
    SelectReportKind();
}

void TTribArrec::SelectReportKind()
{
    using namespace quelvara;
    const ReportCategory cat = category();
    const ReportKind *kind = currentKind();
    PrefixoArq = kind ? kind->prefix : kUnknownPrefix;

    bool loaded = true;
    if (kind) {
        ArqCadastro = kind->registryFile;
        for (int i = 1; i <= kind->fieldCount; ++i) {
            Campo[i]->setText(kind->fields[i - 1].caption);
            TipoCampo[i] = kind->fields[i - 1].type;
        }
        // The field after the last is the exclusion flag of the data lines:
        // a type left over from a longer kind must not describe it.
        for (int i = kind->fieldCount + 1; i <= kMaxFields; ++i) {
            TipoCampo[i] = Texto;
        }
        // The store is filled before the fields are laid out, so the pick
        // lists never hold the previous kind's registry.
        lbData.clear();
        if (kind->loaded) {
            loaded = loadLookupStore();
        } else {
            registryLoaded_ = true;
        }
        LayOutFields(kind->fieldCount);
    } else if (cat != ReportCategory::Mensais) {
        // Typed title: the budget categories keep their registry in the
        // store, read again; the bimonthly ones restore their code captions.
        if (cat == ReportCategory::Bimestrais) {
            const ReportKind &first = reportKinds(cat).front();
            Campo[1]->setText(first.fields[0].caption);
            Campo[2]->setText(first.fields[1].caption);
        }
        lbData.clear();
        loaded = loadLookupStore();
        lookupStoreChanged();
    }

    if (!loaded) {
        // The previous selection's items do not belong to this kind: show
        // none rather than offer them under it.
        items = quelvara::ItemList();
        lbTitulos->clear();
        return;
    }
    setWindowTitle(Prefeitura->text());
    periodStep(false);
}

bool TTribArrec::loadLookupStore()
{
    using namespace quelvara;
    lbData.clear();
    if (ArqCadastro.isEmpty()) {
        registryLoaded_ = true;
        return true;
    }
    const TextLines read = readRegistry(ArqCadastro);
    if (read.status == ReadStatus::Unreadable) {
        registryLoaded_ = false;
        showOnce(msg::cannotReadFile(registryPath(ArqCadastro)));
        return false;
    }
    // A registry that does not exist yet is an empty registry.
    lbData = read.lines;
    registryLoaded_ = true;
    return true;
}

void TTribArrec::cbPeriodoChange() { periodStep(true); }

void TTribArrec::periodStep(bool saveFirst)
{
    // After a change of kind the editor's item belongs to the kind just left:
    // it is dropped, never stored under the new one.
    if (saveFirst && TipoCampo[1] > 0) {
        SaveItem();
    }
    Periodo = QString::number(cbPeriodo->currentIndex() + 1);
    cbAnoChange();
    NextPurchaseNumber();
}

void TTribArrec::LayOutFields(int n)
{
    n = std::clamp(n, 1, quelvara::kMaxFields);
    NumCampos = n;
    for (int i = n; i >= 1; --i) {
        if (i >= 4) {
            Campo[i]->show();
            Edit[i]->show();
        }
        if (i <= 6) {
            SpeedButton[i]->setVisible(TipoCampo[i] > 0);
        }
        FillField(i);
    }
    for (int j = std::max(n + 1, 4); j <= quelvara::kMaxFields; ++j) {
        Campo[j]->hide();
        Edit[j]->hide();
        if (j <= 6) {
            SpeedButton[j]->hide();
        }
    }
}

// ---------------------------------------------------------------------------
// Typed texts in the selection boxes

void TTribArrec::acceptTypedText(QComboBox *box)
{
    const QString text = box->currentText();
    const QString kept = quelvara::acceptTyped(this, text);
    if (kept != text) {
        QLineEdit *edit = box->lineEdit();
        const int cursor = edit->cursorPosition();
        edit->setText(kept);
        edit->setCursorPosition(std::min<int>(cursor, kept.size()));
    }
}

void TTribArrec::dropSelection(QComboBox *box)
{
    // Typing leaves no list position selected; Qt would keep the last one.
    if (box->currentIndex() < 0) {
        return;
    }
    QLineEdit *edit = box->lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    box->setCurrentIndex(-1);
    edit->setText(text);
    edit->setCursorPosition(cursor);
}

// ---------------------------------------------------------------------------
// Entry field presentation

void TTribArrec::setPickPresentation(int n, bool pickList)
{
    static_cast<EntryBox *>(Edit[n])->setPickList(pickList);
}

bool TTribArrec::hasPickPresentation(int n) const
{
    return static_cast<const EntryBox *>(Edit[n])->pickList();
}

// ---------------------------------------------------------------------------
// Events

void TTribArrec::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        runAction([this] { OpeningSequence(); });
    }
}

void TTribArrec::keyPressEvent(QKeyEvent *event)
{
    // The editor is left with "Sair" or the close box only.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TTribArrec::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            panelPressed_ = mouse->button() == Qt::LeftButton;
            runAction([this] { Panel1MouseDown(); });
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const bool click = panelPressed_ && mouse->button() == Qt::LeftButton &&
                               Panel1->rect().contains(mouse->position().toPoint());
            panelPressed_ = false;
            runAction([this, click] {
                Panel1MouseUp();
                if (click) {
                    RecalculateYear();
                }
            });
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Layout

void TTribArrec::buildLayout()
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(738, 389);

    SubTitle = new QComboBox(this);
    SubTitle->setObjectName(QStringLiteral("SubTitle"));
    for (const quelvara::CategoryInfo &info : quelvara::categories()) {
        SubTitle->addItem(info.name);
    }
    SubTitle->setCurrentIndex(0);
    SubTitle->hide();

    Title = new QComboBox(this);
    Title->setObjectName(QStringLiteral("Title"));
    makeSelectionBox(Title);
    Title->setToolTip(QStringLiteral("Titulo do Relatório"));
    QFont bold = Title->font();
    bold.setBold(true);
    Title->setFont(bold);
    Title->setGeometry(8, 8, 722, 24);

    lbAno = makeLabel(this, QStringLiteral("lbAno"), QStringLiteral("Ano: "));
    lbAno->setGeometry(8, 40, 34, 22);
    cbAno = new QComboBox(this);
    cbAno->setObjectName(QStringLiteral("cbAno"));
    makeSelectionBox(cbAno);
    cbAno->setToolTip(QStringLiteral("Ano"));
    cbAno->addItems(quelvara::yearList());
    cbAno->setCurrentIndex(-1);
    cbAno->setGeometry(44, 40, 80, 22);

    lbPeriodo = makeLabel(this, QStringLiteral("lbPeriodo"), QStringLiteral("Periodo:"));
    lbPeriodo->setGeometry(140, 40, 54, 22);
    cbPeriodo = new QComboBox(this);
    cbPeriodo->setObjectName(QStringLiteral("cbPeriodo"));
    makeSelectionBox(cbPeriodo);
    cbPeriodo->setToolTip(QStringLiteral("Periodo"));
    cbPeriodo->setGeometry(196, 40, 140, 22);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 66, 722, 282);

    Label5 = makeLabel(GroupBox1, QStringLiteral("Label5"), QStringLiteral("Itens do Relatório"));
    Label5->setGeometry(8, 10, 150, 18);
    auto *list = new ItemListBox(GroupBox1);
    lbTitulos = list;
    lbTitulos->setObjectName(QStringLiteral("lbTitulos"));
    lbTitulos->setToolTip(QStringLiteral("Lista de Items no Relatório"));
    lbTitulos->setSelectionMode(QAbstractItemView::SingleSelection);
    lbTitulos->setContextMenuPolicy(Qt::CustomContextMenu);
    lbTitulos->setGeometry(8, 30, 150, 244);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Deletar1 = PopupMenu1->addAction(QStringLiteral("Deletar"));
    Deletar1->setObjectName(QStringLiteral("Deletar1"));

    // One row per field, 24 pixels apart: caption, entry field, "..." button.
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        const int y = 12 + (i - 1) * 24;
        Campo[i] = makeLabel(GroupBox1, QStringLiteral("Campo%1").arg(i), QString());
        Campo[i]->setGeometry(166, y, 196, 22);
        Campo[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Edit[i] = new EntryBox(GroupBox1);
        Edit[i]->setObjectName(QStringLiteral("Edit%1").arg(i));
        Edit[i]->setGeometry(368, y, 318, 22);
        if (i <= 6) {
            SpeedButton[i] = new QToolButton(GroupBox1);
            SpeedButton[i]->setObjectName(QStringLiteral("SpeedButton%1").arg(i));
            SpeedButton[i]->setText(QStringLiteral("..."));
            // Like every speed button it takes no focus: the field stays the
            // one being edited while its registry is open.
            SpeedButton[i]->setFocusPolicy(Qt::NoFocus);
            SpeedButton[i]->setGeometry(690, y, 24, 22);
        }
    }

    CheckBox1 = new QCheckBox(
        QStringLiteral("Para não incluir este valor no cálculo total, marque aqui."), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QFont checkFont = CheckBox1->font();
    checkFont.setBold(true);
    CheckBox1->setFont(checkFont);
    QPalette checkPalette = CheckBox1->palette();
    checkPalette.setColor(QPalette::WindowText, Qt::red);
    checkPalette.setColor(QPalette::ButtonText, Qt::red);
    CheckBox1->setPalette(checkPalette);
    CheckBox1->setGeometry(166, 254, 520, 22);

    // Bottom row of buttons.
    const int rowY = 354;
    btNovo = makeButton(this, QStringLiteral("btNovo"), QStringLiteral("Novo"),
                        QStringLiteral("Novo Item"));
    btNovo->setGeometry(8, rowY, 66, 28);
    btAdd = makeButton(this, QStringLiteral("btAdd"), QStringLiteral("Salvar"),
                       QStringLiteral("Salvar Item na Lista"));
    btAdd->setGeometry(78, rowY, 66, 28);
    btDel = makeButton(this, QStringLiteral("btDel"), QStringLiteral("Excluir"),
                       QStringLiteral("Excluir Item da Lista"));
    btDel->setGeometry(148, rowY, 66, 28);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setToolTip(QStringLiteral("Atualizar todos os Valores"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, QColor(0, 0, 255));
    panelPalette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    Panel1->setPalette(panelPalette);
    Panel1->setCursor(Qt::PointingHandCursor);
    Panel1->setGeometry(220, rowY, 168, 28);
    auto *panelRow = new QHBoxLayout(Panel1);
    panelRow->setContentsMargins(6, 2, 4, 2);
    panelRow->setSpacing(6);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(18, 18));
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *panelCaption = new QLabel(QStringLiteral("Atualizar Valores  "), Panel1);
    panelCaption->setObjectName(QStringLiteral("Panel1Caption"));
    QFont panelFont = panelCaption->font();
    panelFont.setBold(true);
    panelCaption->setFont(panelFont);
    panelCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    panelRow->addWidget(Image1);
    panelRow->addWidget(panelCaption, 1);
    Panel1->setAccessibleName(panelCaption->text());
    Panel1->installEventFilter(this);

    SpeedButton8 = makeButton(this, QStringLiteral("SpeedButton8"), QStringLiteral("Enviar"),
                              QStringLiteral("Enviar Relatórios por E-mail"));
    SpeedButton8->setIcon(QIcon(envelopeIcon()));
    SpeedButton8->setFocusPolicy(Qt::NoFocus);
    SpeedButton8->setGeometry(394, rowY, 92, 28);
    btView = makeButton(this, QStringLiteral("btView"), QStringLiteral("Visualizar Relatório"),
                        QStringLiteral("Visualizar relatório HTML"));
    btView->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    btView->setGeometry(492, rowY, 150, 28);
    btOK =
        makeButton(this, QStringLiteral("btOK"), QStringLiteral("&Sair"), QStringLiteral("Sair"));
    btOK->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    btOK->setGeometry(648, rowY, 82, 28);

    // Hidden: the municipality line and the officials for the page's signatures.
    Prefeitura = makeLabel(this, QStringLiteral("Prefeitura"), QString());
    Prefeitura->hide();
    const QString officialNames[] = {QStringLiteral("Prefeito"), QStringLiteral("SecFin"),
                                     QStringLiteral("Contador"), QStringLiteral("CRC")};
    const QString officialLabels[] = {QStringLiteral("Prefeito:"), QStringLiteral("Sec. Finanças:"),
                                      QStringLiteral("Contador:"), QStringLiteral("CRC:")};
    QLineEdit **officials[] = {&Prefeito, &SecFin, &Contador, &CRC};
    for (int i = 0; i < 4; ++i) {
        makeLabel(this, QStringLiteral("Label%1").arg(i + 1), officialLabels[i])->hide();
        *officials[i] = new QLineEdit(this);
        (*officials[i])->setObjectName(officialNames[i]);
        (*officials[i])->hide();
    }

    // Tab order: the selection boxes, then the frame's list, fields and check box.
    QList<QWidget *> order = {Title, cbAno, cbPeriodo, lbTitulos};
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        order.append(Edit[i]);
    }
    order << CheckBox1 << btNovo << btAdd << btDel << btView << btOK;
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    focusWatch_ = new quelvara::FocusWatch(this);
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        focusWatch_->watch(Edit[i]);
    }
}

void TTribArrec::connectHandlers()
{
    // Every user event runs as one action; selections made by the program
    // raise none of these signals.
    auto user = [this](std::function<void()> handler) {
        return [this, handler] { runAction(handler); };
    };

    connect(Title, &QComboBox::textActivated, this, user([this] { SelectReportKind(); }));
    connect(Title->lineEdit(), &QLineEdit::textEdited, this, user([this] {
                acceptTypedText(Title);
                dropSelection(Title);
                SelectReportKind();
            }));
    // Qt also reports the text as activated when the box is merely left or
    // Enter is pressed; only a year other than the one loaded is a change.
    connect(cbAno, &QComboBox::textActivated, this, user([this] {
                if (cbAno->currentText() != Ano) {
                    cbAnoChange();
                }
            }));
    connect(cbAno->lineEdit(), &QLineEdit::textEdited, this, user([this] {
                acceptTypedText(cbAno);
                cbAnoChange();
            }));
    connect(cbPeriodo, &QComboBox::textActivated, this, user([this] { cbPeriodoChange(); }));
    connect(cbPeriodo->lineEdit(), &QLineEdit::textEdited, this, user([this] {
                acceptTypedText(cbPeriodo);
                dropSelection(cbPeriodo);
                cbPeriodoChange();
            }));

    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        if (i <= 6) {
            connect(Edit[i], &QComboBox::textActivated, this, user([this, i] { EditChange(i); }));
            connect(Edit[i]->lineEdit(), &QLineEdit::textEdited, this,
                    user([this, i] { EditChange(i); }));
            connect(SpeedButton[i], &QToolButton::clicked, this,
                    user([this, i] { SpeedButtonClick(i); }));
        }
    }
    auto fieldNumber = [this](QWidget *field) {
        const auto found = std::find(Edit.begin() + 1, Edit.end(), field);
        return found == Edit.end() ? 0 : int(found - Edit.begin());
    };
    connect(focusWatch_, &quelvara::FocusWatch::entered, this, [this, fieldNumber](QWidget *field) {
        if (const int n = fieldNumber(field)) {
            runAction([this, n] { EditEnter(n); });
        }
    });
    connect(focusWatch_, &quelvara::FocusWatch::left, this, [this, fieldNumber](QWidget *field) {
        if (const int n = fieldNumber(field)) {
            runAction([this, n] { EditExit(n); });
        }
    });

    connect(btNovo, &QPushButton::clicked, this, user([this] { btNovoClick(); }));
    connect(btAdd, &QPushButton::clicked, this, user([this] { btAddClick(); }));
    connect(btDel, &QPushButton::clicked, this, user([this] { btDelClick(); }));
    connect(Deletar1, &QAction::triggered, this, user([this] { btDelClick(); }));
    connect(btOK, &QPushButton::clicked, this, user([this] { btOKClick(); }));
    connect(btView, &QPushButton::clicked, this, user([this] { btViewClick(); }));
    connect(SpeedButton8, &QPushButton::clicked, this, user([this] { SpeedButton8Click(); }));

    auto *list = static_cast<ItemListBox *>(lbTitulos);
    list->onUserSelect = user([this] { lbTitulosClick(); });
    list->onDeleteKey = user([this] { btDelClick(); });
    connect(lbTitulos, &QListWidget::clicked, this, user([this] { lbTitulosClick(); }));
    connect(lbTitulos, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        PopupMenu1->popup(lbTitulos->viewport()->mapToGlobal(pos));
    });
}

namespace quelvara {

void openReportEditor(QWidget *parent, int category, const QString &nomePrefeitura,
                      const QString &uf)
{
    auto *editor = new TTribArrec(parent);
    TribArrec = editor;
    editor->NomePrefeitura = nomePrefeitura;
    editor->UF = uf;
    editor->SubTitle->setCurrentIndex(category);
    editor->exec();
    delete editor;
    TribArrec = nullptr;
}

} // namespace quelvara
