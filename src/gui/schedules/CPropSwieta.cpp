#include "gui/schedules/CPropSwieta.h"

#include "TextNumbers.h"
#include "device/DeviceText.h"
#include "gui/schedules/CSwietaModel.h"
#include "gui/widgets/CFireEdit.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/ProgramEditing.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <vector>

namespace tolvane {

namespace {

constexpr int TipName = 148;
constexpr int TipDays = 149;
constexpr int TipDate = 150;
constexpr int TipOffset = 151;
constexpr int MaxNameChars = 63;
// Column widths in dialog units; a dialog unit is about one and a half pixels.
constexpr int NameWidth = 220;
constexpr int DateWidth = 80;
constexpr int DaysWidth = 80;

} // namespace

CPropSwieta::CPropSwieta(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), buttonIcons_(context.paths.dataFile(QStringLiteral("Gfx/buttons.png"))),
      model_(new CSwietaModel([this] { return project(); }, [this](int id) { return text(id); }, this)),
      add_(new QPushButton(this)), delete_(new QPushButton(this)), list_(new QTableView(this)),
      editor_(new QWidget(this)) {
    add_->setObjectName(QStringLiteral("addButton"));
    delete_->setObjectName(QStringLiteral("deleteButton"));
    add_->setIcon(buttonIcons_.icon(0));
    delete_->setIcon(buttonIcons_.icon(1));
    connect(add_, &QPushButton::clicked, this, &CPropSwieta::addHoliday);
    connect(delete_, &QPushButton::clicked, this, &CPropSwieta::deleteSelected);

    list_->setObjectName(QStringLiteral("holidayList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setColumnWidth(CSwietaModel::NameColumn, NameWidth * 3 / 2);
    list_->setColumnWidth(CSwietaModel::DateColumn, DateWidth * 3 / 2);
    list_->setColumnWidth(CSwietaModel::DaysColumn, DaysWidth * 3 / 2);
    watchSelection(list_);

    const auto listKey = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    listKey(QKeySequence(Qt::Key_Insert), [this] { addHoliday(); });
    listKey(QKeySequence(Qt::Key_Delete), [this] { deleteSelected(); });
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        listKey(keys, [this] {
            if (editor_->isVisible()) {
                name_->setFocus(Qt::ShortcutFocusReason);
                name_->selectAll();
            }
        });
    }

    // The editor.
    editor_->setObjectName(QStringLiteral("holidayEditor"));
    auto* grid = new QGridLayout(editor_);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    nameLabel_ = new QLabel(editor_);
    name_ = new QLineEdit(editor_);
    name_->setObjectName(QStringLiteral("nameField"));
    name_->setMaxLength(MaxNameChars);
    name_->setMinimumWidth(NameWidth * 3 / 2);
    nameLabel_->setBuddy(name_);
    connect(name_, &QLineEdit::textEdited, this, &CPropSwieta::nameEdited);
    connect(name_, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });
    grid->addWidget(nameLabel_, 0, 0);
    grid->addWidget(name_, 0, 1, 1, 2, Qt::AlignLeft);

    daysLabel_ = new QLabel(editor_);
    days_ = new CFireEdit(editor_);
    days_->setObjectName(QStringLiteral("daysField"));
    days_->setUp(1, 366, 3, false);
    daysLabel_->setBuddy(days_);
    connect(days_, &QLineEdit::textEdited, this, [this] { daysEdited(); });
    connect(days_, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });
    grid->addWidget(daysLabel_, 1, 0);
    grid->addWidget(days_, 1, 1, Qt::AlignLeft);

    fixed_ = new QRadioButton(editor_);
    fixed_->setObjectName(QStringLiteral("fixedRadio"));
    movable_ = new QRadioButton(editor_);
    movable_->setObjectName(QStringLiteral("offsetRadio"));
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(fixed_);
    kinds->addButton(movable_);
    connect(fixed_, &QRadioButton::clicked, this, [this] { kindChosen(false); });
    connect(movable_, &QRadioButton::clicked, this, [this] { kindChosen(true); });

    day_ = new CFireEdit(editor_);
    day_->setObjectName(QStringLiteral("dayField"));
    day_->setUp(1, 31, 2, false);
    month_ = new CFireEdit(editor_);
    month_->setObjectName(QStringLiteral("monthField"));
    month_->setUp(1, 12, 2, false);
    dot_ = new QLabel(QStringLiteral("."), editor_);
    dateHint_ = new QLabel(editor_);
    for (CFireEdit* f : {day_, month_}) {
        connect(f, &QLineEdit::textEdited, this, [this] { dateEdited(); });
        connect(f, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });
    }
    auto* date = new QHBoxLayout;
    date->setSpacing(2);
    date->addWidget(day_);
    date->addWidget(dot_);
    date->addWidget(month_);
    date->addSpacing(6);
    date->addWidget(dateHint_);
    date->addStretch(1);
    grid->addWidget(fixed_, 2, 0);
    grid->addLayout(date, 2, 1);

    offset_ = new QLineEdit(editor_);
    offset_->setObjectName(QStringLiteral("offsetField"));
    offset_->setMaxLength(4);
    offset_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]{0,3}")), offset_));
    offset_->setFixedWidth(offset_->fontMetrics().horizontalAdvance(QStringLiteral("-0000")) + 12);
    offsetDays_ = new QLabel(editor_);
    connect(offset_, &QLineEdit::textEdited, this, &CPropSwieta::offsetEdited);
    connect(offset_, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });
    auto* offset = new QHBoxLayout;
    offset->setSpacing(4);
    offset->addWidget(offset_);
    offset->addWidget(offsetDays_);
    offset->addStretch(1);
    grid->addWidget(movable_, 3, 0);
    grid->addLayout(offset, 3, 1);
    grid->setColumnStretch(2, 1);
    editor_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto* escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), editor_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        endEditBurst();
        list_->setFocus(Qt::ShortcutFocusReason);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 8, 12, 8);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    layout->addWidget(editor_);

    setTabOrder(add_, delete_);
    setTabOrder(delete_, list_);
    setTabOrder(list_, name_);
    setTabOrder(name_, days_);
    setTabOrder(days_, fixed_);
    setTabOrder(fixed_, day_);
    setTabOrder(day_, month_);
    setTabOrder(month_, movable_);
    setTabOrder(movable_, offset_);
    showItem(false, 0);
}

const HolidayTable* CPropSwieta::holidays() const {
    return project() ? &project()->holidays() : nullptr;
}

int CPropSwieta::shownSlot() const {
    return currentItem() >= 0 ? model_->slotOfRow(currentItem()) : -1;
}

// ---- the list ----

void CPropSwieta::reload(int slot) {
    const HolidayTable* h = holidays();
    int row = -1;
    if (h && h->usedCount() > 0) {
        const int shown = h->positionOfSlot(slot) >= 0 ? slot : h->lastUsedAtOrBefore(slot);
        row = std::max(h->positionOfSlot(shown), 0);
    }
    beginListUpdate(list_);
    endListUpdate(list_, row);
    onSelectionChanged();
}

void CPropSwieta::showHoliday(int slot) {
    reload(slot);
    list_->setFocus(Qt::OtherFocusReason);
}

void CPropSwieta::onSelectionChanged() {
    // Choosing another holiday ends the burst of typing: its edits are steps of their own.
    endEditBurst();
    const int selected = showSelectedItem(list_);
    add_->setEnabled(project() && selected < PageLimit);
    delete_->setEnabled(selected > 0);
}

void CPropSwieta::showItem(bool single, int row) {
    const int slot = single && holidays() ? model_->slotOfRow(row) : -1;
    editor_->setVisible(slot >= 0);
    if (slot >= 0) {
        showHolidayValues(slot);
    }
}

void CPropSwieta::refreshMarks() {
    model_->allRowsChanged();
    showMarks();
}

void CPropSwieta::addHoliday() {
    const HolidayTable* h = holidays();
    if (!h) {
        return;
    }
    if (h->usedCount() >= PageLimit) {
        showMessage(text(text::TableFull));
        return;
    }
    int slot = -1;
    endEditBurst();
    edit({text::AddHolidayStep, {}}, {SectionId::Holidays, -1, ListAction},
         [&](ProjectData& p) { slot = p.holidays().addHoliday(context().texts); });
    endEditBurst();
    reload(slot);
    if (editor_->isVisible()) {
        name_->setFocus(Qt::OtherFocusReason);
        name_->selectAll();
    }
}

void CPropSwieta::deleteSelected() {
    const HolidayTable* h = holidays();
    const QList<int> rows = selectedRows(list_);
    if (!h || h->usedCount() == 0 || rows.isEmpty()) {
        return;
    }
    std::vector<int> freed;
    for (int row : rows) {
        freed.push_back(model_->slotOfRow(row));
    }
    const int referring = programediting::programsReferringTo(project()->program(HolidayDay), freed);
    int focus = -1;
    endEditBurst();
    edit({text::DeleteHolidaysStep, {}}, {SectionId::Holidays, -1, ListAction},
         [&](ProjectData& p) { focus = p.holidays().deleteHolidays(freed); });
    endEditBurst();
    reload(focus < 0 ? 0 : focus);
    if (referring > 0) {
        // The programs keep the slot (the report lists them); the user learns of them now, not at the next check.
        showMessage(QString::fromStdString(
            formatText(context().texts.text(text::ProgramsLeft), {TextArg(static_cast<long long>(referring))})));
    }
}

// ---- the editor ----

void CPropSwieta::editShown(Field field, const std::function<void(HolidayTable&, int)>& change,
                            const std::string& caption) {
    const int slot = shownSlot();
    if (slot < 0) {
        return;
    }
    const std::string name = caption.empty() ? holidays()->name(slot) : caption;
    edit({text::EditHolidayStep, {name}}, {SectionId::Holidays, slot, static_cast<int>(field)},
         [&](ProjectData& p) { change(p.holidays(), slot); });
    model_->rowChanged(currentItem());
    showMarks();
}

// The name is cut to what the controller's display shows as it is typed; the caret stays where it was.
void CPropSwieta::nameEdited(const QString& typed) {
    if (writingName_ || shownSlot() < 0) {
        return;
    }
    const QString fitted = QString::fromStdString(fitToWidth(typed.toStdString(), HolidayTable::NamePixelLimit));
    if (fitted != typed) {
        const int caret = std::min(name_->cursorPosition(), static_cast<int>(fitted.size()));
        writingName_ = true;
        name_->setText(fitted);
        name_->setCursorPosition(caret);
        writingName_ = false;
    }
    const std::string stored = fitted.toStdString();
    if (stored != holidays()->name(shownSlot())) {
        editShown(
            NameField, [&stored](HolidayTable& t, int slot) { t.setName(slot, stored); }, stored);
    }
}

void CPropSwieta::daysEdited() {
    const auto days = static_cast<std::uint16_t>(days_->readInteger());
    editShown(DaysField, [days](HolidayTable& t, int slot) { t.setDays(slot, days); });
}

void CPropSwieta::kindChosen(bool movable) {
    endEditBurst();
    editShown(KindField, [movable](HolidayTable& t, int slot) { t.setMovable(slot, movable); });
    endEditBurst();
    if (shownSlot() >= 0) {
        showHolidayValues(shownSlot());
    }
}

void CPropSwieta::dateEdited() {
    const auto day = static_cast<std::uint8_t>(day_->readInteger());
    const auto month = static_cast<std::uint8_t>(month_->readInteger());
    editShown(DateField, [=](HolidayTable& t, int slot) { t.setFixedDate(slot, day, month); });
}

// An offset beyond a year either way is replaced by 0 at once, and the field says so.
void CPropSwieta::offsetEdited(const QString& typed) {
    const int slot = shownSlot();
    if (slot < 0) {
        return;
    }
    const int value = typed.toInt();
    int stored = value;
    editShown(OffsetField, [&](HolidayTable& t, int s) { stored = t.setOffset(s, value); });
    if (stored != value) {
        offset_->setText(QString::fromStdString(holidays()->offsetText(slot)));
    }
}

void CPropSwieta::showHolidayValues(int slot) {
    const Holiday& h = holidays()->record(slot);
    const QString name = QString::fromStdString(h.name());
    if (name_->text() != name) {
        name_->setText(name);
    }
    days_->setText(QString::number(h.days()));
    fixed_->setChecked(!h.isMovable());
    movable_->setChecked(h.isMovable());
    if (h.isMovable()) {
        offset_->setText(QString::fromStdString(holidays()->offsetText(slot)));
    } else {
        setItemTwoDigits(day_, h.day());
        setItemTwoDigits(month_, h.month());
    }
    showKindControls(h.isMovable());
    showMarks();
}

void CPropSwieta::showKindControls(bool movable) {
    for (QWidget* w : std::initializer_list<QWidget*>{day_, dot_, month_, dateHint_}) {
        w->setVisible(!movable);
    }
    offset_->setVisible(movable);
    offsetDays_->setVisible(movable);
}

void CPropSwieta::showMarks() {
    const int slot = shownSlot();
    const std::uint32_t mark = slot >= 0 ? holidays()->changeMark(slot) : 0u;
    const QString changed = text(text::ChangedDescription);
    const auto field = [&](QWidget* w, bool on) {
        markChangedField(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    const auto option = [&](QWidget* w, bool on) {
        markChangedOption(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    field(name_, (mark & HolidayTable::MarkName) != 0);
    field(days_, (mark & HolidayTable::MarkDays) != 0);
    const bool date = (mark & HolidayTable::MarkDate) != 0;
    option(fixed_, date);
    option(movable_, date);
    field(day_, date);
    field(month_, date);
    field(offset_, date);
}

// ---- texts ----

void CPropSwieta::refreshTexts() {
    add_->setText(text(text::AddButton));
    delete_->setText(text(text::DeleteButton));
    add_->setToolTip(text(text::AddHolidayTip));
    delete_->setToolTip(text(text::DeleteHolidayTip));
    add_->setAccessibleName(text(text::AddHolidayTip));
    delete_->setAccessibleName(text(text::DeleteHolidayTip));
    list_->setAccessibleName(text(text::Holidays));
    model_->textsChanged();
    nameLabel_->setText(text(text::HolidayName) + QLatin1Char(':'));
    daysLabel_->setText(text(text::NumberOfDays) + QLatin1Char(':'));
    fixed_->setText(text(text::FixedDate));
    movable_->setText(text(text::MovableOffset));
    dateHint_->setText(text(text::DateHint));
    offsetDays_->setText(text(text::OffsetDays));
    name_->setToolTip(text(TipName));
    days_->setToolTip(text(TipDays));
    fixed_->setToolTip(text(TipDate));
    day_->setToolTip(text(TipDate));
    month_->setToolTip(text(TipDate));
    movable_->setToolTip(text(TipOffset));
    offset_->setToolTip(text(TipOffset));
    day_->setAccessibleName(text(text::FixedDate) + QLatin1String(", ") + text(text::DayField));
    month_->setAccessibleName(text(text::FixedDate) + QLatin1String(", ") + text(text::MonthField));
    offset_->setAccessibleName(text(text::MovableOffset) + QLatin1String(", ") + text(text::OffsetDays));
}

} // namespace tolvane
