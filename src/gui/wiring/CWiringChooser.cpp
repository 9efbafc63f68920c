#include "gui/wiring/CWiringChooser.h"

#include "TextNumbers.h"
#include "report/WiringText.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

// Home and End go to the first and last row of the chooser (a table view would move between the two columns).
class RowKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Home && key->key() != Qt::Key_End) || key->modifiers() != Qt::NoModifier) {
            return false;
        }
        QKeyEvent toRow(QEvent::KeyPress, key->key(), Qt::ControlModifier, key->text());
        QCoreApplication::sendEvent(watched, &toRow);
        return true;
    }
};

} // namespace

CWiringChooser::CWiringChooser(AppContext& context, const ProjectData* project, int titleText, int firstWidth,
                               int secondWidth, QWidget* parent)
    : CDialogEdy(context, project, parent), list_(new QTableWidget(this)) {
    setWindowTitle(text(titleText));
    list_->setObjectName(QStringLiteral("chooserList"));
    list_->setAccessibleName(text(titleText));
    list_->setColumnCount(2);
    list_->horizontalHeader()->hide();
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setColumnWidth(0, firstWidth);
    list_->setColumnWidth(1, secondWidth);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setMinimumWidth(firstWidth + secondWidth + 4 + list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    list_->installEventFilter(new RowKeys(list_));
    // A double click chooses the row as OK does.
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
    body()->addWidget(list_);
}

QString CWiringChooser::labelString(const LabelText& label) const {
    return QString::fromStdString(labelText(label, context().texts));
}

void CWiringChooser::setRows(const std::vector<ChooserRow>& rows, int preselected) {
    list_->clearContents();
    if (!project()) {
        list_->setRowCount(1);
        list_->setItem(0, 0, new QTableWidgetItem(text(text::NoProject)));
        list_->setItem(0, 1, new QTableWidgetItem);
        list_->setEnabled(false);
        return;
    }
    list_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ChooserRow& row = rows[static_cast<std::size_t>(r)];
        QString second;
        if (row.user) {
            second = labelString(*row.user);
        } else {
            QStringList names;
            for (const Terminal& terminal : row.terminals) {
                names << QString::fromStdString(terminal.name());
            }
            second = names.join(QStringLiteral(", "));
        }
        list_->setItem(r, 0, new QTableWidgetItem(labelString(row.label)));
        list_->setItem(r, 1, new QTableWidgetItem(second));
    }
    if (preselected >= 0 && preselected < list_->rowCount()) {
        list_->selectionModel()->setCurrentIndex(list_->model()->index(preselected, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list_->scrollToItem(list_->item(preselected, 0));
    }
    list_->setFocus();
}

int CWiringChooser::selectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = list_->selectedRanges();
    return list_->isEnabled() && !ranges.isEmpty() ? ranges.front().topRow() : -1;
}

bool CWiringChooser::acceptDialog() {
    const ChoiceOutcome outcome = choose(selectedRow());
    if (!outcome.accepted()) {
        showMessage(text(outcome.refusalText));
        return false;
    }
    value_ = outcome.value;
    return true;
}

} // namespace tolvane
