#include "controls/grid/view/VeziRado.h"

#include "core/Units.h"
#include "ui/DesktopCodes.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

// The grid sees every key before its edit box does. Key down acts first (moves, selection,
// insert and delete, check boxes), key press takes the typed character (type-to-edit,
// type-ahead), and the host's own key events come last.

namespace {

enum KeyCodes : int {
    CodeBack = 8,
    CodeTab = 9,
    CodeEnter = 13,
    CodeEscape = 27,
    CodeSpace = 32,
    CodePageUp = 33,
    CodePageDown = 34,
    CodeEnd = 35,
    CodeHome = 36,
    CodeLeft = 37,
    CodeUp = 38,
    CodeRight = 39,
    CodeDown = 40,
    CodeInsert = 45,
    CodeDelete = 46,
    CodeA = 65,
    CodeF2 = 113,
};

constexpr int ShiftBit = 1;
constexpr int CtrlBit = 2;
// A locked row counts as a stop for the row steps.
constexpr int StopAtLocked = 512;
constexpr qint64 TypeAheadPause = 1000;

int keyCodeOf(const QKeyEvent &event)
{
    return DesktopCodes::keyCode(event.key());
}

int shiftOf(const QKeyEvent &event)
{
    return VeziRado::shiftCode(event.modifiers());
}

// The character a key types, 0 when it types none.
int keyAsciiOf(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return CodeEnter;
    case Qt::Key_Escape:
        return CodeEscape;
    case Qt::Key_Backspace:
        return CodeBack;
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    const char16_t c = text.at(0).unicode();
    if (c == 127)
        return 0;
    // Ctrl and Alt both held is AltGr, which types the character it shows. Some platforms hand
    // over the letter itself with Ctrl or Alt: Ctrl makes it a control character, Alt types none.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    if (ctrl != alt && c >= 32) {
        if (alt)
            return 0;
        const char16_t upper = QChar(c).toUpper().unicode();
        return upper >= u'@' && upper <= u'_' ? int(upper - u'@') : 0;
    }
    return int(c);
}

// Hands events of the edit box to the grid before the edit box sees them.
class KeyRelay : public QObject
{
public:
    KeyRelay(QObject *parent, std::function<bool(QEvent *)> relay)
        : QObject(parent), relay_(std::move(relay))
    {
    }
    bool eventFilter(QObject *, QEvent *event) override { return relay_(event); }

private:
    std::function<bool(QEvent *)> relay_;
};

qint64 monotonicMilliseconds()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

} // namespace

int VeziRado::shiftCode(Qt::KeyboardModifiers modifiers)
{
    return DesktopCodes::shiftCode(modifiers);
}

void VeziRado::setTickSource(std::function<qint64()> source)
{
    tickSource_ = std::move(source);
}

// ---------------------------------------------------------------------------------------------
// Where keys come in.

void VeziRado::installKeyRelay()
{
    txtEdit->installEventFilter(new KeyRelay(this, [this](QEvent *event) {
        const QEvent::Type type = event->type();
        return (type == QEvent::KeyPress || type == QEvent::KeyRelease) && editBoxKeyEvent(event);
    }));
}

void VeziRado::keyPressEvent(QKeyEvent *event)
{
    if (!routeKey(event, false))
        event->ignore();
}

void VeziRado::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    KeyUpHandler(keyCodeOf(*event), shiftOf(*event));
}

bool VeziRado::editBoxKeyEvent(QEvent *event)
{
    auto *key = static_cast<QKeyEvent *>(event);
    QObject *box = txtEdit;
    if (event->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            KeyUpHandler(keyCodeOf(*key), shiftOf(*key));
        box->event(event);
    } else if (!routeKey(key, true)) {
        box->event(event);
    }
    // Whatever the edit box leaves unused must not come round to the grid a second time.
    event->accept();
    return true;
}

bool VeziRado::routeKey(QKeyEvent *event, bool fromEditBox)
{
    const bool editWasOpen = editPending_;
    const bool handled = KeyDownHandler(keyCodeOf(*event), shiftOf(*event));
    const int typed = keyAsciiOf(*event);
    int keyAscii = typed;
    const bool survives = typed != 0 && KeyPressHandler(keyAscii);
    if (handled)
        return true;
    // Only an edit that was open before the key takes it; type-to-edit has put it in already.
    if (!editWasOpen || !editPending_)
        return fromEditBox || typed != 0;
    QObject *box = txtEdit;
    if (typed == 0) {
        // Caret keys and the like belong to the edit box.
        if (fromEditBox)
            return false;
        box->event(event);
        return true;
    }
    if (!survives)
        return true;
    EditKeyFilter(keyAscii);
    if (keyAscii == 0)
        return true;
    if (keyAscii == typed && fromEditBox)
        return false;
    QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(),
                      QString(QChar(char16_t(keyAscii))));
    box->event(&changed);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Key down.

bool VeziRado::KeyDownHandler(int KeyCode, int Shift)
{
    HideCellToolTip(false);
    model_.setLockedRowHit(false);
    model_.setLockedColHit(false);
    storedShift_ = Shift;
    const int rowsBefore = model_.Rows();
    model_.DrawingEnable(false);

    const int current = model_.Row();
    const bool currentShown = current >= 0 && model_.rowAt(current).Visible;
    const int last = model_.LastRowIndex();
    const int multiSelect = model_.MultiSelect();
    const bool shiftHeld = (Shift & ShiftBit) != 0;
    const bool ctrlHeld = (Shift & CtrlBit) != 0;
    int targetRow = current;
    int targetCol = model_.CurrentColPosition();
    bool selectOnly = true;
    bool handled = false;
    bool repaint = false;

    switch (KeyCode) {
    case CodeEnter:
    case CodeEscape:
        lastKeyCode_ = KeyCode;
        selectOnly = false;
        if (p_.EditTrigger & Grid::Typing) {
            handled = true; // the key press takes it
        } else if (KeyCode == CodeEscape) {
            CancelEdit();
            handled = true;
        } else {
            handled = EditToggle(false);
        }
        break;

    case CodeInsert:
        lastKeyCode_ = KeyCode;
        handled = true;
        if (p_.AllowInsert && !editPending_) {
            bool cancel = false;
            emit BeforeInsert(model_.Row(), cancel);
            if (!cancel) {
                const int position = std::max(model_.Row(), 0);
                model_.setCurrentRowPosition(position);
                AddItem(QString(), position, false, true, false, true, 0);
                // The row that was current moved down under the new one.
                model_.setCurrentRowPosition(position + 1);
                model_.RowColSet(position, -1);
                // The move ends on the new row, which has no current column.
                targetRow = model_.Row();
                targetCol = model_.CurrentColPosition();
                emit AfterInsert(model_.Row());
                repaint = true;
            }
        }
        break;

    case CodeDelete:
        if (!p_.AllowDelete || editPending_)
            break;
        handled = true;
        // Without a current row there is nothing to delete; a row the filter hides may still be
        // current, and must not be removed or cleared unseen.
        if (model_.Rows() > 0 && currentShown) {
            const int colPosition = model_.CurrentColPosition();
            if (p_.FocusRectMode != Grid::FocusRectMode::Cell) {
                bool cancel = false;
                emit BeforeDelete(current, cancel);
                if (!cancel) {
                    RemoveItem(-1);
                    emit AfterDelete();
                    repaint = true;
                }
            } else if (colPosition >= 0) {
                const int col = model_.ColumnOrder()[size_t(colPosition)];
                const ColumnRecord &column = model_.column(col);
                if (column.DataType != ColumnType::CheckBox && !column.Locked) {
                    bool cancel = false;
                    emit BeforeEdit(current, col, cancel);
                    emit BeforeDelete(current, cancel);
                    if (!cancel) {
                        // Clearing the text keeps the column total in step.
                        model_.setCellText(current, col, QString());
                        QString cleared;
                        bool ignored = false;
                        emit AfterEdit(current, col, cleared, ignored);
                        emit AfterDelete();
                        repaint = true;
                    }
                }
            }
        }
        if (targetRow > model_.LastRowIndex())
            targetRow = -1;
        break;

    case CodeF2:
        lastKeyCode_ = KeyCode;
        selectOnly = false;
        if (p_.EditTrigger & Grid::F2Key)
            handled = EditToggle(false);
        break;

    case CodeSpace: {
        selectOnly = false;
        const int colPosition = model_.CurrentColPosition();
        const int col = colPosition >= 0 ? model_.ColumnOrder()[size_t(colPosition)] : -1;
        if (p_.RowCheckBoxes) {
            // No current row, or one the filter hides: no row's check box is meant.
            if (currentShown) {
                ctrlKeyMarker_ = true;
                repaint = true;
                model_.setRowChecked(current, !model_.RowChecked(current));
                emit RowCheckChanged(current);
                handled = true;
            }
        } else if (viewport()->cursor().shape() == Qt::PointingHandCursor) {
            emit CellHandClick(mouseRow_, model_.Col(), storedShift_);
        } else if (col >= 0 && currentShown && model_.column(col).DataType == ColumnType::Button) {
            emit CellButtonClick(current, col);
        } else if (col >= 0 && currentShown &&
                   model_.column(col).DataType == ColumnType::CheckBox && CanEdit()) {
            repaint = true;
            bool cancel = false;
            emit BeforeEdit(current, col, cancel);
            if (!cancel) {
                const bool checked = !model_.CellChecked(current, col);
                model_.setCellChecked(current, col, checked);
                QString text = checked ? QStringLiteral("True") : QStringLiteral("False");
                bool ignored = false;
                emit AfterEdit(current, col, text, ignored);
                handled = true;
            }
        }
        break;
    }

    case CodeA:
        selectOnly = false;
        if ((multiSelect & 2) && ctrlHeld) {
            ctrlKeyMarker_ = true;
            model_.SelectRowRange(true, -1, -1);
            emit SelectionChanged();
            repaint = true;
            handled = true;
        }
        break;

    case CodeUp:
    case CodeDown: {
        lastKeyCode_ = KeyCode;
        if ((multiSelect & 1) && shiftHeld)
            selectOnly = false;
        if (!UpdateCell(false))
            break;
        handled = true;
        if (last < 0)
            break;
        const int r = NextUnlockedRow(KeyCode == CodeUp);
        targetRow = r;
        // The steps end on a locked or hidden row only at the edge: stay where we are.
        if (!model_.rowAt(r).Visible || model_.RowLocked(r))
            targetRow = current;
        else if (r < RowFirstVisible() || r > RowLastVisible()) {
            if (vertical_.shown())
                SBValueLet(Bar::Vertical, r);
            else
                targetRow = current;
        }
        break;
    }

    case CodeLeft:
    case CodeRight:
        if (!editPending_) {
            targetCol = KeyCode == CodeLeft ? PrevVisibleCol(false) : NextVisibleCol(false);
            lastKeyCode_ = 0;
            handled = true;
        } else if (lastKeyCode_ != CodeF2) {
            const int caret = txtEdit->cursorPosition();
            if (KeyCode == CodeLeft ? caret == 0 : caret == txtEdit->text().size()) {
                lastKeyCode_ = KeyCode;
                handled = EditToggle(false);
            }
        }
        break;

    case CodePageUp:
        lastKeyCode_ = KeyCode;
        handled = true;
        if (!editPending_ && UpdateCell(false) && current >= 0) {
            const int r = std::max(PageRowStep(RowFirstVisible()), 0);
            targetRow = r;
            SBValueLet(Bar::Vertical, r);
            repaint = true;
        }
        break;

    case CodePageDown:
        lastKeyCode_ = KeyCode;
        handled = true;
        if (!editPending_ && UpdateCell(false) && current < last) {
            const int r = std::min(RowLastVisible(), last);
            targetRow = r;
            SBValueLet(Bar::Vertical, r);
            repaint = true;
        }
        break;

    case CodeHome:
    case CodeEnd: {
        lastKeyCode_ = KeyCode;
        const bool home = KeyCode == CodeHome;
        if (shiftHeld || ctrlHeld) {
            if (!UpdateCell(false))
                break;
            if (shiftHeld && multiSelect != 0 && last >= 0) {
                selectOnly = false;
                model_.SelectRowRange(false, -1, -1);
                const int from = std::max(current, 0);
                model_.SelectRowRange(true, home ? 0 : from, home ? from : last);
                emit SelectionChanged();
                repaint = true;
            }
            targetRow = home ? 0 : last;
            SBValueLet(Bar::Vertical, home ? vertical_.minimum() : vertical_.maximum());
            handled = true;
        } else if (!editPending_) {
            targetCol = home ? NextVisibleCol(true) : PrevVisibleCol(true);
            SBValueLet(Bar::Horizontal, home ? horizontal_.minimum() : horizontal_.maximum());
            handled = true;
        }
        break;
    }

    default:
        if (ctrlHeld)
            ctrlKeyMarker_ = true;
        break;
    }

    model_.DrawingEnable(true);
    // Rows added while drawing was off left the scroll range pending; without it the new rows
    // cannot be reached.
    if (model_.Rows() != rowsBefore && model_.DrawingOn())
        LayoutScrollBars();

    if (handled) {
        if (lastKeyCode_ != CodePageUp && lastKeyCode_ != CodePageDown) {
            if (targetRow > model_.LastRowIndex())
                targetRow = -1;
            if (targetRow != -1) {
                if (selectOnly && targetRow != model_.Row() && model_.SelectRowRange(false, -1, -1))
                    repaint = true;
                if (!model_.rowAt(targetRow).Flags.testFlag(RowFlag::Selected)) {
                    repaint = true;
                    model_.SelectRowRange(true, targetRow, targetRow);
                    emit SelectionChanged();
                }
            }
            if (model_.MakeCellCurrent(targetRow, targetCol, true, true) || repaint)
                model_.repaint();
        } else if (repaint) {
            model_.repaint();
        }
    }

    // The host sees every key, handled or not, and cannot change what the grid did with it.
    int keyCode = KeyCode;
    int shift = Shift;
    emit KeyDown(keyCode, shift);
    return handled;
}

// ---------------------------------------------------------------------------------------------
// Key press and key up.

namespace {

// Enter opens the editor on the cell's text; a printable character replaces the text. Esc,
// control characters and the Ctrl combinations and Space that key down used start nothing.
bool startsEdit(int keyAscii, bool ctrlKeyMarker)
{
    return !ctrlKeyMarker && (keyAscii == CodeEnter || (keyAscii >= CodeSpace && keyAscii != 127));
}

} // namespace

bool VeziRado::KeyPressHandler(int &KeyAscii)
{
    // A grid loaded disabled takes no typed character at all.
    if (!storedEnabled_)
        return true;
    bool suppressed = false;
    if (p_.EditTrigger & Grid::Typing) {
        if (editPending_) {
            if (KeyAscii == CodeEscape) {
                CancelEdit();
                KeyAscii = 0;
                suppressed = true;
            } else if (KeyAscii == CodeEnter && EditToggle(true)) {
                KeyAscii = 0;
                suppressed = true;
            }
        } else if (startsEdit(KeyAscii, ctrlKeyMarker_) && EditToggle(false)) {
            EditKeyFilter(KeyAscii);
            if (KeyAscii != 0 && KeyAscii != CodeEnter) {
                txtEdit->setText(QString(QChar(char16_t(KeyAscii))));
                txtEdit->setCursorPosition(1);
            }
        }
    }
    if ((KeyAscii == CodeEscape || KeyAscii == CodeEnter) && (p_.EditTrigger & Grid::EnterOrEsc)) {
        KeyAscii = 0;
        suppressed = true;
    } else if (!ctrlKeyMarker_ && !editPending_ && KeyAscii > 0 &&
               QChar(char16_t(KeyAscii)).isLetterOrNumber()) {
        typeAhead(KeyAscii);
    }
    if (suppressed)
        return false;
    emit KeyPress(KeyAscii);
    return KeyAscii != 0;
}

void VeziRado::typeAhead(int KeyAscii)
{
    const auto now = [this] { return tickSource_ ? tickSource_() : monotonicMilliseconds(); };
    // 64-bit milliseconds of a monotonic clock: the difference never wraps.
    const qint64 elapsed = now() - typeAheadTime_;
    const QString typed{QChar(char16_t(KeyAscii))};
    if (elapsed < 0 || elapsed >= TypeAheadPause)
        typeAheadText_ = typed;
    else
        typeAheadText_ += typed;
    typeAheadTime_ = now();

    const int r = model_.FindItem(typeAheadText_, model_.SearchColumn(),
                                  int(SearchMode::SameFirstAtOrAfter), false, 0);
    if (r < 0)
        return;
    SBValueLet(Bar::Vertical, std::min(r, vertical_.maximum()));
    model_.MakeCellCurrent(r, model_.CurrentColPosition(), true, true);
    model_.repaint();
}

void VeziRado::KeyUpHandler(int KeyCode, int Shift)
{
    ctrlKeyMarker_ = false;
    int keyCode = KeyCode;
    int shift = Shift;
    emit KeyUp(keyCode, shift);
    storedShift_ = Shift;
}

// ---------------------------------------------------------------------------------------------
// Row and column steps.

int VeziRado::NextVisibleRow(int step, int flags) const
{
    const int last = model_.LastRowIndex();
    if (last < 0)
        return -1;
    const int current = model_.Row();
    const auto qualifies = [&](int r) {
        const RowRecord &row = model_.rowAt(r);
        return row.Visible && (!row.Flags.testFlag(RowFlag::Locked) || (flags & StopAtLocked));
    };
    // With no current row the first step lands on row 0.
    int r = current < last ? std::max(current + step, 0) : current;
    while (!qualifies(r)) {
        r += step;
        if (r > last)
            return last;
    }
    return r;
}

int VeziRado::PrevVisibleRow(int step, int flags) const
{
    if (model_.LastRowIndex() < 0)
        return -1;
    const int current = model_.Row();
    const auto qualifies = [&](int r) {
        const RowRecord &row = model_.rowAt(r);
        return row.Visible && (!row.Flags.testFlag(RowFlag::Locked) || (flags & StopAtLocked));
    };
    int r = current > 0 ? std::max(current - step, 0) : std::max(current, 0);
    while (!qualifies(r)) {
        r -= step;
        if (r < 0)
            return 0;
    }
    return r;
}

int VeziRado::NextUnlockedRow(bool up) const
{
    int r = up ? PrevVisibleRow(1, 0) : NextVisibleRow(1, 0);
    if (r < 0)
        return r;
    const int last = model_.LastRowIndex();
    while (model_.RowLocked(r)) {
        if (up ? r == 0 : r == last)
            break;
        r += up ? -1 : 1;
    }
    return r;
}

int VeziRado::usableColumnFrom(int start, int step) const
{
    const int n = model_.Cols();
    for (int k = 0; k < n; ++k) {
        const int j = ((start + k * step) % n + n) % n;
        const ColumnRecord &column = model_.column(model_.ColumnOrder()[size_t(j)]);
        if (column.Visible && !column.Locked)
            return j;
    }
    return -1;
}

int VeziRado::NextVisibleCol(bool fromStart)
{
    const int lastCol = model_.Cols() - 1;
    if (lastCol < 0)
        return -1;
    const int current = model_.CurrentColPosition();
    const int start = fromStart || current >= lastCol ? 0 : current + 1;
    const int found = usableColumnFrom(start, 1);
    lastKeyColumn_ = found < 0 ? start : found;
    return lastKeyColumn_;
}

int VeziRado::PrevVisibleCol(bool fromEnd)
{
    const int lastCol = model_.Cols() - 1;
    if (lastCol < 0)
        return -1;
    const int current = model_.CurrentColPosition();
    const int start = fromEnd || current < 1 ? lastCol : std::min(current - 1, lastCol);
    const int found = usableColumnFrom(start, -1);
    lastKeyColumn_ = found < 0 ? start : found;
    return lastKeyColumn_;
}

int VeziRado::PageRowStep(int start) const
{
    if (model_.Rows() == 0)
        return -1;
    const int scaleHeight = viewport()->height();
    qint64 total = geometry_.metrics().HeaderHeight;
    for (int r = std::min(start, model_.LastRowIndex()); r >= 0; --r) {
        const RowRecord &row = model_.rowAt(r);
        if (!row.Visible)
            continue;
        if (total + row.Height > scaleHeight)
            return r;
        total += row.Height;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The repaint's keep-in-view step.

int VeziRado::keepCurrentRowInView(int lastInView)
{
    const int current = model_.Row();
    const int standard = geometry_.StandardRowHeight();
    if (!(p_.AllowWordWrap || p_.AllowRowResizing) || current <= 0 || lastKeyCode_ != CodeDown ||
        standard <= 0)
        return lastInView;
    int units = firstVisibleRow_;
    const int room = int(Units::roundHalfEven(VisibleHeight() / twipsPerPixel())) -
                     geometry_.metrics().HeaderHeight;
    qint64 used = model_.TotalsLineShow() ? standard : 0;
    for (int i = firstVisibleRow_; i <= lastInView; ++i) {
        const RowRecord &row = model_.rowAt(i);
        if (row.Visible) {
            units += int(Units::roundHalfEven(double(row.Height) / standard));
            used += row.Height;
        }
        if (i == current)
            break;
    }
    if (units > lastInView && used > room) {
        firstVisibleRow_ = std::min(firstVisibleRow_ + (units - lastInView), current);
        SBValueLet(Bar::Vertical, firstVisibleRow_);
        lastInView = firstVisibleRow_ + geometry_.RowsPerPage(surface_.height());
    }
    return std::min(lastInView, model_.LastRowIndex());
}
