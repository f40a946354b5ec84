#include "Ucadastro.h"

#include "catalogue.h"
#include "messages.h"
#include "platform.h"
#include "registry.h"
#include "textfile.h"
#include "values.h"

#include <QComboBox>
#include <QGroupBox>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStringListModel>

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
                        const QString &hint, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setGeometry(geometry);
    return button;
}

QComboBox *makeField(QWidget *parent, const char *name, QAbstractItemModel *pickList,
                     const QRect &geometry)
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
    field->setGeometry(geometry);
    return field;
}

QListView *makeList(QWidget *parent, const char *name, QAbstractItemModel *model,
                    const QRect &geometry)
{
    auto *list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(model);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setGeometry(geometry);
    return list;
}

} // namespace

TCadastro::TCadastro(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Cadastro"));
    setWindowTitle(QStringLiteral("Cadastro"));
    setGeometry(172, 215, 537, 188);
    setFixedSize(537, 188);

    lines_ = new QStringListModel(this);
    auto *titles = new FieldColumn(lines_, 1, this);
    auto *names = new FieldColumn(lines_, 2, this);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 4, 521, 141);

    Campo1 = new QLabel(QStringLiteral("Campo1:"), GroupBox1);
    Campo1->setObjectName(QStringLiteral("Campo1"));
    Campo1->setGeometry(10, 22, 62, 17);
    Edit1 = makeField(GroupBox1, "Edit1", titles, QRect(74, 20, 281, 22));
    Campo1->setBuddy(Edit1);

    Campo2 = new QLabel(QStringLiteral("Campo2:"), GroupBox1);
    Campo2->setObjectName(QStringLiteral("Campo2"));
    Campo2->setGeometry(10, 54, 62, 17);
    Edit2 = makeField(GroupBox1, "Edit2", names, QRect(74, 52, 281, 22));
    Campo2->setBuddy(Edit2);

    btNew = makeButton(GroupBox1, "btNew", QStringLiteral("Novo"), QStringLiteral("Novo Item"),
                       QRect(74, 96, 85, 27));
    btSave = makeButton(GroupBox1, "btSave", QStringLiteral("Salvar"),
                        QStringLiteral("Salvar Item no Cadastro"), QRect(172, 96, 85, 27));
    btDel = makeButton(GroupBox1, "btDel", QStringLiteral("Excluir"),
                       QStringLiteral("Excluir Item do Cadastro"), QRect(270, 96, 85, 27));

    lbTitulos = makeList(GroupBox1, "lbTitulos", titles, QRect(366, 16, 145, 115));
    lbTitulos->setToolTip(QStringLiteral("Lista de Items Cadastrados"));
    lbCad = makeList(GroupBox1, "lbCad", lines_, QRect(366, 16, 145, 115));
    lbCad->setFocusPolicy(Qt::NoFocus);
    lbCad->hide();
    lbTitulos->raise();

    BitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("OK"), QString(), QRect(352, 153, 85, 27));
    BitBtn1->setDefault(true);
    BitBtn2 =
        makeButton(this, "BitBtn2", QStringLiteral("Cancela"), QString(), QRect(444, 153, 85, 27));

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
    Campo1->setText(label1);
    Campo2->setText(label2);

    const quelvara::TextLines read = quelvara::readRegistry(FileName);
    sorted_ = false;
    unreadable_ = read.status == quelvara::ReadStatus::Unreadable;
    changeLines([&](QStringListModel &model) { model.setStringList(read.lines); });
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

void TCadastro::btSaveClick()
{
    if (refuseWrite()) {
        return;
    }
    const QString first =
        quelvara::acceptTyped(this, quelvara::registryField(Edit1->currentText()));
    const QString second =
        quelvara::acceptTyped(this, quelvara::registryField(Edit2->currentText()));
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
    }
    keepSorted();
    quelvara::makeDir(quelvara::dataDir());
    if (!quelvara::writeRegistry(FileName, lines()).ok()) {
        quelvara::platform().showMessage(this, quelvara::msg::cannotSaveRegistry());
    }
    btNewClick();
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
