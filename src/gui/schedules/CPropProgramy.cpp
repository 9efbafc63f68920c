#include "gui/schedules/CPropProgramy.h"

#include "gui/app/CTarvelinView.h"
#include "gui/app/IconStrip.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

struct RowSpec {
    int kind;
    int titleText; // "... programs: %d of %d"
    int descriptionText;
    int pageText; // the page's caption, the button's accessible name
    int treeIcon;
    PageId page;
};

constexpr std::array<RowSpec, CPropProgramy::Rows> RowSpecs{{
    {Weekly, 257, 641, 159, 7, PageId::Tyg},
    {HolidayDay, 256, 642, 161, 9, PageId::Swi},
    {Annual, 255, 643, 160, 8, PageId::Rok},
    {OneTime, 254, 644, 162, 10, PageId::Jed},
}};
constexpr int Capacity = 128;

} // namespace

CPropProgramy::CPropProgramy(AppContext& context, QWidget* parent) : CDataPage(context, parent) {
    const IconStrip treeIcons(context.paths.dataFile(QStringLiteral("Gfx/icons.png")));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    for (int r = 0; r < Rows; ++r) {
        Row& row = rows_[static_cast<std::size_t>(r)];
        const RowSpec& spec = RowSpecs[static_cast<std::size_t>(r)];
        row.title = new QLabel(this);
        row.title->setObjectName(QStringLiteral("overviewTitle%1").arg(r));
        QFont bold = row.title->font();
        bold.setBold(true);
        row.title->setFont(bold);
        row.bar = new QProgressBar(this);
        row.bar->setObjectName(QStringLiteral("overviewBar%1").arg(r));
        row.bar->setRange(0, Capacity);
        row.bar->setTextVisible(false);
        row.bar->setMaximumHeight(14);
        row.description = new QLabel(this);
        row.description->setWordWrap(true);
        row.open = new QPushButton(QStringLiteral(">>"), this);
        row.open->setObjectName(QStringLiteral("overviewOpen%1").arg(r));
        row.open->setIcon(treeIcons.icon(spec.treeIcon));
        row.open->setMaximumWidth(70);
        const PageId page = spec.page;
        connect(row.open, &QPushButton::clicked, this, [this, page] {
            if (view()) {
                view()->showPage(page);
                view()->page(page)->reloadKeepingRecord();
            }
        });
        grid->addWidget(row.title, r * 3, 0, 1, 2);
        grid->addWidget(row.bar, r * 3 + 1, 0);
        grid->addWidget(row.open, r * 3 + 1, 1);
        grid->addWidget(row.description, r * 3 + 2, 0, 1, 2);
        grid->setRowMinimumHeight(r * 3 + 2, 28);
    }
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, HeaderHeight + 16, 16, 16);
    layout->addLayout(grid);
    layout->addStretch(1);
}

void CPropProgramy::reload(int) {
    for (int r = 0; r < Rows; ++r) {
        Row& row = rows_[static_cast<std::size_t>(r)];
        const RowSpec& spec = RowSpecs[static_cast<std::size_t>(r)];
        const int used = project() ? project()->program(spec.kind).usedCount() : 0;
        row.bar->setValue(used);
        const QString title = QString::fromStdString(
            formatText(context().texts.text(spec.titleText),
                       {TextArg(static_cast<long long>(used)), TextArg(static_cast<long long>(Capacity))}));
        row.title->setText(title);
        row.bar->setAccessibleName(title);
    }
}

void CPropProgramy::refreshTexts() {
    for (int r = 0; r < Rows; ++r) {
        Row& row = rows_[static_cast<std::size_t>(r)];
        const RowSpec& spec = RowSpecs[static_cast<std::size_t>(r)];
        row.description->setText(text(spec.descriptionText));
        row.open->setAccessibleName(text(spec.pageText));
        row.open->setToolTip(text(spec.pageText));
    }
    reload();
}

} // namespace tolvane
