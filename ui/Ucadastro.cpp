#include "Ucadastro.h"

#include "catalogue.h"
#include "keyboard.h"
#include "messages.h"
#include "platform.h"
#include "registry.h"
#include "textfile.h"
#include "values.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStringListModel>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

TCadastro *Cadastro = nullptr;

namespace {

// One field of every registry line, for the views that show only that field:
// the titles and the first pick list show the first fields, the second pick
// list the second ones. Read only: the lines change through the buttons alone.
class FieldColumn final : public QIdentityProxyModel {
public:
    FieldColumn(QAbstractItemModel *lines, int field, QObject *parent)
        : QIdentityProxyModel(parent)
        , field_(field)
    {
        setSourceModel(lines);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const QVariant line = QIdentityProxyModel::data(index, role);
        if (role != Qt::DisplayRole && role != Qt::EditRole) {
            return line;
        }
        return quelvara::registryLineField(line.toString(), field_);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QIdentityProxyModel::flags(index) & ~Qt::ItemIsEditable;
    }

private:
    int field_;
};

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QString &hint)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    // The size the buttons were drawn at, or more when their text needs it.
    button->setMinimumSize(85, 27);
    return button;
}

QComboBox *makeField(QWidget *parent, const char *name, QAbstractItemModel *pickList)
{
    auto *field = new QComboBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setEditable(true);
    // The pick list mirrors the registry line for line: Enter must not add to
    // it, and no completion may change what the user typed.
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setCompleter(nullptr);
    field->setModel(pickList);
    // Qt selects the entry equal to the typed text when the field is left;
    // the other field would then follow a choice the user never made and
    // lose what was typed into it.
    QObject::disconnect(field->lineEdit(), &QLineEdit::editingFinished, field, nullptr);
    // The field keeps its width whatever the registry holds; its drop-down
    // list widens to the longest entry.
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    field->setMinimumWidth(281);
    field->view()->setTextElideMode(Qt::ElideNone);
    return field;
}

QListView *makeList(QWidget *parent, const char *name, QAbstractItemModel *model)
{
    auto *list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(model);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // A long title scrolls sideways rather than being cut.
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Its width follows the titles (fitToContents); its height, the frame's.
    list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return list;
}

} // namespace

TCadastro::TCadastro(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Cadastro"));
    setWindowTitle(QStringLiteral("Cadastro"));

    lines_ = new QStringListModel(this);
    auto *titles = new FieldColumn(lines_, 1, this);
    auto *names = new FieldColumn(lines_, 2, this);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));

    Campo1 = new QLabel(QStringLiteral("Campo1:"), GroupBox1);
    Campo1->setObjectName(QStringLiteral("Campo1"));
    Edit1 = makeField(GroupBox1, "Edit1", titles);
    Campo1->setBuddy(Edit1);

    Campo2 = new QLabel(QStringLiteral("Campo2:"), GroupBox1);
    Campo2->setObjectName(QStringLiteral("Campo2"));
    Edit2 = makeField(GroupBox1, "Edit2", names);
    Campo2->setBuddy(Edit2);

    btNew = makeButton(GroupBox1, "btNew", QStringLiteral("&Novo"), QStringLiteral("Novo Item"));
    btSave = makeButton(GroupBox1, "btSave", QStringLiteral("&Salvar"),
                        QStringLiteral("Salvar Item no Cadastro"));
    btDel = makeButton(GroupBox1, "btDel", QStringLiteral("&Excluir"),
                       QStringLiteral("Excluir Item do Cadastro"));

    lbTitulos = makeList(GroupBox1, "lbTitulos", titles);
    lbTitulos->setToolTip(QStringLiteral("Lista de Items Cadastrados"));
    lbTitulos->setAccessibleName(QStringLiteral("Itens cadastrados"));
    lbCad = makeList(GroupBox1, "lbCad", lines_);
    lbCad->setFocusPolicy(Qt::NoFocus);
    lbCad->hide();

    BitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("&OK"), QString());
    BitBtn1->setDefault(true);
    BitBtn2 = makeButton(this, "BitBtn2", QStringLiteral("&Cancela"), QString());

    // The fields and their buttons on the left, the titles on the right, OK
    // and Cancela below the frame on the right; sizes follow the font.
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(4);
    fields->setVerticalSpacing(10);
    fields->addWidget(Campo1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Campo2, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->setRowStretch(2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(13);
    buttons->addWidget(btNew);
    buttons->addWidget(btSave);
    buttons->addWidget(btDel);
    fields->addLayout(buttons, 3, 1);
    auto *inside = new QHBoxLayout(GroupBox1);
    inside->setContentsMargins(10, 12, 10, 10);
    inside->setSpacing(11);
    inside->addLayout(fields);
    inside->addWidget(lbTitulos, 1);
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(7);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 4, 8, 8);
    outer->setSpacing(8);
    outer->addWidget(GroupBox1, 1);
    outer->addLayout(bottom);
    fitToContents();
    move(172, 215);

    setTabOrder(btNew, btSave);
    setTabOrder(btSave, btDel);
    setTabOrder(btDel, lbTitulos);
    setTabOrder(lbTitulos, Edit2);
    setTabOrder(Edit2, Edit1);
    setTabOrder(Edit1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(btNew, &QPushButton::clicked, this, &TCadastro::btNewClick);
    connect(btSave, &QPushButton::clicked, this, &TCadastro::btSaveClick);
    connect(btDel, &QPushButton::clicked, this, &TCadastro::btDelClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TCadastro::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TCadastro::BitBtn2Click);
    connect(lbTitulos->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TCadastro::lbTitulosClick);
    connect(lbTitulos, &QAbstractItemView::clicked, this, &TCadastro::lbTitulosClick);
    lbTitulos->installEventFilter(this);

    // Only the user's own changes pair the fields: typing, or picking from
    // the list (mouse, arrow keys, wheel). Changes made here emit neither.
    connect(Edit1->lineEdit(), &QLineEdit::textEdited, this, &TCadastro::Edit1Change);
    connect(Edit1, &QComboBox::activated, this, &TCadastro::Edit1Change);
    connect(Edit2->lineEdit(), &QLineEdit::textEdited, this, &TCadastro::Edit2Change);
    connect(Edit2, &QComboBox::activated, this, &TCadastro::Edit2Change);
}

TCadastro::~TCadastro() = default;

QStringList TCadastro::lines() const { return lines_->stringList(); }

// Changes the lines, and with them every list. The pick lists then have no
// entry picked and the fields keep the texts they showed; no change made
// here is taken for the user's.
template <typename Change>
void TCadastro::changeLines(Change change)
{
    QScopedValueRollback guard(updating_, true);
    const QString text1 = Edit1->currentText();
    const QString text2 = Edit2->currentText();
    change(*lines_);
    Edit1->setCurrentIndex(-1);
    Edit2->setCurrentIndex(-1);
    Edit1->setEditText(text1);
    Edit2->setEditText(text2);
}

void TCadastro::reject() { BitBtn2Click(); }

void TCadastro::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        FormActivate();
    }
}

bool TCadastro::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lbTitulos && event->type() == QEvent::KeyPress &&
        lbTitulosKeyDown(static_cast<QKeyEvent *>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TCadastro::FormActivate()
{
    const auto [label1, label2] = quelvara::registryLabels(FileName);
    // Alt and a letter of the label goes to its field; the letters are
    // chosen clear of the buttons'.
    QString taken;
    for (const QPushButton *button : {btNew, btSave, btDel, BitBtn1, BitBtn2}) {
        taken += quelvara::mnemonicLetter(button->text());
    }
    Campo1->setText(quelvara::withMnemonic(label1, taken));
    Campo2->setText(quelvara::withMnemonic(label2, taken));
    Edit1->setAccessibleName(quelvara::accessibleText(label1));
    Edit2->setAccessibleName(quelvara::accessibleText(label2));

    const quelvara::TextLines read = quelvara::readRegistry(FileName);
    sorted_ = false;
    unreadable_ = read.status == quelvara::ReadStatus::Unreadable;
    changeLines([&](QStringListModel &model) { model.setStringList(read.lines); });
    fitToContents();
    btNewClick();
    btNew->setFocus(Qt::OtherFocusReason);

    if (unreadable_) {
        // Shown once the dialog is on screen, over it.
        const QString path = quelvara::registryPath(FileName);
        const QString text = read.tooLarge ? quelvara::msg::fileTooLarge(path)
                                           : quelvara::msg::cannotReadFile(path);
        QMetaObject::invokeMethod(
            this, [this, text] { quelvara::platform().showMessage(this, text); },
            Qt::QueuedConnection);
    }
}

void TCadastro::lbTitulosClick()
{
    if (updating_) {
        return;
    }
    const int n = selectedTitle();
    if (n < 0) {
        return;
    }
    const QString line = lines().at(n);
    QScopedValueRollback guard(updating_, true);
    Edit1->setCurrentIndex(n);
    Edit2->setCurrentIndex(n);
    Edit1->setEditText(quelvara::registryLineField(line, 1));
    Edit2->setEditText(quelvara::registryLineField(line, 2));
    Edit1->lineEdit()->home(false);
    Edit2->lineEdit()->home(false);
}

// The Delete key in the title list deletes as "Excluir" does.
bool TCadastro::lbTitulosKeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Delete) {
        return false;
    }
    btDelClick();
    return true;
}

void TCadastro::btNewClick()
{
    QScopedValueRollback guard(updating_, true);
    Edit1->setCurrentIndex(-1);
    Edit2->setCurrentIndex(-1);
    Edit1->setEditText(QString());
    Edit2->setEditText(QString());
    lbTitulos->selectionModel()->clear();
}

bool TCadastro::btSaveClick()
{
    if (refuseWrite()) {
        return false;
    }
    const QString first =
        quelvara::acceptTyped(this, quelvara::registryField(Edit1->currentText()));
    const QString second =
        quelvara::acceptTyped(this, quelvara::registryField(Edit2->currentText()));
    bool saved = false;
    if (first.isEmpty()) {
        quelvara::platform().showMessage(this, quelvara::msg::firstFieldEmpty());
    } else {
        const QString line = quelvara::makeRegistryLine(first, second);
        QStringList known = lines();
        if (!quelvara::containsLine(known, line)) {
            // Before the first write a new line goes last, and the sort that
            // follows puts it in its place.
            const int at = int(sorted_ ? quelvara::insertSorted(known, line) : known.size());
            changeLines([&](QStringListModel &model) {
                model.insertRows(at, 1);
                model.setData(model.index(at), line);
            });
        }
        saved = true;
    }
    keepSorted();
    quelvara::makeDir(quelvara::dataDir());
    if (!quelvara::writeRegistry(FileName, lines()).ok()) {
        quelvara::platform().showMessage(this, quelvara::msg::cannotSaveRegistry());
        saved = false;
    }
    btNewClick();
    return saved;
}

void TCadastro::btDelClick()
{
    if (refuseWrite()) {
        return;
    }
    const int n = selectedTitle();
    if (n < 0) {
        quelvara::platform().showMessage(this, quelvara::msg::selectAnItem());
    } else {
        changeLines([n](QStringListModel &model) { model.removeRows(n, 1); });
    }
    keepSorted();
    // The data directory is not created here: with no directory there is no
    // file, and nothing to delete from.
    if (!quelvara::writeRegistry(FileName, lines()).ok()) {
        quelvara::platform().showMessage(
            this, quelvara::msg::cannotAlterFile(quelvara::registryPath(FileName)));
    }
    btNewClick();
}

void TCadastro::Edit1Change()
{
    if (updating_) {
        return;
    }
    const int position = Edit1->currentIndex();
    if (Edit2->currentIndex() != position) {
        setPosition(Edit2, position);
    }
}

void TCadastro::Edit2Change()
{
    if (updating_) {
        return;
    }
    const int position = Edit2->currentIndex();
    if (Edit1->currentIndex() != position) {
        setPosition(Edit1, position);
    }
}

void TCadastro::BitBtn1Click()
{
    // An entry typed and not saved is not dropped behind the user's back:
    // saved, it is the one chosen; when it cannot be saved the dialog stays.
    // A registry that could not be read takes no entry, as the user was told.
    const QString typed = unreadable_ ? QString() : typedLine();
    if (!typed.isEmpty() && quelvara::platform().askYesNo(this, quelvara::msg::saveEntryCaption(),
                                                          quelvara::msg::saveTypedEntry())) {
        if (quelvara::registryLineField(typed, 1).isEmpty()) {
            quelvara::platform().showMessage(this, quelvara::msg::firstFieldEmpty());
            return;
        }
        if (!btSaveClick()) {
            return;
        }
        ChosenIndex = -1;
        const QStringList saved = lines();
        for (qsizetype i = 0; i < saved.size(); ++i) {
            if (quelvara::containsLine({saved.at(i)}, typed)) {
                ChosenIndex = int(i);
                break;
            }
        }
        accept();
        return;
    }
    ChosenIndex = selectedTitle();
    accept();
}

void TCadastro::BitBtn2Click()
{
    ChosenIndex = -1;
    QDialog::reject();
}

// From the first write on the lines stay sorted, and so does the file.
void TCadastro::keepSorted()
{
    if (sorted_) {
        return;
    }
    sorted_ = true;
    QStringList sorted = lines();
    quelvara::sortRegistry(sorted);
    changeLines([&](QStringListModel &model) { model.setStringList(sorted); });
}

int TCadastro::selectedTitle() const
{
    const QModelIndexList selected = lbTitulos->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

// Moves a field to a position of its pick list; -1 empties a field that had one.
void TCadastro::setPosition(QComboBox *field, int position)
{
    QScopedValueRollback guard(updating_, true);
    field->setCurrentIndex(position);
    field->lineEdit()->home(false); // a long name shows from its start
}

// The line the two fields would make, when the user typed one that the
// registry does not hold; empty when the fields are empty or hold an entry.
QString TCadastro::typedLine() const
{
    const QString first = quelvara::registryField(Edit1->currentText());
    const QString second = quelvara::registryField(Edit2->currentText());
    if (first.isEmpty() && second.isEmpty()) {
        return {};
    }
    const QString line = quelvara::makeRegistryLine(first, second);
    return quelvara::containsLine(lines(), line) ? QString() : line;
}

// The dialog keeps the size it was drawn at, or grows to what its texts and
// titles need at the font in use; the user does not resize it.
void TCadastro::fitToContents()
{
    // The titles' list widens to its longest title, up to a limit past which it scrolls.
    const int frame = 2 * lbTitulos->frameWidth() + 4 +
                      lbTitulos->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int widest = std::max(0, lbTitulos->sizeHintForColumn(0)) + frame;
    lbTitulos->setFixedWidth(std::clamp(widest, 145, 40 * fontMetrics().averageCharWidth()));
    layout()->activate();
    setFixedSize(layout()->sizeHint().expandedTo(QSize(537, 188)));
}

// A registry whose file exists but could not be read is shown empty; writing
// that empty list would destroy the user's entries.
bool TCadastro::refuseWrite()
{
    if (!unreadable_) {
        return false;
    }
    quelvara::platform().showMessage(
        this, quelvara::msg::registryNotReadCannotSave(quelvara::registryPath(FileName)));
    return true;
}

namespace quelvara {

int openRegistry(QWidget *parent, const QString &fileName)
{
    TCadastro *const previous = Cadastro;
    auto dialog = std::make_unique<TCadastro>(parent);
    Cadastro = dialog.get();
    dialog->FileName = fileName;
    dialog->exec();
    const int chosen = dialog->ChosenIndex;
    dialog.reset();
    Cadastro = previous;
    return chosen;
}

} // namespace quelvara
