#include "gui/schedules/CHolidayProgramPart.h"

#include "TextNumbers.h"
#include "gui/app/CTarvelinView.h"
#include "gui/schedules/CProgramEditor.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropSwieta.h"
#include "project/ProjectData.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tolvane {

CHolidayProgramPart::CHolidayProgramPart(CProgramPage& page, CProgramEditor& editor, QGridLayout* grid)
    : page_(page), editor_(editor) {
    panel_ = new QWidget(&editor);
    auto* row = new QHBoxLayout(panel_);
    row->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(&editor);
    list_ = new QComboBox(panel_);
    list_->setObjectName(QStringLiteral("holidayList"));
    list_->setMinimumContentsLength(24);
    label_->setBuddy(list_);
    button_ = new QPushButton(QStringLiteral("..."), panel_);
    button_->setObjectName(QStringLiteral("holidayTableButton"));
    button_->setFixedWidth(button_->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    QObject::connect(list_, &QComboBox::activated, &editor, [this](int position) { holidayChosen(position); });
    QObject::connect(button_, &QPushButton::clicked, &editor, [this] { showHolidayTable(); });
    row->addWidget(list_);
    row->addWidget(button_);
    row->addStretch(1);
    grid->addWidget(label_, 2, 0);
    grid->addWidget(panel_, 2, 1, 1, 3);
}

std::vector<QWidget*> CHolidayProgramPart::tabOrder() const {
    return {list_, button_};
}

// The list names every used holiday in slot order after "no holiday"; a program whose holiday is gone shows none
// chosen.
void CHolidayProgramPart::show(const ProgramEntry& e) {
    const HolidayTable& holidays = page_.project()->holidays();
    list_->clear();
    for (const std::string& name : holidays.choiceList(page_.context().texts)) {
        list_->addItem(QString::fromStdString(name));
    }
    list_->setEnabled(list_->count() > 0);
    list_->setCurrentIndex(holidays.indexToChoice(e.holidayIndex()));
}

void CHolidayProgramPart::showMarks(const ProgramChangeMarker& mark, const std::function<bool(EntryField)>& marked) {
    mark.field(list_, marked(EntryField::Holiday));
}

void CHolidayProgramPart::refreshTexts() {
    label_->setText(page_.text(text::HolidayColumn) + QLatin1Char(':'));
    button_->setToolTip(page_.text(text::ShowHolidays));
    button_->setAccessibleName(page_.text(text::ShowHolidays));
}

void CHolidayProgramPart::holidayChosen(int position) {
    if (page_.currentItem() < 0 || !page_.project()) {
        return;
    }
    const std::uint8_t index = page_.project()->holidays().choiceToIndex(position);
    page_.endEditBurst();
    page_.editShown(static_cast<int>(EntryField::Holiday),
                    [index](ScheduleProgram& s, int row) { s.setHolidayIndex(row, index); });
    page_.finishField();
    rememberedHoliday_ = index;
    editor_.showActionControls(page_.shown(page_.currentItem()));
    editor_.showMarks();
}

void CHolidayProgramPart::showHolidayTable() {
    CTarvelinView* view = page_.view();
    if (!view || page_.currentItem() < 0) {
        return;
    }
    const int index = page_.programs()->entry(page_.currentItem()).holidayIndex();
    view->showPage(PageId::Swieta);
    if (auto* table = qobject_cast<CPropSwieta*>(view->page(PageId::Swieta))) {
        table->showHoliday(index < HolidayTable::Count ? index : 0);
    }
}

} // namespace tolvane
