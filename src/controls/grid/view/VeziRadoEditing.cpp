#include "controls/grid/view/VeziRado.h"

#include "core/Colour.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// Forces typed letters into one case, as a column filter "<" or ">" asks. Only what was typed or
// pasted since the last check changes: a cell text already there keeps its letters.
class CaseForcing final : public QValidator
{
public:
    explicit CaseForcing(QObject *parent) : QValidator(parent) {}

    void start(bool upper, const QString &text)
    {
        upper_ = upper;
        last_ = text;
    }

    State validate(QString &input, int &) const override
    {
        const qsizetype common = std::min(input.size(), last_.size());
        qsizetype front = 0;
        while (front < common && input[front] == last_[front])
            ++front;
        qsizetype back = 0;
        while (back < common - front &&
               input[input.size() - 1 - back] == last_[last_.size() - 1 - back])
            ++back;
        const QString typed = input.mid(front, input.size() - front - back);
        input =
            input.left(front) + (upper_ ? typed.toUpper() : typed.toLower()) + input.right(back);
        last_ = input;
        return Acceptable;
    }

private:
    bool upper_ = true;
    mutable QString last_;
};

bool isBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

Qt::Alignment editorAlignment(int code)
{
    switch (code) {
    case 1:
    case 5:
    case 9:
        return Qt::AlignHCenter;
    case 0:
    case 4:
    case 8:
        return Qt::AlignLeft;
    default:
        return Qt::AlignRight;
    }
}

QWidget *boundControlOf(const ColumnRecord &column)
{
    return qobject_cast<QWidget *>(column.BoundControl.value<QPointer<QObject>>().data());
}

void loadText(QWidget *control, const QString &text)
{
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else if (auto *box = qobject_cast<QLineEdit *>(control)) {
        box->setText(text);
    } else if (control->property("text").isValid()) {
        control->setProperty("text", text);
    }
}

// The control's value, or nothing when it shows none (a list without a chosen entry).
std::optional<QString> readText(const QWidget *control)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
        if (!combo->isEditable() && combo->currentIndex() < 0)
            return std::nullopt;
        return combo->currentText();
    }
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    const QVariant text = control->property("text");
    if (text.canConvert<QString>())
        return text.toString();
    return std::nullopt;
}

void paintEditColours(QWidget *editor, quint32 back, quint32 fore)
{
    QPalette palette = editor->palette();
    for (const auto role : {QPalette::Base, QPalette::Window, QPalette::Button})
        palette.setColor(role, Colour::toQColor(back));
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, Colour::toQColor(fore));
    editor->setPalette(palette);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Opening an edit.

bool VeziRado::CanEdit() const
{
    return p_.AllowEdit && Rows() > 0;
}

bool VeziRado::EditToggle(bool bAllowMove)
{
    if (!CanEdit())
        return false;
    if (editPending_)
        UpdateCell(bAllowMove);
    else if (Row() != -1 && model_.CurrentColPosition() != -1)
        StartCellEdit(Row(), model_.CurrentColPosition());
    return true;
}

void VeziRado::StartCellEdit(int row, int col)
{
    if (editPending_ && !UpdateCell(false))
        return;
    if (!CanEdit() || row < 0 || row >= Rows() || col < 0 || col >= Cols())
        return;
    // A row the filter hides may still be current; an editor over it would change it unseen.
    if (!model_.rowAt(row).Visible)
        return;
    const int column = model_.ColumnOrder()[size_t(col)];
    const ColumnRecord &record = model_.column(column);
    if (record.DataType == ColumnType::CheckBox)
        return;
    // A bound control starts from the cell's value; the host may load its own in RequestEdit.
    QWidget *bound = boundControlOf(record);
    if (bound)
        loadText(bound, model_.textAt(row, column).toString());

    bool cancel = false;
    emit RequestEdit(row, column, cancel);
    if (cancel)
        return;
    // The host's handler may have opened an edit or changed the rows and columns itself.
    if (editPending_ || row >= Rows() || col >= Cols() ||
        model_.ColumnOrder()[size_t(col)] != column)
        return;

    editRow_ = row;
    editCol_ = col;
    if (bound)
        openBoundEditor(bound, row, column);
    else
        openTextEditor(row, column);
    editPending_ = true;
}

QFont VeziRado::editorFont(int row, int column) const
{
    const CellRecord &cell = model_.cellAt(row, column);
    QFont font = p_.Font;
    const CellFormatTable &formats = model_.CellFormats();
    if (cell.FormatIndex >= 0 && cell.FormatIndex < formats.size())
        font.setFamily(formats.at(cell.FormatIndex).FontName);
    // A progress bar keeps its value in the cell's flag word, so the flags say nothing of style.
    if (model_.column(column).DataType != ColumnType::ProgressBar) {
        font.setBold(cell.Flags.testFlag(CellFlag::Bold));
        font.setItalic(cell.Flags.testFlag(CellFlag::Italic));
        font.setUnderline(cell.Flags.testFlag(CellFlag::Underline));
    }
    return font;
}

void VeziRado::openTextEditor(int row, int column)
{
    boundEditor_ = nullptr;
    PositionEditor();
    txtEdit->setValidator(nullptr);
    // Frameless, the box paints no panel of its own.
    txtEdit->setAutoFillBackground(true);
    paintEditColours(txtEdit, p_.BackColorEdit, p_.ForeColorEdit);
    txtEdit->setFont(editorFont(row, column));
    txtEdit->setAlignment(editorAlignment(model_.cellAt(row, column).Alignment) | Qt::AlignVCenter);
    const QString text = model_.textAt(row, column).toString();
    txtEdit->setText(text);

    const QString &filter = model_.column(column).InputFilter;
    if (filter == u"<" || filter == u">") {
        if (!caseForcing_)
            caseForcing_ = new CaseForcing(txtEdit);
        static_cast<CaseForcing *>(caseForcing_)->start(filter == u">", text);
        txtEdit->setValidator(caseForcing_);
    }
    txtEdit->selectAll();
    txtEdit->show();
    txtEdit->raise();
    txtEdit->setFocus();
}

void VeziRado::openBoundEditor(QWidget *control, int row, int column)
{
    boundEditor_ = control;
    boundGeometry_ = control->geometry();
    boundPalette_ = control->palette();
    boundFont_ = control->font();
    editParent_ = control->parentWidget();
    editParentWasSet_ = editParent_ != nullptr;
    editorMoved_ = control->parentWidget() != viewport();
    if (editorMoved_)
        control->setParent(viewport());

    paintEditColours(control, p_.BackColorEdit, p_.ForeColorEdit);
    control->setFont(editorFont(row, column));
    PositionEditor();
    control->setEnabled(true);
    control->show();
    control->raise();
    control->setFocus();
    if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->showPopup();
}

void VeziRado::PositionEditor()
{
    if (editRow_ < 0 || editRow_ >= Rows() || editCol_ < 0 || editCol_ >= Cols())
        return;
    const int line = p_.GridLineWidth;
    PixelRect rect;
    geometry_.ColLeft(editCol_, rect);
    const int left = rect.left + (geometry_.ImageMarginTest(editCol_) ? 0 : line);
    // A row below the 32-bit range puts the editor just below the view, where it is not seen.
    const int top = int(std::min<qint64>(geometry_.RowTop(editRow_, -1), viewport()->height()));
    const int height = model_.rowAt(editRow_).Height;
    const int width = std::max(rect.right - left, 0);

    if (!boundEditor_) {
        txtEdit->setGeometry(left, top + line, width, std::max(height - line, 0));
        return;
    }
    // Only the edges the host let the grid set move; the others stay where the host put them.
    const int bits = model_.column(model_.ColumnOrder()[size_t(editCol_)]).MoveControl;
    const bool combo = qobject_cast<QComboBox *>(boundEditor_.data()) != nullptr;
    QRect place = boundEditor_->geometry();
    if (bits & 4)
        place.moveLeft(left);
    if (bits & 8)
        place.moveTop(combo ? top : top + line);
    if (bits & 2)
        place.setWidth(width);
    if (bits & 1)
        place.setHeight(std::max(combo ? height - 2 * line : height - line, 0));
    boundEditor_->setGeometry(place);
}

void VeziRado::ForceCellEdit(int lNewRow, int lNewCol, bool bBlankCell)
{
    RowColSet(lNewRow, lNewCol);
    if (Rows() == 0)
        return;
    lastKeyCode_ = 113;
    // A refused commit keeps the old edit open, and its typed text must not be blanked.
    if (editPending_ && !UpdateCell(false))
        return;
    struct AllowEditFor
    {
        bool &flag;
        bool kept;
        ~AllowEditFor() { flag = kept; }
    } restore{p_.AllowEdit, p_.AllowEdit};
    p_.AllowEdit = true;
    StartCellEdit(Row(), model_.CurrentColPosition());
    if (bBlankCell && editPending_ && !boundEditor_)
        txtEdit->clear();
}

void VeziRado::BindControl(int vCol, QWidget *Ctrl, int MoveControl)
{
    model_.setBoundControl(vCol, Ctrl ? QVariant::fromValue(QPointer<QObject>(Ctrl)) : QVariant(),
                           MoveControl);
}

// ---------------------------------------------------------------------------------------------
// Typing into the edit box.

void VeziRado::EditKeyFilter(int &KeyAscii)
{
    // The typing trigger filters its first character also when the host refused the edit.
    const int col = editPending_ ? editCol_ : model_.CurrentColPosition();
    if (col < 0 || col >= Cols())
        return;
    const int column = model_.ColumnOrder()[size_t(col)];
    if (!inputFilterAccepts(model_.column(column).InputFilter, KeyAscii))
        KeyAscii = 0;
    emit EditKeyPress(column, KeyAscii);
}

bool VeziRado::inputFilterAccepts(const QString &filter, int keyAscii)
{
    if (filter.isEmpty() || filter == u"<" || filter == u">")
        return true;
    if (keyAscii == 8 || keyAscii == 46)
        return true;
    return filter.contains(QChar(char16_t(keyAscii)));
}

// ---------------------------------------------------------------------------------------------
// Closing an edit.

bool VeziRado::UpdateCell(bool bAllowMove)
{
    if (!editPending_)
        return true;
    if (editRow_ >= Rows() || editCol_ >= Cols()) {
        // The edited cell went away under the editor: nothing is left to store into.
        CancelEdit();
        return true;
    }
    const int column = model_.ColumnOrder()[size_t(editCol_)];
    const QString old = model_.textAt(editRow_, column).toString();
    QString value;
    bool raise = true;
    if (boundEditor_) {
        value = readText(boundEditor_).value_or(old);
    } else {
        if (isBlank(txtEdit->text()))
            txtEdit->clear();
        value = txtEdit->text();
        raise = value != old;
    }
    if (raise) {
        bool cancel = false;
        emit AfterEdit(editRow_, column, value, cancel);
        if (cancel)
            return false;
        // The host's handler closed the edit or emptied the grid itself.
        if (!editPending_ || editRow_ >= Rows() || editCol_ >= Cols())
            return true;
    }
    if (isBlank(value))
        value.clear();
    const bool changed = value != old;

    model_.DrawingEnable(false);
    CancelEdit();
    if (changed)
        model_.setCellText(editRow_, column, value); // totals, row height and Changed flags
    if (bAllowMove && Row() >= 0) {
        int row = Row();
        int col = model_.CurrentColPosition();
        if (p_.EditMove == Grid::EditMove::Right && col >= 0)
            col = NextVisibleCol(false);
        else if (p_.EditMove == Grid::EditMove::Down)
            row = NextVisibleRow(1, 0);
        model_.SelectRowRange(false, -1, -1);
        RowColSet(row, col < 0 ? -1 : model_.ColumnOrder()[size_t(col)]);
    }
    model_.DrawingEnable(true);
    if (changed)
        model_.RefreshIfRedraw();
    else
        DrawGrid(model_.DrawingOn(), false);
    return true;
}

void VeziRado::CancelEdit()
{
    hideEditor();
    editPending_ = false;
}

void VeziRado::hideEditor()
{
    const QWidget *focus = QApplication::focusWidget();
    bool hadFocus = focus == txtEdit;
    if (QWidget *control = boundEditor_) {
        hadFocus = hadFocus || focus == control || control->isAncestorOf(focus);
        if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->hidePopup();
        control->hide();
        if (editorMoved_ && (editParent_ || !editParentWasSet_)) {
            control->setParent(editParent_);
            control->setGeometry(boundGeometry_);
        }
        control->setPalette(boundPalette_);
        control->setFont(boundFont_);
    }
    boundEditor_ = nullptr;
    editParent_ = nullptr;
    editorMoved_ = false;
    txtEdit->hide();
    if (hadFocus)
        setFocus();
}
