#include "runtime/controls/data_combo.h"

#include "runtime/controls/data_combo_list.h"
#include "runtime/data/data_errors.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cctype>

namespace rt {

namespace {

// Sends the list's movement keys from the edit line to the list, and typing
// in the list to the edit line.
class DataComboKeys : public QObject {
public:
    DataComboKeys(QLineEdit *edit, DataComboList *list) : edit_(edit), list_(list)
    {
        edit_->installEventFilter(this);
        list_->installEventFilter(this);
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
                QCoreApplication::sendEvent(list_, event);
                return true;
            default: return false;
            }
        }
        if (watched == list_ && typesText(*key)) {
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
    DataComboList *list_;
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
    list_ = new DataComboList(
        [this](long row) {
            try {
                return toQString(line(row));
            } catch (const RuntimeError &) {
                return QString(); // the row source was closed under the list
            }
        },
        box);
    layout->addWidget(edit_);
    layout->addWidget(list_, 1);
    box->setFocusProxy(edit_);

    receiver_ = std::make_unique<DataComboKeys>(edit_, list_);
    QObject::connect(edit_, &QLineEdit::textChanged, receiver_.get(), [this] {
        if (!updating_)
            textTyped();
    });
    list_->chosenByUser = [this](long row) { chosenInList(row); };
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
    count_ = rowSource_->RecordCount();
    listColumn_ = list;
    boundColumn_ = bound;
    chosen_ = -1;
    searched_.clear();
    found_ = -1;
    list_->setRowCount(count_);
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

std::string DataCombo::line(long row) const
{
    if (!rowSource_ || listColumn_ < 0)
        return {};
    const Variant value = rowSource_->cell(row, listColumn_);
    return value.isNull() ? std::string() : value.toString();
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

std::string DataCombo::List(long row) const
{
    if (row < 0 || row >= count_)
        raise(err::InvalidPropertyValue);
    return line(row);
}

void DataCombo::setSelectedRow(long row)
{
    if (row < -1 || row >= count_)
        raise(err::InvalidPropertyValue);
    if (row == chosen_)
        return;
    choose(row, false);
    chosenInList(row);
}

void DataCombo::setFont(const FontSpec &font)
{
    const QFont qfont = fontOf(font);
    widget()->setFont(qfont);
    edit_->setFont(qfont);
    list_->setFont(qfont);
}

long DataCombo::firstRowStartingWith(const std::string &prefix)
{
    if (prefix.empty() || listColumn_ < 0)
        return -1;
    // A longer text can only start rows that the shorter one started: the
    // search goes on from the last match, and ends at once after none.
    long from = 0;
    if (!searched_.empty() && prefix.starts_with(searched_)) {
        if (found_ < 0)
            return -1;
        from = found_;
    }
    const long row = rowSource_->findPrefix(listColumn_, prefix, from);
    searched_ = prefix;
    found_ = row;
    return row;
}

void DataCombo::choose(long row, bool scrollToTop)
{
    if (row < 0)
        list_->clearChoice();
    else
        list_->chooseRow(row, scrollToTop);
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

void DataCombo::chosenInList(long row)
{
    chosen_ = row;
    std::string text;
    if (row >= 0) {
        try {
            text = line(row);
        } catch (const RuntimeError &) {
        }
    }
    updating_ = true;
    edit_->setText(toQString(text));
    edit_->selectAll(); // what is typed next replaces the chosen headword
    updating_ = false;
    Change.raise();
}

} // namespace rt
