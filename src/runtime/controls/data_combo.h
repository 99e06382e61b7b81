#pragma once

// A data-bound combo box: an edit line over a list that stays open. The list
// shows one line per row of its row source, the row's list field, in row
// order; the bound text is the bound column of the chosen row. The lines are
// read from the recordset's rows when they are shown, so a list of a million
// headwords opens as fast as a short one.
//
// Typing into the edit line jumps to the first row whose list field starts
// with the typed bytes and chooses it; when no row does, no row is chosen
// and the bound text is empty, while the list stays where it stands. Up,
// Down, Page Up and Page Down in the edit line move through the list from
// there; typing in the list goes to the edit line. Choosing a line puts its
// text into the edit line, selected, so that typing starts a new search.

#include "runtime/controls/control.h"

#include <memory>
#include <string>

class QLineEdit;
class QObject;

namespace rt {

class DataComboList;
class Recordset;

class DataCombo : public Control {
public:
    DataCombo(Form &form, QWidget *container);
    ~DataCombo() override;

    // RowSource, ListField and BoundColumn. The list fills as soon as it has
    // a row source and a list field. A field that the row source lacks fails
    // with err::ItemNotFound, a closed row source with err::ObjectClosed.
    // Without a bound column the bound text is the list field.
    void setRowSource(Recordset &rowSource);
    void setListField(const std::string &name);
    void setBoundColumn(const std::string &name);
    const std::string &ListField() const { return listField_; }
    const std::string &BoundColumn() const { return boundField_; }

    // The bound column of the chosen row as text; "" when no row is chosen
    // or the value is Null.
    std::string BoundText() const;

    // The edit line. Assigning it acts as typing it.
    std::string Text() const;
    void setText(const std::string &text);

    // The lines of the list: their number and the list field of a row (from 0).
    long ListCount() const { return count_; }
    std::string List(long row) const;

    // The chosen row, from 0, or -1. Choosing a row puts its list field into
    // the edit line; a row out of range fails with err::InvalidPropertyValue.
    long SelectedRow() const { return chosen_; }
    void setSelectedRow(long row);

    void setFont(const FontSpec &font);

    // Raised once whenever the edit text or the chosen row changes, by the
    // user or by the program.
    Event<> Change;

    QLineEdit *editLine() const { return edit_; }
    DataComboList *listBox() const { return list_; }

private:
    void bind();
    int columnOf(const std::string &name) const;
    // The list field of a row as bytes; "" for Null.
    std::string line(long row) const;
    long firstRowStartingWith(const std::string &prefix);
    void choose(long row, bool scrollToTop);
    void textTyped();
    void chosenInList(long row);

    QLineEdit *edit_;
    DataComboList *list_;
    // Receiver of the widgets' signals; its end drops them.
    std::unique_ptr<QObject> receiver_;

    Recordset *rowSource_ = nullptr;
    std::string listField_;
    std::string boundField_;
    int listColumn_ = -1;
    int boundColumn_ = -1;
    long count_ = 0;
    long chosen_ = -1;
    std::string searched_; // the last text searched for
    long found_ = -1;      // and the row it found
    bool updating_ = false; // the control itself is changing the edit line
};

} // namespace rt
