#include "Utribarrec.h"

#include "Ucadastro.h"
#include "catalogue.h"
#include "entrybox.h"
#include "findingsdialog.h"
#include "focuswatch.h"
#include "keyboard.h"
#include "messages.h"
#include "platform.h"
#include "reportpaths.h"
#include "reportpdf.h"
#include "textcompare.h"
#include "textfile.h"
#include "vendor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TTribArrec *TribArrec = nullptr;

using quelvara::EntryBox;
using quelvara::ItemListBox;

namespace {

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

// The width the widest of the texts takes in a font.
int widestText(const QFontMetrics &metrics, const QStringList &texts)
{
    int widest = 0;
    for (const QString &text : texts) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return widest;
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
        // Files may have changed between two actions: read them again.
        session_.forgetPreviousPeriod();
    }
    {
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
    mirror();
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
    using namespace quelvara;
    // The category is the one the main window selected before showing the editor.
    session_ = ReportSession(category());
    session_.setMunicipality(NomePrefeitura, UF);
    session_.setPeriod(0, QString());
    cbAno->setCurrentIndex(defaultYear_);
    // The officials are read before the first kind is applied: its load
    // writes the first page, which must already carry their signatures.
    session_.readOfficials();
    const Profile &profile = session_.profile();
    Prefeitura->setText(profile.municipality());
    Prefeito->setText(profile.prefeito);
    SecFin->setText(profile.secFin);
    Contador->setText(profile.contador);
    CRC->setText(profile.crc);
    SelectCategory();
    // Even when the first kind's registry could not be read, the editor is
    // made ready for a new item.
    btNovoClick();
}

void TTribArrec::SelectCategory()
{
    const quelvara::CategoryInfo &info = quelvara::categoryInfo(category());
    Title->clear();
    Title->addItems(quelvara::reportTitles(category()));
    cbPeriodo->clear();
    cbPeriodo->addItems(info.periods);
    cbPeriodo->setEnabled(info.periodsEnabled);
    if (info.periods.isEmpty()) {
        session_.clearPeriod();
    }
    Title->setCurrentIndex(0);
    cbPeriodo->setCurrentIndex(info.periods.isEmpty() ? -1 : 0);
    SelectReportKind();
}

void TTribArrec::SelectReportKind()
{
    const quelvara::SessionResult chosen =
        session_.chooseKind(Title->currentIndex(), Title->currentText());
    tell(chosen);
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        const QString caption = session_.field(i).caption;
        Campo[i]->setText(caption);
        Edit[i]->setAccessibleName(quelvara::accessibleText(caption));
        if (i <= 6) {
            SpeedButton[i]->setAccessibleName(QStringLiteral("Escolher no cadastro: ") +
                                              quelvara::accessibleText(caption));
        }
    }
    if (session_.kind()) {
        LayOutFields(session_.fieldCount());
    } else if (category() != quelvara::ReportCategory::Mensais) {
        lookupStoreChanged();
    }
    mirror();
    if (!chosen.ok) {
        showItems();
        return;
    }
    setWindowTitle(Prefeitura->text());
    periodStep(false);
}

void TTribArrec::cbPeriodoChange() { periodStep(true); }

void TTribArrec::periodStep(bool saveFirst)
{
    // After a change of kind the editor's item belongs to the kind just left:
    // it is dropped, never stored under the new one. A change of period
    // stores it where the kind follows its registry.
    if (saveFirst && session_.field(1).lookupColumn > 0) {
        SaveItem();
    }
    session_.setPeriod(cbPeriodo->currentIndex(), cbPeriodo->currentText());
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
            SpeedButton[i]->setVisible(session_.field(i).lookupColumn > 0);
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
// Entry fields

void TTribArrec::FillField(int n)
{
    quelvara::SessionResult result;
    const std::optional<QString> text = session_.resetField(n, Edit[1]->currentText(), result);
    tell(result);
    if (!text) {
        return;
    }
    const bool lookup = session_.field(n).lookupColumn > 0;
    setPickPresentation(n, lookup);
    if (lookup) {
        setPickList(n);
    } else {
        static_cast<EntryBox *>(Edit[n])->clearPickLines();
        pickBuiltFrom_[std::size_t(n)] = {};
    }
    setFieldText(n, *text);
}

int TTribArrec::FindPick(int n)
{
    if (session_.field(n).lookupColumn == 0) {
        // A change to a field that is not a lookup leaves no item selected.
        lbTitulos->clearSelection();
        lbTitulos->setCurrentRow(-1);
        return -1;
    }
    const QString text = Edit[n]->currentText();
    // A pick list built from the registry as it is now holds its lines in
    // order: the session's index finds the text without a pass over them all
    // on every keystroke.
    const std::pair<int, int> source{session_.registryRevision(), session_.field(n).lookupColumn};
    if (Edit[n]->count() > 0 && pickBuiltFrom_[std::size_t(n)] == source) {
        return session_.pickIndex(n, text);
    }
    for (int i = 0; i < Edit[n]->count(); ++i) {
        if (quelvara::sameText(Edit[n]->itemText(i), text)) {
            return i;
        }
    }
    return -1;
}

void TTribArrec::EditChange(int n)
{
    if (FindPick(n) < 0) {
        return;
    }
    if (const auto completion = session_.complete(n, Edit[n]->currentText())) {
        setFieldText(completion->field, completion->text);
    }
}

void TTribArrec::EditEnter(int n)
{
    quelvara::SessionResult result;
    const std::optional<QString> text = session_.enterField(n, fieldTexts(), result);
    tell(result);
    if (text) {
        setFieldText(n, *text);
    }
}

void TTribArrec::EditExit(int n)
{
    const QString shown = Edit[n]->currentText();
    const QString text = session_.leaveField(n, quelvara::acceptTyped(this, shown));
    if (text != shown) {
        setFieldText(n, text);
    }
}

void TTribArrec::SpeedButtonClick(int n)
{
    if (n < 1 || n > 6) {
        return;
    }
    const int chosen = quelvara::openRegistry(this, session_.registryFile());
    const bool reloaded = session_.reloadRegistry();
    if (reloaded) {
        lookupStoreChanged();
    }
    FillField(n);
    if (reloaded && chosen >= 0 && chosen < Edit[n]->count()) {
        Edit[n]->setCurrentIndex(chosen);
    }
    EditChange(n);
}

void TTribArrec::lookupStoreChanged()
{
    for (int i = 1; i <= NumCampos; ++i) {
        if (session_.field(i).lookupColumn > 0 && hasPickPresentation(i)) {
            const QString text = Edit[i]->currentText();
            const int cursor = Edit[i]->lineEdit()->cursorPosition();
            setPickList(i);
            setFieldText(i, text);
            Edit[i]->lineEdit()->setCursorPosition(cursor);
        }
    }
}

void TTribArrec::setPickList(int n)
{
    // Position i of the pick list is line i of the registry: completion
    // relies on it. A list built from the same lines is kept as it is.
    auto *edit = static_cast<EntryBox *>(Edit[n]);
    const std::pair<int, int> source{session_.registryRevision(), session_.field(n).lookupColumn};
    if (pickBuiltFrom_[std::size_t(n)] != source || edit->count() == 0) {
        edit->setPickLines(session_.registry(), source.second);
        pickBuiltFrom_[std::size_t(n)] = source;
    }
    edit->setCurrentIndex(-1);
}

void TTribArrec::setPickPresentation(int n, bool pickList)
{
    static_cast<EntryBox *>(Edit[n])->setPickList(pickList);
}

bool TTribArrec::hasPickPresentation(int n) const
{
    return static_cast<const EntryBox *>(Edit[n])->pickList();
}

void TTribArrec::setFieldText(int n, const QString &text)
{
    // A text set by the program raises no change handler: only textEdited and
    // textActivated, which the program never emits, are connected.
    Edit[n]->setEditText(text);
}

quelvara::FieldTexts TTribArrec::fieldTexts() const
{
    quelvara::FieldTexts texts;
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        texts[std::size_t(i)] = Edit[i]->currentText();
    }
    return texts;
}

// ---------------------------------------------------------------------------
// Item list and data file

void TTribArrec::cbAnoChange() { LoadItemList(); }

void TTribArrec::LoadItemList()
{
    session_.setYear(cbAno->currentText());
    // The session drops the items of the period shown before it reads the
    // next one; the list lets their codes go too instead of holding them
    // through the load.
    lbTitulos->showCodes({});
    tell(session_.load());
    showItems();
    mirror();
    btNovoClick();
}

void TTribArrec::showItems()
{
    // Only the rows a save or deletion changed are told to the list.
    lbTitulos->showCodes(session_.items().codes());
    lbTitulos->setCurrentRow(-1);
    lbTitulos->clearSelection();
}

int TTribArrec::selectedRow() const { return lbTitulos->selectedRow(); }

bool TTribArrec::SaveItem()
{
    const int revision = session_.registryRevision();
    const quelvara::SessionResult saved =
        session_.saveItem(fieldTexts(), CheckBox1->isChecked());
    if (saved.ok) {
        showItems();
    }
    tell(saved);
    if (session_.registryRevision() != revision) {
        lookupStoreChanged();
    }
    return saved.ok;
}

QString TTribArrec::ComposeLine() const
{
    return session_.itemLine(fieldTexts(), CheckBox1->isChecked());
}

void TTribArrec::WriteDataFile() { tell(session_.writeDataFile()); }

void TTribArrec::btNovoClick()
{
    setFieldText(1, QString());
    LayOutFields(session_.fieldCount());
    NextPurchaseNumber();
    lbTitulos->setCurrentRow(-1);
    lbTitulos->clearSelection();
    newItemLine_ = ComposeLine();
}

void TTribArrec::btAddClick()
{
    if (Edit[1]->currentText().isEmpty()) {
        tell(session_.addItem(fieldTexts(), CheckBox1->isChecked()));
        return;
    }
    // An item that could not be stored stays in the editor to be corrected.
    if (SaveItem()) {
        btNovoClick();
    }
}

void TTribArrec::lbTitulosClick()
{
    const int clicked = selectedRow();
    const QString code = clicked >= 0 ? session_.items().code(clicked) : QString();
    if (session_.followsRegistry()) {
        SaveItem();
        // The save may have moved the clicked item, or replaced it.
        const int row = clicked >= 0 ? session_.items().indexOf(code) : -1;
        lbTitulos->setCurrentRow(row);
        if (row < 0) {
            lbTitulos->clearSelection();
        }
    }
    const int row = selectedRow();
    if (row >= 0) {
        showItem(row);
    }
}

void TTribArrec::showItem(int row)
{
    const auto [texts, excluded] = session_.item(row);
    for (int i = 1; i <= session_.storedFieldCount(); ++i) {
        setFieldText(i, texts[std::size_t(i)]);
    }
    CheckBox1->setChecked(excluded);
}

void TTribArrec::btDelClick()
{
    using namespace quelvara;
    const int row = selectedRow();
    const int revision = session_.registryRevision();
    const bool alsoFromRegistry =
        session_.asksRegistryDeletion(row) &&
        platform().askYesNo(this, msg::deleteCaption(), msg::deleteFromRegistry());
    tell(session_.deleteItem(row, alsoFromRegistry));
    btNovoClick();
    showItems();
    if (session_.registryRevision() != revision) {
        lookupStoreChanged();
    }
}

void TTribArrec::btOKClick()
{
    // A purchase number or a zero that the program proposed is no item the
    // user entered: stored on every exit it would add a blank item each time.
    if (!Edit[1]->currentText().isEmpty() && ComposeLine() != newItemLine_) {
        SaveItem();
    }
    close();
}

void TTribArrec::NextPurchaseNumber()
{
    if (const std::optional<QString> number = session_.proposedNumber()) {
        setFieldText(1, *number);
    }
}

// ---------------------------------------------------------------------------
// Accumulated values and the page

QString TTribArrec::AccumulatedValue(const QString &value, int k, const QString &code)
{
    quelvara::SessionResult result;
    const QString text = session_.accumulatedValue(value, k, code, result);
    tell(result);
    return text;
}

void TTribArrec::RecalculateYear()
{
    const int remembered = selectedRow();
    const quelvara::SessionResult recalculated = session_.recalculateYear();
    tell(recalculated);
    if (!recalculated.ok) {
        return;
    }
    showItems();
    mirror();
    btNovoClick();
    if (remembered >= 0 && remembered < lbTitulos->count()) {
        lbTitulos->setCurrentRow(remembered);
    }
    lbTitulosClick();
}

void TTribArrec::Panel1MouseDown()
{
    // Pressed: a single-line border and no bevel.
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setFrameShadow(QFrame::Plain);
    Panel1->setLineWidth(1);
}

void TTribArrec::Panel1MouseUp()
{
    // At rest: no border, a raised bevel of width 1.
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setLineWidth(1);
}

// A press and release at once, as a click on the panel makes them.
void TTribArrec::clickPanel()
{
    runAction([this] {
        Panel1MouseDown();
        Panel1MouseUp();
        RecalculateYear();
    });
}

void TTribArrec::WritePage() { tell(session_.writePage()); }

bool TTribArrec::mayPublish()
{
    // A published report cannot be taken back: errors are told before it goes out.
    using namespace quelvara;
    const int errors = session_.errorsInReport();
    return errors == 0 || platform().askYesNo(this, msg::checkCaption(), msg::goOnDespiteErrors(errors));
}

void TTribArrec::openPublished(const QString &path)
{
    using namespace quelvara;
    if (!path.isEmpty() && fileExists(path) && !platform().openAddress(path)) {
        showOnce(msg::cannotOpenPage(path));
    }
}

void TTribArrec::btViewClick()
{
    if (!mayPublish()) {
        return;
    }
    WritePage();
    openPublished(session_.pagePath());
}

void TTribArrec::btPdfClick()
{
    using namespace quelvara;
    if (!isValidYear(session_.year()) || !mayPublish()) {
        return;
    }
    const FileResult written = writePdf(session_.pageInput());
    if (!written.ok()) {
        showOnce(written.message());
        return;
    }
    openPublished(besidePagePath(session_.year(), session_.prefix(), session_.period(),
                                 QStringLiteral(".pdf")));
}

void TTribArrec::btCheckClick()
{
    using namespace quelvara;
    FindingsDialog dialog(session_.checkYear(), this);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen()) {
        return;
    }
    const Finding finding = *dialog.chosen();
    if (finding.period >= 1 && finding.period <= cbPeriodo->count() &&
        finding.period - 1 != cbPeriodo->currentIndex()) {
        cbPeriodo->setCurrentIndex(finding.period - 1);
        cbPeriodoChange();
    }
    const int row = finding.item.isEmpty() ? -1 : session_.items().indexOf(finding.item);
    if (row >= 0) {
        lbTitulos->setCurrentRow(row);
        showItem(row);
    }
}

void TTribArrec::SpeedButton8Click()
{
    using namespace quelvara;
    if (!mayPublish()) {
        return;
    }
    const QString path = session_.pagePath();
    if (path.isEmpty() || !fileExists(path)) {
        WritePage();
    }
    if (!platform().openAddress(QStringLiteral("mailto:") + vendor::kContactEmail)) {
        // The page to attach, when there is one, is named so it can be sent by hand.
        showOnce(!path.isEmpty() && fileExists(path)
                     ? msg::cannotSendPage(vendor::kContactEmail, path)
                     : msg::cannotOpenMail(vendor::kContactEmail));
    }
}

// ---------------------------------------------------------------------------
// The session's state in the widgets

void TTribArrec::tell(const quelvara::SessionResult &result)
{
    for (const QString &message : result.messages) {
        showOnce(message);
    }
}

void TTribArrec::mirror()
{
    Ano = session_.year();
    Periodo = session_.period();
    PrefixoArq = session_.prefix();
    ArqCadastro = session_.registryFile();
    NumCampos = session_.fieldCount();
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        TipoCampo[std::size_t(i)] = session_.field(i).type;
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
    // Esc leaves the editor as "Sair" does, storing what "Sair" stores.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        runAction([this] { btOKClick(); });
        return;
    }
    // F3 in a field with a "..." button presses it: the buttons stay out of
    // the Tab order, which runs from field to field.
    if (event->key() == Qt::Key_F3 && event->modifiers() == Qt::NoModifier) {
        for (int i = 1; i <= 6; ++i) {
            if (SpeedButton[i]->isVisible() && Edit[i]->isAncestorOf(focusWidget())) {
                event->accept();
                runAction([this, i] { SpeedButtonClick(i); });
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

bool TTribArrec::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // Space presses the panel as a button is pressed, down and up;
            // Enter presses it at once.
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool space = key->key() == Qt::Key_Space;
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if ((!space && !enter) || key->modifiers() & ~Qt::KeypadModifier) {
                break;
            }
            if (!key->isAutoRepeat()) {
                const bool down = event->type() == QEvent::KeyPress;
                if (enter && down) {
                    clickPanel();
                } else if (space && down) {
                    panelPressed_ = true;
                    runAction([this] { Panel1MouseDown(); });
                } else if (space && panelPressed_) {
                    panelPressed_ = false;
                    runAction([this] {
                        Panel1MouseUp();
                        RecalculateYear();
                    });
                }
            }
            return true;
        }
        case QEvent::FocusIn:
            // Alt and the caption's letter acts as a click, as on a button.
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::ShortcutFocusReason) {
                clickPanel();
            }
            break;
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

    SubTitle = new QComboBox(this);
    SubTitle->setObjectName(QStringLiteral("SubTitle"));
    for (const quelvara::CategoryInfo &info : quelvara::categories()) {
        SubTitle->addItem(info.name);
    }
    SubTitle->setCurrentIndex(0);
    SubTitle->hide();

    // Every title, caption and period of the catalogue, whichever category
    // the editor opens in: the layout is made wide enough for all of them.
    QStringList allTitles;
    QStringList allCaptions;
    QStringList allPeriods;
    for (const quelvara::CategoryInfo &info : quelvara::categories()) {
        allTitles += quelvara::reportTitles(info.category);
        allPeriods += info.periods;
        for (const quelvara::ReportKind &kind : quelvara::reportKinds(info.category)) {
            for (int i = 0; i < kind.fieldCount; ++i) {
                allCaptions.append(kind.fields[std::size_t(i)].caption);
            }
        }
    }

    Title = new QComboBox(this);
    Title->setObjectName(QStringLiteral("Title"));
    makeSelectionBox(Title);
    Title->setToolTip(QStringLiteral("Titulo do Relatório"));
    Title->setAccessibleName(QStringLiteral("Título do relatório"));
    QFont bold = Title->font();
    bold.setBold(true);
    Title->setFont(bold);
    Title->setMinimumWidth(widestText(QFontMetrics(bold), allTitles) +
                           Title->minimumSizeHint().width());

    lbAno = makeLabel(this, QStringLiteral("lbAno"), QStringLiteral("An&o: "));
    cbAno = new QComboBox(this);
    cbAno->setObjectName(QStringLiteral("cbAno"));
    makeSelectionBox(cbAno);
    cbAno->setToolTip(QStringLiteral("Ano"));
    cbAno->setMinimumWidth(80);
    // The years up to the next one, today's chosen when the editor opens;
    // any other year can be typed.
    const quelvara::YearChoice years = quelvara::yearChoice(quelvara::platform().currentDate());
    cbAno->addItems(years.years);
    cbAno->setCurrentIndex(-1);
    defaultYear_ = years.defaultIndex;
    lbAno->setBuddy(cbAno);
    cbAno->setAccessibleName(quelvara::accessibleText(lbAno->text()));

    lbPeriodo = makeLabel(this, QStringLiteral("lbPeriodo"), QStringLiteral("&Periodo:"));
    cbPeriodo = new QComboBox(this);
    cbPeriodo->setObjectName(QStringLiteral("cbPeriodo"));
    makeSelectionBox(cbPeriodo);
    cbPeriodo->setToolTip(QStringLiteral("Periodo"));
    cbPeriodo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbPeriodo->setMinimumContentsLength(
        int(std::max_element(allPeriods.begin(), allPeriods.end(),
                             [](const QString &a, const QString &b) { return a.size() < b.size(); })
                ->size()));
    cbPeriodo->setMinimumWidth(140);
    lbPeriodo->setBuddy(cbPeriodo);
    cbPeriodo->setAccessibleName(quelvara::accessibleText(lbPeriodo->text()));

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));

    Label5 = makeLabel(GroupBox1, QStringLiteral("Label5"), QStringLiteral("&Itens do Relatório"));
    lbTitulos = new ItemListBox(GroupBox1);
    lbTitulos->setObjectName(QStringLiteral("lbTitulos"));
    lbTitulos->setToolTip(QStringLiteral("Lista de Items no Relatório"));
    lbTitulos->setSelectionMode(QAbstractItemView::SingleSelection);
    lbTitulos->setContextMenuPolicy(Qt::CustomContextMenu);
    // A long code or number scrolls sideways rather than being cut.
    lbTitulos->setTextElideMode(Qt::ElideNone);
    lbTitulos->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // As wide as drawn, or as a long code needs at the font in use; as tall as the frame.
    lbTitulos->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    lbTitulos->setFixedWidth(
        std::max(150, lbTitulos->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00.00")) +
                          2 * lbTitulos->frameWidth() +
                          lbTitulos->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8));
    Label5->setBuddy(lbTitulos);
    lbTitulos->setAccessibleName(quelvara::accessibleText(Label5->text()));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Deletar1 = PopupMenu1->addAction(QStringLiteral("Deletar"));
    Deletar1->setObjectName(QStringLiteral("Deletar1"));

    // One row per field: caption, entry field, "..." button. The captions'
    // column is as wide as the widest caption of any kind, so that choosing
    // another kind never moves the fields.
    const int captionWidth = widestText(GroupBox1->fontMetrics(), allCaptions);
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(2);
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        Campo[i] = makeLabel(GroupBox1, QStringLiteral("Campo%1").arg(i), QString());
        Campo[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Campo[i]->setMinimumWidth(std::max(196, captionWidth));
        Edit[i] = new EntryBox(GroupBox1);
        Edit[i]->setObjectName(QStringLiteral("Edit%1").arg(i));
        // The field keeps its width whatever its pick list holds; the list
        // itself widens to its longest entry when it drops down.
        Edit[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        Edit[i]->setMinimumWidth(318);
        Campo[i]->setBuddy(Edit[i]);
        fields->addWidget(Campo[i], i - 1, 0);
        fields->addWidget(Edit[i], i - 1, 1);
        if (i <= 6) {
            SpeedButton[i] = new QToolButton(GroupBox1);
            SpeedButton[i]->setObjectName(QStringLiteral("SpeedButton%1").arg(i));
            SpeedButton[i]->setText(QStringLiteral("..."));
            SpeedButton[i]->setToolTip(QStringLiteral("Escolher no cadastro (F3)"));
            // Like every speed button it takes no focus: the field stays the
            // one being edited while its registry is open.
            SpeedButton[i]->setFocusPolicy(Qt::NoFocus);
            SpeedButton[i]->setMinimumWidth(24);
            // Hidden beside some fields, it still keeps its column's width.
            QSizePolicy keep = SpeedButton[i]->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            SpeedButton[i]->setSizePolicy(keep);
            fields->addWidget(SpeedButton[i], i - 1, 2);
        }
    }
    fields->setColumnStretch(1, 1);

    CheckBox1 = new QCheckBox(
        QStringLiteral("Para não incluir este valor no cálculo total, &marque aqui."), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QFont checkFont = CheckBox1->font();
    checkFont.setBold(true);
    CheckBox1->setFont(checkFont);
    QPalette checkPalette = CheckBox1->palette();
    checkPalette.setColor(QPalette::WindowText, Qt::red);
    checkPalette.setColor(QPalette::ButtonText, Qt::red);
    CheckBox1->setPalette(checkPalette);
    // Fields the kind does not use leave their rows empty above the check box.
    fields->setRowStretch(quelvara::kMaxFields, 1);
    fields->addWidget(CheckBox1, quelvara::kMaxFields + 1, 0, 1, 3, Qt::AlignLeft);

    // Bottom rows of buttons: the actions on the item, "Atualizar Valores",
    // sending, viewing and leaving; under them checking and the print version.
    btNovo = makeButton(this, QStringLiteral("btNovo"), QStringLiteral("&Novo"),
                        QStringLiteral("Novo Item"));
    btNovo->setMinimumWidth(66);
    btAdd = makeButton(this, QStringLiteral("btAdd"), QStringLiteral("Sa&lvar"),
                       QStringLiteral("Salvar Item na Lista"));
    btAdd->setMinimumWidth(66);
    btDel = makeButton(this, QStringLiteral("btDel"), QStringLiteral("E&xcluir"),
                       QStringLiteral("Excluir Item da Lista"));
    btDel->setMinimumWidth(66);

    auto *panel = new quelvara::PanelButton(this);
    Panel1 = panel;
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
    Panel1->setMinimumWidth(168);
    auto *panelRow = new QHBoxLayout(Panel1);
    panelRow->setContentsMargins(6, 2, 4, 2);
    panelRow->setSpacing(6);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(18, 18));
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *panelCaption = new QLabel(QStringLiteral("&Atualizar Valores  "), Panel1);
    panelCaption->setObjectName(QStringLiteral("Panel1Caption"));
    QFont panelFont = panelCaption->font();
    panelFont.setBold(true);
    panelCaption->setFont(panelFont);
    panelCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Alt and the underlined letter reach the panel, which then acts as pressed.
    panelCaption->setBuddy(Panel1);
    panelRow->addWidget(Image1);
    panelRow->addWidget(panelCaption, 1);
    Panel1->setAccessibleName(quelvara::accessibleText(panelCaption->text()));
    Panel1->setAccessibleDescription(Panel1->toolTip());
    panel->onPress = [this] { runAction([this] { RecalculateYear(); }); };
    Panel1->installEventFilter(this);

    SpeedButton8 = makeButton(this, QStringLiteral("SpeedButton8"), QStringLiteral("&Enviar"),
                              QStringLiteral("Enviar Relatórios por E-mail"));
    SpeedButton8->setIcon(QIcon(envelopeIcon()));
    // Tab reaches it; a click leaves the field being edited as it was.
    SpeedButton8->setFocusPolicy(Qt::TabFocus);
    SpeedButton8->setMinimumWidth(92);
    btView = makeButton(this, QStringLiteral("btView"), QStringLiteral("&Visualizar Relatório"),
                        QStringLiteral("Visualizar relatório HTML"));
    btView->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    btView->setMinimumWidth(150);
    btCheck = makeButton(this, QStringLiteral("btCheck"), QStringLiteral("Ve&rificar"),
                         QStringLiteral("Verificar os relatórios do ano antes de publicar"));
    btPdf = makeButton(this, QStringLiteral("btPdf"), QStringLiteral("&Gerar PDF"),
                       QStringLiteral("Gerar o relatório em PDF para impressão"));
    btOK =
        makeButton(this, QStringLiteral("btOK"), QStringLiteral("&Sair"), QStringLiteral("Sair"));
    btOK->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    btOK->setMinimumWidth(82);

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

    // The layout: the title, the year and period, the frame with the items
    // and the fields, the buttons. Sizes come from the texts at the font in
    // use, never below the sizes the window was drawn at.
    auto *choice = new QHBoxLayout;
    choice->setSpacing(2);
    choice->addWidget(lbAno);
    choice->addWidget(cbAno);
    choice->addSpacing(16);
    choice->addWidget(lbPeriodo);
    choice->addWidget(cbPeriodo);
    choice->addStretch(1);

    auto *items = new QVBoxLayout;
    items->setSpacing(2);
    items->addWidget(Label5);
    items->addWidget(lbTitulos, 1);
    auto *inside = new QHBoxLayout(GroupBox1);
    inside->setContentsMargins(8, 10, 8, 6);
    inside->setSpacing(8);
    inside->addLayout(items);
    inside->addLayout(fields, 1);

    auto *buttons = new QGridLayout;
    buttons->setHorizontalSpacing(4);
    buttons->setVerticalSpacing(6);
    const QList<QWidget *> firstRow = {btNovo, btAdd, btDel, Panel1, SpeedButton8, btView, btOK};
    for (int column = 0; column < firstRow.size(); ++column) {
        firstRow[column]->setMinimumHeight(28);
        buttons->addWidget(firstRow[column], 0, column);
    }
    btCheck->setMinimumHeight(28);
    btPdf->setMinimumHeight(28);
    buttons->addWidget(btCheck, 1, 3);
    buttons->addWidget(btPdf, 1, 5);

    auto *window = new QVBoxLayout(this);
    window->setContentsMargins(8, 8, 8, 8);
    window->setSpacing(6);
    window->addWidget(Title);
    window->addLayout(choice);
    window->addWidget(GroupBox1, 1);
    window->addLayout(buttons);
    // Sized with every field shown: a kind with fewer fields leaves room.
    window->activate();
    setFixedSize(window->sizeHint().expandedTo(QSize(738, 423)));

    // Tab order: the selection boxes, then the frame's list, fields and check
    // box, then the buttons column by column, "Sair" last.
    QList<QWidget *> order = {Title, cbAno, cbPeriodo, lbTitulos};
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        order.append(Edit[i]);
    }
    order << CheckBox1 << btNovo << btAdd << btDel << Panel1 << btCheck << SpeedButton8 << btView
          << btPdf << btOK;
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
    connect(btPdf, &QPushButton::clicked, this, user([this] { btPdfClick(); }));
    connect(btCheck, &QPushButton::clicked, this, user([this] { btCheckClick(); }));
    connect(SpeedButton8, &QPushButton::clicked, this, user([this] { SpeedButton8Click(); }));

    lbTitulos->onUserSelect = user([this] { lbTitulosClick(); });
    lbTitulos->onDeleteKey = user([this] { btDelClick(); });
    connect(lbTitulos, &QAbstractItemView::clicked, this, user([this] { lbTitulosClick(); }));
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
