#include "runtime/controls/data_combo.h"

#include "runtime/data/data_errors.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

#include <cctype>

namespace rt {

// The lines of the list, read from the row source's rows as the view asks for them.
class DataComboModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void reset(const Recordset *rows, int column)
    {
        beginResetModel();
        rows_ = rows;
        column_ = column;
        count_ = rows ? rows->RecordCount() : 0;
        endResetModel();
    }

    long count() const { return count_; }

    // The list field of a row as bytes; "" for Null.
    std::string line(long row) const
    {
        const Variant value = rows_->cell(row, column_);
        return value.isNull() ? std::string() : value.toString();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(count_); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !rows_ || !index.isValid())
            return {};
        try {
            return toQString(line(index.row()));
        } catch (const RuntimeError &) {
            return {}; // the row source was closed under the list
        }
    }

private:
    const Recordset *rows_ = nullptr;
    int column_ = -1;
    long count_ = 0;
};

namespace {

// Sends the list's movement keys from the edit line to the list, and typing
// in the list to the edit line.
class DataComboKeys : public QObject {
public:
    DataComboKeys(QLineEdit *edit, QListView *view) : edit_(edit), view_(view)
    {
        edit_->installEventFilter(this);
        view_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == edit_) {
            switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(view_, event);
                return true;
            default: return false;
            }
        }
        if (watched == view_ && typesText(*key)) {
            // Typing in the list starts a new search.
            edit_->setFocus(Qt::OtherFocusReason);
            edit_->selectAll();
            QCoreApplication::sendEvent(edit_, event);
            return true;
        }
        return false;
    }

private:
    static bool typesText(const QKeyEvent &key)
    {
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QString text = key.text();
        return !text.isEmpty() && text.at(0).isPrint();
    }

    QLineEdit *edit_;
    QListView *view_;
};

bool sameName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

DataCombo::DataCombo(Form &form, QWidget *container)
    : Control(form, container, new QWidget(container)), Change(form.program())
{
    QWidget *box = widget();
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit_ = new QLineEdit(box);
    view_ = new QListView(box);
    layout->addWidget(edit_);
    layout->addWidget(view_, 1);
    box->setFocusProxy(edit_);

    model_ = new DataComboModel(box);
    view_->setModel(model_);
    view_->setUniformItemSizes(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setTextElideMode(Qt::ElideRight);

    receiver_ = std::make_unique<DataComboKeys>(edit_, view_);
    QObject::connect(edit_, &QLineEdit::textChanged, receiver_.get(), [this] {
        if (!updating_)
            textTyped();
    });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, receiver_.get(), [this] {
        if (updating_)
            return;
        const QModelIndexList rows = view_->selectionModel()->selectedRows();
        if (!rows.isEmpty()) // a row taken out of the selection leaves the choice as it is
            currentRowChanged(rows.first().row());
    });
}

DataCombo::~DataCombo() = default;

int DataCombo::columnOf(const std::string &name) const
{
    const int count = rowSource_->FieldCount();
    for (int column = 0; column < count; ++column) {
        if (sameName(rowSource_->Fields(column).Name(), name))
            return column;
    }
    raise(err::ItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

void DataCombo::bind()
{
    if (!rowSource_ || listField_.empty())
        return;
    const int list = columnOf(listField_);
    const int bound = boundField_.empty() ? list : columnOf(boundField_);
    updating_ = true;
    model_->reset(rowSource_, list);
    updating_ = false;
    listColumn_ = list;
    boundColumn_ = bound;
    chosen_ = -1;
}

void DataCombo::setRowSource(Recordset &rowSource)
{
    rowSource.FieldCount(); // a closed row source fails here
    rowSource_ = &rowSource;
    bind();
}

void DataCombo::setListField(const std::string &name)
{
    listField_ = name;
    bind();
}

void DataCombo::setBoundColumn(const std::string &name)
{
    boundField_ = name;
    if (rowSource_ && !listField_.empty())
        boundColumn_ = name.empty() ? listColumn_ : columnOf(name);
}

std::string DataCombo::BoundText() const
{
    if (chosen_ < 0 || !rowSource_ || boundColumn_ < 0)
        return {};
    const Variant value = rowSource_->cell(chosen_, boundColumn_);
    return value.isNull() ? std::string() : value.toString();
}

std::string DataCombo::Text() const
{
    return fromQString(edit_->text());
}

void DataCombo::setText(const std::string &text)
{
    edit_->setText(toQString(text)); // raises Change through textTyped when it differs
}

long DataCombo::ListCount() const
{
    return model_->count();
}

std::string DataCombo::List(long row) const
{
    if (row < 0 || row >= model_->count())
        raise(err::InvalidPropertyValue);
    return model_->line(row);
}

void DataCombo::setSelectedRow(long row)
{
    if (row < -1 || row >= model_->count())
        raise(err::InvalidPropertyValue);
    if (row == chosen_)
        return;
    choose(row, false);
    currentRowChanged(row);
}

void DataCombo::setFont(const FontSpec &font)
{
    const QFont qfont = fontOf(font);
    widget()->setFont(qfont);
    edit_->setFont(qfont);
    view_->setFont(qfont);
}

long DataCombo::firstRowStartingWith(const std::string &prefix) const
{
    if (prefix.empty() || listColumn_ < 0)
        return -1;
    const long count = model_->count();
    for (long row = 0; row < count; ++row) {
        const Variant value = rowSource_->cell(row, listColumn_);
        if (value.isNull())
            continue;
        if (value.toString().starts_with(prefix))
            return row;
    }
    return -1;
}

void DataCombo::choose(long row, bool scrollToTop)
{
    updating_ = true;
    QItemSelectionModel *selection = view_->selectionModel();
    if (row < 0) {
        selection->clear();
    } else {
        const QModelIndex index = model_->index(int(row));
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        view_->scrollTo(index, scrollToTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
    }
    updating_ = false;
    chosen_ = row;
}

void DataCombo::textTyped()
{
    long row = -1;
    try {
        row = firstRowStartingWith(Text());
    } catch (const RuntimeError &) {
        row = -1; // the row source was closed under the list
    }
    choose(row, true);
    Change.raise();
}

void DataCombo::currentRowChanged(long row)
{
    chosen_ = row;
    std::string line;
    if (row >= 0) {
        try {
            line = model_->line(row);
        } catch (const RuntimeError &) {
        }
    }
    updating_ = true;
    edit_->setText(toQString(line));
    edit_->selectAll(); // what is typed next replaces the chosen headword
    updating_ = false;
    Change.raise();
}

} // namespace rt
